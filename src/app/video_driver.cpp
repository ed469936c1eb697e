// The check for video drivers that show nothing.
#include "app/video_driver.hpp"

#include <array>

namespace {
constexpr std::array<std::string_view, 2> kUnseenDrivers = {"offscreen", "dummy"};

char Lower(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
}

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (Lower(a[i]) != Lower(b[i])) return false;
  }
  return true;
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

bool Named(std::string_view driver, std::string_view requested) {
  while (!requested.empty()) {
    size_t comma = requested.find(',');
    if (SameName(Trim(requested.substr(0, comma)), driver)) return true;
    if (comma == std::string_view::npos) break;
    requested.remove_prefix(comma + 1);
  }
  return false;
}
}  // namespace

std::optional<std::string> UnseenDriverReason(std::string_view driver, const char* requested) {
  bool unseen = false;
  for (std::string_view name : kUnseenDrivers) unseen = unseen || SameName(driver, name);
  if (!unseen || (requested && Named(driver, requested))) return std::nullopt;
  return "no display: no window system could be reached (SDL would draw with its \"" +
         std::string(driver) + "\" video driver, which shows nothing)";
}

const char* NoDisplayAdvice() {
  return "Start the game in a desktop session (DISPLAY or WAYLAND_DISPLAY set).\n"
         "Without a display: morva --headless runs without a window, sound or picture;\n"
         "xvfb-run -a morva --windowed runs it in a virtual X server; and\n"
         "SDL_VIDEODRIVER=offscreen morva draws without showing anything.\n";
}
