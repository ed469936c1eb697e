// The sound wrapper through which all music and effects play.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/types.hpp"

void BASS_Init();
void BASS_Free();

class cSND {
 public:
  static void Open(const std::string& path, SoundHandle& handle);
  // The sounds Open will be asked for next, in that order (a level's, while its pictures load):
  // decoded ahead where the device can.
  static void Prefetch(const std::vector<std::string>& paths);
  // Plays (or keeps playing) from where the stream is; with `loop` a finished stream is rewound
  // so that the next call starts it again.
  static void Play(SoundHandle handle, uint8_t volume, bool loop);
  // As Play without loop; `playing` becomes 0 once the stream has reached its end.
  static void PlayReport(SoundHandle handle, uint8_t volume, uint8_t& playing);
  static void Stop(SoundHandle handle);
  // The stream has reached its end (a handle of 0 always has).
  static bool Ended(SoundHandle handle);
  static uint32_t Length(SoundHandle handle);
  static uint32_t Position(SoundHandle handle);
  static void SetPosition(SoundHandle handle, uint32_t position);
};
