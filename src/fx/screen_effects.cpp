// The power-up flash, the combo text and the death overlay: shows only, of what the game's steps
// (the flash's fade, the player's death) leave; the flash's picture loads on first use.
#include "fx/screen_effects.hpp"

#include <string>

#include "base/backends.hpp"
#include "base/measures.hpp"
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

double ShownFlash(double opacity, bool reduced) {
  return reduced ? opacity * kReducedFlash : opacity;
}

void LoadWhiteFlash(EffectsState& fx, uint8_t flag) {
  if (flag == 0 || fx.whiteFlashLoaded != 0) return;
  cLoad::LoadTGA("data\\fx\\wSquare.tga", fx.whiteFlashTexture);
  fx.whiteFlashOpacity = 1.0;
  fx.whiteFlashLoaded = 1;
}

void DrawWhiteFlash(const SceneFrame& s, double opacity) {
  Renderer& renderer = *backends.renderer;
  renderer.SetState(RenderState::DepthTest, false);
  DrawQuad(s.fx.whiteFlashTexture, 0, 0, kWhiteFlashDepth, kScreenWidth, kScreenHeight,
           ShownFlash(opacity, s.reducedFlashes));
  renderer.SetState(RenderState::DepthTest, true);
}

void DrawComboText(const SceneFrame& s, int i) {
  const LevelFrame& f = s.level;
  const uint8_t level = f.play.combo.comboLevel;
  if (level == 0 || i <= 0 || f.UnitAt(i).stunned == 0) return;
  const Unit& p = f.Player();
  const auto x = static_cast<float>(p.boxLeft + p.x + f.play.cameraX);
  const auto y = static_cast<float>(p.boxTop + p.y - kComboTextRaise + f.play.cameraY);
  DrawText(kComboTextSize, "combo " + std::to_string(level), x, y, s.font);
}

void DrawDeathOverlay(const LevelAssets& assets, float fade) {
  DrawQuad(assets.deathOverlayTexture, 0, 0, kDeathOverlayDepth, kScreenWidth, kScreenHeight, fade);
}
