// Items.
#include "game/items.hpp"

// Not built yet: the level has no items.
void cItem::Clear() {
  pickTime = 0;
}
void cItem::Draw(double /*x*/, double /*y*/, double /*depth*/) {}
void LoadItems() {}
void UpdateItems() {}
