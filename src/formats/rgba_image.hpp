// An uncompressed picture as the texture loaders hand it on: RGBA bytes, bottom row first.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// Rows run from the bottom of the picture upwards, the order in which OpenGL takes texture rows;
// each pixel is red, green, blue, alpha.
struct RgbaImage {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> rgba;

  std::size_t RowBytes() const { return static_cast<std::size_t>(width) * 4; }
  uint8_t* Pixel(int x, int row) {
    return &rgba[row * RowBytes() + static_cast<std::size_t>(x) * 4];
  }
  const uint8_t* Pixel(int x, int row) const {
    return &rgba[row * RowBytes() + static_cast<std::size_t>(x) * 4];
  }
};

// Turns a picture upside down in place: for tools that draw top row first.
inline void FlipRows(RgbaImage& image) {
  std::size_t rowBytes = image.RowBytes();
  for (int top = 0, bottom = image.height - 1; top < bottom; ++top, --bottom) {
    uint8_t* a = &image.rgba[top * rowBytes];
    uint8_t* b = &image.rgba[bottom * rowBytes];
    for (std::size_t i = 0; i < rowBytes; ++i) std::swap(a[i], b[i]);
  }
}
