// The demo content's character bodies, for the tests and fuzz targets that build definitions like
// the demo's.
#pragma once

#include <cstdint>

#include "formats/character_record.hpp"

struct TestBody {
  int32_t left, top, right, bottom;
  double speed;
  int32_t life, damage;
};

// By unit kind: the player, the sentinel, the guard, the golem.
constexpr TestBody kDemoBodies[] = {
    {-14, -46, 14, 56, 0.24, 100, 10},
    {-22, -22, 22, 24, 0.14, 10, 8},
    {-15, -48, 15, 56, 0.11, 30, 7},
    {-34, -84, 34, 108, 0.05, 110, 20},
};

// A definition of `kind` with that body; its animations and sprite size left at their defaults.
inline CharacterRecord DefinitionWithBody(int kind, const TestBody& b) {
  CharacterRecord d;
  d.kind = kind;
  d.boxLeft = b.left;
  d.boxTop = b.top;
  d.boxRight = b.right;
  d.boxBottom = b.bottom;
  d.speed = b.speed;
  d.life = b.life;
  d.damage = b.damage;
  return d;
}
