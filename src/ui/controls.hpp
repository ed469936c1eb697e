// The Controls page of the options: which keys and controller buttons each action has, rebound by
// choosing a row and pressing the new key or button; the vsync and flashes switches; Defaults.
#pragma once

#include <bitset>
#include <cstdint>
#include <string>

#include "app/bindings.hpp"

// The page's controls, top to bottom: a row per action, then the two switches and Defaults.
constexpr int kControlsVsync = static_cast<int>(kActionCount);
constexpr int kControlsFlashes = kControlsVsync + 1;
constexpr int kControlsDefaults = kControlsFlashes + 1;
constexpr int kControlsCount = kControlsDefaults + 1;

// Which control a mouse press began on, so that a click acts only when it ends on the same one.
struct PressTracker {
  int pressed = -1;
  bool wasHeld = false;
  // `under` is the control under the cursor (-1 for none); the control clicked, or -1.
  int Update(int under, bool mouseHeld);
};

struct ControlsPage {
  bool open = false;
  int focus = 0;
  // The action waiting for its new key or button, or -1.
  int waiting = -1;
  int64_t keysFrame = -1;
  // The keys and controller buttons held in the frame before, so that a new press stands out.
  std::bitset<512> keysBefore;
  std::bitset<32> buttonsBefore;
  PressTracker mouse;
  PressTracker openButton;
};
extern ControlsPage controlsPage;

// Where the page draws an action's row (its top edge).
int32_t ControlsRowY(int control);

// The options screen's button that opens the page, drawn in its spare space; true when clicked.
bool ControlsButton(bool mouseHeld);
// The button's place, for the options screen's keyboard highlight.
constexpr int32_t kControlsButtonX = 545;
constexpr int32_t kControlsButtonY = 228;
constexpr int32_t kControlsButtonWidth = 170;
constexpr int32_t kControlsButtonHeight = 40;

void OpenControls();
// One frame of the page over the options background. Escape (or B) goes back to the options, or
// cancels a row that waits for its key; every change applies at once and is written to
// settings.cfg.
void RunControls();

void ResetControls();
