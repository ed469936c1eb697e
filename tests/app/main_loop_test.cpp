// Start-up, the per-frame step, the music table, the form's events and shutdown.
#include <gtest/gtest.h>

#include "app/display.hpp"
#include "app/game_state.hpp"
#include "app/input.hpp"
#include "app/key_names.hpp"
#include "app/main_loop.hpp"
#include "base/backends.hpp"
#include "base/messages.hpp"
#include "formats/config_record.hpp"
#include "test_support.hpp"
#include "ui/config.hpp"

namespace {
struct MainLoopTest : ::testing::Test {
  TempDir dir{"main_loop"};
  FakeBackends fake{dir.path()};

  void SetUp() override {
    std::filesystem::create_directories(dir / "data");
    SetConfigPath(dir / "config.dat");
    fake.platform.manualTicks = 1'000'000;
  }
};

ModeFlags Flags(uint8_t inGame, uint8_t levelFinished, uint8_t introDone, uint8_t paused) {
  ModeFlags f;
  f.inGame = inGame;
  f.levelFinished = levelFinished;
  f.introDone = introDone;
  f.paused = paused;
  return f;
}
}  // namespace

TEST(MusicSelection, FollowsTheModeFlags) {
  struct Case {
    ModeFlags flags;
    bool intro, menu, game;
    const char* what;
  } cases[] = {
      {Flags(0, 0, 0, 0), true, false, false, "intro"},
      {Flags(0, 0, 1, 0), false, true, false, "menu"},
      {Flags(1, 0, 1, 0), false, false, true, "level running"},
      {Flags(1, 0, 1, 1), false, true, false, "level paused under the menu"},
      {Flags(1, 1, 1, 0), false, false, true, "statistics screen"},
      {Flags(0, 1, 1, 0), false, false, false, "menu after a finished level: silence"},
      {Flags(1, 1, 1, 1), false, false, false, "paused and finished"},
  };
  for (const Case& c : cases) {
    MusicChoice m = SelectMusic(c.flags);
    EXPECT_EQ(m.intro, c.intro) << c.what;
    EXPECT_EQ(m.menu, c.menu) << c.what;
    EXPECT_EQ(m.game, c.game) << c.what;
  }
}

TEST_F(MainLoopTest, StartUpReadsSettingsSetsUpTheDisplayAndEntersTheIntro) {
  Settings s = DefaultSettings();
  s.gamma = 100;
  s.displayMode = -1;
  ASSERT_TRUE(SaveConfig(s));
  fake.platform.modes = {{800, 600, 32, 60}, {1024, 768, 32, 60}};
  fake.platform.desktop = {1024, 768, 32, 60};

  ASSERT_EQ(FormCreate(), StartResult::Ok);
  EXPECT_EQ(gameState.settings.gamma, 100);
  EXPECT_EQ(gameState.savedModeIndex, 1);
  EXPECT_EQ(fake.platform.modeChanges, std::vector<int>{0});
  EXPECT_EQ(gameState.flags.introDone, 0);
  EXPECT_EQ(gameState.flags.menuShown, 1);
  EXPECT_EQ(gameState.morva.frameTime, 10.0);
  EXPECT_EQ(DXInput1.Keyboard.Assigns[kPauseButton][0], vk::Escape);
}

TEST_F(MainLoopTest, AConfiguredModeIndexIsUsedDirectly) {
  Settings s = DefaultSettings();
  s.displayMode = 1;
  ASSERT_TRUE(SaveConfig(s));
  fake.platform.modes = {{800, 600, 32, 60}, {1024, 768, 32, 75}};
  ASSERT_EQ(FormCreate(), StartResult::Ok);
  EXPECT_EQ(fake.platform.modeChanges, std::vector<int>{1});
}

TEST_F(MainLoopTest, NoContextEndsStartUp) {
  fake.platform.contextAvailable = false;
  EXPECT_EQ(FormCreate(), StartResult::NoDisplay);
}

TEST_F(MainLoopTest, GammaIsAppliedOnTheFirstFrameOnly) {
  Settings s = DefaultSettings();
  s.gamma = 100;
  ASSERT_TRUE(SaveConfig(s));
  ASSERT_EQ(FormCreate(), StartResult::Ok);
  EXPECT_EQ(fake.platform.gammaWrites, 0);
  DXTimer1Timer();
  DXTimer1Timer();
  EXPECT_EQ(fake.platform.gammaWrites, 1);
  EXPECT_EQ(fake.platform.gamma[128], 11264);
  EXPECT_EQ(gameState.gammaApplied, 1);
}

TEST_F(MainLoopTest, FirstSecondRunsWithAZeroStep) {
  ASSERT_EQ(FormCreate(), StartResult::Ok);
  DXTimer1Timer();
  EXPECT_EQ(gameState.morva.fps, 1);
  EXPECT_EQ(gameState.morva.frameTime, 0);
  for (int i = 0; i < 101; ++i) {
    *fake.platform.manualTicks += 10;
    DXTimer1Timer();
  }
  EXPECT_EQ(gameState.morva.fps, 101);
  EXPECT_NEAR(gameState.morva.frameTime, 9.9, 0.01);
  EXPECT_EQ(fake.platform.swaps, 102);
}

TEST_F(MainLoopTest, ExitClosesTheWindowAfterTheFrameAndShutdownRestoresTheDesktop) {
  fake.platform.modes = {{800, 600, 32, 60}, {1024, 768, 32, 60}};
  fake.platform.desktop = {1024, 768, 32, 60};
  GammaRamp desktopRamp = fake.platform.gamma;
  ASSERT_EQ(FormCreate(), StartResult::Ok);
  DXTimer1Timer();
  EXPECT_FALSE(windowCloseRequested);
  gameState.flags.quitRequested = 1;
  gameState.keyReleased = 1;
  int swaps = fake.platform.swaps;
  DXTimer1Timer();
  EXPECT_TRUE(windowCloseRequested);
  // The frame still ends normally.
  EXPECT_EQ(fake.platform.swaps, swaps + 1);
  EXPECT_EQ(gameState.keyReleased, 0);

  FormClose();
  EXPECT_FALSE(fake.platform.hasContext);
  EXPECT_EQ(fake.platform.desktopRestores, 1);
  EXPECT_EQ(fake.platform.desktopModeSet, 1);
  EXPECT_EQ(fake.platform.gamma, desktopRamp);
}

TEST_F(MainLoopTest, NoDesktopModeIsSetWhenNoneMatchedAtStartUp) {
  fake.platform.desktop = {1280, 1024, 32, 60};
  ASSERT_EQ(FormCreate(), StartResult::Ok);
  FormClose();
  EXPECT_FALSE(fake.platform.desktopModeSet.has_value());
}

TEST_F(MainLoopTest, KeyAndMouseEventsSetTheFormFlags) {
  FormKeyPress();
  EXPECT_EQ(gameState.keyHeld, 1);
  FormKeyUp();
  EXPECT_EQ(gameState.keyHeld, 0);
  EXPECT_EQ(gameState.keyReleased, 1);

  FormMouseDown(MouseButton::Left);
  EXPECT_EQ(gameState.flags.mouseLeftDown, 1);
  // The right button takes over even while the left is still held.
  FormMouseDown(MouseButton::Right);
  EXPECT_EQ(gameState.flags.mouseLeftDown, 0);
  EXPECT_EQ(gameState.flags.mouseRightDown, 1);
  // The middle button clears both.
  FormMouseDown(MouseButton::Middle);
  EXPECT_EQ(gameState.flags.mouseLeftDown, 0);
  EXPECT_EQ(gameState.flags.mouseRightDown, 0);
  FormMouseDown(MouseButton::Left);
  FormMouseUp();
  EXPECT_EQ(gameState.flags.mouseLeftDown, 0);
}

TEST_F(MainLoopTest, TheLevelIsLoadedOnceAndRestartedOnRequest) {
  FakeBackends demo{MORVA_TEST_CONTENT};
  demo.platform.manualTicks = 1'000'000;
  ASSERT_EQ(FormCreate(), StartResult::Ok);
  gameState.flags.inGame = 1;
  gameState.flags.restartRequested = 1;
  DXTimer1Timer();
  EXPECT_EQ(gameState.flags.levelLoaded, 1);
  EXPECT_EQ(gameState.flags.restartRequested, 0);
}

TEST(FatalPath, AnIndexOutsideItsTableGoesToTheHandler) {
  std::string reported;
  SetFatalHandler([&](const std::string& what) {
    reported = what;
    throw std::runtime_error("stopped");
  });
  int table[4] = {1, 2, 3, 4};
  EXPECT_EQ(At(table, 3, "table"), 4);
  EXPECT_THROW(At(table, 4, "table"), std::runtime_error);
  EXPECT_NE(reported.find("table index 4"), std::string::npos);
  SetFatalHandler(nullptr);
}

TEST(FatalPath, TheDefaultHandlerReportsAndEndsTheProgramWithStatusThree) {
  ResetGameState();
  int table[2] = {};
  try {
    At(table, 7, "unit table");
    FAIL() << "no exit";
  } catch (const ProgramExit& e) {
    EXPECT_EQ(e.status, 3);
  }
  ASSERT_FALSE(shownMessages.empty());
  EXPECT_EQ(shownMessages.back().text.rfind("Range check error", 0), 0u);
}
