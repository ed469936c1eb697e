// Enemy behaviour: each kind's own update, as its row in the kinds' table names it.
#include "game/enemy.hpp"

#include "game/kinds.hpp"
#include "game/units.hpp"

void UpdateEnemy(int i) {
  Unit& u = UnitAt(i);
  if (auto update = RulesOf(u.kind).update) update(u, PlayerUnit(), FrameMs());
}
