// A simple player for the level, reading the game state each frame: it walks right, jumps walls,
// turns to enemies and strikes them with combos timed to behead guards and keep golems reeling,
// ducks the sentinels' shots and fires the power-up at them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "keys.hpp"

class LevelPolicy {
 public:
  // Decides this frame's keys from the state the previous frame left.
  void Act(int64_t frame, ScriptedKeys& keys);
  // Every enemy the player has met alive: come within reach of (sentinels: awake in the
  // processing window, where they fly at the player and shoot).
  const std::vector<bool>& Met() const { return met_; }

 private:
  struct Combo {
    std::vector<std::string> keys;
    size_t next = 0;
    int64_t nextFrame = 0;
    int target = 0;
    bool Running() const { return next < keys.size(); }
  };

  int NearestFoe() const;
  bool SentinelAboutToShoot() const;
  bool SentinelInRange() const;
  void NoteMet();
  bool HuntSentinel(int64_t frame, ScriptedKeys& keys);
  void Fight(int64_t frame, int foe, ScriptedKeys& keys);
  void Walk(int64_t frame, int foe, ScriptedKeys& keys);

  Combo combo_;
  int64_t nextComboFrame_ = 0;
  int64_t nextPowerUpFrame_ = 0;
  std::vector<bool> met_;
  double bestX_ = 0;
  int64_t bestXFrame_ = 0;
  int64_t waitFrom_ = 0;
  int64_t nextSentinelBlow_ = 0;
  double runUpFrom_ = -1;
  bool runUpBack_ = false;
};
