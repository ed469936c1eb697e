// Fuzz target: JPEG decoding through libjpeg with the game's error handling and size limit.
#include "formats/jpeg.hpp"
#include "fuzz_check.hpp"

namespace {
// A few hundred bytes may claim the game's whole limit, and decoding 64 million made-up pixels
// takes seconds; a quarter of a million reach every path of the decoder as well.
constexpr int64_t kFuzzMaxPixels = int64_t{1} << 18;
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  JpegDecode decode = DecodeJpeg(std::span<const uint8_t>(data, size), kFuzzMaxPixels);
  if (!decode.image) {
    FuzzCheck(!decode.error.empty(), "a refused JPEG says why");
    return 0;
  }
  const RgbaImage& image = *decode.image;
  FuzzCheck(image.width >= 1 && image.height >= 1, "a picture has pixels");
  FuzzCheck(int64_t{image.width} * image.height <= kFuzzMaxPixels, "within the pixel limit");
  FuzzCheck(image.rgba.size() == image.RowBytes() * static_cast<size_t>(image.height),
            "pixel bytes match the size");
  for (size_t i = 3; i < image.rgba.size(); i += 4) FuzzCheck(image.rgba[i] == 255, "opaque");
  return 0;
}
