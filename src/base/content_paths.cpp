// Case-insensitive path resolution under the content root.
#include "base/content_paths.hpp"

#include <algorithm>
#include <cstdlib>

namespace fs = std::filesystem;

namespace {
bool EqualsIgnoreCase(const std::string& a, const std::string& b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; };
    return lower(x) == lower(y);
  });
}
}  // namespace

ContentPaths::ContentPaths(fs::path root) : root_(std::move(root)) {
  std::error_code ec;
  realRoot_ = fs::weakly_canonical(root_, ec);
  if (ec) realRoot_ = root_;
}

std::optional<std::vector<std::string>> ContentPaths::Split(const std::string& gamePath) {
  std::vector<std::string> parts;
  std::string part;
  auto flush = [&]() -> bool {
    if (part.empty() || part == ".") {
      part.clear();
      return true;
    }
    if (part == "..") return false;
    parts.push_back(part);
    part.clear();
    return true;
  };
  for (char c : gamePath) {
    if (c == '\\' || c == '/') {
      if (!flush()) return std::nullopt;
    } else if (c == '\0') {
      return std::nullopt;
    } else {
      part += c;
    }
  }
  if (!flush()) return std::nullopt;
  return parts;
}

const std::vector<std::string>& ContentPaths::Listing(const fs::path& dir) {
  auto it = listings_.find(dir);
  if (it != listings_.end()) return it->second;
  std::vector<std::string> names;
  std::error_code ec;
  for (fs::directory_iterator entries(dir, ec), end; !ec && entries != end; entries.increment(ec)) {
    names.push_back(entries->path().filename().string());
  }
  // Sorted so that, between two names differing only in case, the choice never depends on the
  // order the file system lists them in.
  std::sort(names.begin(), names.end());
  return listings_.emplace(dir, std::move(names)).first->second;
}

bool ContentPaths::WithinRealRoot(const fs::path& real) const {
  return std::mismatch(realRoot_.begin(), realRoot_.end(), real.begin(), real.end()).first ==
         realRoot_.end();
}

// Where a folder the resolver walks through really lies, found once: following every link on
// the way costs a system call per component.
const fs::path& ContentPaths::RealDir(const fs::path& dir) {
  auto it = realDirs_.find(dir);
  if (it != realDirs_.end()) return it->second;
  std::error_code ec;
  fs::path real = fs::canonical(dir, ec);
  if (ec) real.clear();
  return realDirs_.emplace(dir, std::move(real)).first->second;
}

bool ContentPaths::IsDirectory(const fs::path& path) {
  auto it = directories_.find(path);
  if (it != directories_.end()) return it->second;
  std::error_code ec;
  return directories_.emplace(path, fs::is_directory(path, ec)).first->second;
}

bool ContentPaths::InsideRoot(const fs::path& dir, const std::string& name) {
  const fs::path next = dir / name;
  std::error_code ec;
  const bool link = fs::is_symlink(next, ec);
  if (ec) return false;
  fs::path real;
  if (link) {
    real = fs::canonical(next, ec);
    if (ec) return false;  // a dangling link, or a loop
  } else {
    const fs::path& realDir = RealDir(dir);
    if (realDir.empty()) return false;
    real = realDir / name;
  }
  return WithinRealRoot(real);
}

void ContentPaths::Collect(const fs::path& dir, const std::vector<std::string>& parts,
                           std::size_t at, std::size_t limit, std::vector<std::string>& found) {
  const std::string& part = parts[at];
  std::vector<std::string> matches;
  for (const std::string& name : Listing(dir)) {
    if (name == part) {
      matches.insert(matches.begin(), name);
    } else if (EqualsIgnoreCase(name, part)) {
      matches.push_back(name);
    }
  }
  const bool last = at + 1 == parts.size();
  for (const std::string& name : matches) {
    if (found.size() >= limit) return;
    fs::path next = dir / name;
    std::error_code ec;
    if (last) {
      // What a link (anywhere on the way) leads out of the root to is no content.
      if (InsideRoot(dir, name)) found.push_back(next.string());
    } else if (IsDirectory(next)) {
      Collect(next, parts, at + 1, limit, found);
    }
  }
}

std::vector<std::string> ContentPaths::Candidates(const std::string& gamePath, std::size_t limit) {
  std::vector<std::string> found;
  auto parts = Split(gamePath);
  if (parts && !parts->empty() && limit > 0) Collect(root_, *parts, 0, limit, found);
  return found;
}

std::optional<std::string> ContentPaths::Resolve(const std::string& gamePath) {
  std::vector<std::string> found = Candidates(gamePath, 1);
  if (found.empty()) return std::nullopt;
  return found.front();
}

std::optional<std::vector<ContentPaths::Entry>> ContentPaths::List(const std::string& gamePath) {
  std::optional<std::string> dir = Resolve(gamePath);
  std::error_code ec;
  if (!dir || !fs::is_directory(*dir, ec)) return std::nullopt;
  std::vector<Entry> entries;
  for (fs::directory_iterator it(*dir, ec), end; !ec && it != end; it.increment(ec)) {
    std::error_code typeError;
    entries.push_back(Entry{it->path().filename().string(), it->is_directory(typeError)});
  }
  std::sort(entries.begin(), entries.end(),
            [](const Entry& a, const Entry& b) { return a.name < b.name; });
  return entries;
}

bool HasDataFolder(const fs::path& dir) {
  ContentPaths paths(dir);
  auto data = paths.Resolve("data");
  std::error_code ec;
  return data && fs::is_directory(*data, ec);
}

fs::path RunningExecutable() {
  std::error_code ec;
  fs::path self = fs::read_symlink("/proc/self/exe", ec);
  return ec ? fs::path() : self;
}

ContentSearch FindContentRoot(const std::optional<std::string>& rootOption,
                              const fs::path& executable) {
  ContentSearch search;
  std::vector<fs::path> seen;
  auto consider = [&](const fs::path& dir, const std::string& how) {
    // The same folder reached two ways (an install in its configured prefix) is tried once.
    std::error_code ec;
    fs::path same = fs::weakly_canonical(dir, ec);
    if (ec) same = dir;
    if (std::find(seen.begin(), seen.end(), same) != seen.end()) return false;
    seen.push_back(same);
    search.tried.push_back(how + ": " + dir.string());
    if (HasDataFolder(dir)) search.root = dir;
    return search.root.has_value();
  };
  if (rootOption) {
    consider(*rootOption, "--root");
    return search;
  }
  if (const char* env = std::getenv("MORVA_ROOT"); env && *env) {
    if (consider(env, "MORVA_ROOT")) return search;
  }
  std::error_code ec;
  if (consider(fs::current_path(ec), "working directory")) return search;
  if (!executable.empty() && executable.has_parent_path()) {
    fs::path beside = executable.parent_path().parent_path() / "share" / "morva";
    if (consider(beside.lexically_normal(), "beside the program")) return search;
  }
  consider(MORVA_INSTALL_CONTENT_DIR, "installed content");
  return search;
}
