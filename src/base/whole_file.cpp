// Whole files.
#include "base/whole_file.hpp"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <optional>
#include <sstream>

std::optional<std::string> ReadWholeFile(const std::filesystem::path& path) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) return std::nullopt;
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream bytes;
  bytes << in.rdbuf();
  if (in.bad()) return std::nullopt;
  return bytes.str();
}

namespace {
namespace fs = std::filesystem;

// Where a chain of symbolic links ends, whether or not a file is there; the path itself when it
// is no link. Nothing for a loop (after as many steps as the system would follow).
std::optional<fs::path> LinkTarget(fs::path path) {
  constexpr int kMaxLinks = 40;
  std::error_code ec;
  for (int i = 0; i < kMaxLinks; ++i) {
    if (!fs::is_symlink(path, ec)) return path;
    fs::path next = fs::read_symlink(path, ec);
    if (ec) return std::nullopt;
    path = next.is_absolute() ? next : path.parent_path() / next;
  }
  return std::nullopt;
}

}  // namespace

std::string WriteWholeFile(const fs::path& path, std::string_view bytes) {
  std::optional<fs::path> linked = LinkTarget(path);
  if (!linked) return "too many levels of symbolic links";
  const fs::path& target = *linked;
  std::error_code ec;
  if (target.has_parent_path()) fs::create_directories(target.parent_path(), ec);
  fs::path temp = target;
  temp += ".tmp";
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    if (!out) return std::strerror(errno);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.flush();
    if (!out) {
      out.close();
      fs::remove(temp, ec);
      return "write failed";
    }
  }
  fs::rename(temp, target, ec);
  if (ec) {
    std::string reason = ec.message();
    fs::remove(temp, ec);
    return reason;
  }
  return {};
}
