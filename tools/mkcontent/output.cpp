// Writing content files.
#include "mkcontent/output.hpp"

#include <squish.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <stdexcept>

#include "content/content_manifest.hpp"
#include "formats/jpeg.hpp"
#include "formats/targa.hpp"
#include "formats/texture_container.hpp"

int32_t DxtFormat(DxtKind kind) {
  switch (kind) {
    case DxtKind::Opaque:
      return kFormatDxt1Rgb;
    case DxtKind::Cutout:
      return kFormatDxt1Rgba;
    case DxtKind::Smooth:
      return kFormatDxt5;
  }
  return kFormatDxt5;
}

std::vector<uint8_t> CompressDxt(const RgbaImage& image, DxtKind kind) {
  int flags = (kind == DxtKind::Smooth) ? squish::kDxt5 : squish::kDxt1;
  flags |= squish::kColourClusterFit;
  if (kind != DxtKind::Opaque) flags |= squish::kWeightColourByAlpha;
  std::vector<uint8_t> rgba = image.rgba;
  if (kind == DxtKind::Opaque) {
    for (std::size_t i = 3; i < rgba.size(); i += 4) rgba[i] = 255;
  } else if (kind == DxtKind::Cutout) {
    // Pixels that are going to vanish give their colour up, so they do not tint the block.
    for (std::size_t i = 0; i < rgba.size(); i += 4) {
      rgba[i + 3] = rgba[i + 3] >= 128 ? 255 : 0;
    }
  }
  std::vector<uint8_t> blocks(
      static_cast<std::size_t>(squish::GetStorageRequirements(image.width, image.height, flags)));
  squish::CompressImage(rgba.data(), image.width, image.height, blocks.data(), flags);
  return blocks;
}

void ContentWriter::Write(const std::string& gamePath, std::span<const uint8_t> bytes) {
  std::filesystem::path path = root_ / DiskPath(gamePath);
  {
    std::lock_guard lock(mutex_);
    std::filesystem::create_directories(path.parent_path());
    ++files_;
  }
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path.string());
}

void ContentWriter::WriteDxt(const std::string& gamePath, const RgbaImage& image, DxtKind kind) {
  std::vector<uint8_t> blocks = CompressDxt(image, kind);
  Write(gamePath, WriteTextureContainer(DxtFormat(kind), image.width, image.height, blocks));
}

void ContentWriter::WriteTga(const std::string& gamePath, const RgbaImage& image) {
  Write(gamePath, WriteTarga(image));
}

void ContentWriter::WriteJpg(const std::string& gamePath, const RgbaImage& image, int quality) {
  std::vector<uint8_t> bytes = EncodeJpeg(image, quality);
  if (bytes.empty()) throw std::runtime_error("cannot encode " + gamePath);
  Write(gamePath, bytes);
}

void ContentWriter::WriteWav(const std::string& gamePath, const std::vector<float>& samples) {
  Write(gamePath, EncodeWav(samples));
}

std::vector<uint8_t> EncodeWav(const std::vector<float>& samples, int rate) {
  std::vector<uint8_t> out;
  auto u32 = [&](uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
  };
  auto u16 = [&](uint16_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
  };
  auto tag = [&](const char* t) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(t[i]));
  };
  const uint32_t dataBytes = static_cast<uint32_t>(samples.size() * 2);
  tag("RIFF");
  u32(36 + dataBytes);
  tag("WAVE");
  tag("fmt ");
  u32(16);
  u16(1);  // PCM
  u16(1);  // mono
  u32(static_cast<uint32_t>(rate));
  u32(static_cast<uint32_t>(rate) * 2);
  u16(2);
  u16(16);
  tag("data");
  u32(dataBytes);
  for (float s : samples) {
    float c = std::clamp(s, -1.0f, 1.0f);
    u16(static_cast<uint16_t>(static_cast<int16_t>(std::lround(c * 32767.0f))));
  }
  return out;
}
