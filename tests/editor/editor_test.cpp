// The level editor driven headless, as a player drives it: mouse and keys in; the level's text,
// the file, the title and the panel out.
#include "editor/editor.hpp"

#include <gtest/gtest.h>

#include "app/key_names.hpp"
#include "app/lasting_notice.hpp"
#include "test_support.hpp"

namespace {

constexpr KindBodies kBodies = {
    {{-14, -46, 14, 56}, {-22, -22, 22, 24}, {-15, -48, 15, 56}, {-34, -84, 34, 108}}};
// One screen at 100 px per grid character, a floor on the last row (its top at y 500).
constexpr char kLevel[] =
    "screens 1 1\ncell 100\ngrid\n........\n........\n........\n........\n........\n"
    "########\nend\nplayer awake 120 444   # the hero\nguard awake 520 444\n";

struct EditorTest : ::testing::Test {
  TempDir dir{"editor"};
  FakeBackends fake{MORVA_TEST_CONTENT};
  EditorView view;  // the editor's own view of the level, to aim the mouse
  std::optional<Editor> editor;

  void SetUp() override {
    WriteFile(dir / "my.lvl", kLevel);
    view.SetLevel(800, 600);
    view.Fit();
    editor.emplace(EditorSetup{dir / "my.lvl",
                               *LevelDocument::Open(kLevel).document,
                               kBodies,
                               {},
                               {},
                               0,
                               "/bin/false",
                               {}});
  }
  bool Send(EventType type, int key = 0, MouseButton button = MouseButton::Left) {
    Event e;
    e.type = type;
    e.key = key;
    e.button = button;
    e.value = key;
    return editor->Handle(e);
  }
  void MoveTo(double wx, double wy) {
    Event e;
    e.type = EventType::MouseMove;
    e.x = static_cast<int>(std::lround(view.ScreenX(wx)));
    e.y = static_cast<int>(std::lround(view.ScreenY(wy)));
    editor->Handle(e);
  }
  void DragFromTo(double x0, double y0, double x1, double y1) {
    MoveTo(x0, y0);
    Send(EventType::MouseDown);
    MoveTo((x0 + x1) / 2, (y0 + y1) / 2);
    MoveTo(x1, y1);
    Send(EventType::MouseUp);
  }
  bool Key(int key) {
    const bool going = Send(EventType::KeyDown, key);
    Send(EventType::KeyUp, key);
    return going;
  }
  void Ctrl(int key) {
    Send(EventType::KeyDown, vk::Control);
    Key(key);
    Send(EventType::KeyUp, vk::Control);
  }
  // Types as the window does during text entry: a key with a name goes down too, then its
  // character comes as text.
  void Type(const std::string& text) {
    for (char c : text) {
      const int key = std::isalnum(static_cast<unsigned char>(c)) ? std::toupper(c) : 0;
      if (key) Send(EventType::KeyDown, key);
      Send(EventType::Text, static_cast<unsigned char>(c));
      if (key) Send(EventType::KeyUp, key);
    }
  }
  void Erase(int count) {
    for (int i = 0; i < count; ++i) Key(vk::Backspace);
  }
  // Whether the picture shows exactly the text `line`.
  bool ShowsLine(const std::string& line) {
    editor->Draw();
    for (const DrawRecord& r : *fake.renderer.DrawList()) {
      if (r.op == "text" && r.text == line) return true;
    }
    return false;
  }
  // Whether the prompt shows `question` and `answer`: the answer whole, or, too long for the
  // panel, an end of it after the mark ("<" in place of the question's last space).
  bool ShowsAnswer(const std::string& question, const std::string& answer) {
    editor->Draw();
    const std::string marked = question.substr(0, question.size() - 1) + "<";
    for (const DrawRecord& r : *fake.renderer.DrawList()) {
      if (r.op != "text") continue;
      if (r.text == question + answer) return true;
      if (r.text.rfind(marked, 0) == 0 && answer.ends_with(r.text.substr(marked.size()))) {
        return true;
      }
    }
    return false;
  }
  // Whether the picture shows a text holding `part`.
  bool Shows(const std::string& part) {
    editor->Draw();
    for (const DrawRecord& r : *fake.renderer.DrawList()) {
      if (r.op == "text" && r.text.find(part) != std::string::npos) return true;
    }
    return false;
  }
};

}  // namespace

TEST_F(EditorTest, PaintMoveAddUndoSaveAndLeave) {
  EXPECT_EQ(editor->Title(), "morva-edit - my.lvl");
  EXPECT_TRUE(Shows("no problems found"));

  Send(EventType::KeyDown, 0x10);  // Shift: a rectangle
  DragFromTo(150, 150, 250, 350);
  Send(EventType::KeyUp, 0x10);
  DragFromTo(520, 420, 620, 420);  // the guard, by its body
  MoveTo(300, 400);
  Key('L');
  Key('7');                      // banner
  DragFromTo(650, 50, 750, 50);  // a stroke along the top row

  EXPECT_EQ(editor->Title(), "morva-edit - my.lvl *");
  Ctrl('S');
  EXPECT_EQ(editor->Title(), "morva-edit - my.lvl");
  const std::string saved = ReadFile(dir / "my.lvl");
  EXPECT_NE(saved.find(".##.....\n.##.....\n.##.....\n"), std::string::npos) << saved;
  EXPECT_NE(saved.find("......bb\n"), std::string::npos) << saved;
  EXPECT_NE(saved.find("player awake 120 444   # the hero\nguard awake 620 444\n"),
            std::string::npos)
      << saved;
  EXPECT_NE(saved.find("item life 30"), std::string::npos) << saved;

  Ctrl('Z');
  Ctrl('Z');
  EXPECT_EQ(editor->Title(), "morva-edit - my.lvl *") << "the stroke and the item undone";
  Ctrl('Y');
  Ctrl('Y');
  EXPECT_EQ(editor->Title(), "morva-edit - my.lvl") << "redone back to the saved text";

  // The mouse alone: the power button, then a click in the level.
  Event atButton;
  atButton.type = EventType::MouseMove;
  atButton.x = 550;
  atButton.y = static_cast<int>(EditorView::kMapHeight) + 8;
  editor->Handle(atButton);
  Send(EventType::MouseDown);
  Send(EventType::MouseUp);
  EXPECT_TRUE(Shows("click in the level to place the power"));
  MoveTo(200, 400);
  Send(EventType::MouseDown);
  Send(EventType::MouseUp);
  Ctrl('S');
  const LevelSourceParse placed = ParseLevelSource(ReadFile(dir / "my.lvl"));
  ASSERT_TRUE(placed.source);
  const LevelItem& power = placed.source->items.back();
  EXPECT_EQ(power.kind, kItemPower);
  EXPECT_NEAR(power.x, 200, 1);
  EXPECT_NEAR(power.y, 400, 1);

  MoveTo(400, 560);  // in the floor
  Key('G');
  EXPECT_TRUE(Shows("a guard inside rock at 400, 5"));
  Send(EventType::MouseWheel, 1);
  EXPECT_TRUE(Shows("zoom 0.98"));

  EXPECT_TRUE(Key(vk::Escape)) << "the new guard is let go first";
  EXPECT_TRUE(Key(vk::Escape)) << "unsaved changes: it asks";
  EXPECT_TRUE(Shows("Unsaved changes"));
  const std::string before = ReadFile(dir / "my.lvl");
  EXPECT_FALSE(Key(vk::Escape)) << "asked twice, it leaves";
  EXPECT_EQ(ReadFile(dir / "my.lvl"), before) << "leaving writes nothing";
}

TEST_F(EditorTest, TheCompiledPictureShowsBehindTheGridAndIsMadeAgainAfterAnEdit) {
  const std::filesystem::path compiler =
      std::filesystem::path(MORVA_BINARY).parent_path() / "tools" / "mkcontent";
  setenv("MORVA_LEVEL_COMPILER", compiler.c_str(), 1);
  setenv("XDG_CACHE_HOME", (dir / "cache").c_str(), 1);
  auto pictureDrawn = [&] {
    editor->Draw();
    for (const DrawRecord& r : *fake.renderer.DrawList()) {
      if (r.texturePath.find("level1\\0.dxt") != std::string::npos) return true;
    }
    return false;
  };
  EXPECT_FALSE(pictureDrawn());
  Key('B');
  EXPECT_TRUE(pictureDrawn()) << editor->Message();
  Key('B');
  EXPECT_FALSE(pictureDrawn()) << "B again puts it away";
  Key('B');
  MoveTo(300, 100);
  Key('L');
  Key('B');
  EXPECT_TRUE(pictureDrawn()) << "after an edit B shows the new text's picture";
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir / "cache" / "morva" / "levels"),
                          std::filesystem::directory_iterator()),
            2)
      << "one compile for each text";
  unsetenv("MORVA_LEVEL_COMPILER");
  unsetenv("XDG_CACHE_HOME");
}

TEST_F(EditorTest, NewAndOpenAskInThePanelAndKeepUnsavedWorkUntilAskedTwice) {
  WriteFile(dir / "other.lvl", std::string(kLevel) + "item power 300 300\n");
  WriteFile(dir / "broken.lvl", "screens 1 1\ncell 100\ngrid\n");
  MoveTo(300, 100);
  Key('L');
  Ctrl('O');
  EXPECT_TRUE(Shows("Unsaved changes: Ctrl+S saves them, Ctrl+O again opens"));
  Ctrl('O');
  const std::string folder = (dir / "").string();
  EXPECT_TRUE(ShowsAnswer("open the level file: ", folder)) << "the folder, not selected";
  Type("nothere.lvl");
  Key(vk::Return);
  EXPECT_TRUE(Shows("no file " + folder + "nothere.lvl"));
  Erase(11);
  Type("broken.lvl");
  Key(vk::Return);
  EXPECT_TRUE(Shows("broken.lvl cannot be opened"));
  EXPECT_TRUE(Shows("  line ")) << "its mistakes, each on a line of the notice";
  Event press;
  press.type = EventType::KeyDown;
  press.key = vk::Return;
  EXPECT_TRUE(TakenByLastingNotice(press)) << "the press that dismisses it works nothing else";
  EXPECT_FALSE(Shows("  line "));
  EXPECT_EQ(editor->Title(), "morva-edit - my.lvl *") << "nothing opened yet; typing added nothing";
  Erase(10);
  Type("other.lvl");
  Key(vk::Return);
  EXPECT_EQ(editor->Title(), "morva-edit - other.lvl");
  EXPECT_TRUE(Shows("opened "));
  Ctrl('S');
  EXPECT_EQ(ReadFile(dir / "other.lvl"), std::string(kLevel) + "item power 300 300\n");

  Ctrl('N');
  Type("30x1");  // over the size filled in
  Key(vk::Return);
  EXPECT_TRUE(Shows("a level is 1..25 screens wide"));
  Erase(4);
  Type("5 x 2");
  Key(vk::Return);
  EXPECT_TRUE(ShowsAnswer("the new level's file: ", folder + "new.lvl"));
  Type("my.lvl");  // over the name filled in, the folder kept
  Key(vk::Return);
  EXPECT_TRUE(Shows("my.lvl already exists"));
  Erase(6);
  Type("fresh.lvl");
  Key(vk::Return);
  EXPECT_EQ(editor->Title(), "morva-edit - fresh.lvl");
  Ctrl('S');
  const LevelSourceParse fresh = ParseLevelSource(ReadFile(dir / "fresh.lvl"));
  ASSERT_TRUE(fresh.source);
  EXPECT_EQ(fresh.source->width, 5);
  EXPECT_EQ(fresh.source->height, 2);

  Ctrl('O');
  Key(vk::Escape);
  EXPECT_FALSE(Shows("open the level file")) << "Escape puts the question away";
  EXPECT_TRUE(Shows("tool: "));
}

// The answer's line is edited anywhere: what is filled in is selected and the first character
// typed replaces it; the arrows, Home and End move the caret, Backspace and Delete erase whole
// characters. Keys are written < > ^ $ # ~ (Left, Right, Home, End, Backspace, Delete); each row
// ends by typing "|", which shows where the caret was. An answer too long for the panel is shown
// from where the caret stays in it, a "<" in place of the question's last space.
TEST_F(EditorTest, ThePromptsLineIsEditedWhereTheCaretIs) {
  const std::string names = "<>^$#~";
  const int codes[] = {vk::LeftArrow, vk::RightArrow, vk::Home, vk::End, vk::Backspace, vk::Delete};
  struct Row {
    bool namePrompt;  // the file's name after the size, else the size
    std::string keys;
    std::string shown;  // the answer after the keys (@ is the folder, < the mark of a long one)
  } rows[] = {
      {false, "3x1|", "3x1|"},
      {false, "#|", "|"},
      {false, "<|", "|4 x 2"},
      {false, ">|", "4 x 2|"},
      {false, "^>>~|", "4 | 2"},
      {false, "$<#|", "4 x|2"},
      {false, "^<#$>~|", "4 x 2|"},
      {false, "a\303\251b<#|", "a|b"},  // \303\251 is one character, an e with an accent
      {false, "a\303\251b<<~|", "a|b"},
      {true, "b.lvl|", "@b.lvl|"},
      {true, "#|", "@|"},
      // 18 columns before the buttons beside the line: 17 bytes and the caret fit.
      {false, std::string(16, 'a') + "|", std::string(16, 'a') + "|"},
      {false, std::string(60, 'a') + "|", "<" + std::string(16, 'a') + "|"},
      {false, std::string(60, 'a') + "^|", "|" + std::string(17, 'a')},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.keys);
    Ctrl('N');
    if (r.namePrompt) Key(vk::Return);
    for (const char* c = r.keys.c_str(); *c; ++c) {
      const std::size_t named = names.find(*c);
      if (named != std::string::npos) Key(codes[named]);
      if (named == std::string::npos) Send(EventType::Text, static_cast<unsigned char>(*c));
    }
    std::string shown = r.shown;
    if (shown[0] == '@') shown.replace(0, 1, (dir / "").string());
    std::string question = r.namePrompt ? "the new level's file: "
                                        : "the new level's size in screens (width x height): ";
    if (shown[0] == '<') {
      question.pop_back();
      EXPECT_TRUE(ShowsLine(question + shown));
    } else {
      EXPECT_TRUE(ShowsAnswer(question, shown));
    }
    Key(vk::Escape);
  }
}
