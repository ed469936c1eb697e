// Fuzz target: a sound file opened and played to its end through the game's mixer, as WAV or
// MP3 alike (the decoder is chosen by the first bytes, as for any file the game opens).
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "audio/mixer.hpp"
#include "base/messages.hpp"
#include "fuzz_check.hpp"

namespace {
const std::string& SoundFile() {
  static const std::string path = [] {
    auto dir =
        std::filesystem::temp_directory_path() / ("morva_fuzz_sound_" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    return (dir / "sound.wav").string();
  }();
  return path;
}
// A fuzzed header may state hours; a few seconds of playing covers every decoding path.
constexpr size_t kMixFrames = 4096;
constexpr int kMaxMixCalls = 64;
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // A new file each time: truncating the old one makes ext4 flush it to disk on close.
  std::error_code ec;
  std::filesystem::remove(SoundFile(), ec);
  {
    std::ofstream out(SoundFile(), std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }
  // The messages a refused or cut file leaves are dropped after each input: kept, they grow
  // without end and make every input look like a leak to the fuzzer.
  struct ForgetMessages {
    ~ForgetMessages() { std::vector<ShownMessage>().swap(shownMessages); }
  } forget;
  Mixer mixer;
  uint32_t handle = mixer.Open("sound.wav", SoundFile());
  if (handle == 0) return 0;
  uint64_t length = mixer.Length(handle);
  FuzzCheck(length > 0 && length <= UINT32_MAX, "an opened sound has a length");
  mixer.Play(handle, true);
  static int16_t out[kMixFrames * 2];
  for (int i = 0; i < kMaxMixCalls && mixer.Position(handle) < length; ++i) {
    mixer.Mix(out, kMixFrames);
  }
  FuzzCheck(mixer.Position(handle) <= length, "play stops at the length");
  // Half-way and back again, as the game positions sounds.
  mixer.SetPosition(handle, length / 2);
  mixer.Mix(out, kMixFrames);
  mixer.SetPosition(handle, 0);
  mixer.Mix(out, kMixFrames);
  return 0;
}
