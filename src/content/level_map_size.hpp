// The level map's size in screens: all the frame-folder loader needs to know of the map, which
// refuses to load before a map is there.
#pragma once

#include <cstdint>

struct LevelMapSize {
  int32_t Width = 0;
  int32_t Height = 0;
};

inline LevelMapSize levelMapSize;

inline bool LevelMapLoaded() {
  return levelMapSize.Width != 0 && levelMapSize.Height != 0;
}
