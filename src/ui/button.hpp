// cButton, the push button of the menu and the training pages, and the rules it clicks by.
#pragma once

#include <cstdint>

#include "app/game_state.hpp"

// Strictly inside: a point on the border is outside.
bool PointStrictlyInside(int32_t left, int32_t top, int32_t width, int32_t height, int32_t px,
                         int32_t py);

// The one release timer all buttons share (seconds). Every button that waits for its delay adds
// to it, and any press inside any button starts it again.
extern double buttonReleaseTimer;
// Adds a frame to the release timer; true once it has passed the delay.
bool ReleaseTimerPassed(double& timer, double frameMs, double delaySeconds);

class cButton {
 public:
  uint16_t pressed = 0;
  bool visible = true;
  bool active = true;
  int32_t width = 0;
  uint8_t height = 0;
  Texture pressedTexture = 0;
  Texture releasedTexture = 0;
  bool showsPressed = false;
  // True only in the first frame of a press over the button.
  bool justPressed = false;
  // The mouse button was held the last time this button looked, and whether that press began
  // over it: a press that began elsewhere never presses the button, even when dragged onto it.
  bool mouseWasHeld = false;
  bool pressBeganHere = false;

  // Draws the button at (x, y) and follows the mouse; true in the one frame in which a click
  // fires: `delaySeconds` after the release of a press that began over the button, wherever the
  // cursor is by then.
  bool Update(int32_t x, int32_t y, double frameMs, double delaySeconds, bool mouseHeld);
};

// Where the buttons last read the cursor.
extern int32_t buttonCursorX;
extern int32_t buttonCursorY;

// Back to the start of a run: no timer running, no cursor read.
void ResetButtons();
