// Targa images: the uncompressed true-colour kind the game reads, and a writer for the tools.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "formats/rgba_image.hpp"

constexpr std::size_t kTargaHeaderSize = 18;
constexpr uint8_t kTargaTrueColour = 2;

enum class TargaError {
  None,
  Truncated,    // the header or the pixel rows go past the end of the file
  Unsupported,  // not an uncompressed true-colour image of 24 or 32 bits
  Empty,        // width or height 0
};

struct TargaParse {
  std::optional<RgbaImage> image;
  TargaError error = TargaError::None;
  std::string detail;  // says what was found, for the message
};

// Reads an uncompressed true-colour Targa (type 2) of 32 bits (blue, green, red, alpha) or 24 bits
// (blue, green, red; alpha becomes 255). The image-ID field and any colour map are skipped. Rows
// come out in the order the file stores them, the first stored row as the image's row 0 (its
// bottom row); the descriptor byte is not read, so a file stored top row first (descriptor bit 5)
// comes out upside down. Bytes after the pixels are ignored.
TargaParse ParseTarga(std::span<const uint8_t> bytes);

// A 32-bit uncompressed Targa with 8 alpha bits, stored bottom row first (the Targa default),
// without image ID or colour map. Sides above 65535 do not fit the header.
std::vector<uint8_t> WriteTarga(const RgbaImage& image);
