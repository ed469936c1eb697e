// Which pictures read from files the driver holds. A picture whose file can be read again is
// uploaded when it is first drawn and dropped once it has gone undrawn for a while (a level
// screen out of view) or is set aside (the intro after it ended, the menu while a level runs),
// then read again when it is drawn next. A software driver keeps every texture in the game's own
// memory, and most of the game's pictures are out of view most of the time.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "base/types.hpp"

// What a texture holds: its GL format, its size and the bytes of its data. A compressed picture
// is uploaded as it is; `pixels` marks the RGBA pixels of an image file, from which mipmaps are
// built.
struct PictureShape {
  int32_t format = 0;
  int32_t width = 0;
  int32_t height = 0;
  int32_t dataBytes = 0;
  bool pixels = false;
};

// Reads a picture's data again from the path it was loaded from; nothing when the file no longer
// holds a picture of that shape.
using PictureSource =
    std::function<std::optional<std::vector<uint8_t>>(const std::string&, const PictureShape&)>;

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

  void Track(Texture texture, const std::string& path, const PictureShape& shape);
  void Forget(Texture texture);
  Use Touch(Texture texture);
  void Uploaded(Texture texture);
  void Failed(Texture texture);
  const std::string& PathOf(Texture texture) const { return entries_.at(texture).path; }
  const PictureShape& ShapeOf(Texture texture) const { return entries_.at(texture).shape; }

  // Counts an uploaded picture as dropped now; false when it is not uploaded (or not ours).
  bool SetAside(Texture texture);
  // Ends a frame; returns the uploaded pictures that have not been drawn for kKeepFrames frames,
  // which are counted as dropped and which the caller lets go of.
  std::vector<Texture> EndFrame();
  // Bytes of picture data uploaded now.
  std::size_t UploadedBytes() const { return uploadedBytes_; }

 private:
  enum class State { NotUploaded, Uploaded, Unreadable };
  struct Entry {
    std::string path;
    PictureShape shape;
    State state = State::NotUploaded;
    uint64_t lastDrawn = 0;
  };
  void Drop(Entry& e);

  std::unordered_map<Texture, Entry> entries_;
  uint64_t frame_ = 0;
  std::size_t uploadedBytes_ = 0;
};
