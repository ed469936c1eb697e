// The power-up flash, the combo text and the golem's screen shake.
#include "fx/screen_effects.hpp"

#include <string>

#include "app/game_state.hpp"
#include "base/backends.hpp"
#include "base/measures.hpp"
#include "game/units.hpp"
#include "gfx/draw.hpp"
#include "gfx/load.hpp"
#include "gfx/renderer.hpp"

namespace {
constexpr double kWhiteFlashDepth = -0.05;
constexpr double kDeathOverlayDepth = -0.1;
// Reduced flashes are drawn at this share of their brightness.
constexpr double kReducedFlash = 0.25;
constexpr uint16_t kComboTextSize = 16;
// The combo text stands this far above the top of the player's body box.
constexpr double kComboTextRaise = 20;
}  // namespace

double ShownFlash(double opacity) {
  return gameState.playerSettings.reducedFlashes ? opacity * kReducedFlash : opacity;
}

void LoadWhiteFlash(uint8_t flag) {
  EffectsState& fx = gameState.fx;
  if (flag == 0 || fx.whiteFlashLoaded != 0) return;
  cLoad::LoadTGA("data\\fx\\wSquare.tga", fx.whiteFlashTexture);
  fx.whiteFlashOpacity = 1.0;
  fx.whiteFlashLoaded = 1;
}

void DrawWhiteFlash(double opacity) {
  Renderer& renderer = *backends.renderer;
  renderer.SetState(RenderState::DepthTest, false);
  DrawQuad(gameState.fx.whiteFlashTexture, 0, 0, kWhiteFlashDepth, kScreenWidth, kScreenHeight,
           ShownFlash(opacity));
  renderer.SetState(RenderState::DepthTest, true);
}

void DrawComboText(int i) {
  const uint8_t level = gameState.play.combo.comboLevel;
  if (level == 0 || i <= 0 || UnitAt(i).stunned == 0) return;
  const Unit& p = PlayerUnit();
  const auto x = static_cast<float>(p.boxLeft + p.x + gameState.play.cameraX);
  const auto y = static_cast<float>(p.boxTop + p.y - kComboTextRaise + gameState.play.cameraY);
  DrawText(kComboTextSize, "combo " + std::to_string(level), x, y, gameState.fontTexture);
}

void DrawDeathOverlay(float fade) {
  DrawQuad(gameState.level.deathOverlayTexture, 0, 0, kDeathOverlayDepth, kScreenWidth,
           kScreenHeight, fade);
}
