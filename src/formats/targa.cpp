// Reading and writing Targa images.
#include "formats/targa.hpp"

namespace {
uint16_t ReadUint16(std::span<const uint8_t> bytes, std::size_t offset) {
  return static_cast<uint16_t>(bytes[offset] | bytes[offset + 1] << 8);
}

TargaParse Fail(TargaError error, std::string detail) {
  return TargaParse{std::nullopt, error, std::move(detail)};
}
}  // namespace

TargaParse ParseTarga(std::span<const uint8_t> bytes) {
  if (bytes.size() < kTargaHeaderSize) {
    return Fail(TargaError::Truncated, "the file ends inside its 18-byte header");
  }
  uint8_t idLength = bytes[0];
  uint8_t colourMapType = bytes[1];
  uint8_t imageType = bytes[2];
  uint16_t colourMapLength = ReadUint16(bytes, 5);
  uint8_t colourMapEntryBits = bytes[7];
  int width = ReadUint16(bytes, 12);
  int height = ReadUint16(bytes, 14);
  int bitsPerPixel = bytes[16];

  if (imageType != kTargaTrueColour) {
    return Fail(TargaError::Unsupported,
                "image type " + std::to_string(imageType) +
                    " (only uncompressed true-colour images, type 2, are read)");
  }
  if (bitsPerPixel != 24 && bitsPerPixel != 32) {
    return Fail(TargaError::Unsupported,
                std::to_string(bitsPerPixel) + " bits per pixel (only 24 and 32 are read)");
  }
  if (width == 0 || height == 0) {
    return Fail(TargaError::Empty,
                "the image is " + std::to_string(width) + " x " + std::to_string(height));
  }
  if (std::string tooLarge = PictureSizeProblem(width, height); !tooLarge.empty()) {
    return Fail(TargaError::Unsupported, tooLarge);
  }

  // A true-colour image may still carry a colour map; its entries are of no use here.
  std::size_t offset = kTargaHeaderSize + idLength;
  if (colourMapType != 0)
    offset += (static_cast<std::size_t>(colourMapEntryBits) + 7) / 8 * colourMapLength;
  std::size_t bytesPerPixel = static_cast<std::size_t>(bitsPerPixel) / 8;
  std::size_t pixelBytes = static_cast<std::size_t>(width) * height * bytesPerPixel;
  if (offset > bytes.size() || bytes.size() - offset < pixelBytes) {
    return Fail(TargaError::Truncated, "the pixel rows need " + std::to_string(pixelBytes) +
                                           " bytes after offset " + std::to_string(offset) +
                                           ", the file has " + std::to_string(bytes.size()));
  }

  RgbaImage image{width, height,
                  std::vector<uint8_t>(static_cast<std::size_t>(width) * height * 4)};
  // Rows go to the texture in the order they are stored, whatever the descriptor byte says about
  // the origin: content made for the game is stored bottom row first and may rely on the byte
  // being ignored, so a file stored the other way round shows upside down.
  const uint8_t* src = bytes.data() + offset;
  uint8_t* dst = image.rgba.data();
  for (std::size_t i = 0; i < static_cast<std::size_t>(width) * height;
       ++i, src += bytesPerPixel, dst += 4) {
    dst[0] = src[2];
    dst[1] = src[1];
    dst[2] = src[0];
    dst[3] = bytesPerPixel == 4 ? src[3] : 255;
  }
  return TargaParse{std::move(image), TargaError::None, {}};
}

std::vector<uint8_t> WriteTarga(const RgbaImage& image) {
  std::vector<uint8_t> out(kTargaHeaderSize, 0);
  out[2] = kTargaTrueColour;
  out[12] = static_cast<uint8_t>(image.width);
  out[13] = static_cast<uint8_t>(image.width >> 8);
  out[14] = static_cast<uint8_t>(image.height);
  out[15] = static_cast<uint8_t>(image.height >> 8);
  out[16] = 32;
  out[17] = 8;  // eight alpha bits; bit 5 clear: bottom row first
  out.reserve(kTargaHeaderSize + image.rgba.size());
  for (std::size_t i = 0; i + 3 < image.rgba.size(); i += 4) {
    const uint8_t* p = &image.rgba[i];
    out.insert(out.end(), {p[2], p[1], p[0], p[3]});
  }
  return out;
}
