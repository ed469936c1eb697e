// Runs the real program headless on the front-end test content with an input script, and reads
// back its state dump and draw list.
#pragma once

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "test_support.hpp"
#include "ui/ui_content.hpp"

struct UiGame {
  TempDir dir{std::string("ui_game_") +
              ::testing::UnitTest::GetInstance()->current_test_info()->name()};
  RunResult last;
  // The front-end content made for the test; a test may run on the demo content instead.
  std::string root = "content";

  explicit UiGame(uint32_t clickBytes = 44400) {
    uicontent::WriteFrontEndContent(dir / "content", clickBytes);
  }

  // Runs `frames` frames of 10 ms with the script; the dump is of the state after the last one.
  // Every run starts from the default settings.
  nlohmann::json Run(const std::string& script, int frames) {
    std::filesystem::remove(UserConfigFile(dir.path()));
    WriteFile(dir / "in.txt", script);
    last = RunGame({"--headless", "--frames", std::to_string(frames), "--frame-ms", "10", "--root",
                    root, "--input", "in.txt", "--dump-state", "state.json"},
                   dir.path());
    EXPECT_EQ(last.status, 0) << last.output;
    return nlohmann::json::parse(ReadFile(dir / "state.json"));
  }
};

// Script lines: a key tap that ends the intro at frame 1, and a left click.
inline std::string SkipIntro() {
  return "1 text a\n";
}
inline std::string Click(int frame, int x, int y, int heldFrames = 2) {
  return std::to_string(frame) + " mouse move " + std::to_string(x) + " " + std::to_string(y) +
         "\n" + std::to_string(frame) + " mouse down left\n" + std::to_string(frame + heldFrames) +
         " mouse up left\n";
}

// The drawn quads and texts of a dump's last frame.
inline bool Drew(const nlohmann::json& state, const std::string& texturePath) {
  for (const auto& d : state["drawList"]) {
    // Lines have no texture.
    if (d.value("texturePath", "") == texturePath) return true;
  }
  return false;
}
inline bool WroteText(const nlohmann::json& state, const std::string& text) {
  for (const auto& d : state["drawList"]) {
    if (d["op"] == "text" && d["text"] == text) return true;
  }
  return false;
}
