// The command line.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

struct ProgramOptions {
  std::optional<std::string> root;
  std::optional<std::string> config;
  bool windowed = false;
  bool headless = false;
  int64_t frames = 0;  // 0: until quit
  std::optional<double> frameMs;
  std::optional<uint32_t> seed;
  std::optional<std::string> input;
  std::optional<std::string> dumpState;
  std::optional<std::string> screenshot;
  std::optional<std::string> record;
  bool help = false;
  bool version = false;
};

struct ParseResult {
  std::optional<ProgramOptions> options;  // empty on error
  std::string error;
};

ParseResult ParseCommandLine(int argc, const char* const* argv);
const char* UsageText();
