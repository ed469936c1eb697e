// What a level that parses may still get wrong, for the editor's message panel: a character
// inside rock, an item no jump reaches, a wall no jump gets past. Each problem names the line of
// the file and the place in the level it is about.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "editing/level_source.hpp"
#include "game/kinds.hpp"

struct LevelProblem {
  int line = -1;  // line index in the source, from 0 (-1: the level as a whole)
  int32_t x = 0;  // where in the level, world px
  int32_t y = 0;
  std::string message;
  bool operator==(const LevelProblem&) const = default;
};

// Each kind's body, as its definition gives it, by kind.
using KindBodies = std::array<BodyBox, kKindSlots>;
// The bodies the kinds' rows give for content whose definitions cannot be read.
KindBodies DemoBodies();

// The problems in the order of the file's lines, the way past the walls last.
std::vector<LevelProblem> CheckPlacement(const LevelSource& source, const LevelSourceLines& lines,
                                         const KindBodies& bodies);

// Everything the editor's panel lists: what the level compiler refuses, then what the game
// cannot play in the compiled map (as the content checker says it), then the placement problems.
std::vector<LevelProblem> CheckLevel(const LevelSource& source, const LevelSourceLines& lines,
                                     const KindBodies& bodies);
