// SDL audio output: opens the device, runs the mixer in SDL's audio callback, and stops it
// without ever waiting for SDL's audio thread.
#include "platform/sdl_audio.hpp"

#include <SDL.h>

#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <thread>
#include <vector>

struct SdlAudio::Output {
  std::mutex mutex;
  std::condition_variable settled;
  SDL_AudioDeviceID device = 0;
  // A thread is inside SDL, opening the device.
  bool opening = false;
  // The owner wants sound: a device that opens now starts playing.
  bool wanted = false;
  std::string error;
};

namespace {
// About 23 ms at 44100 Hz: short enough that a sound starts with the frame that asked for it.
constexpr Uint16 kCallbackFrames = 1024;

std::mutex& LeftOverMutex() {
  static std::mutex mutex;
  return mutex;
}
std::vector<std::shared_ptr<SdlAudio::Output>>& LeftOvers() {
  static std::vector<std::shared_ptr<SdlAudio::Output>> list;
  return list;
}

// Opens the device into `out`, whose owner may have stopped wanting sound (or be gone) by the time
// SDL answers. `callback` and `userdata` are what SDL's audio thread calls; `mixer` is the owner's,
// touched only while the owner still wants sound. Returns the error worth reporting: empty when
// the device opened or nobody wants it any more.
std::string OpenDevice(SdlAudio::Output& out, int frequency, SDL_AudioCallback callback,
                       void* userdata, Mixer& mixer) {
  std::string error;
  SDL_AudioDeviceID id = 0;
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
    error = SDL_GetError();
  } else {
    SDL_AudioSpec want{};
    want.freq = frequency;
    want.format = AUDIO_S16SYS;
    want.channels = 2;
    want.samples = kCallbackFrames;
    want.callback = callback;
    want.userdata = userdata;
    SDL_AudioSpec have{};
    // No changes allowed: SDL converts to whatever the hardware wants, so the mixer always works
    // in one format.
    id = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
    if (id == 0) {
      error = SDL_GetError();
      SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
  }
  std::lock_guard lock(out.mutex);
  out.device = id;
  out.error = error;
  out.opening = false;
  // SDL opens a device paused, so its callback starts only if the sound is still wanted: a
  // device that opens after the owner stopped stays silent and never calls back into it.
  if (id != 0 && out.wanted) {
    // From here on the callback mixes: it must never wait for music to be decoded.
    mixer.SetRealTime(true);
    SDL_PauseAudioDevice(id, 0);
  }
  out.settled.notify_all();
  return out.wanted ? error : std::string();
}

// The owner wants sound and a thread is about to open the device for it.
void StartOpening(SdlAudio::Output& out) {
  std::lock_guard lock(out.mutex);
  out.wanted = true;
  out.opening = true;
}

// Waits for a device being opened, then closes it (SDL waits for its audio thread there).
void CloseOutput(SdlAudio::Output& out) {
  std::unique_lock lock(out.mutex);
  out.wanted = false;
  out.settled.wait(lock, [&out] { return !out.opening; });
  if (out.device == 0) return;
  SDL_CloseAudioDevice(out.device);
  out.device = 0;
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
}
}  // namespace

SdlAudio::SdlAudio() : output_(std::make_shared<Output>()) {
  mixer_.FollowFrameClock(true);
}

SdlAudio::~SdlAudio() {
  Free();
  bool busy = false;
  {
    std::lock_guard lock(output_->mutex);
    busy = output_->device != 0 || output_->opening;
  }
  if (busy) {
    std::lock_guard lock(LeftOverMutex());
    LeftOvers().push_back(output_);
  }
}

bool SdlAudio::Init(int frequency) {
  if (started_) {
    std::lock_guard lock(output_->mutex);
    output_->wanted = true;
    if (output_->device != 0) SDL_PauseAudioDevice(output_->device, 0);
    return true;
  }
  started_ = true;
  StartOpening(*output_);
  return OpenDevice(*output_, frequency, &SdlAudio::Callback, this, mixer()).empty();
}

void SdlAudio::OpenInBackground(int frequency) {
  if (started_) return;
  started_ = true;
  StartOpening(*output_);
  // Nobody ever waits for this thread: it holds its own share of the device state, and the
  // callback it registers runs only while this object still wants sound (see Free()).
  std::thread([out = output_, frequency, self = this, &mixer = mixer()] {
    std::string error = OpenDevice(*out, frequency, &SdlAudio::Callback, self, mixer);
    if (!error.empty()) {
      std::fprintf(stderr, "morva: no sound device (%s); playing without sound\n", error.c_str());
    }
  }).detach();
}

bool SdlAudio::IsOpen() const {
  std::lock_guard lock(output_->mutex);
  return output_->device != 0;
}

std::string SdlAudio::Error() const {
  std::lock_guard lock(output_->mutex);
  return output_->error;
}

void SdlAudio::Advance(double ms) {
  // What the game reads keeps the frames' time whether or not a device plays, and whatever the
  // device's own pace; the device only plays it.
  AdvanceByClock(ms);
}

void SdlAudio::Free() {
  {
    std::lock_guard lock(output_->mutex);
    output_->wanted = false;
    // Pausing waits only for a callback that is running now, and no callback runs after it, so
    // the streams can go at once.
    if (output_->device != 0) SDL_PauseAudioDevice(output_->device, 1);
    // A device that failed to open is tried again by the next Init().
    if (output_->device == 0 && !output_->opening) started_ = false;
  }
  Clear();
}

void SdlAudio::Close() {
  Free();
  CloseOutput(*output_);
  started_ = false;
}

SdlAudio::Left SdlAudio::LeftOver() {
  std::lock_guard listLock(LeftOverMutex());
  Left left = Left::Nothing;
  for (const std::shared_ptr<Output>& out : LeftOvers()) {
    std::lock_guard lock(out->mutex);
    if (out->opening) return Left::StillOpening;
    if (out->device != 0) left = Left::OpenDevice;
  }
  return left;
}

void SdlAudio::CloseLeftOvers() {
  std::vector<std::shared_ptr<Output>> list;
  {
    std::lock_guard lock(LeftOverMutex());
    list.swap(LeftOvers());
  }
  for (const std::shared_ptr<Output>& out : list) CloseOutput(*out);
}

void SdlAudio::Callback(void* self, unsigned char* stream, int len) {
  auto* audio = static_cast<SdlAudio*>(self);
  size_t frames = static_cast<size_t>(len) / (2 * sizeof(int16_t));
  audio->mixer_.Mix(reinterpret_cast<int16_t*>(stream), frames);
}
