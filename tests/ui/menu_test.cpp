// The main menu: its buttons through the real program, the visibility rules, the click sound and
// the version text.
#include "ui/menu.hpp"
#include "app/game_state.hpp"

#include <gtest/gtest.h>

#include "audio/sound.hpp"
#include "base/messages.hpp"
#include "ui/front_end.hpp"
#include "ui/ui_run.hpp"

namespace {
// Points inside the buttons.
constexpr int kInsideX = 385;
int InsideY(MenuButton b) {
  return MenuButtonY(b) + 15;
}
}  // namespace

TEST(MenuRun, AClickOnOptionsOpensThemAndTheyAreFirstDrawnInTheNextFrame) {
  UiGame game;
  std::string script = SkipIntro() + Click(10, kInsideX, InsideY(MenuButton::Options));
  // The release comes before frame 12; find the frame in which the click fires.
  int fired = -1;
  for (int frames = 18; frames <= 26 && fired < 0; ++frames) {
    auto state = game.Run(script, frames);
    if (state["flags"]["optionsShown"] == 1) {
      fired = frames - 1;
      EXPECT_EQ(state["flags"]["menuShown"], 0);
      EXPECT_TRUE(Drew(state, "data\\menu\\bg.dxt")) << "the firing frame still shows the menu";
      EXPECT_FALSE(Drew(state, "data\\options\\bg.jpg"));
    }
  }
  ASSERT_GE(fired, 0) << "the click never fired";
  EXPECT_GE((fired - 12) * 10, 90);
  EXPECT_LE((fired - 12) * 10, 110);
  auto next = game.Run(script, fired + 2);
  EXPECT_TRUE(Drew(next, "data\\options\\bg.jpg"));
  EXPECT_FALSE(Drew(next, "data\\menu\\bg.dxt"));
}

TEST(MenuRun, APressDraggedOffStillFiresAndAPressFromElsewhereNeverDoes) {
  UiGame game;
  int y = InsideY(MenuButton::Options);
  auto state = game.Run(SkipIntro() + "10 mouse move 385 " + std::to_string(y) +
                            "\n10 mouse down left\n12 mouse move 700 500\n14 mouse up left\n",
                        40);
  EXPECT_EQ(state["flags"]["optionsShown"], 1) << "pressed on Options, released elsewhere";

  state = game.Run(SkipIntro() + "10 mouse move 100 100\n10 mouse down left\n12 mouse move 385 " +
                       std::to_string(y) + "\n14 mouse up left\n",
                   40);
  EXPECT_EQ(state["flags"]["optionsShown"], 0) << "pressed on empty space, released on Options";
  EXPECT_EQ(state["flags"]["menuShown"], 1);

  state = game.Run(SkipIntro() + "10 mouse move 100 100\n10 mouse down left\n14 mouse move 385 " +
                       std::to_string(y) + "\n14 mouse up left\n",
                   40);
  EXPECT_EQ(state["flags"]["optionsShown"], 0) << "moved onto Options as the button came up";
}

TEST(MenuRun, TheCursorOnAButtonsEdgeDoesNotPressIt) {
  UiGame game;
  int y = InsideY(MenuButton::Options);
  for (int x : {kMenuButtonX, kMenuButtonX + kMenuButtonWidth}) {
    auto state = game.Run(SkipIntro() + Click(10, x, y), 40);
    EXPECT_EQ(state["flags"]["optionsShown"], 0) << "x " << x;
  }
  auto state = game.Run(SkipIntro() + Click(10, kInsideX, MenuButtonY(MenuButton::Options)), 40);
  EXPECT_EQ(state["flags"]["optionsShown"], 0) << "top edge";
}

TEST(MenuRun, StartEntersTheLevelAndExitEndsTheProgramNormally) {
  UiGame game;
  // The level needs its content.
  game.root = MORVA_TEST_CONTENT;
  auto state = game.Run(SkipIntro() + Click(10, kInsideX, InsideY(MenuButton::Start)), 40);
  EXPECT_EQ(state["flags"]["inGame"], 1);
  EXPECT_EQ(state["flags"]["menuShown"], 0);

  state = game.Run(SkipIntro() + Click(10, kInsideX, InsideY(MenuButton::Exit)), 500);
  EXPECT_EQ(state["flags"]["quitRequested"], 1);
  EXPECT_LT(state["frame"], 40) << "the program ended on its own, right after the click";
  EXPECT_EQ(ReadFile(UserConfigFile(game.dir.path())).size(), 12u);
}

TEST(MenuRun, AStartClickLeftWaitingDoesNotHideThePauseMenuLater) {
  UiGame game;
  game.root = MORVA_TEST_CONTENT;
  // Start clicked with the mouse, and before its click fires, pressed again from the keyboard:
  // the level starts at once and the mouse's click is left waiting. Escape then pauses the level.
  std::string script = SkipIntro() + Click(10, kInsideX, InsideY(MenuButton::Start), 1) +
                       "12 key down Down\n13 key up Down\n14 key down Return\n15 key up Return\n";
  auto state = game.Run(script, 20);
  ASSERT_EQ(state["flags"]["inGame"], 1);
  ASSERT_EQ(state["flags"]["menuShown"], 0);
  script += "40 key down Escape\n41 key up Escape\n";
  state = game.Run(script, 80);
  EXPECT_EQ(state["flags"]["paused"], 1);
  EXPECT_EQ(state["flags"]["menuShown"], 1) << "a paused level keeps its menu";
}

namespace {
struct MenuTest : ::testing::Test {
  TempDir dir{"menu"};
  FakeBackends fake{dir.path()};

  void SetUp() override {
    ResetFrontEnd();
    uicontent::WriteFrontEndContent(dir.path(), 8820);
    BASS_Init();
    cSND::Open("data\\sounds\\GUI\\button0.WAV", gameState.clickSound);
    gameState.flags.introDone = 1;
    gameState.flags.menuShown = 1;
    gameState.morva.frameTime = 10;
    gameState.settings.soundVolume = 64;
  }
  void Frame(int x, int y, bool held) {
    fake.audio.Advance(10);
    fake.renderer.BeginFrame(0, 800, 0, 600);
    gameState.cursorX = x;
    gameState.cursorY = y;
    gameState.flags.mouseLeftDown = held ? 1 : 0;
    RunMenu();
  }
  bool Drew(const std::string& path) const {
    for (const DrawRecord& d : *fake.renderer.DrawList()) {
      if (d.texturePath == path) return true;
    }
    return false;
  }
  StreamInfo Click() const { return fake.audio.Streams().at(0); }
};
}  // namespace

TEST_F(MenuTest, ResumeIsOfferedOnlyWhileALevelIsInPlayAndStartOnlyWhileNoneIs) {
  Frame(0, 0, false);
  EXPECT_FALSE(Drew("data\\menu\\bresumeR.tga"));
  EXPECT_TRUE(Drew("data\\menu\\bStartR.tga"));

  gameState.flags.inGame = 1;
  gameState.flags.paused = 1;
  Frame(kInsideX, InsideY(MenuButton::Start), true);
  EXPECT_TRUE(Drew("data\\menu\\bresumeR.tga"));
  EXPECT_TRUE(Drew("data\\menu\\bStartR.tga")) << "Start shows released under the cursor";
  EXPECT_FALSE(Drew("data\\menu\\bStartP.tga"));
  for (int i = 0; i < 20; ++i) Frame(kInsideX, InsideY(MenuButton::Start), false);
  EXPECT_EQ(gameState.flags.menuShown, 1) << "Start cannot be pressed while a level is in play";

  gameState.flags.levelFinished = 1;
  Frame(0, 0, false);
  EXPECT_FALSE(Drew("data\\menu\\bresumeR.tga")) << "no Resume after a finished level";
}

TEST(MenuClicks, MoveTheModeFlags) {
  ModeFlags f;
  f.inGame = 1;
  f.paused = 1;
  f.menuShown = 1;
  ApplyMenuClick(MenuButton::Resume, f);
  EXPECT_EQ(f.paused, 0);
  EXPECT_EQ(f.menuShown, 0);

  ModeFlags finished;
  finished.levelFinished = 1;
  finished.menuShown = 1;
  // Found by the playing soak: Escape or a lost focus in the frame the level ended left the
  // level paused behind the statistics, and the level started again paused with no menu: no key
  // led anywhere.
  finished.paused = 1;
  ApplyMenuClick(MenuButton::Start, finished);
  EXPECT_EQ(finished.inGame, 1);
  EXPECT_EQ(finished.restartRequested, 1) << "a finished level starts again from its beginning";
  EXPECT_EQ(finished.levelFinished, 0);
  EXPECT_EQ(finished.paused, 0) << "a level started from the menu runs";

  ModeFlags fresh;
  ApplyMenuClick(MenuButton::Start, fresh);
  EXPECT_EQ(fresh.restartRequested, 0);
  ApplyMenuClick(MenuButton::Training, fresh);
  EXPECT_EQ(fresh.trainerShown, 1);
  ApplyMenuClick(MenuButton::Exit, fresh);
  EXPECT_EQ(fresh.quitRequested, 1);
}

TEST_F(MenuTest, APressPlaysTheClickOnceToItsEndAtTheEffectsVolume) {
  // 8820 bytes of mono sound: 100 ms, ten frames.
  Frame(kInsideX, InsideY(MenuButton::Training), true);
  EXPECT_TRUE(Click().playing);
  EXPECT_EQ(Click().volume, 64);
  Frame(kInsideX, InsideY(MenuButton::Training), false);
  for (int i = 0; i < 9; ++i) Frame(0, 0, false);
  EXPECT_FALSE(Click().playing);
  EXPECT_EQ(Click().position, 0u) << "stopped at its end and rewound";
  // The press was a short one; its click must not come back on its own.
  for (int i = 0; i < 30; ++i) {
    Frame(0, 0, false);
    EXPECT_FALSE(Click().playing) << "frame " << i;
  }
}

TEST_F(MenuTest, DrawsItsPictureAndTheVersionAndReloadsWhenAsked) {
  Frame(0, 0, false);
  const std::vector<DrawRecord>& list = *fake.renderer.DrawList();
  ASSERT_FALSE(list.empty());
  EXPECT_EQ(list.front().texturePath, "data\\menu\\bg.dxt");
  EXPECT_EQ(list.front().depth, -2);
  const DrawRecord& version = list.back();
  EXPECT_EQ(version.op, "text");
  EXPECT_EQ(version.text, "V 1.12");
  EXPECT_EQ(version.size, 10);
  EXPECT_EQ(version.x, 720);
  EXPECT_EQ(version.y, 20);
  EXPECT_EQ(gameState.flags.menuLoaded, 1);

  size_t textures = fake.renderer.Textures().size();
  EXPECT_EQ(textures, 11u);
  Frame(0, 0, false);
  EXPECT_EQ(fake.renderer.Textures().size(), textures) << "loaded once";
  Texture background = menuScreen.background;
  gameState.flags.menuLoaded = 0;
  Frame(0, 0, false);
  EXPECT_NE(menuScreen.background, background) << "loaded again after a mode change";
  EXPECT_EQ(fake.renderer.Textures().size(), textures) << "the old pictures are freed";
  EXPECT_TRUE(shownMessages.empty());
}
