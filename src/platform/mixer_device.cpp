// Stream operations of the mixer-backed audio devices.
#include "platform/mixer_device.hpp"

uint32_t MixerDevice::StreamCreateFile(const std::string& path, const std::string& file) {
  return mixer_.Open(path, file);
}

bool MixerDevice::ChannelPlay(uint32_t handle, bool restart) {
  return mixer_.Play(handle, restart);
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

bool MixerDevice::ChannelSetPosition(uint32_t handle, uint64_t position) {
  return mixer_.SetPosition(handle, position);
}

bool MixerDevice::ChannelSetAttributes(uint32_t handle, int /*frequency*/, int volume,
                                       int /*pan*/) {
  return mixer_.SetVolume(handle, volume);
}

std::vector<StreamInfo> MixerDevice::Streams() const {
  return mixer_.Streams();
}
