// The measures the whole game shares: the picture's size (which is also one screen of a level),
// the collision grid's cell and the unit of the frame time.
#pragma once

constexpr int kScreenWidthPx = 800;
constexpr int kScreenHeightPx = 600;
constexpr double kScreenWidth = kScreenWidthPx;
constexpr double kScreenHeight = kScreenHeightPx;
// The collision grid has 10 x 10 px cells.
constexpr int kCellPx = 10;

// Frame times are kept in milliseconds, timers in seconds.
constexpr double kSecondsPerMs = 0.001;
constexpr double Seconds(double ms) {
  return ms * kSecondsPerMs;
}
