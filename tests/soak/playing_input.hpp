// The soak's player: the scripted player's policy plays the level, with random noise over it
// (keys mashed and held, pauses, focus lost and regained, uneven time steps); through the intro,
// the menu and the statistics screen it takes the shortest way back into the level.
#pragma once

#include <cstdint>
#include <deque>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "level_policy.hpp"
#include "soak_input.hpp"

class PlayingInput : public SoakInput {
 public:
  explicit PlayingInput(uint32_t seed);
  void NextFrame(std::deque<Event>& out, double& stepMs) override;

 private:
  bool Chance(double p) { return std::uniform_real_distribution<>(0, 1)(random_) < p; }
  int Between(int low, int high) { return std::uniform_int_distribution<>(low, high)(random_); }
  // A key pressed now and let go `frames` later.
  void Press(const std::string& key, int frames, std::deque<Event>& out);
  void ReleaseDue(std::deque<Event>& out);
  void Play(std::deque<Event>& out);
  void Noise(std::deque<Event>& out);
  void FrontEnd(std::deque<Event>& out);
  void NoteLevelChanges();

  std::mt19937 random_;
  LevelPolicy policy_;
  ScriptedKeys keys_;
  std::vector<std::pair<int64_t, Event>> releases_;  // frame, key-up event
  int64_t policyFrom_ = 0;                           // the policy's level began then
  int64_t clickFrame_ = -1;                          // a click under way began then
  int64_t screenFrame_ = 0;                          // the screen shown now came then
  int64_t focusBackFrame_ = -1;                      // unfocused until then
  int screen_ = -1;
  bool finished_ = false;
  bool inGame_ = false;
};
