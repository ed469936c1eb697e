// Headless audio: no output, positions advance with the frame clock.
// Until files are decoded here, every opened stream has length 0 and reports itself as ended.
#include "platform/headless_audio.hpp"

#include <filesystem>

bool HeadlessAudio::Init(int /*frequency*/) { return true; }

void HeadlessAudio::Free() { streams_.clear(); }

uint32_t HeadlessAudio::StreamCreateFile(const std::string& path, const std::string& file) {
  std::error_code ec;
  if (file.empty() || !std::filesystem::is_regular_file(file, ec)) return 0;
  uint32_t handle = nextHandle_++;
  streams_[handle].info.path = path;
  return handle;
}

HeadlessAudio::Stream* HeadlessAudio::Find(uint32_t handle) {
  auto it = streams_.find(handle);
  return it == streams_.end() ? nullptr : &it->second;
}

bool HeadlessAudio::ChannelPlay(uint32_t handle, bool restart) {
  Stream* s = Find(handle);
  if (!s) return false;
  if (restart) s->info.position = 0;
  s->info.playing = s->info.position < s->info.length;
  return true;
}

bool HeadlessAudio::ChannelStop(uint32_t handle) {
  Stream* s = Find(handle);
  if (!s) return false;
  s->info.playing = false;
  return true;
}

uint64_t HeadlessAudio::ChannelGetPosition(uint32_t handle) {
  Stream* s = Find(handle);
  return s ? s->info.position : 0;
}

uint64_t HeadlessAudio::StreamGetLength(uint32_t handle) {
  Stream* s = Find(handle);
  return s ? s->info.length : 0;
}

bool HeadlessAudio::ChannelSetPosition(uint32_t handle, uint64_t position) {
  Stream* s = Find(handle);
  if (!s) return false;
  s->info.position = std::min(position, s->info.length);
  return true;
}

bool HeadlessAudio::ChannelSetAttributes(uint32_t handle, int /*frequency*/, int volume,
                                         int /*pan*/) {
  Stream* s = Find(handle);
  if (!s) return false;
  s->info.volume = volume;
  return true;
}

void HeadlessAudio::Advance(double ms) {
  for (auto& [handle, s] : streams_) {
    if (!s.info.playing) continue;
    auto bytes = static_cast<uint64_t>(ms * 44.1) * static_cast<uint64_t>(s.channels) * 2;
    s.info.position = std::min(s.info.position + bytes, s.info.length);
    if (s.info.position >= s.info.length) s.info.playing = false;
  }
}

std::vector<StreamInfo> HeadlessAudio::Streams() const {
  std::vector<StreamInfo> out;
  for (const auto& [handle, s] : streams_) out.push_back(s.info);
  return out;
}
