// The screens' own state as a whole.
#include "ui/front_end.hpp"

#include "app/lasting_notice.hpp"

#include "ui/button.hpp"
#include "ui/click_sound.hpp"
#include "ui/controls.hpp"
#include "ui/hud.hpp"
#include "ui/intro.hpp"
#include "ui/menu.hpp"
#include "ui/menu_keys.hpp"
#include "ui/notice.hpp"
#include "ui/options.hpp"
#include "ui/statistics.hpp"
#include "ui/training.hpp"

void ResetFrontEnd() {
  ResetIntro();
  ResetButtons();
  clickSoundPending = false;
  ResetMenu();
  ResetOptions();
  ResetControls();
  ResetTraining();
  ResetNotice();
  ResetLastingNotice();
  ResetMenuKeys();
  hudTextures = HudTextures{};
  ResetStatistics();
}
