// An uncompressed picture as the texture loaders hand it on: RGBA bytes, bottom row first.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// No picture the game loads is wider or taller than this: a file of a few hundred bytes may claim
// 65500 x 65500, and would take gigabytes once decoded.
constexpr int kMaxPictureSide = 4096;

// The refusal of a picture larger than kMaxPictureSide on either side, or empty.
inline std::string PictureSizeProblem(int64_t width, int64_t height) {
  if (width >= 1 && height >= 1 && width <= kMaxPictureSide && height <= kMaxPictureSide) return {};
  return "the picture is " + std::to_string(width) + " x " + std::to_string(height) +
         ", above the largest the game loads (" + std::to_string(kMaxPictureSide) + " x " +
         std::to_string(kMaxPictureSide) + ")";
}

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
