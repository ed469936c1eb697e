// Playing a level from its source file (--level): its mistakes are found before the window
// opens, and its own files (the map and the pictures) are compiled once into the per-user cache,
// keyed by the file's bytes and the game's version, to be laid over the content root.
#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>

// $XDG_CACHE_HOME/morva/levels (default ~/.cache/morva/levels).
std::filesystem::path LevelCacheRoot();
// The cache folder of a level source's bytes for this version of the game.
std::filesystem::path LevelCacheFolder(const std::string& sourceBytes);

// The level compiler, a program of its own (it links the drawing libraries the game does not):
// $MORVA_LEVEL_COMPILER, else mkcontent in tools/ beside the game (a build tree), else in
// ../libexec/morva/ beside it (an install). Nothing when none is there.
std::optional<std::filesystem::path> FindLevelCompiler(const std::filesystem::path& executable);

// How many compiled levels the cache keeps: each edit of a level that is played makes a new one.
constexpr std::size_t kLevelsKept = 16;
// Removes the compiled levels used longest ago beyond the `keep` most recent (a compile still
// being written, or cut off, has no marker and is left alone).
void PruneLevelCache(std::size_t keep);

struct PreparedLevel {
  std::optional<std::filesystem::path> folder;  // to lay over the content root
  bool compiled = false;                        // compiled in this run (false: the cache had it)
  // Why the level cannot be played, in lines that each name the file; `status` is the exit
  // status: 2 for a mistake in the level, 3 when it could not be compiled or stored.
  std::string error;
  int status = 0;
};

// Checks the level source `file` and finds or makes its cache folder.
PreparedLevel PrepareLevel(const std::filesystem::path& file,
                           const std::filesystem::path& executable);
