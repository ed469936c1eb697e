// Case-insensitive path resolution under the content root.
#include "base/content_paths.hpp"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <iterator>
#include <string_view>
#include <tuple>

namespace fs = std::filesystem;

namespace {
// ASCII letters only: the game's paths compare alike in any locale.
char LowerAscii(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
}

bool EqualsIgnoreCase(const std::string& a, const std::string& b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](char x, char y) { return LowerAscii(x) == LowerAscii(y); });
}

// A directory entry's kind (DT_DIR, DT_REG, DT_LNK, ...) from the file system, DT_UNKNOWN when it
// cannot be looked at.
unsigned char KindOf(const std::string& path) {
  struct stat info {};
  if (lstat(path.c_str(), &info) != 0) return DT_UNKNOWN;
  if (S_ISLNK(info.st_mode)) return DT_LNK;
  if (S_ISDIR(info.st_mode)) return DT_DIR;
  return S_ISREG(info.st_mode) ? DT_REG : DT_UNKNOWN;
}

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), LowerAscii);
  return text;
}

bool EndsWithIgnoreCase(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && EqualsIgnoreCase(text.substr(text.size() - end.size()), end);
}

// The level's map, or one of its numbered pictures ("12.dxt").
bool IsLevelOwnName(const std::string& name) {
  if (EqualsIgnoreCase(name, "level.mrv")) return true;
  if (!EndsWithIgnoreCase(name, ".dxt") || name.size() == 4) return false;
  return std::all_of(name.begin(), name.end() - 4, [](char c) { return c >= '0' && c <= '9'; });
}
}  // namespace

ContentPaths::ContentPaths(fs::path root) : root_(std::move(root)) {
  std::error_code ec;
  realRoot_ = fs::weakly_canonical(root_, ec);
  if (ec) realRoot_ = root_;
}

ContentPaths::~ContentPaths() = default;

void ContentPaths::SetLevelOverlay(fs::path levelRoot) {
  level_ = std::make_unique<ContentPaths>(std::move(levelRoot));
}

bool ContentPaths::IsLevelFolder(const std::vector<std::string>& parts) {
  return parts.size() == 3 && EqualsIgnoreCase(parts[0], "data") &&
         EqualsIgnoreCase(parts[1], "levels") && EqualsIgnoreCase(parts[2], "level1");
}

bool ContentPaths::IsLevelOwnFile(const std::vector<std::string>& parts) {
  return parts.size() == 4 && IsLevelFolder({parts.begin(), parts.begin() + 3}) &&
         IsLevelOwnName(parts[3]);
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

const std::vector<ContentPaths::Listed>& ContentPaths::Listing(const std::string& dir) {
  auto it = listings_.find(dir);
  if (it != listings_.end()) return it->second;
  std::vector<Listed> names;
  if (DIR* folder = opendir(dir.c_str())) {
    while (const dirent* entry = readdir(folder)) {
      const std::string_view name = entry->d_name;
      if (name == "." || name == "..") continue;
      // The kind comes with the listing on most file systems, without a call per entry; where it
      // does not, the entry is looked at once more.
      unsigned char type = entry->d_type;
      if (type == DT_UNKNOWN) type = KindOf(dir + '/' + entry->d_name);
      const bool link = type == DT_LNK || type == DT_UNKNOWN;
      names.push_back(Listed{std::string(name), Lower(std::string(name)), link, type == DT_DIR,
                             type == DT_REG});
    }
    closedir(folder);
  }
  // Sorted so that, between two names differing only in case, the choice never depends on the
  // order the file system lists them in.
  std::sort(names.begin(), names.end(), [](const Listed& a, const Listed& b) {
    return std::tie(a.lower, a.name) < std::tie(b.lower, b.name);
  });
  return listings_.emplace(dir, std::move(names)).first->second;
}

bool ContentPaths::WithinRealRoot(const fs::path& real) const {
  return std::mismatch(realRoot_.begin(), realRoot_.end(), real.begin(), real.end()).first ==
         realRoot_.end();
}

// Whether a folder the resolver walks through really lies inside the root, found once:
// following every link on the way costs a system call per component.
bool ContentPaths::DirInsideRoot(const std::string& dir) {
  auto it = insideDirs_.find(dir);
  if (it != insideDirs_.end()) return it->second;
  std::error_code ec;
  fs::path real = fs::canonical(dir, ec);
  return insideDirs_.emplace(dir, !ec && WithinRealRoot(real)).first->second;
}

bool ContentPaths::IsDirectory(const std::string& path, const Listed& entry) {
  // A link is followed to see what it leads to; anything else is what its listing said.
  if (!entry.link) return entry.directory;
  auto it = directories_.find(path);
  if (it != directories_.end()) return it->second;
  std::error_code ec;
  return directories_.emplace(path, fs::is_directory(path, ec)).first->second;
}

bool ContentPaths::InsideRoot(const std::string& dir, const Listed& entry) {
  // What is not a link lies where its folder really lies.
  if (!entry.link) return DirInsideRoot(dir);
  std::error_code ec;
  fs::path real = fs::canonical(dir + '/' + entry.name, ec);
  if (ec) return false;  // a dangling link, or a loop
  return WithinRealRoot(real);
}

void ContentPaths::Collect(const std::string& dir, const std::vector<std::string>& parts,
                           std::size_t at, std::size_t limit, std::vector<Found>& found,
                           bool outsideToo) {
  const std::string& part = parts[at];
  const std::vector<Listed>& listing = Listing(dir);
  const std::string lower = Lower(part);
  auto spelling =
      std::lower_bound(listing.begin(), listing.end(), lower,
                       [](const Listed& e, const std::string& key) { return e.lower < key; });
  // The spelling asked for first, then the others in sorted order.
  std::vector<const Listed*> matches;
  for (; spelling != listing.end() && spelling->lower == lower; ++spelling) {
    if (spelling->name == part) {
      matches.insert(matches.begin(), &*spelling);
    } else {
      matches.push_back(&*spelling);
    }
  }
  const bool lastPart = at + 1 == parts.size();
  for (const Listed* entry : matches) {
    if (found.size() >= limit) return;
    std::string next = dir + '/' + entry->name;
    if (lastPart) {
      // What a link (anywhere on the way) leads out of the root to is no content.
      if (!outsideToo && !InsideRoot(dir, *entry)) continue;
      std::error_code ec;
      const bool file = entry->link ? fs::is_regular_file(next, ec) : entry->file;
      found.push_back({std::move(next), file});
    } else if (IsDirectory(next, *entry)) {
      Collect(next, parts, at + 1, limit, found, outsideToo);
    }
  }
}

std::vector<ContentPaths::Found> ContentPaths::Find(const std::string& gamePath,
                                                    std::size_t limit) {
  std::vector<Found> found;
  auto parts = Split(gamePath);
  if (level_ && parts && IsLevelOwnFile(*parts)) return level_->Find(gamePath, limit);
  if (parts && !parts->empty() && limit > 0) Collect(root_.string(), *parts, 0, limit, found);
  return found;
}

bool ContentPaths::LeadsOutside(const std::string& gamePath) {
  if (!Find(gamePath, 1).empty()) return false;
  auto parts = Split(gamePath);
  if (level_ && parts && IsLevelOwnFile(*parts)) return level_->LeadsOutside(gamePath);
  std::vector<Found> found;
  if (parts && !parts->empty()) Collect(root_.string(), *parts, 0, 1, found, true);
  std::error_code ec;
  return !found.empty() && fs::exists(found[0].path, ec);  // not a dangling link
}

std::vector<std::string> ContentPaths::Candidates(const std::string& gamePath, std::size_t limit) {
  std::vector<std::string> paths;
  for (Found& f : Find(gamePath, limit)) paths.push_back(std::move(f.path));
  return paths;
}

std::optional<std::string> ContentPaths::Resolve(const std::string& gamePath) {
  std::vector<Found> found = Find(gamePath, 1);
  if (found.empty()) return std::nullopt;
  return std::move(found.front().path);
}

bool ContentPaths::IsFile(const std::string& gamePath) {
  std::vector<Found> found = Find(gamePath, 1);
  return !found.empty() && found.front().file;
}

std::optional<std::vector<ContentPaths::Entry>> ContentPaths::List(const std::string& gamePath) {
  auto parts = Split(gamePath);
  if (!level_ || !parts || !IsLevelFolder(*parts)) return ListHere(gamePath);
  // The level's folder: the root's entries but the level's own, then the overlay's own ones.
  auto here = ListHere(gamePath);
  auto laid = level_->ListHere(gamePath);
  if (!here && !laid) return std::nullopt;
  std::vector<Entry> entries;
  auto own = [](const Entry& e) { return !e.isDirectory && IsLevelOwnName(e.name); };
  if (here) std::copy_if(here->begin(), here->end(), std::back_inserter(entries), std::not_fn(own));
  if (laid) std::copy_if(laid->begin(), laid->end(), std::back_inserter(entries), own);
  std::sort(entries.begin(), entries.end(),
            [](const Entry& a, const Entry& b) { return a.name < b.name; });
  return entries;
}

std::optional<std::vector<ContentPaths::Entry>> ContentPaths::ListHere(
    const std::string& gamePath) {
  std::optional<std::string> dir = Resolve(gamePath);
  std::error_code ec;
  if (!dir || !fs::is_directory(*dir, ec)) return std::nullopt;
  // The listing the resolver reads too: what is counted there is what it finds.
  std::vector<Entry> entries;
  for (const Listed& listed : Listing(*dir)) {
    entries.push_back(Entry{listed.name, IsDirectory(*dir + '/' + listed.name, listed)});
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
    fs::path beside = executable.parent_path() / MORVA_CONTENT_FROM_PROGRAM;
    if (consider(beside.lexically_normal(), "beside the program")) return search;
  }
  consider(MORVA_INSTALL_CONTENT_DIR, "installed content");
  return search;
}
