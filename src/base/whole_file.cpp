// Whole files.
#include "base/whole_file.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <optional>
#include <string>

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

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = write(fd, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

// Makes a rename in `folder` survive a crash of the machine; where the file system cannot, the
// rename has still happened.
void SyncFolder(const fs::path& folder) {
  const int fd = open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  fsync(fd);
  close(fd);
}

// The permissions a newly created file gets: 0666 less the process's file mode mask (read
// without changing it, as another thread may be creating files).
mode_t NewFileMode() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("Umask:", 0) == 0) {
      return 0666 & ~static_cast<mode_t>(std::strtoul(line.c_str() + 6, nullptr, 8));
    }
  }
  return 0644;
}

}  // namespace

std::optional<std::string> ReadWholeFile(const fs::path& path, std::size_t limit,
                                         std::string* why) {
  std::string ignored;
  std::string& reason = why ? *why : ignored;
  // Opened without waiting, so a FIFO put in its place cannot block the open, and read only
  // when it is a regular file.
  const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    reason = std::strerror(errno);
    return std::nullopt;
  }
  struct stat info {};
  std::optional<std::string> bytes;
  if (fstat(fd, &info) != 0) {
    reason = std::strerror(errno);
  } else if (!S_ISREG(info.st_mode)) {
    reason = S_ISDIR(info.st_mode) ? "is a folder" : "not a regular file";
  } else {
    bytes.emplace();
    char buffer[1 << 16];
    while (bytes->size() < limit) {
      const ssize_t n = read(fd, buffer, std::min(sizeof buffer, limit - bytes->size()));
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) {
        reason = std::strerror(errno);
        bytes.reset();
        break;
      }
      if (n == 0) break;
      bytes->append(buffer, static_cast<std::size_t>(n));
    }
  }
  close(fd);
  return bytes;
}

std::string WriteWholeFile(const fs::path& path, std::string_view bytes) {
  std::optional<fs::path> linked = LinkTarget(path);
  if (!linked) return "too many levels of symbolic links";
  const fs::path& target = *linked;
  std::error_code ec;
  const fs::file_status status = fs::status(target, ec);
  if (fs::exists(status) && !fs::is_regular_file(status)) {
    return fs::is_directory(status) ? "it is a folder" : "it is not a regular file";
  }
  if (target.has_parent_path()) fs::create_directories(target.parent_path(), ec);
  // A temporary of its own in the same folder, made afresh (never one already there, nor one a
  // second instance of the program is writing), written whole and synced before it replaces the
  // file.
  std::string temp = target.string() + ".XXXXXX";
  const int fd = mkostemp(temp.data(), O_CLOEXEC);
  if (fd < 0) return std::strerror(errno);
  // The new file keeps the old one's permissions; a first one gets the usual ones.
  struct stat old {};
  const mode_t mode = stat(target.c_str(), &old) == 0 ? old.st_mode & 07777 : NewFileMode();
  const bool written = fchmod(fd, mode) == 0 && WriteAll(fd, bytes) && fsync(fd) == 0;
  const int writeError = errno;
  if (close(fd) != 0 || !written) {
    unlink(temp.c_str());
    return written ? "write failed" : std::strerror(writeError);
  }
  if (rename(temp.c_str(), target.c_str()) != 0) {
    const std::string reason = std::strerror(errno);
    unlink(temp.c_str());
    return reason;
  }
  SyncFolder(target.parent_path());
  return {};
}
