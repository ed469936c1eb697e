// Every file and folder the game opens, as the game spells it, with what each must hold.
#pragma once

#include <string>
#include <vector>

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

// The four character kinds: definition file and frame folder, in kind order.
struct CharacterFiles {
  const char* definition;
  const char* frames;
};
inline constexpr CharacterFiles kCharacterFiles[4] = {
    {"data\\chars\\ravik.pud", "data\\chars\\ravik\\"},
    {"data\\chars\\Sentinel.pud", "data\\chars\\Sentinel\\"},
    {"data\\chars\\guard.pud", "data\\chars\\guard\\"},
    {"data\\chars\\golam.pud", "data\\chars\\golam\\"},
};

inline constexpr char kLevelMapPath[] = "data\\levels\\level1\\level.mrv";
inline constexpr char kLevelFolder[] = "data\\levels\\level1\\";
