// The sound wrapper: every call goes straight to the audio device. A handle of 0 (a file that
// could not be opened) is unknown to every device, so each call on it does nothing and the sound
// reads as ended: position and length are both 0.
#include "audio/sound.hpp"

#include <string>
#include <vector>

#include "audio/audio_device.hpp"
#include "base/backends.hpp"
#include "base/content_paths.hpp"

namespace {
AudioDevice& Device() {
  return *backends.audio;
}
constexpr int kPlaybackRate = 44100;
}  // namespace

void BASS_Init() {
  Device().Init(kPlaybackRate);
}
void BASS_Free() {
  Device().Free();
}

void cSND::Open(const std::string& path, SoundHandle& handle) {
  // Of several files spelt alike in different case, the first that plays.
  handle = Device().StreamCreateFile(path, backends.content->Candidates(path));
}

void cSND::Prefetch(const std::vector<std::string>& paths) {
  std::vector<std::string> files;
  for (const std::string& path : paths) {
    std::optional<std::string> file = backends.content->Resolve(path);
    if (file) files.push_back(std::move(*file));
  }
  Device().Prefetch(files);
}

void cSND::Play(SoundHandle handle, uint8_t volume, bool loop) {
  Device().ChannelPlayOn(handle, volume, loop);
}

void cSND::PlayReport(SoundHandle handle, uint8_t volume, uint8_t& playing) {
  // Starting a stream does not move it: where it stood is where a look after the play finds it.
  playing = Device().ChannelPlayOn(handle, volume, false).AtEnd() ? 0 : 1;
}

bool cSND::Ended(SoundHandle handle) {
  return Device().ChannelGetProgress(handle).AtEnd();
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
