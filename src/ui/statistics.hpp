// The statistics screen at the end of the level: time, points, kills against totals, heads,
// seven-blow combos, the BINGO marks and the rank.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "base/types.hpp"
#include "base/unit_kinds.hpp"

struct LevelStats;
struct SceneFrame;

// What the screen keeps for the whole run: its picture and the enemies of the level, counted
// once on the first visit.
struct StatisticsScreen {
  Texture background = 0;
  std::array<uint8_t, kKindSlots> totals{};  // by kind, for the kinds whose kills are counted
  uint8_t headsTotal = 0;                    // units of the kinds that lose their heads
  uint8_t fullCombosTotal = 0;               // units of the kinds that count full combos
};
extern StatisticsScreen statisticsScreen;

// The rank line's words ("rank            HEADMASTER" and so on), or empty when none applies.
// BORN TO KILL is drawn in two parts and reads "rank " here.
std::string RankText(const LevelStats& stats, const StatisticsScreen& totals);
// Draws the screen from the level's frame; Escape (the frame's input) leaves it for the menu,
// the level staying finished.
void RunStatistics(const SceneFrame& s);
void ResetStatistics();
