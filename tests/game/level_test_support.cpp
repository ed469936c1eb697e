// Helpers for running the real game into a level.
#include "game/level_test_support.hpp"

#include <fstream>

namespace fs = std::filesystem;
using nlohmann::json;

ContentCopy::ContentCopy(const fs::path& root) : root_(root) {
  fs::remove_all(root_);
  fs::create_directories(root_);
  fs::copy(fs::path(MORVA_TEST_CONTENT) / "data", root_ / "data",
           fs::copy_options::recursive | fs::copy_options::create_hard_links);
}

void ContentCopy::SetLevelMap(const LevelMapFile& map) {
  std::vector<uint8_t> bytes = EncodeLevelMap(map);
  fs::path file = root_ / "data" / "levels" / "level1" / "level.mrv";
  fs::remove(file);
  std::ofstream(file, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
}

void ContentCopy::Remove(const std::string& relative) {
  fs::remove(root_ / relative);
}

LevelMapFile FloorMap(int width, int height) {
  LevelMapFile map;
  map.Resize(width, height);
  // Three rows: a unit standing on it probes 20 px below its feet.
  for (int cx = 0; cx < map.Columns(); ++cx) {
    for (int cy = map.Rows() - 3; cy < map.Rows(); ++cy) map.SetCell(cx, cy, 1);
  }
  return map;
}

void AddCharacter(LevelMapFile& map, uint8_t kind, uint8_t activation, int32_t x, int32_t y) {
  map.CharType.push_back(kind);
  map.CharActivation.push_back(activation);
  map.CharPos.push_back({x, y});
}

void AddItem(LevelMapFile& map, uint8_t kind, int32_t x, int32_t y) {
  map.ItemType.push_back(kind);
  map.ItemPos.push_back({x, y});
}

std::string StartLevelScript() {
  // The intro ends on a character key; Start is the second menu button (x 335..435, y 190..225),
  // and a click acts once its release has been held for 0.1 s.
  return "10 key down Space\n"
         "12 key up Space\n"
         "20 mouse move 385 207\n"
         "22 mouse down left\n"
         "24 mouse up left\n";
}

std::string At(int frame, const std::string& event) {
  return std::to_string(frame) + " " + event + "\n";
}

LevelRun RunLevelGame(const fs::path& workDir, const fs::path& root, const std::string& script,
                      int frames) {
  WriteFile(workDir / "in.txt", script);
  fs::remove(workDir / "state.json");
  RunResult r =
      RunGame({"--headless", "--frames", std::to_string(frames), "--frame-ms", "10", "--seed", "7",
               "--root", root.string(), "--input", "in.txt", "--dump-state", "state.json"},
              workDir);
  LevelRun run{r.status, r.output, json()};
  std::string text = ReadFile(workDir / "state.json");
  if (!text.empty()) run.state = json::parse(text);
  return run;
}

int CountDraws(const json& state, const std::string& op, const std::string& pathPart) {
  int n = 0;
  for (const json& d : state["drawList"]) {
    if (d["op"] != op) continue;
    if (!pathPart.empty()) {
      std::string path = d.value("texturePath", "");
      if (path.find(pathPart) == std::string::npos) continue;
    }
    ++n;
  }
  return n;
}
