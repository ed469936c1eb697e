// Folders of numbered frames (0.dxt, 1.dxt, ...) loaded into tables of texture names.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "app/game_state.hpp"

// Stored for a frame number whose file does not exist; readers of a frame table skip it. No
// renderer ever hands out this texture name.
constexpr Texture frameGap = 5555;

// Entries of `folder` matching the wildcard `pattern` (* and ?, any case) that are not folders.
int32_t CountFiles(const std::string& folder, const std::string& pattern);

// The folder of `path` is everything up to its last backslash: both "data\chars\guard\" and a
// file inside it name the folder. Frame n goes to textures[n]; entries past the frames are not
// written. Indices above `maxIndex` (or past the table) are fatal range errors.

// Needs a level map (else it says so, asks the program to close and loads nothing). As many
// numbers are tried as the folder holds *.dxt files; a missing number is marked with frameGap
// and costs no file, so the scan goes one number further. Should the scan reach the end of the
// table only because some *.dxt names are not frame numbers, it stops there with a message.
void LoadFrameSequence(const std::string& path, std::span<Texture> textures, int32_t maxIndex);

// No map check and no gaps: numbers 0 .. count-1 all go to LoadDXT, so a missing number gives
// LoadDXT's message and the name 0.
void LoadFrameSequenceDense(const std::string& path, std::span<Texture> textures, int32_t maxIndex);
