// The HUD over the running level.
#include "ui/hud.hpp"

#include "gfx/load.hpp"

HudTextures hudTextures;

void LoadHud() {
  cLoad::LoadJPG("data\\hud\\lifeBar.jpg", hudTextures.lifeBar);
  cLoad::LoadJPG("data\\hud\\lifeBarB.jpg", hudTextures.lifeBarFrame);
  hudTextures.filter = cLoad::LoadDXT("data\\hud\\filter.dxt");
}
