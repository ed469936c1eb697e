// SDL audio output: opens the device, runs the mixer in SDL's audio callback.
#include "platform/sdl_audio.hpp"

#include <SDL.h>

#include <cstdio>

namespace {
// About 23 ms at 44100 Hz: short enough that a sound starts with the frame that asked for it.
constexpr Uint16 kCallbackFrames = 1024;
}  // namespace

SdlAudio::~SdlAudio() {
  Free();
}

bool SdlAudio::Open(int frequency) {
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
    std::lock_guard lock(errorMutex_);
    error_ = SDL_GetError();
    return false;
  }
  SDL_AudioSpec want{};
  want.freq = frequency;
  want.format = AUDIO_S16SYS;
  want.channels = 2;
  want.samples = kCallbackFrames;
  want.callback = &SdlAudio::Callback;
  want.userdata = this;
  SDL_AudioSpec have{};
  // No changes allowed: SDL converts to whatever the hardware wants, so the mixer always works
  // in one format.
  SDL_AudioDeviceID id = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
  if (id == 0) {
    std::lock_guard lock(errorMutex_);
    error_ = SDL_GetError();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return false;
  }
  device_ = id;
  // From here on the callback mixes: it must never wait for music to be decoded.
  mixer_.SetRealTime(true);
  SDL_PauseAudioDevice(id, 0);
  return true;
}

bool SdlAudio::Init(int frequency) {
  if (started_) return true;
  started_ = true;
  return Open(frequency);
}

void SdlAudio::OpenInBackground(int frequency) {
  if (started_) return;
  started_ = true;
  opener_ = std::thread([this, frequency] {
    if (!Open(frequency)) {
      std::fprintf(stderr, "morva: no sound device (%s); playing without sound\n", Error().c_str());
    }
  });
}

std::string SdlAudio::Error() const {
  std::lock_guard lock(errorMutex_);
  return error_;
}

void SdlAudio::Advance(double ms) {
  // Once a device plays, it keeps the time.
  if (device_ == 0) AdvanceByClock(ms);
}

void SdlAudio::Free() {
  if (opener_.joinable()) opener_.join();
  if (device_ != 0) {
    // Closing waits for a running callback, so the streams can go safely afterwards.
    SDL_CloseAudioDevice(device_);
    device_ = 0;
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
  }
  started_ = false;
  Clear();
}

void SdlAudio::Callback(void* self, unsigned char* stream, int len) {
  auto* audio = static_cast<SdlAudio*>(self);
  size_t frames = static_cast<size_t>(len) / (2 * sizeof(int16_t));
  audio->mixer_.Mix(reinterpret_cast<int16_t*>(stream), frames);
}
