// cTrackBar, the slider of the options screen, and its value formulas.
#pragma once

#include <cstdint>

#include "app/game_state.hpp"

// The fixed picture sizes of every bar.
constexpr int32_t kTrackBarImageWidth = 200;
constexpr int32_t kTrackBarImageHeight = 10;
constexpr int32_t kTrackKnobSize = 32;

// The value and knob position for a cursor `d` pixels into a bar's zone of `length` pixels.
int32_t TrackBarValue(int32_t d, int32_t minValue, int32_t maxValue, int32_t length);
int32_t TrackBarPosition(int32_t d, int32_t maxValue, int32_t length);
// The knob position that stands for a value: that of the first point of the bar giving it.
int32_t TrackBarPositionOf(int32_t value, int32_t minValue, int32_t maxValue, int32_t length);
// Whether the cursor lies in the bar's zone: strictly between its ends, and strictly inside the
// band of `knobWidth` pixels centred on the bar's top edge.
bool InTrackBarZone(int32_t x, int32_t y, int32_t length, uint8_t knobWidth, int32_t cursorX,
                    int32_t cursorY);
// Where the knob's left edge is drawn for a position.
double TrackKnobX(int32_t x, int32_t position, int32_t length, int32_t maxValue, uint8_t knobWidth);

class cTrackBar {
 public:
  int32_t minValue = 0;
  int32_t maxValue = 0;
  int32_t length = 0;
  uint8_t knobWidth = 0;
  int32_t position = 0;
  int32_t value = 0;
  Texture barTexture = 0;
  Texture knobTexture = 0;

  // Draws the bar at (x, y) and lets a held mouse button in its zone set it; true in every frame
  // in which it was set. No press inside the bar is needed first.
  bool Update(int32_t x, int32_t y, bool mouseHeld);

  // The keyboard: moves the knob `steps` steps of a twentieth of the bar, as a drag to that point
  // would (never past the ends a drag reaches); true when it moved.
  bool Step(int steps);
  // Puts the knob at `newPosition` with the value a drag to that point gives; true when it moved.
  bool SetPosition(int32_t newPosition);
};

// The pixels one keyboard step moves a knob.
constexpr int32_t kTrackKeyStep = 10;
