// Items lying in the level: life and power-up pick-ups, their table, loading and per-frame step.
#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "base/types.hpp"
#include "content/level_map.hpp"

// The level keeps at most 100 items; textures and sounds are kept per kind in 8 slots.
constexpr int kMaxItems = 100;
constexpr int kItemKindSlots = 8;

enum ItemKind : uint8_t { kItemLifeKind = 0, kItemPowerUpKind = 1 };
// The item kinds' pictures and sounds, by kind.
inline constexpr const char* kItemPicturePaths[] = {"data\\items\\life.dxt",
                                                    "data\\items\\MFL.dxt"};
inline constexpr const char* kItemSoundPaths[] = {"data\\sounds\\items\\life.wav",
                                                  "data\\sounds\\items\\MFL.wav"};

class cItem {
 public:
  double pickTime = 0;  // seconds since the pick-up (0..1)
  double rise = 0;      // px the item has flown up since
  uint8_t kind = 0;
  int32_t width = 50;
  int32_t height = 50;
  uint8_t picked = 0;
  uint8_t gone = 0;
  Texture texture = 0;
  SoundHandle sound = 0;

  void Clear();
  // A picked item flies up by a frame of `frameMs`, playing its sound at `volume`; a second after
  // the pick-up it is gone.
  void Fly(double frameMs, uint8_t volume);
};

struct ItemState {
  std::array<std::unique_ptr<cItem>, kMaxItems> items;
  std::array<Texture, kItemKindSlots> textures{};
  std::array<SoundHandle, kItemKindSlots> sounds{};
};

// The two item pictures and sounds, and one item per item of the map.
void LoadItems(ItemState& state, const LevelMap& map);
// Item i of the level, unless it is missing or gone.
cItem* LiveItem(ItemState& state, int i);
struct GamePlay;
// The player standing in its pick-up square at `at` takes the live `item`.
void PickUpItem(GamePlay& play, cItem& item, const MapPoint& at);
