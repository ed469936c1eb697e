// The main menu.
#include "ui/menu.hpp"

#include "app/input.hpp"
#include "gfx/draw.hpp"
#include "gfx/load.hpp"
#include "ui/click_sound.hpp"
#include "ui/menu_keys.hpp"
#include "ui/outline.hpp"

MenuScreen menuScreen;

namespace {
constexpr double kBackgroundDepth = -2;
constexpr double kClickDelaySeconds = 0.1;
constexpr InputState kBackInput = kPauseButton;  // Escape, the controller's Start and Back
// The highlight frame stands this far outside the button.
constexpr double kHighlightMargin = 4;
// The version the game shows in the top right corner.
const std::string kVersionText = "V 1.12";
constexpr uint16_t kVersionSize = 10;
constexpr float kVersionX = 720;
constexpr float kVersionY = 20;

struct ButtonImages {
  const char* released;
  const char* pressed;
};
// In the order of MenuButton.
constexpr std::array<ButtonImages, kMenuButtonCount> kImages = {{
    {"data\\menu\\bresumeR.tga", "data\\menu\\bresumeP.tga"},
    {"data\\menu\\bStartR.tga", "data\\menu\\bStartP.tga"},
    {"data\\menu\\bTrainingR.tga", "data\\menu\\bTrainingP.tga"},
    {"data\\menu\\bOptionsR.tga", "data\\menu\\bOptionsP.tga"},
    {"data\\menu\\bEXitR.tga", "data\\menu\\bExitP.tga"},
}};

// Escape (or the controller's B) over a paused level resumes it, as RESUME does. An Escape still
// held from the pause itself or from the options or training pages has to be let go first.
void ResumeOnEscape(const MenuKeys& keys) {
  ModeFlags& f = gameState.flags;
  if (!(ResumeVisible(f) && f.paused == 1)) return;
  const bool escape = DXInput1.Has(kBackInput) && !keys.visitStarts;
  DXInput1.Remove(kBackInput);
  if (escape || keys.Fired(MenuControl::Back)) ApplyMenuClick(MenuButton::Resume, f);
}

// The arrow keys or the d-pad move the highlight; Return, Space or A press the button under it,
// at once. True when a button was pressed so.
bool FollowMenuKeys() {
  MenuScreen& m = menuScreen;
  MenuKeys keys = TakeMenuKeys(m.keysFrame);
  ResumeOnEscape(keys);
  m.focus = MoveMenuFocus(m.focus, keys.highlightWasShown ? keys.Vertical() : 0, m);
  bool pressed = keys.Fired(MenuControl::Press) && m.focus >= 0;
  if (pressed) ApplyMenuClick(static_cast<MenuButton>(m.focus), gameState.flags);
  if (MenuHighlightShown() && m.focus >= 0) {
    DrawOutline(kMenuButtonX, MenuButtonY(static_cast<MenuButton>(m.focus)), kMenuButtonWidth,
                kMenuButtonHeight, kHighlightMargin, kHighlightColour);
  }
  return pressed;
}

void LoadMenu() {
  // After a display change the old pictures are replaced, not kept beside the new ones.
  FreeTexture(menuScreen.background);
  for (cButton& old : menuScreen.buttons) {
    FreeTexture(old.releasedTexture);
    FreeTexture(old.pressedTexture);
  }
  menuScreen.background = cLoad::LoadDXT("data\\menu\\bg.dxt");
  for (size_t i = 0; i < kMenuButtonCount; ++i) {
    cButton button;
    button.width = kMenuButtonWidth;
    button.height = kMenuButtonHeight;
    cLoad::LoadTGA(kImages[i].released, button.releasedTexture);
    cLoad::LoadTGA(kImages[i].pressed, button.pressedTexture);
    menuScreen.buttons[i] = button;
  }
  menuScreen[MenuButton::Resume].visible = false;
  gameState.flags.menuLoaded = 1;
}
}  // namespace

int32_t MenuButtonY(MenuButton b) {
  return 140 + 50 * static_cast<int32_t>(b);
}

MenuPoint MenuButtonMiddle(MenuButton b) {
  return {kMenuButtonX + kMenuButtonWidth / 2, MenuButtonY(b) + kMenuButtonHeight / 2};
}

bool ResumeVisible(const ModeFlags& flags) {
  return flags.inGame == 1 && flags.levelFinished == 0;
}

bool StartActive(const ModeFlags& flags) {
  return flags.inGame == 0;
}

void ApplyMenuClick(MenuButton b, ModeFlags& f) {
  switch (b) {
    case MenuButton::Resume:
      f.paused = 0;
      f.menuShown = 0;
      break;
    case MenuButton::Start:
      f.menuShown = 0;
      f.inGame = 1;
      // A level the player paused (or lost the focus of) in the frame it ended is left paused
      // behind the statistics; started again, it runs.
      f.paused = 0;
      if (f.levelFinished == 1) {
        f.restartRequested = 1;
        f.levelFinished = 0;
      }
      break;
    case MenuButton::Training:
      f.trainerShown = 1;
      f.menuShown = 0;
      break;
    case MenuButton::Options:
      f.menuShown = 0;
      f.optionsShown = 1;
      break;
    case MenuButton::Exit:
      f.quitRequested = 1;
      break;
  }
}

void SetAsideMenuPictures() {
  SetAside(menuScreen.background);
  for (const cButton& button : menuScreen.buttons) {
    SetAside(button.releasedTexture);
    SetAside(button.pressedTexture);
  }
}

void RunMenu() {
  ModeFlags& f = gameState.flags;
  if (f.menuLoaded == 0) LoadMenu();
  DrawQuad(menuScreen.background, 0, 0, kBackgroundDepth, 800, 600, 1);

  menuScreen[MenuButton::Resume].visible = ResumeVisible(f);
  menuScreen[MenuButton::Start].active = StartActive(f);
  bool newPress = false;
  for (size_t i = 0; i < kMenuButtonCount; ++i) {
    auto which = static_cast<MenuButton>(i);
    cButton& button = menuScreen.buttons[i];
    bool clicked = button.Update(kMenuButtonX, MenuButtonY(which), gameState.morva.frameTime,
                                 kClickDelaySeconds, f.mouseLeftDown == 1);
    if (clicked) ApplyMenuClick(which, f);
    newPress = newPress || button.justPressed;
  }

  newPress = FollowMenuKeys() || newPress;
  UpdateClickSound(gameState.clickSound, newPress, gameState.settings.soundVolume, MenuClickEnded);
  DrawText(kVersionSize, kVersionText, kVersionX, kVersionY, gameState.fontTexture);
}

int MoveMenuFocus(int focus, int step, const MenuScreen& menu) {
  auto usable = [&menu](int i) {
    const cButton& b = menu.buttons[static_cast<size_t>(i)];
    return b.visible && b.active;
  };
  return MoveHighlight(focus, step, kMenuButtonCount, usable);
}

void ResetMenu() {
  menuScreen = MenuScreen{};
}
