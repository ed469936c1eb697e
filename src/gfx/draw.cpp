// DrawQuad and DrawText on the current renderer.
#include "gfx/draw.hpp"

#include <algorithm>
#include <cmath>

#include "base/backends.hpp"
#include "gfx/renderer.hpp"

void DrawQuad(Texture texture, double x, double y, double depth, double width, double height,
              double alpha) {
  backends.renderer->DrawQuad(texture, x, y, depth, width, height, alpha);
}

void DrawText(uint16_t size, const std::string& text, float x, float y, Texture fontTexture) {
  backends.renderer->DrawText(size, text, x, y, fontTexture);
}

void DrawTintedText(uint16_t size, const std::string& text, float x, float y, Texture fontTexture,
                    const float colour[4]) {
  backends.renderer->DrawTintedText(size, text, x, y, fontTexture, colour);
}

uint16_t TextSizeToFit(const std::string& text, double width, uint16_t size) {
  constexpr double kLeastSize = 7;
  const double most = size;
  if (text.empty()) return size;
  const double fitting = std::floor(width / static_cast<double>(text.size()));
  return static_cast<uint16_t>(std::clamp(fitting, std::min(kLeastSize, most), most));
}
