// The compressed-texture container (.dxt, .dx): a 16-byte header and one compressed image.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

// Header: data size, internal format, width, height (32-bit little-endian each), then the
// compressed level-0 image exactly as the compressed-texture upload takes it.
constexpr std::size_t kContainerHeaderSize = 16;

// The S3TC internal formats the content uses.
constexpr int32_t kFormatDxt1Rgb = 0x83F0;
constexpr int32_t kFormatDxt1Rgba = 0x83F1;
constexpr int32_t kFormatDxt3 = 0x83F2;
constexpr int32_t kFormatDxt5 = 0x83F3;

// The texture data one frame folder may hold: more is a runaway folder (sparse files, say), whose
// load would take minutes and gigabytes.
constexpr std::size_t kMaxFrameFolderBytes = std::size_t{256} << 20;

// A container read in place: `data` points into the bytes it was read from.
struct TextureContainer {
  int32_t internalFormat = 0;
  int32_t width = 0;
  int32_t height = 0;
  int32_t dataBytes = 0;
  std::span<const uint8_t> data;  // empty when only the header was read
};

// Bytes a level-0 image of this size takes in a known S3TC format; nothing for other formats.
std::optional<int64_t> CompressedImageSize(int32_t internalFormat, int32_t width, int32_t height);

struct ContainerParse {
  std::optional<TextureContainer> container;
  std::string error;  // why the bytes are no container, when container is empty
};

// Reads a container from a whole file. Bytes after the data are ignored. Refused: a file shorter
// than its header or its data, a negative data size or format, a side outside 1..16384, and data
// too short for the image of a known S3TC format (the upload would read past it).
ContainerParse ParseTextureContainer(std::span<const uint8_t> bytes);
// The same checks from the first bytes of a file of `fileBytes` bytes (at least the header, or
// the whole file when it is shorter), for a picture whose data is read when it is drawn.
ContainerParse ParseTextureContainerHeader(std::span<const uint8_t> head, uint64_t fileBytes);

// The file bytes of a container; the data size written is data.size().
std::vector<uint8_t> WriteTextureContainer(int32_t internalFormat, int32_t width, int32_t height,
                                           std::span<const uint8_t> data);
