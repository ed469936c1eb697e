// Hand-built fights: a player and enemies with the demo content's bodies, placed by the test on
// fake back ends, and an audio device that counts how often each sound is heard to its end.
#pragma once

#include <map>
#include <memory>
#include <string>

#include "app/game_state.hpp"
#include "audio/headless_audio.hpp"
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

// A level of hand-built units: slot 0 the player, the enemies in the order added. Every unit is
// awake, in range and has its own animation object.
class Fight {
 public:
  Fight();
  ~Fight();
  Fight(const Fight&) = delete;
  Fight& operator=(const Fight&) = delete;

  // The player at (x, y) facing right, with 100 life and 10 damage.
  Unit& Player(double x, double y);
  // An enemy of `kind` with the demo content's body, speed, life and damage.
  Unit& Add(int kind, double x, double y);
  // Opens the unit and comment sounds of the demo content on the counting device.
  void LoadSounds();
  // One frame's worth of audio time.
  void AdvanceAudio(double ms = 10) { audio.Advance(ms); }

  std::unique_ptr<FakeBackends> fake;
  CountingAudio audio;
};

// Gives the guard or golem the strike or blow animation shown at `picture`.
void ShowPicture(Unit& u, int animIndex, int picture);
