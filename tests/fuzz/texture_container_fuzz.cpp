// Fuzz target: the compressed-texture container header and its data size.
#include "formats/rgba_image.hpp"
#include "formats/texture_container.hpp"
#include "fuzz_check.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::span<const uint8_t> bytes(data, size);
  ContainerParse parse = ParseTextureContainer(bytes);
  if (!parse.container) {
    FuzzCheck(!parse.error.empty(), "a refused container says why");
    return 0;
  }
  const TextureContainer& c = *parse.container;
  FuzzCheck(c.data.data() >= data + kContainerHeaderSize, "data starts after the header");
  FuzzCheck(c.data.data() + c.data.size() <= data + size, "data ends inside the file");
  FuzzCheck(c.width >= 1 && c.width <= kMaxPictureSide, "width in range");
  FuzzCheck(c.height >= 1 && c.height <= kMaxPictureSide, "height in range");
  if (auto needed = CompressedImageSize(c.internalFormat, c.width, c.height)) {
    FuzzCheck(static_cast<int64_t>(c.data.size()) >= *needed, "data holds the whole image");
  }
  // What is read back is what would be written again.
  std::vector<uint8_t> again = WriteTextureContainer(c.internalFormat, c.width, c.height, c.data);
  ContainerParse reparse = ParseTextureContainer(again);
  FuzzCheck(reparse.container && reparse.container->data.size() == c.data.size(),
            "a written container reads back");
  return 0;
}
