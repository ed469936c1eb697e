// The sound wrapper: every call goes straight to the audio device.
#include "audio/sound.hpp"

#include <optional>

#include "app/backends.hpp"
#include "platform/audio_device.hpp"
#include "platform/content_paths.hpp"

namespace {
AudioDevice& Device() { return *backends.audio; }
constexpr int kPlaybackRate = 44100;
}  // namespace

void BASS_Init() { Device().Init(kPlaybackRate); }
void BASS_Free() { Device().Free(); }

void cSND::Open(const std::string& path, SoundHandle& handle) {
  std::optional<std::string> file = backends.content->Resolve(path);
  handle = Device().StreamCreateFile(path, file.value_or(std::string()));
}

void cSND::Play(SoundHandle handle, uint8_t volume, bool loop) {
  AudioDevice& d = Device();
  if (d.ChannelGetPosition(handle) < d.StreamGetLength(handle)) d.ChannelPlay(handle, false);
  d.ChannelSetAttributes(handle, kPlaybackRate, volume, 0);
  if (loop && d.ChannelGetPosition(handle) == d.StreamGetLength(handle)) {
    d.ChannelSetPosition(handle, 0);
  }
}

void cSND::PlayReport(SoundHandle handle, uint8_t volume, uint8_t& playing) {
  Play(handle, volume, false);
  playing = Position(handle) != Length(handle) ? 1 : 0;
}

void cSND::Stop(SoundHandle handle) {
  Device().ChannelStop(handle);
  Device().ChannelSetPosition(handle, 0);
}

uint32_t cSND::Length(SoundHandle handle) {
  return static_cast<uint32_t>(Device().StreamGetLength(handle));
}

uint32_t cSND::Position(SoundHandle handle) {
  return static_cast<uint32_t>(Device().ChannelGetPosition(handle));
}

void cSND::SetPosition(SoundHandle handle, uint32_t position) {
  Device().ChannelSetPosition(handle, position);
}
