// Enemy behaviour: each kind's own update, as its row in the kinds' table names it.
#include "game/enemy.hpp"

#include "game/kinds.hpp"

void UpdateEnemy(const LevelFrame& f, int i) {
  Unit& u = f.UnitAt(i);
  if (auto update = RulesOf(u.kind).update)
    update(u, f.Player(), f.play.combo.attackKind, f.frameMs);
}
