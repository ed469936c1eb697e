// The corners of the game's quads, in the order they are drawn: texture coordinates and positions
// relative to the translated origin. Both renderers and the tests use them.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

struct QuadCorner {
  float s = 0;  // texture coordinates
  float t = 0;
  double x = 0;  // position
  double y = 0;
};
using QuadCorners = std::array<QuadCorner, 4>;

// Texts are short strings of at most this many bytes; any further bytes are not drawn.
constexpr std::size_t kMaxTextBytes = 255;

// A glyph samples a little more than its own cell (0.0625) across; the font is drawn for it.
constexpr float kGlyphTextureWidth = 0.06525f;
constexpr float kGlyphCell = 0.0625f;

// Texture row 0 goes to the bottom edge (y = height, since y grows downwards), so a picture
// uploaded bottom row first stands upright.
inline QuadCorners QuadCornersFor(double width, double height) {
  return {{{0, 0, 0, height}, {1, 0, width, height}, {1, 1, width, 0}, {0, 1, 0, 0}}};
}

// Glyph `index` of a text (counted from 0) showing byte `b`: cell column b mod 16 and row b div 16,
// row 0 being the top row of the font picture.
inline QuadCorners GlyphCorners(uint8_t b, int index, double size) {
  float u = static_cast<float>(b % 16) * kGlyphCell;
  float v = 1.0f - static_cast<float>(b / 16 + 1) * kGlyphCell;
  double left = index * size;
  return {{{u, v, left, size},
           {u + kGlyphTextureWidth, v, left + size, size},
           {u + kGlyphTextureWidth, v + kGlyphCell, left + size, 0},
           {u, v + kGlyphCell, left, 0}}};
}

// An animation picture centred on the origin; mirrored swaps the texture's left and right.
inline QuadCorners AnimCorners(int32_t width, int32_t height, bool mirrored) {
  double w = width * 0.5;
  double h = height * 0.5;
  if (mirrored) return {{{1, 0, -w, h}, {0, 0, w, h}, {0, 1, w, -h}, {1, 1, -w, -h}}};
  return {{{0, 0, -w, h}, {1, 0, w, h}, {1, 1, w, -h}, {0, 1, -w, -h}}};
}
