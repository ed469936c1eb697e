// The push button: strict hit test, the click after the release and the shared release timer.
#include "ui/button.hpp"
#include "app/game_state.hpp"

#include <gtest/gtest.h>

#include "test_support.hpp"
#include "ui/front_end.hpp"

namespace {
struct ButtonTest : ::testing::Test {
  TempDir dir{"button"};
  FakeBackends fake{dir.path()};
  cButton button;

  void SetUp() override {
    ResetFrontEnd();
    button.width = 100;
    button.height = 35;
    button.releasedTexture = 11;
    button.pressedTexture = 12;
  }
  // One frame of 10 ms with the cursor at (x, y).
  bool Frame(int x, int y, bool held) {
    gameState.cursorX = x;
    gameState.cursorY = y;
    return button.Update(335, 290, 10, 0.1, held);
  }
  // Frames until the click fires (at most `limit`); -1 if it never does.
  int FramesUntilClick(int x, int y, int limit = 50) {
    for (int i = 1; i <= limit; ++i) {
      if (Frame(x, y, false)) return i;
    }
    return -1;
  }
};
}  // namespace

TEST(ButtonHitTest, PointsOnTheBorderAreOutside) {
  EXPECT_TRUE(PointStrictlyInside(335, 290, 100, 35, 336, 291));
  EXPECT_TRUE(PointStrictlyInside(335, 290, 100, 35, 434, 324));
  EXPECT_FALSE(PointStrictlyInside(335, 290, 100, 35, 335, 300)) << "left edge";
  EXPECT_FALSE(PointStrictlyInside(335, 290, 100, 35, 435, 300)) << "right edge";
  EXPECT_FALSE(PointStrictlyInside(335, 290, 100, 35, 400, 290)) << "top edge";
  EXPECT_FALSE(PointStrictlyInside(335, 290, 100, 35, 400, 325)) << "bottom edge";
  EXPECT_FALSE(PointStrictlyInside(2147483600, 0, 100, 35, -2147483600, 10))
      << "a button at the end of the range does not wrap round";
}

TEST(ButtonReleaseTimer, PassesOnlyAfterTheDelay) {
  // Ten frames of 10 ms add up to a hair under 0.1 s, and the eleventh passes it; two frames of
  // 50 ms (or one of 100 ms) reach 0.1 s exactly, which is not yet past it.
  struct Case {
    double frameMs;
    int firingFrame;
  } cases[] = {{10, 11}, {50, 3}, {100, 2}, {150, 1}};
  for (const Case& c : cases) {
    double timer = 0;
    int frame = 1;
    while (!ReleaseTimerPassed(timer, c.frameMs, 0.1) && frame < 100) ++frame;
    EXPECT_EQ(frame, c.firingFrame) << c.frameMs << " ms frames";
  }
  double timer = 0;
  EXPECT_FALSE(ReleaseTimerPassed(timer, 0, 0.1)) << "a zero time step never fires";
}

TEST_F(ButtonTest, AClickFiresAboutATenthOfASecondAfterTheRelease) {
  EXPECT_FALSE(Frame(380, 300, true));
  EXPECT_TRUE(button.showsPressed);
  EXPECT_EQ(fake.renderer.DrawList()->back().texture, 12u) << "pressed image while held";
  for (int i = 0; i < 30; ++i) EXPECT_FALSE(Frame(380, 300, true)) << "holding never fires";
  EXPECT_EQ(FramesUntilClick(380, 300), 11);
  EXPECT_EQ(button.pressed, 0);
  EXPECT_EQ(FramesUntilClick(380, 300), -1) << "one click per press";
}

TEST_F(ButtonTest, APressThatMovesOffStillFiresWhereverTheCursorIs) {
  Frame(380, 300, true);
  Frame(600, 500, true);
  EXPECT_FALSE(button.showsPressed);
  EXPECT_EQ(fake.renderer.DrawList()->back().texture, 11u);
  EXPECT_EQ(FramesUntilClick(700, 20), 11);
}

TEST_F(ButtonTest, APressThatBeganElsewhereNeverPressesTheButton) {
  Frame(100, 100, true);
  Frame(380, 300, true);
  Frame(380, 300, true);
  EXPECT_FALSE(button.showsPressed);
  EXPECT_EQ(FramesUntilClick(380, 300), -1);
  // Released on the button in the frame the cursor arrives: nothing either.
  Frame(100, 100, true);
  EXPECT_EQ(FramesUntilClick(380, 300), -1);
}

TEST_F(ButtonTest, TheCursorOnAnEdgeDoesNotPress) {
  for (auto [x, y] : {std::pair{335, 300}, {435, 300}, {380, 290}, {380, 325}}) {
    Frame(x, y, true);
    EXPECT_EQ(button.pressed, 0) << x << "," << y;
    Frame(x, y, false);
  }
}

TEST_F(ButtonTest, InactiveButtonsAreDrawnButIgnoreTheMouseAndHiddenOnesDoNothing) {
  button.active = false;
  Frame(380, 300, true);
  EXPECT_EQ(button.pressed, 0);
  EXPECT_EQ(fake.renderer.DrawList()->back().texture, 11u);
  EXPECT_EQ(FramesUntilClick(380, 300), -1);

  button.active = true;
  button.visible = false;
  size_t drawn = fake.renderer.DrawList()->size();
  Frame(380, 300, true);
  EXPECT_EQ(FramesUntilClick(380, 300), -1);
  EXPECT_EQ(fake.renderer.DrawList()->size(), drawn);
}

TEST_F(ButtonTest, AClickWaitingWhenItsButtonTurnsInactiveIsDropped) {
  Frame(380, 300, true);
  EXPECT_FALSE(Frame(380, 300, false));
  button.active = false;
  EXPECT_EQ(FramesUntilClick(380, 300), -1);
  EXPECT_EQ(button.pressed, 0);
  button.active = true;
  EXPECT_EQ(FramesUntilClick(380, 300), -1) << "nor does it fire once active again";
  // Inactive only for a frame while the click waits: still active when it fires, it fires.
  Frame(380, 300, true);
  button.active = false;
  EXPECT_FALSE(Frame(380, 300, false));
  button.active = true;
  EXPECT_GT(FramesUntilClick(380, 300), 0);
}

TEST_F(ButtonTest, JustPressedMarksOnlyTheFirstFrameOfAPress) {
  Frame(380, 300, true);
  EXPECT_TRUE(button.justPressed);
  Frame(380, 300, true);
  EXPECT_FALSE(button.justPressed);
  // A press of a single frame must not leave the mark behind after the release.
  FramesUntilClick(380, 300);
  Frame(380, 300, true);
  EXPECT_TRUE(button.justPressed);
  Frame(380, 300, false);
  EXPECT_FALSE(button.justPressed);
}

TEST_F(ButtonTest, APressOnAnyButtonRestartsTheSharedTimer) {
  cButton other = button;
  Frame(380, 300, true);
  for (int i = 0; i < 8; ++i) EXPECT_FALSE(Frame(380, 300, false));
  // Another button pressed now starts the shared timer from 0 again.
  gameState.cursorX = 380;
  gameState.cursorY = 400;
  other.Update(335, 390, 10, 0.1, true);
  EXPECT_EQ(buttonReleaseTimer, 0);
  EXPECT_EQ(FramesUntilClick(380, 300), 11);
}
