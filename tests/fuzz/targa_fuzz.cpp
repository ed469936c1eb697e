// Fuzz target: Targa pictures, the header fields and the pixel rows they promise.
#include "formats/targa.hpp"
#include "fuzz_check.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TargaParse parse = ParseTarga(std::span<const uint8_t>(data, size));
  if (!parse.image) {
    FuzzCheck(parse.error != TargaError::None, "a refused picture has a reason");
    return 0;
  }
  const RgbaImage& image = *parse.image;
  FuzzCheck(image.width >= 1 && image.height >= 1, "a picture has pixels");
  FuzzCheck(image.rgba.size() == image.RowBytes() * static_cast<size_t>(image.height),
            "pixel bytes match the size");
  // Every pixel came from the file: at least three bytes each were there.
  FuzzCheck(size >= kTargaHeaderSize + image.rgba.size() / 4 * 3, "pixels were in the file");
  return 0;
}
