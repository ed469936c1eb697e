// Fuzz target: JPEG decoding through libjpeg with the game's error handling and size limit.
#include "formats/jpeg.hpp"
#include "fuzz_check.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  JpegDecode decode = DecodeJpeg(std::span<const uint8_t>(data, size));
  if (!decode.image) {
    FuzzCheck(!decode.error.empty(), "a refused JPEG says why");
    return 0;
  }
  const RgbaImage& image = *decode.image;
  FuzzCheck(image.width >= 1 && image.height >= 1, "a picture has pixels");
  FuzzCheck(int64_t{image.width} * image.height <= kMaxJpegPixels, "within the pixel limit");
  FuzzCheck(image.rgba.size() == image.RowBytes() * static_cast<size_t>(image.height),
            "pixel bytes match the size");
  for (size_t i = 3; i < image.rgba.size(); i += 4) FuzzCheck(image.rgba[i] == 255, "opaque");
  return 0;
}
