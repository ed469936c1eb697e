// JPEG decoding and encoding through libjpeg.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "formats/rgba_image.hpp"

// Pictures above this many pixels, or with a side above kMaxPictureSide, are refused before any
// pixel memory is taken: a few hundred bytes of header may claim 65500 x 65500.
constexpr int64_t kMaxJpegPixels = int64_t{kMaxPictureSide} * kMaxPictureSide;

struct JpegDecode {
  std::optional<RgbaImage> image;
  std::string error;        // libjpeg's reason, when image is empty
  bool endedEarly = false;  // the data ran out before the last row: the rest is made up
  std::string warning;      // libjpeg's first warning about a picture it decoded anyway
};

// Decodes any JPEG libjpeg can turn into RGB; the image comes out opaque (alpha 255), bottom row
// first. A stream that ends early decodes as far as it goes, as libjpeg does, and says so; other
// damage libjpeg decodes past is named in `warning`.
// Pictures of more than `maxPixels` are refused (the fuzzer uses a lower limit to stay fast).
JpegDecode DecodeJpeg(std::span<const uint8_t> bytes, int64_t maxPixels = kMaxJpegPixels);

// Encodes the red, green and blue of an image (alpha is dropped) at quality 1..100. An image
// libjpeg cannot hold (no pixels, a side above 65500) gives no bytes.
std::vector<uint8_t> EncodeJpeg(const RgbaImage& image, int quality);
