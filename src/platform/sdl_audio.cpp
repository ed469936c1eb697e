// SDL audio output: opens the device, runs the mixer in SDL's audio callback.
#include "platform/sdl_audio.hpp"

#include <SDL.h>

namespace {
// About 23 ms at 44100 Hz: short enough that a sound starts with the frame that asked for it.
constexpr Uint16 kCallbackFrames = 1024;
}  // namespace

SdlAudio::~SdlAudio() {
  Free();
}

bool SdlAudio::Init(int frequency) {
  if (device_ != 0) return true;
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
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
    error_ = SDL_GetError();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return false;
  }
  device_ = id;
  SDL_PauseAudioDevice(device_, 0);
  return true;
}

void SdlAudio::Free() {
  if (device_ != 0) {
    // Closing waits for a running callback, so the streams can go safely afterwards.
    SDL_CloseAudioDevice(device_);
    device_ = 0;
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
  }
  mixer_.Clear();
}

void SdlAudio::Callback(void* self, unsigned char* stream, int len) {
  auto* audio = static_cast<SdlAudio*>(self);
  size_t frames = static_cast<size_t>(len) / (2 * sizeof(int16_t));
  audio->mixer_.Mix(reinterpret_cast<int16_t*>(stream), frames);
}
