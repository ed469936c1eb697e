// The options screen's slider.
#include "ui/track_bar.hpp"

#include <algorithm>

#include "gfx/draw.hpp"

namespace {
constexpr double kBarDepth = -0.9;
constexpr double kKnobDepth = -0.8;
// The knob stands this far above the bar's top edge.
constexpr int32_t kKnobRise = 12;
}  // namespace

int32_t TrackBarValue(int32_t d, int32_t minValue, int32_t maxValue, int32_t length) {
  // In 64 bits, so that no range of the 32-bit fields overflows the product.
  return static_cast<int32_t>((int64_t{d} + minValue) * (int64_t{maxValue} - minValue) / length);
}

int32_t TrackBarPosition(int32_t d, int32_t maxValue, int32_t length) {
  return static_cast<int32_t>(int64_t{maxValue} * d / length);
}

int32_t TrackBarPositionOf(int32_t value, int32_t minValue, int32_t maxValue, int32_t length) {
  const int64_t range = int64_t{maxValue} - minValue;
  if (range <= 0 || length <= 0) return 0;
  // The first d with (d + minValue) * range / length >= value, held to the bar.
  const int64_t scaled = int64_t{value} * length;
  const int64_t first = (scaled >= 0 ? (scaled + range - 1) / range : scaled / range) - minValue;
  return TrackBarPosition(static_cast<int32_t>(std::clamp<int64_t>(first, 0, length)), maxValue,
                          length);
}

bool InTrackBarZone(int32_t x, int32_t y, int32_t length, uint8_t knobWidth, int32_t cursorX,
                    int32_t cursorY) {
  double half = knobWidth * 0.5;
  return x < cursorX && cursorX < int64_t{x} + length && y - half < cursorY && cursorY < y + half;
}

double TrackKnobX(int32_t x, int32_t position, int32_t length, int32_t maxValue,
                  uint8_t knobWidth) {
  // A bar with no range keeps its knob at the start.
  double along = maxValue == 0 ? 0.0 : static_cast<double>(position) * length / maxValue;
  return x + along - knobWidth * 0.5;
}

bool cTrackBar::Update(int32_t x, int32_t y, bool mouseHeld) {
  int32_t cursorX = gameState.cursorX;
  int32_t cursorY = gameState.cursorY;
  DrawQuad(barTexture, x, y, kBarDepth, kTrackBarImageWidth, kTrackBarImageHeight, 1);
  DrawQuad(knobTexture, TrackKnobX(x, position, length, maxValue, knobWidth), y - kKnobRise,
           kKnobDepth, kTrackKnobSize, kTrackKnobSize, 1);
  // A zone of no length holds no cursor, so the formulas never divide by 0.
  if (!mouseHeld || !InTrackBarZone(x, y, length, knobWidth, cursorX, cursorY)) return false;
  int32_t d = cursorX - x;
  value = TrackBarValue(d, minValue, maxValue, length);
  // Where the screen would put the knob for this value when it opens again.
  position = TrackBarPositionOf(value, minValue, maxValue, length);
  return true;
}

bool cTrackBar::Step(int steps) {
  if (maxValue <= 0 || length < 2 || steps == 0) return false;
  // The point along the bar the knob stands for, rounded back from its position.
  int64_t along = (int64_t{position} * length + maxValue / 2) / maxValue;
  int64_t target = std::clamp<int64_t>(along + int64_t{steps} * kTrackKeyStep, 1, length - 1);
  if (target == along) return false;
  auto d = static_cast<int32_t>(target);
  value = TrackBarValue(d, minValue, maxValue, length);
  position = TrackBarPositionOf(value, minValue, maxValue, length);
  return true;
}

bool cTrackBar::SetPosition(int32_t newPosition) {
  if (maxValue <= 0 || newPosition == position) return false;
  position = newPosition;
  int64_t along = int64_t{newPosition} * length / maxValue;
  value = TrackBarValue(static_cast<int32_t>(along), minValue, maxValue, length);
  return true;
}
