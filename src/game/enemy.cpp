// Enemy behaviour: each kind's own update, chosen by the unit's kind.
#include "game/enemy.hpp"

#include "game/enemy_kinds.hpp"
#include "game/units.hpp"

void UpdateEnemy(int i) {
  Unit& u = UnitAt(i);
  const Unit& player = PlayerUnit();
  const double dt = FrameMs();
  // No default: a kind added to UnitKind without behaviour here is named by the compiler. Kinds
  // without a name (4..9) do nothing.
  switch (static_cast<UnitKind>(u.kind)) {
    case kPlayer:
      break;
    case kSentinel:
      UpdateSentinel(u, player, dt);
      break;
    case kGuard:
      UpdateGuard(u, player, dt);
      break;
    case kGolem:
      UpdateGolem(u, player, dt);
      break;
  }
}
