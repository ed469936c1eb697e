// The measures the whole game shares: the picture's size (which is also one screen of a level),
// the collision grid's cell, the unit of the frame time, and the reach of the player's jump and
// hands, which the level checks use as well as the game.
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

// A jump rises for 400 ms at 1.2 px per ms (about 480 px); the fall is gravity's.
constexpr int kJumpRiseMs = 400;
constexpr double kJumpSpeed = 1.2;
// The player's reference point must lie strictly within 32 px of an item's position.
constexpr double kPickUpReach = 32;
