// Which pictures read from files the driver holds.
#include "platform/texture_residency.hpp"

void TextureResidency::Track(Texture texture, const std::string& path, const PictureShape& shape) {
  Forget(texture);
  entries_[texture] = Entry{path, shape, State::NotUploaded, frame_};
}

void TextureResidency::Forget(Texture texture) {
  auto it = entries_.find(texture);
  if (it == entries_.end()) return;
  if (it->second.state == State::Uploaded) {
    uploadedBytes_ -= static_cast<std::size_t>(it->second.shape.dataBytes);
  }
  entries_.erase(it);
}

TextureResidency::Use TextureResidency::Touch(Texture texture) {
  auto it = entries_.find(texture);
  if (it == entries_.end()) return Use::Draw;
  Entry& e = it->second;
  e.lastDrawn = frame_;
  switch (e.state) {
    case State::Uploaded:
      return Use::Draw;
    case State::NotUploaded:
      return Use::Upload;
    case State::Unreadable:
      break;
  }
  return Use::Skip;
}

void TextureResidency::Uploaded(Texture texture) {
  Entry& e = entries_.at(texture);
  if (e.state != State::Uploaded) uploadedBytes_ += static_cast<std::size_t>(e.shape.dataBytes);
  e.state = State::Uploaded;
}

void TextureResidency::Failed(Texture texture) {
  entries_.at(texture).state = State::Unreadable;
}

bool TextureResidency::SetAside(Texture texture) {
  auto it = entries_.find(texture);
  if (it == entries_.end() || it->second.state != State::Uploaded) return false;
  Drop(it->second);
  return true;
}

void TextureResidency::Drop(Entry& e) {
  e.state = State::NotUploaded;
  uploadedBytes_ -= static_cast<std::size_t>(e.shape.dataBytes);
}

std::vector<Texture> TextureResidency::EndFrame() {
  ++frame_;
  std::vector<Texture> dropped;
  // A look over the table now and then is enough: nothing has to go at once.
  if (frame_ % 64 != 0) return dropped;
  for (auto& [texture, e] : entries_) {
    if (e.state != State::Uploaded || frame_ - e.lastDrawn <= kKeepFrames) continue;
    Drop(e);
    dropped.push_back(texture);
  }
  return dropped;
}
