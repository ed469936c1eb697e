// The power-up flash, the combo text and the golem's screen shake.
#include "fx/screen_effects.hpp"

#include <string>

#include "app/game_state.hpp"
#include "app/random.hpp"
#include "base/backends.hpp"
#include "game/units.hpp"
#include "gfx/draw.hpp"
#include "gfx/load.hpp"
#include "gfx/renderer.hpp"

namespace {
constexpr double kWhiteFlashDepth = -0.05;
// Reduced flashes are drawn at this share of their brightness.
constexpr double kReducedFlash = 0.25;
constexpr uint16_t kComboTextSize = 16;
// The combo text stands this far above the top of the player's body box.
constexpr double kComboTextRaise = 20;
constexpr double kShakeLength = 0.5;
// Jolts of -5..4 px across and 0..9 px down: the world drifts downwards while it shakes.
constexpr int32_t kShakeSpread = 10;
constexpr int32_t kShakeLeft = 5;
}  // namespace

double ShownFlash(double opacity) {
  return gameState.playerSettings.reducedFlashes ? opacity * kReducedFlash : opacity;
}

void DrawWhiteFlash(uint8_t& flag) {
  if (flag == 0) return;
  EffectsState& fx = gameState.fx;
  if (fx.whiteFlashLoaded == 0) {
    cLoad::LoadTGA("data\\fx\\wSquare.tga", fx.whiteFlashTexture);
    fx.whiteFlashOpacity = 1.0;
    fx.whiteFlashLoaded = 1;
  }
  if (fx.whiteFlashOpacity > 0) {
    fx.whiteFlashOpacity -= gameState.morva.frameTime * 0.001;
    Renderer& renderer = *backends.renderer;
    renderer.SetState(RenderState::DepthTest, false);
    DrawQuad(fx.whiteFlashTexture, 0, 0, kWhiteFlashDepth, 800, 600,
             ShownFlash(fx.whiteFlashOpacity));
    renderer.SetState(RenderState::DepthTest, true);
  } else {
    flag = 0;
    fx.whiteFlashOpacity = 1.0;
  }
}

void DrawComboText(int i) {
  const uint8_t level = gameState.play.combo.comboLevel;
  if (level == 0 || i <= 0 || UnitAt(i).stunned == 0) return;
  const Unit& p = PlayerUnit();
  const auto x = static_cast<float>(p.boxLeft + p.x + gameState.play.cameraX);
  const auto y = static_cast<float>(p.boxTop + p.y - kComboTextRaise + gameState.play.cameraY);
  DrawText(kComboTextSize, "combo " + std::to_string(level), x, y, gameState.fontTexture);
}

void ShakeScreen(uint8_t& flag) {
  if (flag == 0) return;
  double& timer = gameState.fx.shakeTimer;
  if (timer >= kShakeLength) {
    timer = 0;
    flag = 0;
  } else {
    timer += gameState.morva.frameTime * 0.001;
  }
  // The call that ends the shake still jolts.
  const int32_t dx = Random(kShakeSpread) - kShakeLeft;
  const int32_t dy = Random(kShakeSpread);
  Unit& p = PlayerUnit();
  gameState.play.cameraX += dx;
  gameState.play.cameraY += dy;
  p.x -= dx;
  p.y -= dy;
}
