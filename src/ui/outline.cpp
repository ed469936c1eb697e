// Lines drawn in front of everything, textures switched off meanwhile.
#include "ui/outline.hpp"

#include <algorithm>

#include "base/backends.hpp"
#include "gfx/renderer.hpp"

namespace {
constexpr float kOutlineWidth = 3;
// The frontmost depth a screen uses (in front of it the picture is clipped away); with the depth
// test off, being drawn last puts these shapes on top.
constexpr double kFrontDepth = 0;

// Runs `draw` with plain colours, blending and no depth test, then puts the usual state back.
template <typename Draw>
void Plain(Draw draw) {
  Renderer& r = *backends.renderer;
  r.SetState(RenderState::Texturing, false);
  r.SetState(RenderState::DepthTest, false);
  r.SetState(RenderState::Blend, true);
  draw(r);
  r.SetLineWidth(1);
  r.SetState(RenderState::Blend, false);
  r.SetState(RenderState::DepthTest, true);
  r.SetState(RenderState::Texturing, true);
}
}  // namespace

void DrawOutline(double x, double y, double width, double height, double margin,
                 LineColour colour) {
  const float c[4] = {colour.r, colour.g, colour.b, colour.a};
  double left = x - margin, top = y - margin;
  double right = x + width + margin, bottom = y + height + margin;
  // Each side runs past the corners by half a line, so the corners are filled.
  double h = kOutlineWidth / 2;
  Plain([&](Renderer& r) {
    r.SetLineWidth(kOutlineWidth);
    r.DrawLine(left - h, top, right + h, top, kFrontDepth, c);
    r.DrawLine(left - h, bottom, right + h, bottom, kFrontDepth, c);
    r.DrawLine(left, top, left, bottom, kFrontDepth, c);
    r.DrawLine(right, top, right, bottom, kFrontDepth, c);
  });
}

void DrawBand(double x, double y, double width, double height, LineColour colour) {
  const float c[4] = {colour.r, colour.g, colour.b, colour.a};
  // GL drivers cap the line width (llvmpipe at 255 pixels): a tall band is laid in strips.
  constexpr double kMostStrip = 32;
  Plain([&](Renderer& r) {
    for (double top = y; top < y + height; top += kMostStrip) {
      const double strip = std::min(kMostStrip, y + height - top);
      r.SetLineWidth(static_cast<float>(strip));
      r.DrawLine(x, top + strip / 2, x + width, top + strip / 2, kFrontDepth, c);
    }
  });
}
