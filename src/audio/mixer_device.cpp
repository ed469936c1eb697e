// Stream operations of the mixer-backed audio devices.
#include "audio/mixer_device.hpp"

#include <algorithm>
#include <cmath>

namespace {
// Nothing is longer than this; it keeps the frame count well inside 64 bits.
constexpr double kLongestStepMs = 3'600'000;
}  // namespace

uint32_t MixerDevice::StreamCreateFile(const std::string& path,
                                       const std::vector<std::string>& files) {
  return mixer_.Open(path, files);
}

bool MixerDevice::ChannelStop(uint32_t handle) {
  return mixer_.Stop(handle);
}

uint64_t MixerDevice::ChannelGetPosition(uint32_t handle) {
  return mixer_.Position(handle);
}

uint64_t MixerDevice::StreamGetLength(uint32_t handle) {
  return mixer_.Length(handle);
}

ChannelProgress MixerDevice::ChannelGetProgress(uint32_t handle) {
  return mixer_.Progress(handle);
}

bool MixerDevice::ChannelSetPosition(uint32_t handle, uint64_t position) {
  return mixer_.SetPosition(handle, position);
}

ChannelProgress MixerDevice::ChannelPlayOn(uint32_t handle, int volume, bool loop) {
  return mixer_.PlayOn(handle, volume, loop);
}

std::vector<StreamInfo> MixerDevice::Streams() const {
  return mixer_.Streams();
}

void MixerDevice::AdvanceByClock(double ms) {
  if (!(ms > 0)) return;
  ms = std::min(ms, kLongestStepMs);
  double frames = carriedFrames_ + ms * kMixRate / 1000.0;
  double whole = std::floor(frames);
  carriedFrames_ = frames - whole;
  mixer_.Skip(static_cast<uint64_t>(whole));
}

void MixerDevice::Clear() {
  mixer_.Clear();
  carriedFrames_ = 0;
}
