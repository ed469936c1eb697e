// Items: loading, the pick-up square, and the flight up after a pick-up.
#include "game/items.hpp"

#include <algorithm>
#include <memory>

#include "audio/sound.hpp"
#include "base/measures.hpp"
#include "base/messages.hpp"
#include "game/play_state.hpp"
#include "gfx/load.hpp"

namespace {

constexpr int32_t kLifePerItem = 30;
constexpr int32_t kLifeCap = 100;
// A picked item flies up 1 px per ms for a second.
constexpr double kFlightSeconds = 1.0;
constexpr int32_t kItemSize = 50;

bool InPickUpSquare(const MapPoint& item, const Unit& p) {
  return item.x - kPickUpReach < p.x && p.x < item.x + kPickUpReach &&
         item.y - kPickUpReach < p.y && p.y < item.y + kPickUpReach;
}

void PickUp(GamePlay& play, cItem& item, Unit& p) {
  if (item.picked) return;
  if (item.kind == kItemLifeKind) {
    p.life += kLifePerItem;
    item.picked = 1;
    p.life = std::min(p.life, kLifeCap);
  } else if (item.kind == kItemPowerUpKind) {
    item.picked = 1;
    play.powerUpCharges += 1;
  }
}

}  // namespace

void cItem::Clear() {
  pickTime = 0;
}

void cItem::Fly(double frameMs, uint8_t volume) {
  if (!picked) return;
  if (pickTime >= kFlightSeconds) {
    gone = 1;
    pickTime = 0;
    rise = 0;
    return;
  }
  if (pickTime == 0) cSND::SetPosition(sound, 0);
  pickTime += Seconds(frameMs);
  rise -= frameMs;
  cSND::Play(sound, volume, false);
}

void LoadItems(ItemState& state, const LevelMap& map) {
  for (uint8_t kind : {kItemLifeKind, kItemPowerUpKind}) {
    state.textures[kind] = cLoad::LoadDXT(kItemPicturePaths[kind]);
  }
  for (uint8_t kind : {kItemLifeKind, kItemPowerUpKind}) {
    cSND::Open(kItemSoundPaths[kind], state.sounds[kind]);
  }
  for (int k = 0; k < map.ItemCount; ++k) {
    auto& slot = At(state.items, static_cast<std::size_t>(k), "item");
    slot = std::make_unique<cItem>();
    slot->width = kItemSize;
    slot->height = kItemSize;
    slot->kind = map.ItemType[k];
    slot->texture = At(state.textures, slot->kind, "item kind");
    slot->sound = state.sounds[slot->kind];
    slot->Clear();
  }
}

cItem* LiveItem(ItemState& state, int i) {
  cItem* item = At(state.items, static_cast<std::size_t>(i), "item").get();
  return item && !item->gone ? item : nullptr;
}

// A dying player takes nothing: a life item would revive it into an endless slow motion.
void PickUpItem(GamePlay& play, cItem& item, const MapPoint& at) {
  Unit& p = play.units[0];
  if (p.life >= 1 && InPickUpSquare(at, p)) PickUp(play, item, p);
}
