// Test pictures made by independent tools (ImageMagick, cjpeg, djpeg) at test time, and the raw
// pixels those tools decode them to, so the game's readers are checked against someone else's.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "test_support.hpp"

namespace tool_images {

inline std::string Quoted(const std::filesystem::path& p) {
  return "'" + p.string() + "'";
}

// Runs a shell command; false (with the command in the test log) when it fails.
inline bool RunTool(const std::string& command) {
  int status = std::system(("(" + command + ") >/dev/null 2>&1").c_str());
  if (status != 0) ADD_FAILURE() << "tool failed: " << command;
  return status == 0;
}

inline std::vector<uint8_t> Bytes(const std::filesystem::path& p) {
  std::string s = ReadFile(p);
  return std::vector<uint8_t>(s.begin(), s.end());
}

inline std::string AsString(const std::vector<uint8_t>& bytes) {
  return std::string(bytes.begin(), bytes.end());
}

// A picture of flat colour blocks, `columns` x `rows` of them, each of its own colour; the top-left
// block is red, so a picture upside down or mirrored is told at once. With alpha, the first
// column is fully transparent and the others grow more opaque to the right. Written as PNG.
inline bool MakeBlocks(const std::filesystem::path& png, int width, int height, int columns,
                       int rows, bool withAlpha = false) {
  std::string cmd = "convert -size " + std::to_string(width) + "x" + std::to_string(height) +
                    (withAlpha ? " xc:none" : " xc:black");
  for (int r = 0; r < rows; ++r) {
    for (int c = 0; c < columns; ++c) {
      int i = r * columns + c;
      int red = i == 0 ? 255 : (i * 67) % 256;
      int green = i == 0 ? 0 : (i * 131 + 40) % 256;
      int blue = i == 0 ? 0 : (i * 29 + 90) % 256;
      double alpha = withAlpha ? (c == 0 ? 0.0 : (c + 1.0) / (columns + 1.0)) : 1.0;
      int x0 = c * width / columns;
      int y0 = r * height / rows;
      int x1 = (c + 1) * width / columns - 1;
      int y1 = (r + 1) * height / rows - 1;
      cmd += " -fill 'rgba(" + std::to_string(red) + "," + std::to_string(green) + "," +
             std::to_string(blue) + "," + std::to_string(alpha) + ")' -draw 'rectangle " +
             std::to_string(x0) + "," + std::to_string(y0) + " " + std::to_string(x1) + "," +
             std::to_string(y1) + "'";
    }
  }
  return RunTool(cmd + " -depth 8 " + Quoted(png));
}

// What ImageMagick decodes a picture to: RGBA bytes, top row first.
inline std::vector<uint8_t> DecodedRgba(const std::filesystem::path& picture) {
  std::filesystem::path raw = picture.string() + ".rgba";
  if (!RunTool("convert " + Quoted(picture) + " -depth 8 rgba:" + Quoted(raw))) return {};
  return Bytes(raw);
}

// A container made from a DDS that ImageMagick wrote (one level, no mipmaps): the 128-byte DDS
// header gives way to the 16-byte container header, with the S3TC format its four-character code
// names.
inline std::vector<uint8_t> DdsToContainer(const std::filesystem::path& dds) {
  std::vector<uint8_t> d = Bytes(dds);
  if (d.size() < 128) return {};
  auto field = [&](std::size_t at) {
    return static_cast<int32_t>(d[at] | d[at + 1] << 8 | d[at + 2] << 16 | d[at + 3] << 24);
  };
  int32_t height = field(12);
  int32_t width = field(16);
  std::string fourCc(d.begin() + 84, d.begin() + 88);
  int32_t format = fourCc == "DXT1" ? 0x83F1 : fourCc == "DXT3" ? 0x83F2 : 0x83F3;
  int32_t size = static_cast<int32_t>(d.size() - 128);
  std::vector<uint8_t> out;
  for (int32_t v : {size, format, width, height}) {
    for (int s = 0; s < 32; s += 8) out.push_back(static_cast<uint8_t>(v >> s));
  }
  out.insert(out.end(), d.begin() + 128, d.end());
  return out;
}

// A container of a picture through ImageMagick's DDS writer, "dxt1" or "dxt5" (which needs an
// alpha channel, else ImageMagick falls back to DXT1). The picture is turned over first: the
// container holds the bottom row first, as the texture upload takes it.
inline std::vector<uint8_t> MakeContainer(const std::filesystem::path& png,
                                          const std::filesystem::path& dds,
                                          const std::string& compression) {
  std::string alpha = compression == "dxt5" ? " -alpha set" : "";
  if (!RunTool("convert " + Quoted(png) + alpha + " -flip -define dds:compression=" + compression +
               " -define dds:mipmaps=0 " + Quoted(dds))) {
    return {};
  }
  return DdsToContainer(dds);
}

// A 32-bit Targa as the standard wants it (bottom row first, origin bit clear), through
// ImageMagick, which stores its rows top first whatever the header says unless told the
// orientation, and picks a colour map for pictures of few colours unless told the type. `extra`
// goes before the output name (e.g. "-alpha off -type TrueColor" for 24 bits).
inline bool MakeTarga(const std::filesystem::path& png, const std::filesystem::path& tga,
                      const std::string& extra = "") {
  std::filesystem::create_directories(tga.parent_path());
  return RunTool("convert " + Quoted(png) + " -flip -type TrueColorAlpha " + extra + " " +
                 Quoted(tga));
}
}  // namespace tool_images
