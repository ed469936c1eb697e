// Fitting the 800 x 600 picture into a window of any size, and mapping the cursor back.
#pragma once

#include "app/platform.hpp"

constexpr int kLogicalWidth = 800;
constexpr int kLogicalHeight = 600;

// The largest 4:3 rectangle centred in a drawable of this size (GL convention: origin bottom left).
Viewport LetterboxViewport(int drawableWidth, int drawableHeight);

struct LogicalPoint {
  int x = 0;
  int y = 0;
};

// A point in window coordinates (origin top left, window units) to logical coordinates; the
// window may be measured in other units than its drawable (high-DPI screens).
LogicalPoint WindowToLogical(int x, int y, int windowWidth, int windowHeight, int drawableWidth,
                             int drawableHeight);
