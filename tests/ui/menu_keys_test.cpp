// The menus without a mouse: which keys and buttons fire, their repeat, the highlight's moves,
// and the keys taken out of the input states; then journeys through the real program by keyboard
// and controller alone.
#include "ui/menu_keys.hpp"

#include <gtest/gtest.h>

#include <functional>

#include "app/game_state.hpp"
#include "app/input.hpp"
#include "app/key_names.hpp"
#include "app/window_events.hpp"
#include "ui/front_end.hpp"
#include "ui/menu.hpp"
#include "ui/ui_run.hpp"

using nlohmann::json;

TEST(MenuHighlight, MovesOverTheUsableEntriesAndWrapsRound) {
  auto allBut = [](int skipped) { return [skipped](int i) { return i != skipped; }; };
  struct Case {
    int from, step, skipped, to;
  };
  const Case cases[] = {
      {1, 1, -1, 2},  {1, -1, -1, 0}, {4, 1, -1, 0}, {0, -1, -1, 4},  // plain moves and wraps
      {1, 1, 2, 3},   {3, -1, 2, 1},                                  // over an unusable entry
      {0, 0, 0, 1},   {0, 1, 0, 1},    // off one that became unusable
      {-1, 0, -1, 0}, {7, -1, -1, 0},  // from nowhere: the first
      {2, 0, -1, 2},                   // no step, no move
  };
  for (const Case& c : cases) {
    EXPECT_EQ(MoveHighlight(c.from, c.step, 5, allBut(c.skipped)), c.to)
        << "from " << c.from << " step " << c.step << " without " << c.skipped;
  }
  EXPECT_EQ(MoveHighlight(2, 1, 5, [](int) { return false; }), -1) << "nothing usable";
  EXPECT_EQ(MoveHighlight(2, 1, 5, [](int i) { return i == 2; }), 2) << "the only usable one";
}

namespace {
struct MenuKeysTest : ::testing::Test {
  int64_t screenFrame = -1;
  void SetUp() override {
    ResetGameState();
    DXInput1.Assign(kPauseButton, 0, vk::Escape);
  }
  static void Key(uint8_t code, bool down) {
    Event e;
    e.type = down ? EventType::KeyDown : EventType::KeyUp;
    e.key = code;
    HandleWindowEvent(e);
  }
  static void PadEvent(EventType type, int keyOrAxis, int value, bool down = false) {
    Event e;
    e.type = type;
    e.key = keyOrAxis;
    e.axis = keyOrAxis;
    e.value = value;
    e.down = down;
    HandleWindowEvent(e);
  }
  // One frame as the main loop runs it: the states, then the menu keys, then the screen's take.
  MenuKeys Frame(double ms = 10) {
    DXInput1.Update();
    ReadMenuKeys(ms);
    return TakeMenuKeys(screenFrame);
  }
};
}  // namespace

TEST_F(MenuKeysTest, EachKeyAndButtonFiresItsControlOncePerPress) {
  struct Case {
    const char* what;
    std::function<void(bool)> hold;
    MenuControl control;
  };
  const Case cases[] = {
      {"Up arrow", [](bool d) { Key(vk::UpArrow, d); }, MenuControl::Up},
      {"Down arrow", [](bool d) { Key(vk::DownArrow, d); }, MenuControl::Down},
      {"Left arrow", [](bool d) { Key(vk::LeftArrow, d); }, MenuControl::Left},
      {"Right arrow", [](bool d) { Key(vk::RightArrow, d); }, MenuControl::Right},
      {"Return", [](bool d) { Key(vk::Return, d); }, MenuControl::Press},
      {"Space", [](bool d) { Key(vk::Space, d); }, MenuControl::Press},
      {"controller A", [](bool d) { PadEvent(EventType::PadButton, 5, 0, d); }, MenuControl::Press},
      {"controller B", [](bool d) { PadEvent(EventType::PadButton, 6, 0, d); }, MenuControl::Back},
      {"d-pad up", [](bool d) { PadEvent(EventType::PadAxis, 1, d ? -1000 : 0); }, MenuControl::Up},
      {"stick right", [](bool d) { PadEvent(EventType::PadAxis, 0, d ? 700 : 0); },
       MenuControl::Right},
  };
  Frame();
  for (const Case& c : cases) {
    c.hold(true);
    MenuKeys first = Frame();
    EXPECT_TRUE(first.Fired(c.control)) << c.what;
    int firedCount = 0;
    for (bool f : first.fired) firedCount += f ? 1 : 0;
    EXPECT_EQ(firedCount, 1) << c.what << " fires nothing else";
    EXPECT_FALSE(Frame().Fired(c.control)) << c.what << " held: no second press";
    c.hold(false);
    EXPECT_FALSE(Frame().Fired(c.control)) << c.what << " released";
  }
  // Keys the menus do not use, and a stick inside its dead zone.
  Key('Z', true);
  Key(vk::Escape, true);
  PadEvent(EventType::PadAxis, 1, -400);
  MenuKeys none = Frame();
  for (bool f : none.fired) EXPECT_FALSE(f);
}

TEST_F(MenuKeysTest, AHeldDirectionRepeatsAfterADelayButAPressDoesNot) {
  Frame();
  Key(vk::DownArrow, true);
  Key(vk::Return, true);
  std::vector<int> downs;
  int presses = 0;
  for (int frame = 0; frame < 70; ++frame) {
    MenuKeys k = Frame(10);
    if (k.Fired(MenuControl::Down)) downs.push_back(frame);
    presses += k.Fired(MenuControl::Press) ? 1 : 0;
  }
  // The press, then at 400 ms, 490 ms, 580 ms, 670 ms held.
  EXPECT_EQ(downs, (std::vector<int>{0, 40, 49, 58, 67}));
  EXPECT_EQ(presses, 1);
}

TEST_F(MenuKeysTest, KeysThatWorkAMenuLeaveTheInputStates) {
  // As after the level load: Space also fires the power-up, X attacks.
  DXInput1.Assign(kPowerUpButton, 0, vk::Space);
  DXInput1.Assign(AttackButton(2), 0, 'X');
  Frame();
  Key(vk::Space, true);
  Key(vk::UpArrow, true);
  Key('X', true);
  PadEvent(EventType::PadButton, 5, 0, true);
  Frame();
  EXPECT_FALSE(DXInput1.Has(ButtonState(1)));
  EXPECT_FALSE(DXInput1.Has(kPowerUpButton)) << "no power-up when the level goes on";
  EXPECT_FALSE(DXInput1.Has(Up)) << "no jump";
  EXPECT_FALSE(DXInput1.Has(AttackButton(1))) << "the controller's A: no attack";
  EXPECT_TRUE(DXInput1.Has(AttackButton(2))) << "X is no menu key: its state stays";
  // Held on, they do not come back; pressed anew (in the level), they do.
  for (int i = 0; i < 5; ++i) DXInput1.Update();
  EXPECT_FALSE(DXInput1.Has(kPowerUpButton));
  EXPECT_FALSE(DXInput1.Has(Up));
  Key(vk::Space, false);
  DXInput1.Update();
  Key(vk::Space, true);
  DXInput1.Update();
  EXPECT_TRUE(DXInput1.Has(kPowerUpButton));
}

// Right held through the pause: the pause menu neither moves by it nor takes its state, however
// long it was held in the level before; let go and pressed again, it works the menu.
TEST_F(MenuKeysTest, ADirectionHeldSinceBeforeTheVisitIsLeftToTheLevel) {
  Key(vk::RightArrow, true);
  for (int frame = 0; frame < 100; ++frame) {
    DXInput1.Update();
    ReadMenuKeys(10);
  }
  for (int frame = 0; frame < 100; ++frame) EXPECT_FALSE(Frame().Fired(MenuControl::Right));
  EXPECT_TRUE(DXInput1.Has(Right));
  Key(vk::RightArrow, false);
  Frame();
  Key(vk::RightArrow, true);
  EXPECT_TRUE(Frame().Fired(MenuControl::Right));
  EXPECT_FALSE(DXInput1.Has(Right));
}

TEST_F(MenuKeysTest, NothingFiresInTheFirstFrameOfAVisitAndTheMouseHidesTheHighlight) {
  Frame();
  Key(vk::Return, true);
  DXInput1.Update();
  ReadMenuKeys(10);
  int64_t freshScreen = -1;
  EXPECT_FALSE(TakeMenuKeys(freshScreen).Fired(MenuControl::Press))
      << "the key that opened the screen";
  EXPECT_TRUE(DXInput1.Has(ButtonState(2))) << "it worked nothing here, so its state stays";
  EXPECT_TRUE(MenuHighlightShown());

  gameState.cursorX = 300;
  Frame();
  EXPECT_FALSE(MenuHighlightShown()) << "the mouse moved";
  Key(vk::DownArrow, true);
  MenuKeys k = Frame();
  EXPECT_FALSE(k.highlightWasShown) << "this key only brings the highlight back";
  EXPECT_TRUE(MenuHighlightShown());
  gameState.flags.mouseLeftDown = 1;
  Frame();
  EXPECT_FALSE(MenuHighlightShown()) << "the mouse clicked";
}

namespace {
std::string Line(int frame, const std::string& what) {
  return std::to_string(frame) + " " + what + "\n";
}
std::string Tap(int frame, const std::string& key) {
  return Line(frame, "key down " + key) + Line(frame + 1, "key up " + key);
}
bool HasState(const json& state, const std::string& name) {
  for (const auto& s : state["inputStates"]) {
    if (s == name) return true;
  }
  return false;
}
int Lines(const json& state) {
  int n = 0;
  for (const auto& d : state["drawList"]) n += d["op"] == "line" ? 1 : 0;
  return n;
}
}  // namespace

TEST(MenuKeysRun, TheKeyboardAloneReachesTheOptionsAndChangesASetting) {
  UiGame game;
  // The first Down shows the highlight on Start, two more reach Options.
  std::string script = SkipIntro() + Tap(10, "Down") + Tap(14, "Down") + Tap(18, "Down");
  json state = game.Run(script, 21);
  EXPECT_EQ(Lines(state), 4) << "the highlight's frame";
  script += Tap(22, "Return");
  state = game.Run(script, 24);
  EXPECT_EQ(state["flags"]["optionsShown"], 1);
  // The highlight is still up, on the music bar: Right twice, 30 -> 35 -> 40; Escape keeps it.
  script += Tap(30, "Right") + Tap(34, "Right") + Tap(42, "Escape");
  state = game.Run(script, 50);
  EXPECT_EQ(state["flags"]["menuShown"], 1);
  EXPECT_EQ(state["settings"]["musicVolume"], 40);
  EXPECT_EQ(static_cast<int>(ReadFile(UserConfigFile(game.dir.path()))[0]), 40);

  // The mouse moving hides the highlight again; the menu looks as it always did.
  state = game.Run(script + Line(55, "mouse move 10 10"), 58);
  EXPECT_EQ(Lines(state), 0);
}

TEST(MenuKeysRun, AMenuKeyNeverCarriesIntoTheLevel) {
  UiGame game;
  // The level needs its content.
  game.root = MORVA_TEST_CONTENT;
  // Space on the menu starts the level (the highlight's first place is Start); held on, it is
  // still no power-up, and Up pressed on the menu is no jump.
  json state = game.Run(SkipIntro() + Line(10, "key down Up") + Line(14, "key down Space"), 30);
  EXPECT_EQ(state["flags"]["inGame"], 1);
  EXPECT_EQ(state["flags"]["menuShown"], 0);
  EXPECT_FALSE(HasState(state, "Button1"));
  EXPECT_FALSE(HasState(state, "Up"));

  // The controller's A does the same, and leaves no attack behind.
  state = game.Run(SkipIntro() + Line(10, "pad button 5 down"), 30);
  EXPECT_EQ(state["flags"]["inGame"], 1);
  EXPECT_FALSE(HasState(state, "Button5"));

  // The key that ends the intro does not also press a button of the menu under it.
  state = game.Run(Line(5, "key down Return") + Line(6, "key up Return"), 30);
  EXPECT_EQ(state["flags"]["introDone"], 1);
  EXPECT_EQ(state["flags"]["menuShown"], 1);
  EXPECT_EQ(state["flags"]["inGame"], 0);
}

TEST(MenuKeysRun, TheTrainingPagesTurnByKeyAndTheControllersBGoesBack) {
  UiGame game;
  std::string script = SkipIntro() + Tap(10, "Down") + Tap(14, "Down") + Tap(18, "Return") +
                       Tap(25, "Right") + Tap(29, "Return");
  json state = game.Run(script, 32);
  EXPECT_EQ(state["flags"]["trainerShown"], 1);
  EXPECT_TRUE(Drew(state, "data\\trainer\\1.dxt")) << "Next pressed by Return";
  state = game.Run(script + Tap(33, "Left") + Tap(37, "Space"), 40);
  EXPECT_TRUE(Drew(state, "data\\trainer\\0.dxt")) << "Back pressed by Space";
  state = game.Run(script + Line(33, "pad button 6 down"), 36);
  EXPECT_EQ(state["flags"]["trainerShown"], 0);
  EXPECT_EQ(state["flags"]["menuShown"], 1);
}
