// The level editor: a level document shown and edited with the mouse and the keyboard, its
// placement checks listed live, saved in the source format and play-tested in the game.
#pragma once

#include <sys/types.h>

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/platform.hpp"
#include "base/types.hpp"
#include "editing/level_checks.hpp"
#include "editing/level_document.hpp"
#include "editor/editor_view.hpp"
#include "editor/prompt_line.hpp"

// A kind's or an item's picture from the content (0: none, only its outline shows).
struct EditorPicture {
  Texture texture = 0;
  int32_t size = 0;  // px at the game's size
};

// A new level's grid: 20 px per character (40 x 30 per screen).
inline constexpr int kNewLevelCell = 20;

struct EditorSetup {
  std::filesystem::path file;  // where Ctrl+S saves
  LevelDocument document;
  KindBodies bodies;                              // for the checks and the characters' outlines
  std::array<EditorPicture, kKindSlots> kinds{};  // by kind
  std::array<EditorPicture, 2> items{};
  Texture font = 0;
  std::filesystem::path game;  // the game, for play-testing
  std::filesystem::path contentRoot;
};

class Editor {
 public:
  explicit Editor(EditorSetup setup);
  ~Editor();
  Editor(const Editor&) = delete;
  Editor& operator=(const Editor&) = delete;

  // Takes one event; false once the editor is to close.
  bool Handle(const Event& e);
  // Draws the whole picture (800 x 600).
  void Draw();
  // The window's title: the file, and a star while there are unsaved changes.
  std::string Title() const;
  // Notices a play-test that has ended; true in the call that does.
  bool Poll();
  const std::string& Message() const { return message_; }

 private:
  // What a left-button drag is doing.
  enum class Drag { None, Stroke, Rectangle, Character, Item, Pan };
  struct Hit {
    Drag what = Drag::None;  // Character or Item
    std::size_t index = 0;
  };

  // A line the editor asks for in its panel: a file to open, a new level's size and name.
  struct Prompt {
    enum class For { Open, NewSize, NewName };
    For what = For::Open;
    std::string question;
    PromptLine answer;
  };

  bool HandleKey(int key);
  bool HandleControlKey(int key);
  void MouseDown(MouseButton button);
  // A click on the panel: a tool, a button, or a problem to show.
  void PanelClick();
  void MouseMove(int x, int y);
  void MouseUp();
  void Wheel(int notches);
  bool AskBeforeLeaving();
  // Whether the unsaved changes may be let go for what `key` does: with none, or when the same
  // key comes again after the question (`again` says what it then does).
  bool MayDiscard(int key, const std::string& again);

  // Asks `question` with `answer` filled in, its part from byte `selectFrom` on selected (what
  // the player most likely types over).
  void Ask(Prompt::For what, std::string question, std::string answer, std::size_t selectFrom);
  void HandlePromptKey(int key);
  void Answer();
  void CloseAsk();
  // The file's folder with a separator, where a name typed next most likely lies.
  std::string FileFolder() const;
  // Opens `file` into the editor; false (and why in the message) when it cannot.
  bool OpenFile(const std::filesystem::path& file);
  // Shows `document`, saved as `file` from now on, from its start.
  void ShowDocument(std::filesystem::path file, LevelDocument document);

  void Save();
  // `text` written as `name` in the cache folder, for the game or the compiler to read; nothing
  // (and the reason in the message) when it cannot be.
  std::optional<std::filesystem::path> WriteCacheCopy(const std::string& name,
                                                      const std::string& text);
  void PlayTest(bool fromCursor);
  // Shows the level's compiled picture behind the grid (compiling the text as it stands), or
  // stops showing it.
  void TogglePicture();
  void AddAtCursor(int key);
  void DeleteSelected();
  void CycleWake();
  void Resize(int dWidth, int dHeight);
  void AfterEdit(bool done, const std::string& refused);
  void Recheck();
  Hit HitAt(double sx, double sy) const;
  std::pair<int, int> CellAt(double sx, double sy) const;
  int32_t CursorWorldX() const;
  int32_t CursorWorldY() const;

  void DrawGrid();
  void DrawPicture();
  void DrawCharacters();
  void DrawItems();
  void DrawDragPreview();
  void DrawPanel();
  void DrawHelp();
  void Outline(double x, double y, double w, double h, const float colour[4]);
  Texture Swatch(char glyph);
  void Text(const std::string& text, double x, double y, const float* colour = nullptr,
            uint16_t size = 12);
  // The question and the answer being typed, its selection and its caret.
  void DrawPrompt(double x, double y);

  EditorSetup setup_;
  LevelDocument& doc_;
  EditorView view_;
  std::vector<LevelProblem> problems_;
  std::string message_;
  char tool_ = level_glyphs::kMasonry;
  int placing_ = 0;  // the key of what the next click in the level adds (0: none)
  std::optional<Hit> selected_;
  bool ctrl_ = false;
  bool shift_ = false;
  bool help_ = false;
  int askedKey_ = 0;  // the key that asked about unsaved changes last (0: none)
  std::optional<Prompt> prompt_;
  std::pair<int, int> newSize_{0, 0};  // screens, while a new level's name is asked
  int cursorX_ = 0;
  int cursorY_ = 0;
  Drag drag_ = Drag::None;
  std::vector<std::pair<int, int>> stroke_;
  std::pair<int, int> anchor_{0, 0};
  double grabX_ = 0;  // the dragged thing's place relative to the cursor, level px
  double grabY_ = 0;
  int panX_ = 0;
  int panY_ = 0;
  std::array<Texture, 8> swatches_{};
  Texture gridTexture_ = 0;
  long gridVersion_ = -1;
  pid_t game_ = 0;
  // The compiled picture, a texture per screen, and the version of the text it shows.
  bool showPicture_ = false;
  std::vector<Texture> picture_;
  long pictureVersion_ = -1;
};
