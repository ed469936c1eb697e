// The effects, the HUD and the statistics screen on a real GL window, drawn from the demo level
// with the state each effect needs: where they land on the screen and in what colours.
// MORVA_SHOT_DIR=folder also saves each picture there as a PNG, to be looked at.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>

#include "app/game_state.hpp"
#include "audio/headless_audio.hpp"
#include "content/characters.hpp"
#include "content/level_load.hpp"
#include "fx/scene.hpp"
#include "fx/screen_effects.hpp"
#include "fx/unit_effects.hpp"
#include "game/animation_select.hpp"
#include "game/level.hpp"
#include "gfx/load.hpp"
#include "gl/gl_fixture.hpp"
#include "harness/png_file.hpp"
#include "ui/hud.hpp"
#include "ui/statistics.hpp"

namespace {

struct EffectsScreenTest : GlFixture {
  HeadlessAudio audio;
  ContentPaths demo{MORVA_TEST_CONTENT};
  int guard = 0;
  int sentinel = 0;

  void SetUp() override {
    GlFixture::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    backends.audio = &audio;
    backends.content = &demo;
    gameState.morva.frameTime = 10;
    gameState.settings.showBlood = 1;
    gameState.settings.soundVolume = 60;
    LoadLevel();
    NewFrame();  // past the title the load showed
    cLoad::LoadTGA("data\\fonts\\fontLV.tga", gameState.fontTexture);
    for (int i = 1; i < UnitCount(); ++i) {
      if (UnitAt(i).kind == kGuard && guard == 0) guard = i;
      if (UnitAt(i).kind == kSentinel && sentinel == 0) sentinel = i;
    }
    ASSERT_NE(guard, 0);
    ASSERT_NE(sentinel, 0);
    // Only the player and the units a shot places take part.
    for (int i = 1; i < UnitCount(); ++i) UnitAt(i).inRange = 0;
    PlaceCameraOnPlayer(gameState.play);
    gameState.play.levelStats.points = 350;
    gameState.play.levelStats.timeTaken = 83.2;
  }
  // Puts unit i at a place relative to the player and takes it into the scene.
  Unit& Place(int i, double dx, double dy) {
    Unit& u = UnitAt(i);
    u.x = PlayerUnit().x + dx;
    u.y = PlayerUnit().y + dy;
    u.inRange = 1;
    return u;
  }
  // The level's scene as the driver draws it, without the gameplay steps.
  const Image& Scene(int frames = 1, const std::function<void()>& beforeEach = {},
                     const std::function<void()>& over = {}) {
    for (int f = 0; f < frames; ++f) {
      if (f > 0) {
        renderer->FrameDone();
        platform->SwapBuffers();
        NewFrame();
      }
      if (beforeEach) beforeEach();
      RunLevelBackground(CurrentSceneFrame());
      for (int i = 0; i < UnitCount(); ++i) {
        if (i == 0 || UnitAt(i).inRange == 1) {
          SelectAnimation(UnitAt(i));
          StepAnimation(UnitAt(i), CurrentLevelFrame().frameMs);
          DrawUnit(CurrentLevelFrame(), i);
          RunUnitEffects(CurrentSceneFrame(), i);
        }
      }
      DrawHud(CurrentSceneFrame());
      if (over) over();
    }
    return Save(Capture());
  }
  const Image& Save(const Image& image) {
    if (const char* folder = std::getenv("MORVA_SHOT_DIR")) {
      const std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
      WritePng(std::string(folder) + "/" + name + ".png", image);
    }
    return image;
  }
  static int Count(const Image& image, int left, int top, int right, int bottom,
                   const std::function<bool(const uint8_t*)>& wanted) {
    int n = 0;
    for (int y = std::max(top, 0); y < std::min(bottom, image.height); ++y) {
      for (int x = std::max(left, 0); x < std::min(right, image.width); ++x) {
        n += wanted(::At(image, x, y));
      }
    }
    return n;
  }
  static bool Blood(const uint8_t* p) { return p[0] > 110 && p[0] > 2 * p[1] && p[0] > 2 * p[2]; }
};

}  // namespace

TEST_F(EffectsScreenTest, TheBoltRunsBluishWhiteFromThePlayerToTheSentinel) {
  Place(sentinel, 260, -220).fireNow = 1;
  const Image& shot = Scene();
  // Along the straight line between them the bolt strays at most 50 px sideways: look for its
  // near-white, blue-leaning pixels in the box between the two.
  const int bolt = Count(shot, 400, 180, 660, 400, [](const uint8_t* p) {
    return p[2] > 220 && p[0] > 170 && p[1] > 170 && p[2] >= p[0];
  });
  EXPECT_GT(bolt, 150) << "a 2 px line over some 340 px";
}

TEST_F(EffectsScreenTest, ABeheadedGuardSpoutsBlood) {
  Unit& g = Place(guard, 150, 0);
  g.life = 0;
  g.headOff = 1;
  g.deathTime = 0.5;
  const Image& shot = Scene(40);
  // The fountain rises up to 300 px above the guard (screen 550, 400) and 50 px to either side.
  const int red = Count(shot, 480, 100, 620, 400, Blood);
  EXPECT_GT(red, 400);
}

TEST_F(EffectsScreenTest, AShotDownSentinelExplodesOnTheGround) {
  Unit& s = Place(sentinel, 200, 0);
  s.life = 0;
  s.deathTime = 0.02;
  const Image& shot = Scene(5);
  // Fire in the 128 x 128 box around the sentinel (screen 600, 400): orange and yellow.
  const int fire = Count(shot, 536, 336, 664, 464, [](const uint8_t* p) {
    return p[0] > 200 && p[1] > 90 && p[1] < 230 && p[2] < 120;
  });
  EXPECT_GT(fire, 500);
}

// The sky's lightning and the power-up's white flash brighten the picture; with reduced flashes
// they brighten it by about a quarter as much.
TEST_F(EffectsScreenTest, SkyAndWhiteFlashesLightThePictureAndReducedOnesAQuarterAsMuch) {
  auto brightness = [](const Image& image) {
    long sum = 0;
    for (std::size_t i = 0; i < image.rgba.size(); i += 4) {
      sum += image.rgba[i] + image.rgba[i + 1] + image.rgba[i + 2];
    }
    return sum / static_cast<double>(image.rgba.size() / 4);
  };
  const double dark = brightness(Scene());
  double sky[2] = {};
  double white[2] = {};
  for (bool reduced : {false, true}) {
    gameState.playerSettings.reducedFlashes = reduced;
    NewFrame();
    gameState.fx.skyTimer = 5.8f;
    sky[reduced] = brightness(Scene()) - dark;
    gameState.fx.skyTimer = 0;
    NewFrame();
    uint8_t flag = 1;
    gameState.fx.whiteFlashLoaded = 0;
    white[reduced] = brightness(Scene(1, {},
                                      [&] {
                                        LoadWhiteFlash(gameState.fx, flag);
                                        DrawWhiteFlash(CurrentSceneFrame(), 0.99);
                                      })) -
                     dark;
  }
  RecordProperty("brightening", std::to_string(sky[0]) + " " + std::to_string(sky[1]) + " " +
                                    std::to_string(white[0]) + " " + std::to_string(white[1]));
  EXPECT_GT(sky[0], 10);
  EXPECT_NEAR(sky[1] / sky[0], 0.25, 0.1) << sky[0] << " " << sky[1];
  EXPECT_GT(white[0], 300) << "nearly white";
  EXPECT_NEAR(white[1] / white[0], 0.25, 0.1) << white[0] << " " << white[1];
}

TEST_F(EffectsScreenTest, TheHudShowsTheLifeBarPointsAndTime) {
  PlayerUnit().life = 60;
  gameState.play.powerUpCharges = 1;
  Texture& rune = gameState.play.items.textures[kItemPowerUpKind];
  if (rune == 0) rune = cLoad::LoadDXT("data\\items\\MFL.dxt");
  const Image& shot = Scene();
  // The bar spans x 33 .. 93 at y 23 .. 33; past its end the frame shows only dimly.
  const int bar = Count(shot, 34, 24, 92, 32, Blood);
  EXPECT_GT(bar, 58 * 8 / 2);
  EXPECT_LT(Count(shot, 96, 24, 130, 32, Blood), bar / 4);
  // Light glyphs of the points at (30, 50) and the time at (360, 20).
  auto ink = [](const uint8_t* p) { return p[0] > 180 && p[1] > 180 && p[2] > 160; };
  EXPECT_GT(Count(shot, 30, 50, 90, 66, ink), 20);
  EXPECT_GT(Count(shot, 360, 20, 460, 36, ink), 20);
}

TEST_F(EffectsScreenTest, TheStatisticsScreen) {
  // Every sentinel and golem, all guards but one, six heads: BINGO twice, and the rank "freak".
  LevelStats& stats = gameState.play.levelStats;
  stats.kills[kSentinel] = 4;
  stats.kills[kGuard] = 9;
  stats.kills[kGolem] = 2;
  stats.headsRemoved = 6;
  RunStatistics(CurrentSceneFrame());
  const Image& shot = Save(Capture());
  auto ink = [](const uint8_t* p) { return p[0] > 180 && p[1] > 180 && p[2] > 160; };
  // Eight lines of text from y 100 to 286 at x 100; nothing of the level.
  for (int y : {100, 125, 170, 195, 220, 245, 270})
    EXPECT_GT(Count(shot, 100, y, 400, y + 16, ink), 40) << y;
}
