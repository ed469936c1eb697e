// The HUD over the running level: filter, life bar, points, power-up mark and the level time.
#include "ui/hud.hpp"

#include <cmath>

#include "gfx/draw.hpp"
#include "gfx/load.hpp"

HudTextures hudTextures;

namespace {
constexpr uint16_t kTextSize = 16;
constexpr double kFilterOpacity = 0.8;
// The bar is as wide as the life, unclamped: a life of 100 spans x 33..133 inside the frame.
constexpr double kLifeBarHeight = 10;
constexpr double kPowerUpSize = 35;
}  // namespace

std::string MinutesSeconds(double seconds) {
  const double minutes = std::floor(seconds / 60);
  const double rest = std::floor(seconds - 60 * minutes);
  return std::to_string(static_cast<int64_t>(minutes)) + " : " +
         std::to_string(static_cast<int64_t>(rest));
}

void DrawHud(const SceneFrame& s) {
  const GamePlay& play = s.level.play;
  const Texture font = s.font;
  DrawQuad(hudTextures.filter, 0, 0, -0.7, 800, 600, kFilterOpacity);
  DrawQuad(hudTextures.lifeBarFrame, 30, 20, -0.6, 106, 16, 0.5);
  DrawQuad(hudTextures.lifeBar, 33, 23, -0.5, s.level.Player().life, kLifeBarHeight, 1);
  DrawText(kTextSize, std::to_string(play.levelStats.points), 30, 50, font);
  if (play.powerUpCharges > 0) {
    DrawQuad(play.items.textures[kItemPowerUpKind], 27, 70, -0.5, kPowerUpSize, kPowerUpSize, 1);
  }
  if (play.powerUpActive == 1) DrawText(kTextSize, "MFL active", 30, 70, font);
  if (play.levelStats.timeTaken > 0) {
    DrawText(kTextSize, MinutesSeconds(play.levelStats.timeTaken), 360, 20, font);
  }
}

void LoadHud() {
  const HudTextures old = hudTextures;
  cLoad::LoadJPG("data\\hud\\lifeBar.jpg", hudTextures.lifeBar);
  cLoad::LoadJPG("data\\hud\\lifeBarB.jpg", hudTextures.lifeBarFrame);
  hudTextures.filter = cLoad::LoadDXT("data\\hud\\filter.dxt");
  FreeIfReplaced(old.lifeBar, hudTextures.lifeBar);
  FreeIfReplaced(old.lifeBarFrame, hudTextures.lifeBarFrame);
  FreeIfReplaced(old.filter, hudTextures.filter);
}
