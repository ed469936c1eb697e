// Letterbox arithmetic.
#include "app/letterbox.hpp"

#include <algorithm>
#include <cmath>

Viewport LetterboxViewport(int drawableWidth, int drawableHeight) {
  if (drawableWidth <= 0 || drawableHeight <= 0) return Viewport{};
  double scale = std::min(static_cast<double>(drawableWidth) / kLogicalWidth,
                          static_cast<double>(drawableHeight) / kLogicalHeight);
  Viewport v;
  v.width = std::max(1, static_cast<int>(std::lround(kLogicalWidth * scale)));
  v.height = std::max(1, static_cast<int>(std::lround(kLogicalHeight * scale)));
  v.x = (drawableWidth - v.width) / 2;
  v.y = (drawableHeight - v.height) / 2;
  return v;
}

LogicalPoint WindowToLogical(int x, int y, int windowWidth, int windowHeight, int drawableWidth,
                             int drawableHeight) {
  if (windowWidth <= 0 || windowHeight <= 0) return {x, y};
  Viewport v = LetterboxViewport(drawableWidth, drawableHeight);
  double dx = static_cast<double>(x) * drawableWidth / windowWidth;
  double dy = static_cast<double>(y) * drawableHeight / windowHeight;
  double top = drawableHeight - v.y - v.height;
  LogicalPoint p;
  p.x = static_cast<int>(std::floor((dx - v.x) * kLogicalWidth / v.width));
  p.y = static_cast<int>(std::floor((dy - top) * kLogicalHeight / v.height));
  return p;
}

WindowPlace LargestWindowIn(const WindowPlace& area, const FrameBorders& borders) {
  const int roomWidth = area.width - borders.left - borders.right;
  const int roomHeight = area.height - borders.top - borders.bottom;
  // Whole steps of 4 x 3 keep the picture's proportions exact, so no letterbox bars show.
  const int step = std::max(0, std::min(roomWidth / 4, roomHeight / 3));
  WindowPlace w;
  w.width = std::max(kLogicalWidth, 4 * step);
  w.height = std::max(kLogicalHeight, 3 * step);
  w.x = area.x + borders.left + std::max(0, (roomWidth - w.width) / 2);
  w.y = area.y + borders.top + std::max(0, (roomHeight - w.height) / 2);
  return w;
}
