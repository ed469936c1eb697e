// The texture loaders: files are found through the content paths, decoded here and handed to the
// renderer, which makes the texture.
#include "gfx/load.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <memory>
#include <new>
#include <optional>
#include <span>
#include <vector>

#include "base/backends.hpp"
#include "base/content_paths.hpp"
#include "base/messages.hpp"
#include "base/stop_signals.hpp"
#include "formats/jpeg.hpp"
#include "formats/rgba_image.hpp"
#include "formats/targa.hpp"
#include "formats/texture_container.hpp"
#include "gfx/renderer.hpp"

namespace {
// "Cannot load " in the game's code page.
const std::string kCannotLoad =
    "Nevar iel\xE2"
    "d\xE7t ";
const std::string kLoadCaption = "Load unit";
const std::string kTgaCaption = "TGA File Error";

// No picture the game loads is larger than the largest side squared in pixels of 4 bytes; a
// bigger file (a sparse or runaway one) is refused before anything is allocated for it.
constexpr int64_t kLargestPictureFile = int64_t{kMaxPictureSide} * kMaxPictureSide * 4 + 4096;

// Large pictures are read a piece at a time, so that Ctrl+C stops a long load within a piece.
constexpr std::size_t kReadPiece = std::size_t{8} << 20;

// A file's bytes (or its first bytes), read without clearing the buffer first.
struct FileBytes {
  std::unique_ptr<uint8_t[]> data;
  std::size_t size = 0;
  std::size_t fileSize = 0;
  std::span<const uint8_t> span() const { return {data.get(), size}; }
};

// Why a file opened as `fd` cannot be a picture, or nothing; `info` is what the system says of it.
std::optional<std::string> NoPicture(int fd, struct stat& info) {
  if (fstat(fd, &info) != 0) return std::strerror(errno);
  if (S_ISDIR(info.st_mode)) return "is a folder";
  if (!S_ISREG(info.st_mode)) return "not a regular file";
  if (info.st_size > kLargestPictureFile) {
    return std::to_string(info.st_size) + " bytes, larger than any picture";
  }
  return std::nullopt;
}

// All of a file, or its first `limit` bytes; nothing, and why in `why`, when it is a folder, is
// larger than any picture or cannot be read.
std::optional<FileBytes> ReadPictureFile(const std::string& file, std::string& why,
                                         std::size_t limit) {
  StopLoadAtSignal();
  // Not waiting at the open: a FIFO in a picture's place is refused below, not read for ever.
  int fd = open(file.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    why = std::strerror(errno);
    return std::nullopt;
  }
  struct stat info {};
  if (std::optional<std::string> no = NoPicture(fd, info)) {
    why = *no;
    close(fd);
    return std::nullopt;
  }
  FileBytes bytes;
  bytes.fileSize = static_cast<std::size_t>(info.st_size);
  const std::size_t size = std::min(bytes.fileSize, limit);
  bytes.data.reset(new (std::nothrow) uint8_t[size == 0 ? 1 : size]);
  if (!bytes.data) {
    why = "not enough memory to read it";
    close(fd);
    return std::nullopt;
  }
  while (bytes.size < size) {
    if (StopRequested()) {
      close(fd);
      StopLoadAtSignal();
    }
    ssize_t n = read(fd, bytes.data.get() + bytes.size, std::min(size - bytes.size, kReadPiece));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;  // a file that shrank while being read is read as far as it went
    bytes.size += static_cast<std::size_t>(n);
  }
  close(fd);
  return bytes;
}

// The bytes of every file a game path may name (usually one; several spelt alike in different
// case), in the order the content paths give: the loaders keep the first that decodes. When none
// can be read, `why` says what kept the first from it (empty when the file is not there).
std::vector<FileBytes> ReadContentFiles(const std::string& path, std::string& why,
                                        std::size_t limit = SIZE_MAX) {
  std::vector<FileBytes> files;
  for (const std::string& file : backends.content->Candidates(path)) {
    std::string problem;
    if (std::optional<FileBytes> bytes = ReadPictureFile(file, problem, limit)) {
      files.push_back(std::move(*bytes));
    } else if (why.empty()) {
      why = problem;
    }
  }
  if (files.empty() && why.empty() && backends.content->LeadsOutside(path)) {
    why = "leads outside the content folder";
  }
  if (!files.empty()) why.clear();
  return files;
}

// "Cannot load PATH", with the reason when the file is there but could not be read.
std::string CannotLoad(const std::string& path, const std::string& why) {
  return kCannotLoad + path + (why.empty() ? "" : " (" + why + ")");
}

Texture CreateTextureFrom(uint16_t width, uint16_t height, uint32_t format, const uint8_t* pixels,
                          const std::string& path) {
  PixelTexture p;
  p.width = width;
  p.height = height;
  p.rgba = format == kFormatRgba;
  p.pixels = pixels;
  p.fromFile = !path.empty();
  return backends.renderer->CreatePixelTexture(p, path);
}
}  // namespace

Texture cLoad::LoadDXT(const std::string& path, std::size_t* dataBytes) {
  // A renderer that reads the data when the picture is drawn (or never draws it) is given the
  // header's facts only, checked against the file's size.
  const bool headerOnly = !backends.renderer->NeedsCompressedData();
  std::string why;
  std::vector<FileBytes> files =
      ReadContentFiles(path, why, headerOnly ? kContainerHeaderSize : SIZE_MAX);
  if (files.empty()) {
    ShowMessage(kLoadCaption, CannotLoad(path, why));
    return 0;
  }
  std::string firstError;
  for (const FileBytes& bytes : files) {
    ContainerParse parsed = headerOnly ? ParseTextureContainerHeader(bytes.span(), bytes.fileSize)
                                       : ParseTextureContainer(bytes.span());
    if (!parsed.container) {
      if (firstError.empty()) firstError = parsed.error;
      continue;
    }
    const TextureContainer& c = *parsed.container;
    if (dataBytes) *dataBytes += static_cast<std::size_t>(c.dataBytes);
    return backends.renderer->CreateCompressedTexture(c.internalFormat, c.width, c.height,
                                                      headerOnly ? nullptr : c.data.data(),
                                                      c.dataBytes, path);
  }
  ShowMessage(kLoadCaption, CannotLoad(path, firstError));
  return 0;
}

std::optional<std::vector<uint8_t>> cLoad::ReadDXTAgain(const std::string& path,
                                                        int32_t internalFormat, int32_t width,
                                                        int32_t height, int32_t dataBytes) {
  std::string why;
  for (const FileBytes& bytes : ReadContentFiles(path, why)) {
    ContainerParse parsed = ParseTextureContainer(bytes.span());
    if (!parsed.container) continue;
    const TextureContainer& c = *parsed.container;
    if (c.internalFormat == internalFormat && c.width == width && c.height == height &&
        c.dataBytes == dataBytes) {
      return std::vector<uint8_t>(c.data.begin(), c.data.end());
    }
  }
  return std::nullopt;
}

std::optional<std::vector<uint8_t>> cLoad::ReadPixelsAgain(const std::string& path, int32_t width,
                                                           int32_t height) {
  std::string why;
  for (const FileBytes& bytes : ReadContentFiles(path, why)) {
    const std::span<const uint8_t> file = bytes.span();
    const bool jpeg = file.size() >= 2 && file[0] == 0xFF && file[1] == 0xD8;
    std::optional<RgbaImage> image = jpeg ? DecodeJpeg(file).image : ParseTarga(file).image;
    if (image && image->width == width && image->height == height) return std::move(image->rgba);
  }
  return std::nullopt;
}

Texture cLoad::LoadTGA(const std::string& path, Texture& texture) {
  std::string why;
  std::vector<FileBytes> files = ReadContentFiles(path, why);
  if (files.empty()) {
    ShowMessage(kLoadCaption, CannotLoad(path, why));
    return texture;
  }
  std::optional<TargaParse> firstFailure;
  for (const FileBytes& bytes : files) {
    TargaParse parsed = ParseTarga(bytes.span());
    if (!parsed.image) {
      if (!firstFailure) firstFailure = std::move(parsed);
      continue;
    }
    const RgbaImage& image = *parsed.image;
    texture =
        CreateTextureFrom(static_cast<uint16_t>(image.width), static_cast<uint16_t>(image.height),
                          kFormatRgba, image.rgba.data(), path);
    return texture;
  }
  switch (firstFailure->error) {
    case TargaError::Unsupported:
      ShowMessage(kTgaCaption,
                  "Unsupported Targa file \"" + path + "\": " + firstFailure->detail + ".");
      break;
    case TargaError::Empty:
      ShowMessage(kTgaCaption,
                  "Couldn't read file \"" + path + "\": " + firstFailure->detail + ".");
      break;
    default:
      ShowMessage(kTgaCaption, "Couldn't read file \"" + path + "\".");
      break;
  }
  return texture;
}

Texture cLoad::LoadJPG(const std::string& path, Texture& texture) {
  JpegDecode decoded;
  std::string why;
  for (const FileBytes& bytes : ReadContentFiles(path, why)) {
    decoded = DecodeJpeg(bytes.span());
    if (decoded.image) break;
    if (why.empty()) why = decoded.error;
  }
  if (!decoded.image) {
    ShowMessage("BMP Unit",
                "Nevar iel\xE2"
                "d\xE7t JPG - \"" +
                    path + "\"" + (why.empty() ? "" : " (" + why + ")"));
    return texture;
  }
  // Still drawn, as far as it goes, but a damaged file is named.
  if (decoded.endedEarly) {
    NoteMessageUtf8("BMP Unit", "JPG \"" + Cp1257ToUtf8(path) +
                                    "\" is damaged: its data ends early and the rest of the "
                                    "picture is made up.");
  } else if (!decoded.warning.empty()) {
    NoteMessageUtf8("BMP Unit", "JPG \"" + Cp1257ToUtf8(path) + "\": " + decoded.warning + ".");
  }
  const RgbaImage& image = *decoded.image;
  PixelTexture p;
  p.width = image.width;
  p.height = image.height;
  p.rgba = true;
  p.pixels = image.rgba.data();
  // The one loader whose textures shrink with the nearest texel instead of a linear blend.
  p.nearestMin = true;
  p.fromFile = true;
  texture = backends.renderer->CreatePixelTexture(p, path);
  return texture;
}

Texture cLoad::CreateTexture(uint16_t width, uint16_t height, uint32_t format,
                             const uint8_t* pixels) {
  return CreateTextureFrom(width, height, format, pixels, std::string());
}

void FreeTexture(Texture& texture) {
  backends.renderer->DeleteTexture(texture);
  texture = 0;
}

void SetAside(Texture texture) {
  backends.renderer->SetAside(texture);
}

void FreeIfReplaced(Texture old, Texture now) {
  if (old != now) FreeTexture(old);
}
