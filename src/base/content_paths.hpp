// Finds the game's files: the content root, and a case-insensitive resolver for the game's
// backslashed, mixed-case paths ("DATA\levels\LEVEL1\bg.dx").
#pragma once

#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class ContentPaths {
 public:
  explicit ContentPaths(std::filesystem::path root);
  ~ContentPaths();
  ContentPaths(const ContentPaths&) = delete;
  ContentPaths& operator=(const ContentPaths&) = delete;

  const std::filesystem::path& Root() const { return root_; }

  // Lays a level's own files over the root from `levelRoot` (a level played from its source
  // file): its map, data\levels\level1\level.mrv, and its pictures, the numbered *.dxt files of
  // that folder, are looked for there alone, by the same rules; everything else stays the root's.
  void SetLevelOverlay(std::filesystem::path levelRoot);
  // The folder laid over the root, or none.
  const std::filesystem::path* LevelOverlay() const { return level_ ? &level_->root_ : nullptr; }

  // The file or folder a game path names, or nothing when it does not exist, climbs out of the
  // root (also through a symbolic link), or is empty. The first of Candidates.
  std::optional<std::string> Resolve(const std::string& gamePath);
  // Every file or folder the path may name, in the order to try them: at each step the entry
  // spelt exactly as asked, then the other spellings in sorted order, each followed only as far
  // as the rest of the path resolves (an empty "GUI" beside "gui" hides nothing). Loaders try
  // them in turn and keep the first that loads. At most `limit`.
  std::vector<std::string> Candidates(const std::string& gamePath, std::size_t limit = 8);
  bool Exists(const std::string& gamePath) { return Resolve(gamePath).has_value(); }
  // Whether the path is missing only because a symbolic link on its way leads out of the root.
  bool LeadsOutside(const std::string& gamePath);
  // Whether the path names a regular file (what the folder's listing says, a link followed).
  bool IsFile(const std::string& gamePath);

  // The entries of the folder a game path names, as the resolver sees them (its listing is read
  // once, until ClearCache), sorted by name; nothing when the path names no folder.
  struct Entry {
    std::string name;
    bool isDirectory = false;
  };
  std::optional<std::vector<Entry>> List(const std::string& gamePath);

  // Splits a game path into its components; ".." makes it invalid (nothing returned).
  static std::optional<std::vector<std::string>> Split(const std::string& gamePath);
  // Whether a path's components name the level's folder, or one of the level's own files in it.
  static bool IsLevelFolder(const std::vector<std::string>& parts);
  static bool IsLevelOwnFile(const std::vector<std::string>& parts);

  // Forgets cached listings (after content has been written by the program itself).
  void ClearCache() {
    listings_.clear();
    insideDirs_.clear();
    directories_.clear();
    if (level_) level_->ClearCache();
  }

 private:
  // A folder's entry, its name in lower case, and what the listing says it is (a symbolic link
  // also where that could not be told).
  struct Listed {
    std::string name;
    std::string lower;
    bool link = false;
    bool directory = false;
    bool file = false;  // a regular file
  };
  // Sorted by the lower-case name, then the name: every spelling of a name lies together.
  const std::vector<Listed>& Listing(const std::string& dir);
  // This root's own listing of the folder a game path names.
  std::optional<std::vector<Entry>> ListHere(const std::string& gamePath);
  // A file or folder found, and whether it is a regular file.
  struct Found {
    std::string path;
    bool file = false;
  };
  std::vector<Found> Find(const std::string& gamePath, std::size_t limit);
  // `outsideToo`: also what lies outside the root (to tell why a path is missing).
  void Collect(const std::string& dir, const std::vector<std::string>& parts, std::size_t at,
               std::size_t limit, std::vector<Found>& found, bool outsideToo = false);
  bool DirInsideRoot(const std::string& dir);
  bool IsDirectory(const std::string& path, const Listed& entry);
  bool InsideRoot(const std::string& dir, const Listed& entry);
  bool WithinRealRoot(const std::filesystem::path& real) const;

  std::filesystem::path root_;
  std::filesystem::path realRoot_;  // the root with every symbolic link followed
  // Keyed by the folder's path as written (comparing whole strings is cheaper than paths).
  std::map<std::string, std::vector<Listed>> listings_;
  std::map<std::string, bool> insideDirs_;
  std::map<std::string, bool> directories_;
  std::unique_ptr<ContentPaths> level_;
};

// Where the content was looked for, and where it was found.
struct ContentSearch {
  std::optional<std::filesystem::path> root;
  std::vector<std::string> tried;
};

// The program's own file (from /proc/self/exe); empty when it cannot be told.
std::filesystem::path RunningExecutable();

// First of: the --root option, $MORVA_ROOT, the working directory when it holds a data folder,
// MORVA_CONTENT_FROM_PROGRAM (../share/morva by default) from the folder of `executable` (a
// relocated install or an unpacked archive), the installed content folder. A candidate counts
// only when it holds a "data" folder (any case).
ContentSearch FindContentRoot(const std::optional<std::string>& rootOption,
                              const std::filesystem::path& executable = RunningExecutable());

// True when `dir` holds a folder named "data" in any case.
bool HasDataFolder(const std::filesystem::path& dir);
