// DrawQuad and DrawText on the current renderer.
#include "gfx/draw.hpp"

#include "base/backends.hpp"
#include "gfx/renderer.hpp"

void DrawQuad(Texture texture, double x, double y, double depth, double width, double height,
              double alpha) {
  backends.renderer->DrawQuad(texture, x, y, depth, width, height, alpha);
}

void DrawText(uint16_t size, const std::string& text, float x, float y, Texture fontTexture) {
  backends.renderer->DrawText(size, text, x, y, fontTexture);
}
