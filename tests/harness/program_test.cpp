// Whole runs of the program on the fake back ends: what a failed start-up leaves behind.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "app/program.hpp"
#include "test_support.hpp"

namespace fs = std::filesystem;

TEST(ProgramRun, AStartUpWithoutAContextEndsWithStatusFourAndStillDumpsTheState) {
  TempDir dir{"program_no_context"};
  fs::create_directories(dir / "data");
  HeadlessPlatform platform;
  platform.contextAvailable = false;
  RecorderRenderer renderer;
  HeadlessAudio audio;
  ProgramOptions options;
  options.root = dir.path().string();
  options.config = (dir / "config.dat").string();
  options.dumpState = (dir / "state.json").string();
  options.headless = true;
  options.frameMs = 10;

  EXPECT_EQ(RunProgram(options, platform, renderer, audio), 4);
  auto state = nlohmann::json::parse(ReadFile(dir / "state.json"));
  ASSERT_EQ(state["messages"].size(), 1u);
  EXPECT_EQ(state["messages"][0]["caption"], "Error");
  EXPECT_EQ(state["frame"], 0);
  // The shutdown ran: the desktop's gamma ramp is back.
  EXPECT_FALSE(platform.hasContext);
}

TEST(ProgramRun, FileNamesThatAreNotUtf8DoNotBreakTheDump) {
  TempDir dir{"program_latin1"};
  fs::create_directories(dir / "data");
  HeadlessPlatform platform;
  RecorderRenderer renderer;
  HeadlessAudio audio;
  ProgramOptions options;
  // A content root whose name is not valid UTF-8 ends up in the no-content message, and the
  // dump shows the byte replaced.
  options.root = (dir / "bad\xE9name").string();
  options.dumpState = (dir / "state.json").string();
  EXPECT_EQ(RunProgram(options, platform, renderer, audio), 3);
  auto state = nlohmann::json::parse(ReadFile(dir / "state.json"));
  ASSERT_EQ(state["messages"].size(), 1u);
  std::string text = state["messages"][0]["text"];
  EXPECT_NE(text.find("bad\xEF\xBF\xBDname"), std::string::npos) << text;
}
