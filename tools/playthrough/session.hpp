// The whole scripted session: the intro and the menu's Start, the level, the statistics screen,
// Escape to the menu and Start again.
#pragma once

#include <cstdint>
#include <deque>
#include <string>

#include "app/platform.hpp"
#include "game/play_state.hpp"
#include "keys.hpp"
#include "level_policy.hpp"

class PlaythroughSession {
 public:
  // PLAYTHROUGH_TRACE=N prints the units every N frames of the level.
  PlaythroughSession();
  // The input events to apply before the given frame runs.
  std::deque<Event> Plan(int64_t frame);
  // The whole way: every enemy met, a head taken, the statistics shown, the level started again.
  bool Succeeded() const;
  // What happened: the statistics, who was met, the frames of each step.
  std::string Report() const;
  // The statistics as the level ended, for the replay test to expect.
  std::string Expectation() const;

 private:
  enum class Phase { Start, Level, Statistics, Menu, Again, Done };
  void Script(int64_t frame, int64_t at, const std::string& words);
  void StepPhase(int64_t frame);
  void Trace(int64_t frame) const;
  int trace_ = 0;

  Phase phase_ = Phase::Start;
  int64_t phaseFrame_ = 0;
  ScriptedKeys keys_;
  LevelPolicy policy_;
  std::deque<Event> out_;
  LevelStats stats_;
  int64_t statsFrame_ = -1;
  int64_t menuFrame_ = -1;
  int64_t againFrame_ = -1;
  bool restarted_ = false;
};
