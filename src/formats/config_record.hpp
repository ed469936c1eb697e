// The 12-byte little-endian record of config.dat.
#pragma once

#include <array>
#include <cstdint>
#include <span>

// The player's settings, mirrored byte for byte by config.dat.
struct Settings {
  uint8_t musicVolume = 0;
  uint8_t soundVolume = 0;
  uint8_t gamma = 0;
  int32_t displayMode = 0;
  uint8_t showBlood = 0;
};

constexpr std::size_t kConfigRecordSize = 12;
using ConfigRecord = std::array<uint8_t, kConfigRecordSize>;

// 30, 30, 255, -1, 1: the settings of a first run.
Settings DefaultSettings();

// Padding bytes are written as 0.
ConfigRecord EncodeSettings(const Settings& settings);
// Reads the first 12 bytes; padding is ignored and no value is checked.
Settings DecodeSettings(std::span<const uint8_t, kConfigRecordSize> bytes);
