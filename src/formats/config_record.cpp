// Byte layout of config.dat.
#include "formats/config_record.hpp"

Settings DefaultSettings() {
  Settings s;
  s.musicVolume = 30;
  s.soundVolume = 30;
  s.gamma = 255;
  s.displayMode = -1;
  s.showBlood = 1;
  return s;
}

ConfigRecord EncodeSettings(const Settings& settings) {
  ConfigRecord r{};
  r[0] = settings.musicVolume;
  r[1] = settings.soundVolume;
  r[2] = settings.gamma;
  auto mode = static_cast<uint32_t>(settings.displayMode);
  for (int i = 0; i < 4; ++i) r[4 + i] = static_cast<uint8_t>(mode >> (8 * i));
  r[8] = settings.showBlood;
  return r;
}

Settings DecodeSettings(std::span<const uint8_t, kConfigRecordSize> bytes) {
  Settings s;
  s.musicVolume = bytes[0];
  s.soundVolume = bytes[1];
  s.gamma = bytes[2];
  uint32_t mode = 0;
  for (int i = 0; i < 4; ++i) mode |= static_cast<uint32_t>(bytes[4 + i]) << (8 * i);
  s.displayMode = static_cast<int32_t>(mode);
  s.showBlood = bytes[8];
  return s;
}
