// cAnim: clip timing in single precision, looping and one-shot clips, restarts and drawing.
#include <gtest/gtest.h>

#include <vector>

#include "app/game_state.hpp"
#include "base/messages.hpp"
#include "gfx/anim.hpp"
#include "test_support.hpp"

namespace {
struct AnimTest : ::testing::Test {
  TempDir dir{::testing::UnitTest::GetInstance()->current_test_info()->name()};
  FakeBackends fake{dir.path()};
  cAnim anim;
  void SetUp() override {
    gameState.morva.frameTime = 10;
    for (std::size_t i = 0; i < kAnimFrames; ++i) anim.textures[i] = static_cast<Texture>(100 + i);
    anim.frameCount = 5;
    anim.frameDuration = 0.1f;
    anim.playing = 1;
    anim.phase = 1;
  }
  // The picture drawn in each of `frames` frames.
  std::vector<int> Play(int frames) {
    std::vector<int> shown;
    for (int i = 0; i < frames; ++i) {
      fake.renderer.BeginFrame(0, 800, 0, 600);
      anim.Advance(gameState.morva.frameTime);
      anim.Show(400, 300, -0.5);
      shown.push_back(static_cast<int>(fake.renderer.DrawList()->back().texture) - 100);
    }
    return shown;
  }
};

std::vector<int> Repeat(std::initializer_list<int> pictures, int times) {
  std::vector<int> out;
  for (int p : pictures) out.insert(out.end(), times, p);
  return out;
}
}  // namespace

TEST_F(AnimTest, EachPictureLastsTwelveTenMillisecondFramesAndTheClipLoops) {
  // Single-precision sums of 0.01 reach 0.1 after 11 steps, and the frame that changes the
  // picture adds nothing. The very first picture has no changing frame: it lasts 11.
  std::vector<int> expected = Repeat({0}, 11);
  for (int p : Repeat({1, 2, 3, 4, 0, 1}, 12)) expected.push_back(p);
  EXPECT_EQ(Play(83), expected);
}

TEST_F(AnimTest, TheSumIsKeptInSinglePrecision) {
  // Each step is 0.01 from a double product, rounded into the single sum; adding single 0.01f
  // steps instead would reach 0.1 after ten and change the picture a frame early.
  Play(11);
  EXPECT_EQ(anim.current, 0);
  EXPECT_FLOAT_EQ(anim.elapsed, 0.11f);
  EXPECT_EQ(anim.stepCount, 0);
  Play(1);
  EXPECT_EQ(anim.current, 1);
  EXPECT_EQ(anim.stepCount, 1);
}

TEST_F(AnimTest, AtTenthOfASecondFramesEachPictureLastsTwoFrames) {
  gameState.morva.frameTime = 100;
  std::vector<int> expected = {0};
  for (int p : Repeat({1, 2, 3, 4, 0}, 2)) expected.push_back(p);
  EXPECT_EQ(Play(11), expected);
}

TEST_F(AnimTest, AZeroDurationAdvancesOnePicturePerFrame) {
  anim.frameDuration = 0;
  anim.firstFrame = 10;
  EXPECT_EQ(Play(6), (std::vector<int>{11, 12, 13, 14, 10, 11}));
}

TEST_F(AnimTest, AOneShotClipEndsOnItsLastPictureAndStopsPlaying) {
  anim.phase = 0;
  anim.oneShot = 1;
  anim.firstFrame = 20;
  anim.current = 300;  // a fresh one-shot starts at its first picture whatever current says
  std::vector<int> shown = Play(80);
  std::vector<int> expected = Repeat({20}, 11);
  for (int p : Repeat({21, 22, 23}, 12)) expected.push_back(p);
  expected.resize(80, 24);
  EXPECT_EQ(shown, expected);
  EXPECT_EQ(anim.playing, 0);
  EXPECT_EQ(anim.phase, 2);
  EXPECT_EQ(anim.current, 24);
  // Played again by its owner, it counts from its first picture once more.
  anim.playing = 1;
  anim.current = 20;
  anim.stepCount = 0;
  std::vector<int> again = Play(61);
  EXPECT_EQ(again.front(), 20);
  EXPECT_EQ(again.back(), 24);
  EXPECT_EQ(anim.playing, 0);
}

TEST_F(AnimTest, ARestartPartWayThroughAPictureGivesTheFirstPictureItsFullLength) {
  Play(30);  // on the third picture, seven frames into it
  ASSERT_EQ(anim.current, 2);
  ASSERT_GT(anim.elapsed, 0.0f);
  anim.phase = 1;
  std::vector<int> expected = Repeat({0}, 11);
  for (int p : Repeat({1}, 12)) expected.push_back(p);
  EXPECT_EQ(Play(23), expected);
}

TEST_F(AnimTest, AHeldClipStillRestartsButDoesNotAdvance) {
  anim.playing = 0;
  anim.current = 3;
  anim.firstFrame = 2;
  EXPECT_EQ(Play(30), std::vector<int>(30, 2)) << "the restart jumps to the first picture";
  EXPECT_EQ(anim.phase, 2);
  EXPECT_FLOAT_EQ(anim.elapsed, 0);
}

TEST_F(AnimTest, DrawsCentredWithItsSizeDepthAndMirroring) {
  anim.width = 200;
  anim.height = 150;
  anim.mirrored = 1;
  Play(1);
  const DrawRecord& d = fake.renderer.DrawList()->back();
  EXPECT_EQ(d.op, "anim");
  EXPECT_DOUBLE_EQ(d.x, 400);
  EXPECT_DOUBLE_EQ(d.y, 300);
  EXPECT_DOUBLE_EQ(d.depth, -0.5);
  EXPECT_DOUBLE_EQ(d.w, 200);
  EXPECT_DOUBLE_EQ(d.h, 150);
  EXPECT_TRUE(d.mirrored);
  EXPECT_TRUE(fake.renderer.blend);
  EXPECT_TRUE(fake.renderer.alphaTest);
  EXPECT_FLOAT_EQ(fake.renderer.alphaReference, 0.0f);
}

TEST_F(AnimTest, APictureBeyondTheTableIsAFatalRangeError) {
  anim.playing = 0;
  anim.phase = 2;
  anim.current = 513;
  std::string reported;
  SetFatalHandler([&](const std::string& what) { reported = what; });
  EXPECT_THROW(anim.Show(0, 0, 0), ProgramExit);
  SetFatalHandler(nullptr);
  EXPECT_NE(reported.find("513"), std::string::npos) << reported;
  EXPECT_TRUE(fake.renderer.DrawList()->empty());
}

TEST_F(AnimTest, AStandingFrameTimeHoldsThePicture) {
  // Below ten frames a second the engine reports a frame time of 0: nothing moves.
  gameState.morva.frameTime = 0;
  Play(1);
  anim.elapsed = 0.05f;
  EXPECT_EQ(Play(50), std::vector<int>(50, 0));
}
