// What a level that parses may still get wrong, for the editor's message panel: a character
// inside rock, an item no jump reaches, a wall no jump gets past. Each problem names the line of
// the file and the place in the level it is about.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "formats/level_source.hpp"

struct LevelProblem {
  int line = -1;  // line index in the source, from 0 (-1: the level as a whole)
  int32_t x = 0;  // where in the level, world px
  int32_t y = 0;
  std::string message;
  bool operator==(const LevelProblem&) const = default;
};

// A kind's body around its reference point, px, as its definition gives it.
struct BodyBox {
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;
  int32_t bottom = 0;  // the feet
};
// The bodies of the player, the sentinel, the guard and the golem.
using KindBodies = std::array<BodyBox, 4>;

// The problems in the order of the file's lines, the way past the walls last.
std::vector<LevelProblem> CheckPlacement(const LevelSource& source, const LevelSourceLines& lines,
                                         const KindBodies& bodies);

// Everything the editor's panel lists: what the level compiler refuses, then what the game
// cannot play in the compiled map (as the content checker says it), then the placement problems.
std::vector<LevelProblem> CheckLevel(const LevelSource& source, const LevelSourceLines& lines,
                                     const KindBodies& bodies);
