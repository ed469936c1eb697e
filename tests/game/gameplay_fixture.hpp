// A level built in the test: the program state on fake back ends, a map of the test's own, and
// units with definitions set by hand (no files), each with an animation object.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "app/game_state.hpp"
#include "app/input.hpp"
#include "test_support.hpp"

struct GameplayFixture : ::testing::Test {
  TempDir dir{::testing::UnitTest::GetInstance()->current_test_info()->name()};
  FakeBackends fake{dir.path()};

  // A map of width x height screens, all empty, with `frameMs` as the frame time.
  void Map(int width, int height, double frameMs = 10) {
    gameState.map.Width = width;
    gameState.map.Height = height;
    gameState.morva.frameTime = frameMs;
  }
  // Fills cells [cx0..cx1] x [cy0..cy1] with a value (1 solid, 2 ledge).
  void Fill(int cx0, int cy0, int cx1, int cy1, uint8_t value) {
    for (int cx = cx0; cx <= cx1; ++cx) {
      for (int cy = cy0; cy <= cy1; ++cy) gameState.map.Cells[cx][cy] = value;
    }
  }
  // Adds a unit with a 20 px wide body whose feet are 50 px below its reference point.
  Unit& Add(int kind, double x, double y, int life = 10) {
    int i = gameState.map.CharCount++;
    Unit& u = gameState.play.units[i];
    u.kind = kind;
    u.x = x;
    u.y = y;
    u.boxLeft = -10;
    u.boxTop = -40;
    u.boxRight = 10;
    u.boxBottom = 50;
    u.speed = 0.2;
    u.life = life;
    u.damage = 5;
    for (int e = 0; e < 19; ++e) u.anims[e] = {e * 10, 5, 0.1};
    u.anim = std::make_unique<cAnim>();
    u.activated = 1;
    u.inRange = 1;
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
