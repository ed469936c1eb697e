// How the game's tests build a level, the way the game builds one: the program state on fake back
// ends; a level source (its grid in the level's characters, its characters) compiled by the level
// compiler and stored as the level load stores a map; each character made by the content's own
// unit creation from its kind's definition. Characters are awake and in range at once.
#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "app/game_state.hpp"
#include "editing/level_source.hpp"
#include "test_support.hpp"

// The definitions the characters get: the demo content's bodies, speeds, life and damage (with
// the guard's strike and the golem's blows), or plain ones: 20 px wide bodies whose feet are
// 50 px below the reference point, speed 0.2, life 10, damage 5, every animation five pictures.
enum class Bodies { Demo, Plain };

class TestLevel {
 public:
  // On the content at `root`, or on an empty content folder named after the test.
  explicit TestLevel(Bodies bodies, std::optional<std::filesystem::path> root = {});
  ~TestLevel();
  TestLevel(const TestLevel&) = delete;
  TestLevel& operator=(const TestLevel&) = delete;

  // A level of width x height screens of empty space, `frameMs` per frame.
  void Map(int width, int height, double frameMs = 10);
  // Paints collision cells [cx0..cx1] x [cy0..cy1] (10 px each) of the grid: 0 empty, 1 stone,
  // 2 a plank ledge; the level is compiled again.
  void Fill(int cx0, int cy0, int cx1, int cy1, uint8_t value);
  // The player alone, at (x, y): every character added before is gone.
  Unit& Player(double x, double y);
  // A character of `kind` at (x, y), after those added before.
  Unit& Add(int kind, double x, double y);

 private:
  std::unique_ptr<TempDir> emptyRoot_;  // made before the back ends, removed after them

 public:
  std::unique_ptr<FakeBackends> fake;

 private:
  // Compiles the source and stores the map into the program state.
  void Compile();

  LevelSource source_;
};
