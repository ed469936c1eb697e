// Folders of numbered frames (0.dxt, 1.dxt, ...) loaded into tables of texture names.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "base/types.hpp"

// The level map's size in screens: all this loader needs to know of the map, which it refuses
// to load frames without. The map loader sets it.
struct LevelMapSize {
  int32_t Width = 0;
  int32_t Height = 0;
};
inline LevelMapSize levelMapSize;

inline bool LevelMapLoaded() {
  return levelMapSize.Width != 0 && levelMapSize.Height != 0;
}

// Entries of `folder` matching the wildcard `pattern` (* and ?, any case) that are not folders.
int32_t CountFiles(const std::string& folder, const std::string& pattern);

// The folder of `path` is everything up to its last backslash: both "data\chars\guard\" and a
// file inside it name the folder. Frame n goes to textures[n]; entries past the frames are not
// written. Indices above `maxIndex` (or past the table) are fatal range errors.

// Needs a level map (else it says so, asks the program to close and loads nothing). As many
// numbers are tried as the folder holds *.dxt files; a missing number is marked with frameGap
// and costs no file, so the scan goes one number further. Should the scan reach the end of the
// table only because some *.dxt names are not frame numbers, it stops there with a message.
// Returns how many numbers were tried (frames and gaps): the first number past the folder's end.
int32_t LoadFrameSequence(const std::string& path, std::span<Texture> textures, int32_t maxIndex);

// Frames missing at a folder's end leave no gap to notice: when what uses the folder (`user`,
// for the message) shows frames up to `highestUsed` and the folder ended at `tried`, a line
// names the first picture that is not there.
void NoteFramesPastTheEnd(const std::string& path, int32_t tried, int32_t highestUsed,
                          const std::string& user);

// No map check and no gaps: numbers 0 .. count-1 all go to LoadDXT, so a missing number gives
// LoadDXT's message and the name 0.
// Returns how many numbers were loaded.
int32_t LoadFrameSequenceDense(const std::string& path, std::span<Texture> textures,
                               int32_t maxIndex);
