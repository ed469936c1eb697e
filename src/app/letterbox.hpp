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

// A window's place on the screen: its inside, without the frame the window manager adds.
struct WindowPlace {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};
// How thick the window manager's frame is on each side (0 without a window manager).
struct FrameBorders {
  int top = 0;
  int left = 0;
  int bottom = 0;
  int right = 0;
};

// The largest 4:3 window that fits, with its frame, in a display's usable `area` (the screen
// without panels and docks), centred in it; never smaller than 800 x 600, and then placed so that
// its frame's top left corner, the title bar with it, stays in the area.
WindowPlace LargestWindowIn(const WindowPlace& area, const FrameBorders& borders);
