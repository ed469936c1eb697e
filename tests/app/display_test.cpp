// Display set-up, gamma ramps and the display-mode list, on the fake window system.
#include <gtest/gtest.h>

#include <array>
#include <cmath>

#include "app/display.hpp"
#include "app/game_state.hpp"
#include "base/backends.hpp"
#include "base/messages.hpp"
#include "test_support.hpp"

namespace {
struct DisplayTest : ::testing::Test {
  TempDir dir{"display"};
  FakeBackends fake{dir.path()};

  void SetUp() override {
    // Index: 0 640x480@60, 1 800x600x32@60, 2 800x600x32@75, 3 800x600x16@60,
    //        4 800x600x32@60 (listed twice, as some drivers do), 5 1024x768x32@60
    fake.platform.modes = {{640, 480, 32, 60}, {800, 600, 32, 60}, {800, 600, 32, 75},
                           {800, 600, 16, 60}, {800, 600, 32, 60}, {1024, 768, 32, 60}};
    fake.platform.desktop = {1024, 768, 32, 60};
  }
};
}  // namespace

TEST(GammaRamp, MatchesTheKnownValues) {
  GammaRamp identity = BuildGammaRamp(255);
  for (int i = 0; i < 256; ++i) ASSERT_EQ(identity[i], i * 256) << i;

  EXPECT_EQ(BuildGammaRamp(58)[128], 3072);
  GammaRamp g100 = BuildGammaRamp(100);
  EXPECT_EQ(g100[0], 0);
  EXPECT_EQ(g100[64], 2048);
  EXPECT_EQ(g100[128], 11264);
  EXPECT_EQ(g100[192], 31744);
  EXPECT_EQ(g100[255], 65280);
  for (int gamma : {58, 100, 180, 253}) {
    GammaRamp r = BuildGammaRamp(static_cast<uint8_t>(gamma));
    EXPECT_EQ(r[0], 0) << gamma;
    EXPECT_EQ(r[255], 65280) << gamma;
    // Red, green and blue carry the same curve.
    for (int i = 0; i < 256; ++i) ASSERT_TRUE(r[i] == r[256 + i] && r[i] == r[512 + i]);
  }
}

TEST(GammaRamp, RoundsHalfwayValuesToEven) {
  // Look for entries whose exact value lies on .5 and check the even neighbour was taken. With
  // gamma 255 the exponent is 1, so 255 * i/255 = i exactly: no ties; use gamma 170 (exponent
  // 1.5) and compare against the rule directly instead of trusting a hand-picked entry.
  for (int gamma : {85, 170, 204}) {
    GammaRamp r = BuildGammaRamp(static_cast<uint8_t>(gamma));
    for (int i = 0; i < 256; ++i) {
      double exact = 255.0 * std::pow(i / 255.0, 255.0 / gamma);
      double floorV = std::floor(exact);
      double expected = exact - floorV > 0.5 ? floorV + 1
                        : exact - floorV < 0.5
                            ? floorV
                            : (static_cast<int>(floorV) % 2 == 0 ? floorV : floorV + 1);
      ASSERT_EQ(r[i], static_cast<int>(expected) * 256) << "gamma " << gamma << " entry " << i;
    }
  }
}

TEST_F(DisplayTest, GammaIsSavedAppliedAndRestored) {
  GammaRamp desktopRamp = fake.platform.gamma;
  SaveGammaRamp(gameState.savedGammaRamp);
  ApplyGamma(100);
  EXPECT_EQ(fake.platform.gamma[128], 11264);
  RestoreGammaRamp(gameState.savedGammaRamp);
  EXPECT_EQ(fake.platform.gamma, desktopRamp);
}

TEST_F(DisplayTest, WithoutGammaControlNothingIsWrittenBack) {
  fake.platform.gammaSupported = false;
  SaveGammaRamp(gameState.savedGammaRamp);
  RestoreGammaRamp(gameState.savedGammaRamp);
  EXPECT_EQ(fake.platform.gammaWrites, 0);
}

TEST_F(DisplayTest, ModeQueriesTakeTheLastMatch) {
  EXPECT_EQ(CurrentModeIndex(), 5);
  EXPECT_EQ(FindMode(800, 600, 32, 60), 4);
  EXPECT_EQ(FindMode(800, 600, 32, 85), -1);
  fake.platform.desktop = {1280, 1024, 32, 60};
  EXPECT_EQ(CurrentModeIndex(), -1);
}

TEST_F(DisplayTest, ModeListsAreParallel) {
  std::array<int32_t, 512> indices{};
  std::array<int32_t, 512> rates{};
  int indexCount = 0;
  int rateCount = 0;
  ListModeIndices(800, 600, 32, 511, indexCount, indices);
  ListRefreshRates(800, 600, 32, 511, rateCount, rates);
  ASSERT_EQ(indexCount, 3);
  EXPECT_EQ(rateCount, indexCount);
  EXPECT_EQ((std::array{indices[0], indices[1], indices[2]}), (std::array{1, 2, 4}));
  EXPECT_EQ((std::array{rates[0], rates[1], rates[2]}), (std::array{60, 75, 60}));
}

TEST_F(DisplayTest, ModeListsNeverWritePastTheirEnd) {
  std::array<int32_t, 2> indices{-7, -7};
  int count = 0;
  ListModeIndices(800, 600, 32, 0, count, indices);
  EXPECT_EQ(count, 1);
  EXPECT_EQ(indices[1], -7);
}

TEST_F(DisplayTest, DefaultSetupSwitchesToTheLastMatchingMode) {
  ASSERT_EQ(SetupDisplay(0, 0, 800, 600, 32, 60, true), SetupResult::Ok);
  EXPECT_EQ(fake.platform.modeChanges, std::vector<int>{4});
  EXPECT_TRUE(fake.platform.fullScreen);
  EXPECT_EQ(gameState.morva.frameTime, 10.0);
  EXPECT_EQ(gameState.morva.timeScale, 1000.0);
  EXPECT_EQ(fake.renderer.fixedStateSets, 1);
}

TEST_F(DisplayTest, NoModeChangeWithoutAMatchFrequencyZeroOrAWindow) {
  ASSERT_EQ(SetupDisplay(0, 0, 800, 600, 32, 85, true), SetupResult::Ok);
  ASSERT_EQ(SetupDisplay(0, 0, 800, 600, 32, 0, true), SetupResult::Ok);
  fake.platform.windowed = true;
  ASSERT_EQ(SetupDisplay(0, 0, 800, 600, 32, 60, true), SetupResult::Ok);
  ASSERT_EQ(SetupDisplayByIndex(2), SetupResult::Ok);
  EXPECT_FALSE(fake.platform.fullScreen);
  EXPECT_TRUE(fake.platform.modeChanges.empty());
}

TEST_F(DisplayTest, SetupByIndexUsesThatModeAndIgnoresUnknownOnes) {
  ASSERT_EQ(SetupDisplayByIndex(2), SetupResult::Ok);
  ASSERT_EQ(SetupDisplayByIndex(99), SetupResult::Ok);
  EXPECT_EQ(fake.platform.modeChanges, std::vector<int>{2});
  // The by-index set-up also begins a frame.
  EXPECT_EQ(fake.renderer.framesBegun, 2);
  EXPECT_EQ(fake.renderer.projection[1], 800);
  EXPECT_EQ(fake.renderer.projection[3], 600);
}

TEST_F(DisplayTest, FailuresAreReportedWithTheirMessages) {
  fake.platform.contextAvailable = false;
  EXPECT_EQ(SetupDisplay(0, 0, 800, 600, 32, 60, true), SetupResult::NoPixelFormat);
  ASSERT_EQ(shownMessages.size(), 1u);
  EXPECT_EQ(shownMessages[0].caption, "Error");
  EXPECT_EQ(shownMessages[0].text, "nepareizs pikseļa formāts ");

  fake.platform.contextAvailable = true;
  fake.renderer.textureCompression = false;
  EXPECT_EQ(SetupDisplayByIndex(1), SetupResult::NoTextureCompression);
  ASSERT_EQ(shownMessages.size(), 2u);
  EXPECT_EQ(shownMessages[1].text,
            "nevar ielādēt GL_ARB_texture_compression !\n"
            "Tava videokarte neatbalsta openGL kompreseetaas textuuras.");
}
