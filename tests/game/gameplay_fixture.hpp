// A test level of plain bodies on an empty content folder, as a test fixture.
#pragma once

#include <gtest/gtest.h>

#include "app/input.hpp"
#include "game/test_level.hpp"

struct GameplayFixture : ::testing::Test, TestLevel {
  GameplayFixture() : TestLevel(Bodies::Plain) {}

  // A plain body of `kind` at (x, y) with `life`.
  Unit& Add(int kind, double x, double y, int life = 10) {
    Unit& u = TestLevel::Add(kind, x, y);
    u.life = life;
    return u;
  }
  // Presses (or releases) the input state for the next step, as the input component would.
  static void Hold(int state, bool down = true) {
    if (down) {
      DXInput1.States.set(state);
    } else {
      DXInput1.States.reset(state);
    }
  }
};
