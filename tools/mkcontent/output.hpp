// Writes the content tree: every file under one lower-case spelling, pictures compressed or
// encoded the way the game loads them.
#pragma once

#include <cstdint>
#include <filesystem>
#include <mutex>
#include <span>
#include <string>
#include <vector>

#include "formats/rgba_image.hpp"

enum class DxtKind {
  Opaque,  // DXT1 without alpha
  Cutout,  // DXT1 with 1-bit alpha: edges either there or not
  Smooth,  // DXT5: soft edges and glows
};

class ContentWriter {
 public:
  explicit ContentWriter(std::filesystem::path root) : root_(std::move(root)) {}

  const std::filesystem::path& Root() const { return root_; }

  // `gamePath` as the game spells it; the file lands at its lower-case spelling.
  void Write(const std::string& gamePath, std::span<const uint8_t> bytes);
  void WriteDxt(const std::string& gamePath, const RgbaImage& image, DxtKind kind);
  void WriteTga(const std::string& gamePath, const RgbaImage& image);
  void WriteJpg(const std::string& gamePath, const RgbaImage& image, int quality = 90);
  // Mono, 44100 Hz, 16-bit.
  void WriteWav(const std::string& gamePath, const std::vector<float>& samples);

  int FilesWritten() const { return files_; }

 private:
  std::filesystem::path root_;
  std::mutex mutex_;
  int files_ = 0;
};

// The compressed level-0 image of a picture stored bottom row first, as the upload takes it.
std::vector<uint8_t> CompressDxt(const RgbaImage& image, DxtKind kind);
int32_t DxtFormat(DxtKind kind);

// A 16-bit mono PCM WAV file.
std::vector<uint8_t> EncodeWav(const std::vector<float>& samples, int rate = 44100);
