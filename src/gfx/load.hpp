// cLoad: turns image files into textures. A texture is the bare name the renderer hands out.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/types.hpp"

// Frees a texture no longer needed (before its owner loads a new picture into the same slot)
// and sets the slot to 0.
void FreeTexture(Texture& texture);
// Says a picture will not be drawn for a while (see Renderer::SetAside); it stays valid.
void SetAside(Texture texture);
// After a reload into a slot that keeps its old name when the load fails: frees the old picture
// once a new one has taken its place.
void FreeIfReplaced(Texture old, Texture now);

// The format code that CreateTexture reads as RGBA; any other means RGB.
constexpr uint32_t kFormatRgba = 0x1908;

class cLoad {
 public:
  // A compressed-texture container (.dxt, .dx). Returns 0 when the file is missing or broken,
  // after saying so in a message box. Adds the size of the texture data to `dataBytes`.
  static Texture LoadDXT(const std::string& path, std::size_t* dataBytes = nullptr);
  // The data of a container LoadDXT loaded from `path`, read again: nothing unless the file
  // still holds a picture of that format, size and data size.
  static std::optional<std::vector<uint8_t>> ReadDXTAgain(const std::string& path,
                                                          int32_t internalFormat, int32_t width,
                                                          int32_t height, int32_t dataBytes);
  // The pixels of a Targa or JPEG LoadTGA or LoadJPG loaded from `path`, read again: nothing
  // unless the file still holds a picture of that size.
  static std::optional<std::vector<uint8_t>> ReadPixelsAgain(const std::string& path, int32_t width,
                                                             int32_t height);
  // An uncompressed Targa of 24 or 32 bits. On success stores the new name into `texture` and
  // returns it; on failure says why and leaves `texture` (and returns) as it was.
  static Texture LoadTGA(const std::string& path, Texture& texture);
  // A JPEG, opaque; otherwise as LoadTGA.
  static Texture LoadJPG(const std::string& path, Texture& texture);
  // A texture from pixels in memory, rows bottom first: RGBA when `format` is kFormatRgba, else
  // RGB.
  static Texture CreateTexture(uint16_t width, uint16_t height, uint32_t format,
                               const uint8_t* pixels);
};
