// Which compressed pictures the driver holds. A picture whose file can be read again is uploaded
// when it is first drawn and dropped once it has gone undrawn for a while (a level screen out of
// view, the intro after it ended), then read again when it is drawn next. A software driver keeps
// every texture in the game's own memory, and most of the game's pictures are out of view most of
// the time.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "base/types.hpp"

// What a compressed texture holds: its GL format, its size and the bytes of its data.
struct CompressedShape {
  int32_t format = 0;
  int32_t width = 0;
  int32_t height = 0;
  int32_t dataBytes = 0;
};

// Reads a picture's data again from the path it was loaded from; nothing when the file no longer
// holds a picture of that shape.
using CompressedSource =
    std::function<std::optional<std::vector<uint8_t>>(const std::string&, const CompressedShape&)>;

class TextureResidency {
 public:
  // Frames a picture stays uploaded after it was last drawn: several seconds at any frame rate.
  static constexpr uint64_t kKeepFrames = 600;

  // What to do before drawing a texture.
  enum class Use {
    Draw,    // it is uploaded, or not one of ours
    Upload,  // read its data (PathOf, ShapeOf), upload it and say Uploaded or Failed
    Skip,    // its file could not be read again: drawn no more
  };

  void Track(Texture texture, const std::string& path, const CompressedShape& shape);
  void Forget(Texture texture);
  Use Touch(Texture texture);
  void Uploaded(Texture texture);
  void Failed(Texture texture);
  const std::string& PathOf(Texture texture) const { return entries_.at(texture).path; }
  const CompressedShape& ShapeOf(Texture texture) const { return entries_.at(texture).shape; }

  // Ends a frame; returns the uploaded pictures that have not been drawn for kKeepFrames frames,
  // which are counted as dropped and which the caller lets go of.
  std::vector<Texture> EndFrame();
  // Bytes of picture data uploaded now.
  std::size_t UploadedBytes() const { return uploadedBytes_; }

 private:
  enum class State { NotUploaded, Uploaded, Unreadable };
  struct Entry {
    std::string path;
    CompressedShape shape;
    State state = State::NotUploaded;
    uint64_t lastDrawn = 0;
  };
  std::unordered_map<Texture, Entry> entries_;
  uint64_t frame_ = 0;
  std::size_t uploadedBytes_ = 0;
};
