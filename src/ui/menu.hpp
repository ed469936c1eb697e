// The main menu: Resume, Start, Training, Options and Exit over the menu picture.
#pragma once

#include <array>

#include "app/game_state.hpp"
#include "ui/button.hpp"

enum class MenuButton { Resume, Start, Training, Options, Exit };
constexpr int kMenuButtonCount = 5;

struct MenuScreen {
  Texture background = 0;
  // In the order of MenuButton, top to bottom.
  std::array<cButton, kMenuButtonCount> buttons;
  // The button the keyboard highlight is on, and the last frame the menu read the keys in.
  int focus = 0;
  int64_t keysFrame = -1;

  cButton& operator[](MenuButton b) { return buttons[static_cast<size_t>(b)]; }
};
extern MenuScreen menuScreen;

// Where each button lies: all at the same x, one below the other.
constexpr int32_t kMenuButtonX = 335;
constexpr int32_t kMenuButtonWidth = 100;
constexpr uint8_t kMenuButtonHeight = 35;
int32_t MenuButtonY(MenuButton b);
// The middle of a button, where a click surely lands (for scripted players).
struct MenuPoint {
  int32_t x;
  int32_t y;
};
MenuPoint MenuButtonMiddle(MenuButton b);

// Resume is offered only while a level is in play and not finished; Start only while none is.
bool ResumeVisible(const ModeFlags& flags);
bool StartActive(const ModeFlags& flags);

// What a click on each button does to the mode flags.
void ApplyMenuClick(MenuButton b, ModeFlags& flags);
// Where the keyboard highlight goes: Up and Down move it over the buttons that can be pressed
// (wrapping round), and it leaves a button that has been hidden or made inactive.
int MoveMenuFocus(int focus, int step, const MenuScreen& menu);

// The menu's frame: loads its pictures on the first call (and again after a display change),
// draws itself and its buttons and follows their clicks.
void RunMenu();
// While a level runs the menu shows only when the player pauses: its pictures are set aside.
void SetAsideMenuPictures();

void ResetMenu();
