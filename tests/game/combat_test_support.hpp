// Fights: a test level of the demo content's bodies on the demo content, and an audio device that
// counts how often each sound is heard to its end.
#pragma once

#include <map>
#include <memory>
#include <string>

#include "app/game_state.hpp"
#include "audio/headless_audio.hpp"
#include "game/test_level.hpp"
#include "test_support.hpp"

// Counts how often each sound is heard through to its end: a sound rewound again and again
// while it begins is still heard once, one stopped halfway is not heard through.
class CountingAudio : public HeadlessAudio {
 public:
  void Advance(double ms) override;
  bool Playing(uint32_t handle) const;
  int Ends(uint32_t handle) const;
  void ResetCounts() { ends_.clear(); }

 private:
  std::map<uint32_t, int> ends_;
};

// A test level of 4 x 2 screens with the demo content's bodies (the player facing right, with
// 100 life and 10 damage), its sounds on the counting device.
class Fight : public TestLevel {
 public:
  Fight();
  ~Fight();

  // Opens the unit and comment sounds of the demo content on the counting device.
  void LoadSounds();
  // One frame's worth of audio time.
  void AdvanceAudio(double ms = 10) { audio.Advance(ms); }

  CountingAudio audio;
};

// Gives the guard or golem the strike or blow animation shown at `picture`.
void ShowPicture(Unit& u, int animIndex, int picture);
