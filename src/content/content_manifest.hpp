// Every file and folder the game opens, as the game spells it, with what each must hold. The
// level load's part is made from the same names the load opens: the kinds' rows and the level's
// paths.
#pragma once

#include <string>
#include <vector>

#include "content/level_paths.hpp"

enum class AssetKind {
  Container,    // compressed texture (.dxt, .dx)
  Targa,        // uncompressed 32-bit Targa
  Jpeg,         // any JPEG
  LevelMap,     // .mrv
  Definition,   // .pud
  Wave,         // WAV effect, 44100 Hz
  Mp3,          // music
  FrameFolder,  // numbered containers 0.dxt, 1.dxt, ...
};

struct Asset {
  std::string gamePath;  // backslashes and mixed case, as the game asks for it
  AssetKind kind;
  // Frame folders: the frames that must at least be there (the level picture and the
  // characters' folders are measured against the map and the definitions instead).
  int minFrames = 0;
};

// In the order the game first opens them.
const std::vector<Asset>& GameAssets();

// The one spelling content is written with: lower case, forward slashes.
std::string DiskPath(const std::string& gamePath);
