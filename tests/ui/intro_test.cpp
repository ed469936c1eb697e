// The intro: fade arithmetic, the black frame between pictures, loading once, and the key skip,
// in process and through the real program.
#include "ui/intro.hpp"
#include "app/game_state.hpp"

#include <gtest/gtest.h>

#include "base/messages.hpp"
#include "ui/front_end.hpp"
#include "ui/ui_run.hpp"

TEST(IntroFade, FadesInOverThreeSecondsAndOutOverTheLastTwo) {
  IntroState intro;
  // 10 ms frames: after one second the picture is a third of the way in.
  for (int i = 0; i < 100; ++i) EXPECT_TRUE(AdvanceIntro(intro, 8, 10));
  EXPECT_NEAR(intro.opacity, 1.0 / 3, 1e-9);
  for (int i = 0; i < 500; ++i) AdvanceIntro(intro, 8, 10);
  EXPECT_NEAR(intro.imageTime, 6.0, 1e-9);
  double full = intro.opacity;
  EXPECT_NEAR(full, 1.0, 0.01) << "fully in from 3 s to 6 s";
  for (int i = 0; i < 100; ++i) AdvanceIntro(intro, 8, 10);
  EXPECT_NEAR(intro.opacity, full - 0.5, 0.01) << "half way out one second into the fade-out";
}

TEST(IntroFade, OnePictureThenOneBlackFrameThenTheNext) {
  IntroState intro;
  int drawn = 0;
  while (AdvanceIntro(intro, 8, 10)) ++drawn;
  EXPECT_NEAR(drawn, 800, 1);
  EXPECT_EQ(intro.imageIndex, 1);
  EXPECT_EQ(intro.imageTime, 0);
  // The fade-out leaves the opacity near 0, unclamped, and the next picture starts from there.
  EXPECT_NEAR(intro.opacity, 0, 0.02);
  double carried = intro.opacity;
  EXPECT_TRUE(AdvanceIntro(intro, 8, 10));
  EXPECT_NEAR(intro.opacity, carried + 10.0 / 3000, 1e-12);
}

TEST(IntroFade, AZeroTimeStepStandsStill) {
  IntroState intro;
  for (int i = 0; i < 100; ++i) EXPECT_TRUE(AdvanceIntro(intro, 8, 0));
  EXPECT_EQ(intro.imageTime, 0);
  EXPECT_EQ(intro.opacity, 0);
  EXPECT_EQ(intro.imageIndex, 0);
}

namespace {
struct IntroTest : ::testing::Test {
  TempDir dir{"intro"};
  FakeBackends fake{dir.path()};
  void SetUp() override {
    ResetFrontEnd();
    uicontent::WriteFrontEndContent(dir.path());
  }
};
}  // namespace

TEST_F(IntroTest, LoadsItsPicturesOnceAndDrawsTheCurrentOneFullScreen) {
  uint8_t done = 0;
  EXPECT_FALSE(RunIntro("data\\intro\\", 3, 8, done, 10));
  EXPECT_FALSE(RunIntro("data\\intro\\", 3, 8, done, 10));
  EXPECT_EQ(fake.renderer.Textures().size(), 3u) << "loaded once";
  ASSERT_EQ(fake.renderer.DrawList()->size(), 2u);
  const DrawRecord& d = fake.renderer.DrawList()->back();
  EXPECT_EQ(d.texturePath, "data\\intro\\0.dxt");
  EXPECT_EQ(d.x, 0);
  EXPECT_EQ(d.y, 0);
  EXPECT_EQ(d.w, 800);
  EXPECT_EQ(d.h, 600);
  EXPECT_EQ(d.depth, -1);
  EXPECT_NEAR(d.alpha, 20.0 / 3000, 1e-12);
  EXPECT_TRUE(shownMessages.empty());
}

TEST_F(IntroTest, AKeyHeldInTheFirstFrameEndsItButThePicturesAreStillLoaded) {
  gameState.keyHeld = 1;
  uint8_t done = 0;
  EXPECT_TRUE(RunIntro("data\\intro\\", 3, 8, done, 10));
  EXPECT_EQ(done, 1);
  EXPECT_EQ(fake.renderer.Textures().size(), 3u);
  size_t drawn = fake.renderer.DrawList()->size();
  EXPECT_FALSE(RunIntro("data\\intro\\", 3, 8, done, 10)) << "finished: nothing more";
  EXPECT_EQ(fake.renderer.DrawList()->size(), drawn);
}

TEST_F(IntroTest, AMissingPictureIsReportedAndDrawnUntextured) {
  std::filesystem::remove(dir / "data" / "intro" / "1.dxt");
  uint8_t done = 0;
  RunIntro("data\\intro\\", 3, 8, done, 10);
  ASSERT_EQ(shownMessages.size(), 1u);
  EXPECT_NE(shownMessages[0].text.find("data\\intro\\1.dxt"), std::string::npos);
  EXPECT_EQ(introState.images[1], 0u);
}

TEST(IntroRun, ThreePicturesOfEightSecondsThenTheMenu) {
  UiGame game;
  auto state = game.Run("", 2395);
  EXPECT_EQ(state["flags"]["introDone"], 0);
  EXPECT_TRUE(Drew(state, "data\\intro\\2.dxt"));
  EXPECT_FALSE(Drew(state, "data\\menu\\bg.dxt"));
  state = game.Run("", 2420);
  EXPECT_EQ(state["flags"]["introDone"], 1);
  EXPECT_TRUE(Drew(state, "data\\menu\\bg.dxt"));
  EXPECT_FALSE(Drew(state, "data\\intro\\2.dxt"));
  // The test content has every picture but no music: only the three tracks are reported.
  std::vector<std::string> missing;
  for (const auto& m : state["messages"]) {
    EXPECT_EQ(m["caption"], "Sound") << m;
    missing.push_back(m["text"]);
  }
  EXPECT_EQ(missing.size(), 3u) << state["messages"];
}

TEST(IntroRun, ACharacterKeySkipsItAndAnArrowKeyDoesNot) {
  UiGame game;
  auto state = game.Run("5 key down A\n", 6);
  EXPECT_EQ(state["flags"]["introDone"], 1);
  EXPECT_TRUE(Drew(state, "data\\menu\\bg.dxt")) << "the menu shows in the same frame";

  state = game.Run("5 key down Right\n7 key up Right\n", 30);
  EXPECT_EQ(state["flags"]["introDone"], 0);
  EXPECT_TRUE(Drew(state, "data\\intro\\0.dxt"));
}
