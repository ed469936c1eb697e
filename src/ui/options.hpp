// The options screen: music and effect volume, gamma, blood and the display mode.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "app/game_state.hpp"
#include "ui/list_box.hpp"
#include "ui/track_bar.hpp"

enum class OptionsBar { Music, Sound, Gamma, Blood };
constexpr int kOptionsBarCount = 4;

struct OptionsScreen {
  bool loaded = false;
  Texture background = 0;
  // In the order of OptionsBar, top to bottom.
  std::array<cTrackBar, kOptionsBarCount> bars;
  cListBox listBox;
  // The 800 x 600 x 32 modes found: their refresh rates and their indices in the mode list.
  std::array<int32_t, kListBoxCapacity> refreshRates{};
  int rateCount = 0;
  std::array<int32_t, kListBoxCapacity> modeIndices{};
  int modeCount = 0;
  // The control the keyboard highlight is on (the bars in their order, then the mode list), and
  // the last frame the screen read the keys in.
  int focus = 0;
  int64_t keysFrame = -1;

  cTrackBar& operator[](OptionsBar b) { return bars[static_cast<size_t>(b)]; }
};
extern OptionsScreen optionsScreen;

// Where the widgets lie.
constexpr int32_t kOptionsBarX = 230;
int32_t OptionsBarY(OptionsBar b);
constexpr int32_t kModeListX = 230;
constexpr int32_t kModeListY = 355;

// The list entry of a display mode: "800x600x32 60Hz".
std::string ModeEntryText(int32_t refreshRate);
// The blood switch is on from the middle of its bar.
bool BloodOn(int32_t value);
// The keyboard's controls, top to bottom: the four bars, the mode list, then the button that
// opens the Controls page.
constexpr int kModeListFocus = kOptionsBarCount;
constexpr int kControlsButtonFocus = kModeListFocus + 1;
constexpr int kOptionsFocusCount = kControlsButtonFocus + 1;

// The screen's frame: loads its pictures and builds its widgets on the first call (and again
// after a display change), applies every change at once, and on Escape (or the controller's B)
// saves the settings and goes back to the menu. Without a mouse, Up and Down go from control to
// control, Left and Right move a bar by a step or switch the blood off and on, and Return, Space
// or A switch the blood, open the mode list and choose in it, or open the Controls page, which
// then runs in the screen's place until it is left.
void RunOptions();

void ResetOptions();
