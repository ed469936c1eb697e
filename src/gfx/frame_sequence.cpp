// Frame-folder loading.
#include "gfx/frame_sequence.hpp"

#include <algorithm>
#include <filesystem>
#include <optional>

#include "base/backends.hpp"
#include "base/content_paths.hpp"
#include "base/messages.hpp"
#include "formats/texture_container.hpp"
#include "gfx/load.hpp"

namespace {
char Lower(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
}

bool WildcardMatch(const char* pattern, const char* name) {
  for (; *pattern; ++pattern, ++name) {
    if (*pattern == '*') {
      for (const char* rest = name;; ++rest) {
        if (WildcardMatch(pattern + 1, rest)) return true;
        if (!*rest) return false;
      }
    }
    if (!*name || (*pattern != '?' && Lower(*pattern) != Lower(*name))) return false;
  }
  return !*name;
}

std::string FolderOf(const std::string& path) {
  std::size_t cut = path.find_last_of("\\/");
  if (cut == std::string::npos) FatalRangeError("frame folder path without a backslash: " + path);
  return path.substr(0, cut + 1);
}

std::string FrameName(const std::string& folder, int32_t n) {
  return folder + std::to_string(n) + ".dxt";
}

bool FileExists(const std::string& gamePath) {
  return backends.content->IsFile(gamePath);
}

// The frame number a file name stands for ("12.dxt" is 12), or nothing.
std::optional<int64_t> FrameNumber(const std::string& name) {
  std::size_t dot = name.size() >= 4 ? name.size() - 4 : 0;
  if (dot == 0 || !WildcardMatch(".dxt", name.c_str() + dot) || dot > 9) return std::nullopt;
  int64_t n = 0;
  for (std::size_t i = 0; i < dot; ++i) {
    if (name[i] < '0' || name[i] > '9') return std::nullopt;
    n = n * 10 + (name[i] - '0');
  }
  return n;
}

// The highest frame number among the folder's files, or -1.
int64_t HighestFrame(const std::string& folder) {
  int64_t highest = -1;
  auto entries = backends.content->List(folder);
  if (!entries) return highest;
  for (const auto& e : *entries) {
    auto n = FrameNumber(e.name);
    if (!e.isDirectory && n) highest = std::max(highest, *n);
  }
  return highest;
}

// Whether the folder's pictures so far hold more texture data than any folder may; then says so.
bool OverTheFolderLimit(const std::string& dir, std::size_t loaded, int32_t n) {
  if (loaded <= kMaxFrameFolderBytes) return false;
  ShowMessage("Load unit", "Frame folder " + dir + " holds more than " +
                               std::to_string(kMaxFrameFolderBytes >> 20) +
                               " MiB of pictures; loading stopped after frame " +
                               std::to_string(n) + ".");
  return true;
}

Texture& Slot(std::span<Texture> textures, int32_t n, int32_t maxIndex, const std::string& dir) {
  if (n > maxIndex) {
    FatalRangeError("frame folder " + dir + ": frame " + std::to_string(n) +
                    " above the highest index " + std::to_string(maxIndex));
  }
  return At(textures, static_cast<std::size_t>(n), "frame");
}
}  // namespace

int32_t CountFiles(const std::string& folder, const std::string& pattern) {
  std::string search = folder + "\\" + pattern;
  std::size_t cut = search.find_last_of("\\/");
  std::string dir = search.substr(0, cut);
  std::string wildcard = search.substr(cut + 1);
  auto entries = backends.content->List(dir);
  if (!entries) return 0;
  int32_t count = 0;
  for (const auto& e : *entries) {
    if (e.isDirectory || e.name == "." || e.name == "..") continue;
    if (WildcardMatch(wildcard.c_str(), e.name.c_str())) ++count;
  }
  return count;
}

int32_t LoadFrameSequence(const std::string& path, std::span<Texture> textures, int32_t maxIndex) {
  std::string dir = FolderOf(path);
  int32_t total = CountFiles(dir, "*.dxt");
  std::size_t loaded = 0;
  if (!LevelMapLoaded()) {
    ShowMessage("MORVA",
                "map.width or map.Heigt = 0 - MRV iel\xE2"
                "de aptur\xE7ta!");
    windowCloseRequested = true;
    closeStatus = 3;
    return 0;
  }
  const int64_t highest = HighestFrame(dir);
  for (int32_t n = 0; n < total; ++n) {
    // Past the table with no frame numbered beyond it: the table is not too small, the count
    // took in files with other names.
    if (n > maxIndex && highest <= maxIndex) {
      // The count includes names that are no frame numbers; every number left is a gap.
      ShowMessage("Load unit", "Frame folder " + dir +
                                   " holds *.dxt files not named by frame numbers; loading "
                                   "stopped after frame " +
                                   std::to_string(maxIndex) + ".");
      return n;
    }
    Texture& slot = Slot(textures, n, maxIndex, dir);
    std::string name = FrameName(dir, n);
    if (FileExists(name)) {
      slot = cLoad::LoadDXT(name, &loaded);
      if (OverTheFolderLimit(dir, loaded, n)) return n + 1;
    } else {
      slot = frameGap;
      ++total;
      // Past the last frame the box below tells why the count went further.
      if (n > highest) continue;
      // A gap is how the folder format leaves a picture out, but a frame that went missing
      // looks the same: a line (never a box) says which one, so a damaged install can be told.
      NoteMessageUtf8("Load unit", "Frame folder " + Cp1257ToUtf8(dir) + " has no " +
                                       std::to_string(n) + ".dxt (" + Cp1257ToUtf8(name) +
                                       "): that picture is left empty.");
    }
  }
  return total;
}

void NoteFramesPastTheEnd(const std::string& path, int32_t tried, int32_t highestUsed,
                          const std::string& user) {
  if (tried > highestUsed) return;
  std::string dir = FolderOf(path);
  NoteMessageUtf8("Load unit", "Frame folder " + Cp1257ToUtf8(dir) + " gave no picture from " +
                                   std::to_string(tried) + ".dxt (" +
                                   Cp1257ToUtf8(FrameName(dir, tried)) + ") on, but " + user +
                                   " shows frames up to " + std::to_string(highestUsed) +
                                   ": those pictures are left empty.");
}

int32_t LoadFrameSequenceDense(const std::string& path, std::span<Texture> textures,
                               int32_t maxIndex) {
  std::string dir = FolderOf(path);
  int32_t total = CountFiles(dir, "*.dxt");
  std::size_t loaded = 0;
  for (int32_t n = 0; n < total; ++n) {
    Slot(textures, n, maxIndex, dir) = cLoad::LoadDXT(FrameName(dir, n), &loaded);
    if (OverTheFolderLimit(dir, loaded, n)) return n + 1;
  }
  return total;
}
