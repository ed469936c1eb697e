// The two drawing operations every screen uses: a textured quad and a line of bitmap-font text.
#pragma once

#include <cstdint>
#include <string>

#include "base/types.hpp"

// A drawing at depth d lies at z = -d: larger (less negative) depths are in front. Usable depths
// run from 0 down to -10.

// One textured rectangle with its top-left corner at (x, y), blended with `alpha` (0..1). Leaves
// blending and the alpha test off. Texture 0 draws an untextured rectangle.
void DrawQuad(Texture texture, double x, double y, double depth, double width, double height,
              double alpha);

// `text` (bytes of the game's code page, at most 255) in square glyphs of `size`, edge to edge,
// top-left corner at (x, y), at depth -0.2. Leaves blending and the alpha test (reference 0) on.
void DrawText(uint16_t size, const std::string& text, float x, float y, Texture fontTexture);
// The largest glyph size up to `size` (and at least 7) at which `text` fits into `width`.
uint16_t TextSizeToFit(const std::string& text, double width, uint16_t size);
// The same in a colour of its own: red, green, blue, opacity.
void DrawTintedText(uint16_t size, const std::string& text, float x, float y, Texture fontTexture,
                    const float colour[4]);
