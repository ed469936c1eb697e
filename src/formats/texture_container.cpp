// Reading and writing the compressed-texture container.
#include "formats/texture_container.hpp"

#include "formats/rgba_image.hpp"

namespace {
int32_t ReadInt32(std::span<const uint8_t> bytes, std::size_t offset) {
  uint32_t v = static_cast<uint32_t>(bytes[offset]) |
               static_cast<uint32_t>(bytes[offset + 1]) << 8 |
               static_cast<uint32_t>(bytes[offset + 2]) << 16 |
               static_cast<uint32_t>(bytes[offset + 3]) << 24;
  return static_cast<int32_t>(v);
}

void WriteInt32(std::vector<uint8_t>& out, int32_t value) {
  auto v = static_cast<uint32_t>(value);
  for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<uint8_t>(v >> shift));
}

ContainerParse Refuse(std::string why) {
  return ContainerParse{std::nullopt, std::move(why)};
}
}  // namespace

std::optional<int64_t> CompressedImageSize(int32_t internalFormat, int32_t width, int32_t height) {
  int64_t blockBytes = 0;
  switch (internalFormat) {
    case kFormatDxt1Rgb:
    case kFormatDxt1Rgba:
      blockBytes = 8;
      break;
    case kFormatDxt3:
    case kFormatDxt5:
      blockBytes = 16;
      break;
    default:
      return std::nullopt;
  }
  int64_t blocksAcross = (static_cast<int64_t>(width) + 3) / 4;
  int64_t blocksDown = (static_cast<int64_t>(height) + 3) / 4;
  return blocksAcross * blocksDown * blockBytes;
}

ContainerParse ParseTextureContainerHeader(std::span<const uint8_t> head, uint64_t fileBytes) {
  if (fileBytes < kContainerHeaderSize || head.size() < kContainerHeaderSize) {
    return Refuse("the file ends inside its 16-byte header (" + std::to_string(fileBytes) +
                  " bytes)");
  }
  int32_t dataSize = ReadInt32(head, 0);
  TextureContainer c;
  c.internalFormat = ReadInt32(head, 4);
  c.width = ReadInt32(head, 8);
  c.height = ReadInt32(head, 12);
  if (dataSize < 0) return Refuse("negative data size " + std::to_string(dataSize));
  if (c.internalFormat < 0) return Refuse("negative format " + std::to_string(c.internalFormat));
  if (c.width < 1 || c.height < 1) {
    return Refuse("image size " + std::to_string(c.width) + " x " + std::to_string(c.height));
  }
  if (std::string tooLarge = PictureSizeProblem(c.width, c.height); !tooLarge.empty()) {
    return Refuse(tooLarge);
  }
  const uint64_t available = fileBytes - kContainerHeaderSize;
  if (static_cast<uint64_t>(dataSize) > available) {
    return Refuse("the header promises " + std::to_string(dataSize) +
                  " data bytes but the file holds " + std::to_string(available));
  }
  if (auto needed = CompressedImageSize(c.internalFormat, c.width, c.height);
      needed && dataSize < *needed) {
    return Refuse("a " + std::to_string(c.width) + " x " + std::to_string(c.height) +
                  " image needs " + std::to_string(*needed) + " data bytes, the header gives " +
                  std::to_string(dataSize));
  }
  c.dataBytes = dataSize;
  return ContainerParse{c, {}};
}

ContainerParse ParseTextureContainer(std::span<const uint8_t> bytes) {
  ContainerParse parsed = ParseTextureContainerHeader(bytes, bytes.size());
  if (parsed.container) {
    parsed.container->data =
        bytes.subspan(kContainerHeaderSize, static_cast<std::size_t>(parsed.container->dataBytes));
  }
  return parsed;
}

std::vector<uint8_t> WriteTextureContainer(int32_t internalFormat, int32_t width, int32_t height,
                                           std::span<const uint8_t> data) {
  std::vector<uint8_t> out;
  out.reserve(kContainerHeaderSize + data.size());
  WriteInt32(out, static_cast<int32_t>(data.size()));
  WriteInt32(out, internalFormat);
  WriteInt32(out, width);
  WriteInt32(out, height);
  out.insert(out.end(), data.begin(), data.end());
  return out;
}
