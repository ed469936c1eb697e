// Scene drawing: background, level picture, unit sprites.
#include "fx/scene.hpp"

#include <cstdint>

#include "base/measures.hpp"
#include "base/messages.hpp"
#include "fx/sky_flashes.hpp"
#include "game/items.hpp"
#include "gfx/draw.hpp"

namespace {

constexpr double kBackgroundDepth = -3.2;
constexpr double kLevelPictureDepth = -3.0;
constexpr double kUnitDepth = -2.0;
constexpr double kItemDepth = -1.0;
// The background moves against the player at a tenth of its speed, from this corner.
constexpr double kParallax = -0.1;
constexpr double kBackgroundLeft = -400;
constexpr double kBackgroundTop = -600;

}  // namespace

double BackgroundX(const Unit& player) {
  return kParallax * player.x + kBackgroundLeft;
}

double BackgroundY(const Unit& player) {
  return kParallax * player.y + kBackgroundTop;
}

void DrawLevelBackground(const SceneFrame& s) {
  const LevelFrame& f = s.level;
  const LevelAssets& level = f.assets;
  const Unit& player = f.Player();
  DrawQuad(level.backgroundTexture, BackgroundX(player), BackgroundY(player), kBackgroundDepth,
           kBackgroundWidth, kBackgroundHeight, 1);
  ShowSkyFlash(s);
  const double camX = f.play.cameraX;
  const double camY = f.play.cameraY;
  std::size_t idx = 0;
  for (int row = 0; row < f.map.Height; ++row) {
    for (int column = 0; column < f.map.Width; ++column) {
      Texture t = At(level.levelFrames, idx, "level picture screen");
      if (t != frameGap) {
        DrawQuad(t, column * kScreenWidth + camX, row * kScreenHeight + camY, kLevelPictureDepth,
                 kScreenWidth, kScreenHeight, 1);
      }
      ++idx;
    }
  }
}

void DrawUnit(const LevelFrame& f, int i) {
  if (f.map.CharCount == 0) return;
  const Unit& u = f.UnitAt(i);
  if (!u.anim) return;
  u.anim->Show(u.x + f.play.cameraX, u.y + f.play.cameraY, kUnitDepth);
}

void DrawItem(const cItem& item, double x, double y) {
  DrawQuad(item.texture, x, y + item.rise, kItemDepth, item.width, item.height, 1);
}
