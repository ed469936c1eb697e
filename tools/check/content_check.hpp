// Checks a content tree against every path the game opens: does it resolve, does it parse.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

struct CheckResult {
  std::string gamePath;
  bool ok = true;
  std::string note;  // what was found, or what is wrong
};

// One result per game path, in the order the game opens them.
std::vector<CheckResult> CheckContent(const std::filesystem::path& root);
