// Running the real game into a level: the demo content with a level map of the test's own, and
// the input that gets from the intro through the menu's Start.
#pragma once

#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "formats/level_map_file.hpp"
#include "test_support.hpp"

// A content tree made of hard links to the demo content (cheap, and inside the root), in which
// files can be replaced or removed without touching the demo content.
class ContentCopy {
 public:
  explicit ContentCopy(const std::filesystem::path& root);
  const std::filesystem::path& root() const { return root_; }
  // Replaces the level map with one made by the test.
  void SetLevelMap(const LevelMapFile& map);
  void Remove(const std::string& relative);

 private:
  std::filesystem::path root_;
};

// A map of `width` x `height` screens with a solid floor in the bottom three rows of cells: its
// top lies 30 px above the map's bottom edge.
LevelMapFile FloorMap(int width, int height);
void AddCharacter(LevelMapFile& map, uint8_t kind, uint8_t activation, int32_t x, int32_t y);
void AddItem(LevelMapFile& map, uint8_t kind, int32_t x, int32_t y);

// The first frame on which the level runs when the script starts with StartLevelScript().
constexpr int kLevelFirstFrame = 40;
// Intro ended with a key, then the menu's Start clicked.
std::string StartLevelScript();
// One script line: `event` before frame `frame`.
std::string At(int frame, const std::string& event);

struct LevelRun {
  int status = -1;
  std::string output;
  nlohmann::json state;
};
// Runs the binary headless at 10 ms steps for `frames` frames with the script; the state dump
// is parsed into `state`.
LevelRun RunLevelGame(const std::filesystem::path& workDir, const std::filesystem::path& root,
                      const std::string& script, int frames);

// Draw-list entries of one operation ("anim", "quad", ...), optionally from one texture path.
int CountDraws(const nlohmann::json& state, const std::string& op,
               const std::string& pathPart = "");
