// Running espeak-ng and reading the WAV it prints.
#include "mkcontent/voice.hpp"

#include <cstdio>
#include <cstring>
#include <vector>

namespace {

// Only letters, digits, spaces and plain punctuation reach the shell.
bool Safe(const std::string& s) {
  for (char c : s) {
    if (!(std::isalnum(static_cast<unsigned char>(c)) || std::strchr(" !?.,'-+", c))) return false;
  }
  return true;
}

std::optional<Samples> ParseWav(const std::vector<unsigned char>& b) {
  if (b.size() < 44 || std::memcmp(b.data(), "RIFF", 4) != 0) return std::nullopt;
  int rate = 0, channels = 1, bits = 16;
  std::size_t pos = 12;
  while (pos + 8 <= b.size()) {
    uint32_t size =
        b[pos + 4] | b[pos + 5] << 8 | b[pos + 6] << 16 | static_cast<uint32_t>(b[pos + 7]) << 24;
    if (std::memcmp(&b[pos], "fmt ", 4) == 0 && pos + 24 <= b.size()) {
      channels = b[pos + 10] | b[pos + 11] << 8;
      rate = static_cast<int>(b[pos + 12] | b[pos + 13] << 8 | b[pos + 14] << 16 |
                              static_cast<uint32_t>(b[pos + 15]) << 24);
      bits = b[pos + 22] | b[pos + 23] << 8;
    } else if (std::memcmp(&b[pos], "data", 4) == 0) {
      // espeak writing to a pipe cannot go back to fill in the size: take what is there.
      std::size_t start = pos + 8;
      std::size_t end =
          (size == 0 || size == 0xFFFFFFFFu || start + size > b.size()) ? b.size() : start + size;
      if (bits != 16 || channels != 1 || rate <= 0) return std::nullopt;
      Samples s;
      for (std::size_t i = start; i + 1 < end; i += 2) {
        s.push_back(static_cast<int16_t>(b[i] | b[i + 1] << 8) / 32768.0f);
      }
      return Resample(s, rate);
    }
    pos += 8 + size + (size & 1);
  }
  return std::nullopt;
}

}  // namespace

std::optional<Samples> Speak(const std::string& text, const std::string& voice, int pitch,
                             int speed) {
  if (!Safe(text) || !Safe(voice)) return std::nullopt;
  std::string command = "espeak-ng --stdout -v " + voice + " -p " + std::to_string(pitch) + " -s " +
                        std::to_string(speed) + " '" + text + "' 2>/dev/null";
  std::FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return std::nullopt;
  std::vector<unsigned char> bytes;
  unsigned char buf[8192];
  for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, pipe)) > 0;)
    bytes.insert(bytes.end(), buf, buf + n);
  if (pclose(pipe) != 0) return std::nullopt;
  return ParseWav(bytes);
}
