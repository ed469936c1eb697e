// The HUD over the running level.
#include "ui/hud.hpp"

#include "gfx/load.hpp"

HudTextures hudTextures;

// Not built yet: draws nothing.
void DrawHud() {}

void LoadHud() {
  const HudTextures old = hudTextures;
  cLoad::LoadJPG("data\\hud\\lifeBar.jpg", hudTextures.lifeBar);
  cLoad::LoadJPG("data\\hud\\lifeBarB.jpg", hudTextures.lifeBarFrame);
  hudTextures.filter = cLoad::LoadDXT("data\\hud\\filter.dxt");
  FreeIfReplaced(old.lifeBar, hudTextures.lifeBar);
  FreeIfReplaced(old.lifeBarFrame, hudTextures.lifeBarFrame);
  FreeIfReplaced(old.filter, hudTextures.filter);
}
