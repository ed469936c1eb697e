// Headless audio: files are decoded as for the sound card, nothing is heard, and positions
// advance with the frame clock.
#include "platform/headless_audio.hpp"

#include <algorithm>
#include <cmath>

namespace {
constexpr double kLongestStepMs = 3'600'000;
}  // namespace

bool HeadlessAudio::Init(int /*frequency*/) {
  return true;
}

void HeadlessAudio::Free() {
  mixer_.Clear();
  carriedFrames_ = 0;
}

uint32_t HeadlessAudio::StreamCreateFile(const std::string& path, const std::string& file) {
  return mixer_.Open(path, file);
}

bool HeadlessAudio::ChannelPlay(uint32_t handle, bool restart) {
  return mixer_.Play(handle, restart);
}

bool HeadlessAudio::ChannelStop(uint32_t handle) {
  return mixer_.Stop(handle);
}

uint64_t HeadlessAudio::ChannelGetPosition(uint32_t handle) {
  return mixer_.Position(handle);
}

uint64_t HeadlessAudio::StreamGetLength(uint32_t handle) {
  return mixer_.Length(handle);
}

bool HeadlessAudio::ChannelSetPosition(uint32_t handle, uint64_t position) {
  return mixer_.SetPosition(handle, position);
}

bool HeadlessAudio::ChannelSetAttributes(uint32_t handle, int /*frequency*/, int volume,
                                         int /*pan*/) {
  return mixer_.SetVolume(handle, volume);
}

void HeadlessAudio::Advance(double ms) {
  if (!(ms > 0)) return;
  // Nothing is longer than this; it keeps the frame count well inside 64 bits.
  ms = std::min(ms, kLongestStepMs);
  double frames = carriedFrames_ + ms * kMixRate / 1000.0;
  double whole = std::floor(frames);
  carriedFrames_ = frames - whole;
  mixer_.Skip(static_cast<uint64_t>(whole));
}

std::vector<StreamInfo> HeadlessAudio::Streams() const {
  return mixer_.Streams();
}
