// The state as JSON, for tests and bug reports.
#pragma once

#include <cstdint>
#include <nlohmann/json.hpp>
#include <string>

nlohmann::ordered_json DumpState(int64_t frame);
// Writes the dump; false (with the reason on stderr) when the file cannot be written.
bool WriteStateDump(const std::string& path, int64_t frame);
