// Level source files: the check, the cache key and folder, and running the level compiler.
#include "app/level_file.hpp"

#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <utility>
#include <vector>

#include "app/child_process.hpp"
#include "base/whole_file.hpp"
#include "editing/level_source.hpp"
#include "ui/config.hpp"

namespace fs = std::filesystem;

namespace {

// Written last into a finished cache folder: a folder without it is a compile that was cut off.
// Its time is the folder's last use.
constexpr char kDoneMarker[] = ".complete";

// FNV-1a, 64 bits: the cache key only has to tell level files apart, not resist forgery.
uint64_t Fnv1a(const std::string& bytes, uint64_t hash = 0xcbf29ce484222325ULL) {
  for (unsigned char c : bytes) {
    hash ^= c;
    hash *= 0x100000001b3ULL;
  }
  return hash;
}

// Runs the compiler into `out`; its own messages go to the game's stderr.
bool RunCompiler(const fs::path& compiler, const fs::path& out, const fs::path& file) {
  std::optional<pid_t> pid =
      StartProgram({compiler.string(), out.string(), "--level", file.string(), "--level-only"});
  return pid && WaitForProgram(*pid);
}

PreparedLevel Failure(int status, std::string error) {
  PreparedLevel result;
  result.status = status;
  result.error = std::move(error);
  return result;
}

// Compiles into a folder of its own, then moves it into place whole, so two games starting the
// same level, or a compile cut off, never leave a half-written folder where the cache looks.
PreparedLevel Compile(const fs::path& file, const fs::path& folder, const fs::path& executable) {
  std::optional<fs::path> compiler = FindLevelCompiler(executable);
  const std::string name = file.string();
  if (!compiler) {
    return Failure(3, name +
                          ": the level compiler (mkcontent) was not found beside the game; "
                          "set MORVA_LEVEL_COMPILER to it");
  }
  std::error_code ec;
  fs::create_directories(folder.parent_path(), ec);
  fs::path work = folder;
  work += ".part-" + std::to_string(getpid());
  fs::remove_all(work, ec);
  if (!RunCompiler(*compiler, work, fs::absolute(file, ec))) {
    fs::remove_all(work, ec);
    return Failure(3, name + ": the level compiler " + compiler->string() + " failed");
  }
  std::ofstream(work / kDoneMarker).put('\n');
  // A folder without the marker is a compile that was cut off before it was moved.
  if (!fs::exists(folder / kDoneMarker, ec)) fs::remove_all(folder, ec);
  fs::rename(work, folder, ec);
  // Another game may have finished the same folder first: then its copy is as good.
  if (ec && !fs::exists(folder / kDoneMarker)) {
    fs::remove_all(work, ec);
    return Failure(3, name + ": the compiled level could not be stored in " + folder.string());
  }
  fs::remove_all(work, ec);
  PruneLevelCache(kLevelsKept);
  PreparedLevel result;
  result.folder = folder;
  result.compiled = true;
  return result;
}

}  // namespace

void PruneLevelCache(std::size_t keep) {
  std::error_code ec;
  std::vector<std::pair<fs::file_time_type, fs::path>> finished;
  for (fs::directory_iterator it(LevelCacheRoot(), ec), end; !ec && it != end; it.increment(ec)) {
    std::error_code timeError;
    const auto used = fs::last_write_time(it->path() / kDoneMarker, timeError);
    if (!timeError) finished.emplace_back(used, it->path());
  }
  if (finished.size() <= keep) return;
  std::sort(finished.begin(), finished.end(), std::greater<>());
  for (std::size_t i = keep; i < finished.size(); ++i) fs::remove_all(finished[i].second, ec);
}

fs::path LevelCacheRoot() {
  return XdgDir("XDG_CACHE_HOME", ".cache") / "levels";
}

fs::path LevelCacheFolder(const std::string& sourceBytes) {
  const uint64_t key = Fnv1a(MORVA_VERSION, Fnv1a(sourceBytes));
  char hex[17];
  std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(key));
  return LevelCacheRoot() / hex;
}

std::optional<fs::path> FindLevelCompiler(const fs::path& executable) {
  std::error_code ec;
  auto usable = [&](const fs::path& p) {
    return fs::is_regular_file(p, ec) && access(p.c_str(), X_OK) == 0;
  };
  if (const char* named = std::getenv("MORVA_LEVEL_COMPILER"); named && *named) {
    return usable(named) ? std::optional<fs::path>(named) : std::nullopt;
  }
  const fs::path dir = executable.parent_path();
  for (const fs::path& p :
       {dir / "tools" / "mkcontent", dir / ".." / "libexec" / "morva" / "mkcontent"}) {
    if (usable(p)) return p.lexically_normal();
  }
  return std::nullopt;
}

PreparedLevel PrepareLevel(const fs::path& file, const fs::path& executable) {
  const std::string name = file.string();
  std::optional<std::string> bytes = ReadWholeFile(file);
  if (!bytes) return Failure(2, name + ": cannot read the level file");
  LevelSourceParse parsed = ParseLevelSource(*bytes);
  if (!parsed.source) return Failure(2, JoinMistakes(parsed.mistakes, name + ": "));
  LevelCompile compiled = CompileLevel(*parsed.source);
  if (!compiled.map) return Failure(2, name + ": " + compiled.error);
  const fs::path folder = LevelCacheFolder(*bytes);
  std::error_code ec;
  if (fs::exists(folder / kDoneMarker, ec)) {
    fs::last_write_time(folder / kDoneMarker, fs::file_time_type::clock::now(), ec);
    PreparedLevel result;
    result.folder = folder;
    return result;
  }
  return Compile(file, folder, executable);
}
