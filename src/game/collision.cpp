// Collision with the map grid and the enemies' bodies. Every probe reads the unit's position as it
// is at that moment: a step that moves the unit changes what the next probe sees.
#include "game/collision.hpp"

#include <algorithm>
#include <cmath>

#include "base/measures.hpp"
#include "game/kinds.hpp"

namespace {

constexpr uint8_t kEmpty = 0;
constexpr uint8_t kSolid = 1;
// Units are kept this far inside the map's edges.
constexpr double kMapMargin = 5;
// Below the feet: no ground within 50 px means airborne; beyond 20 px the unit falls freely;
// within 5 px it stands.
constexpr double kAirborneProbe = 50;
constexpr double kFallProbe = 20;
constexpr double kStandProbe = 5;
constexpr double kFreeFall = 0.5;  // px per ms
constexpr double kSettle = 0.1;
// Feet sunk into solid ground rise: deeper than 1 px into the cell row at feet - 5 faster.
constexpr double kDeepProbe = 5;
constexpr double kShallowProbe = 1;
constexpr double kPushUpDeep = 0.15;
constexpr double kPushUpShallow = 0.1;
// Walls are probed 60 px above the feet, 10 px to either side.
constexpr double kWallHeight = 60;
constexpr double kWallReach = 10;

// Collision modes of the definition: 0 always, 1 once dead (a shot-down sentinel), else never.
constexpr uint8_t kCollideAlways = 0;
constexpr uint8_t kCollideWhenDead = 1;

double Feet(const Unit& u) {
  return u.y + u.boxBottom;
}

// One unit's collision in the frame: the level, the unit and its slot (0 is the player).
struct Mover {
  const LevelFrame& f;
  int i;
  Unit& u;

  uint8_t Cell(double x, double y) const { return CellAt(f.map, x, y); }
  // Moves the unit; the player takes the camera with it.
  void Shift(double dx, double dy) const {
    u.x += dx;
    u.y += dy;
    if (i == 0) {
      f.play.cameraX -= dx;
      f.play.cameraY -= dy;
    }
  }
};

double MapBottom(const LevelMap& map) {
  return static_cast<double>(map.Height) * kScreenHeight;
}

// Feet past the map's bottom edge: nothing below can ever hold the unit again.
bool BelowMap(const LevelMap& map, const Unit& u) {
  return Feet(u) > MapBottom(map);
}

// A unit that has fallen out of the map is no longer held at its bottom edge: it falls on out of
// sight instead of hanging there.
void ClampToMap(const LevelMap& map, Unit& u) {
  const double right = map.Width * kScreenWidth - kMapMargin;
  const double bottom = MapBottom(map) - kMapMargin;
  if (u.x < kMapMargin) u.x = kMapMargin;
  if (u.y < kMapMargin) u.y = kMapMargin;
  if (u.x > right) u.x = right;
  if (u.y > bottom && !BelowMap(map, u)) u.y = bottom;
}

// The player who falls out of the map dies there; an enemy is gone for good. The camera stops
// where it shows a player standing at the bottom edge, so the screen never fills with sky.
void FallOutOfMap(const LevelFrame& f, int i, Unit& u) {
  if (!BelowMap(f.map, u)) return;
  if (i > 0) {
    u.fellOut = 1;
    return;
  }
  u.life = std::min(u.life, 0);
  const double lowest = static_cast<double>(
      kPlayerOnScreen - static_cast<int64_t>(std::trunc(MapBottom(f.map) - u.boxBottom)));
  f.play.cameraY = std::max(f.play.cameraY, lowest);
}

bool CollidesWithMap(const Unit& u) {
  if (u.collisionMode == kCollideAlways) return true;
  return u.collisionMode == kCollideWhenDead && u.life < 1;
}

void FallAndStand(const Mover& m, double dt) {
  Unit& u = m.u;
  if (m.Cell(u.x, Feet(u) + kAirborneProbe) == kEmpty) u.airborne = 1;
  if (m.Cell(u.x, Feet(u) + kFallProbe) == kEmpty) {
    m.Shift(0, kFreeFall * dt);
  } else if (m.Cell(u.x, Feet(u) + kStandProbe) != kEmpty) {
    u.airborne = 0;
  } else {
    m.Shift(0, kSettle * dt);
  }
}

void PushUpOutOfGround(const Mover& m, double dt) {
  const Unit& u = m.u;
  if (m.Cell(u.x, Feet(u) - kDeepProbe) == kSolid) {
    m.Shift(0, -kPushUpDeep * dt);
  } else if (m.Cell(u.x, Feet(u) - kShallowProbe) == kSolid) {
    m.Shift(0, -kPushUpShallow * dt);
  }
}

void StopAtWalls(const Mover& m, double dt) {
  const Unit& u = m.u;
  if (m.Cell(u.x - kWallReach, Feet(u) - kWallHeight) == kSolid) m.Shift(u.speed * dt, 0);
  if (m.Cell(u.x + kWallReach, Feet(u) - kWallHeight) == kSolid) m.Shift(-u.speed * dt, 0);
}

// Guards and golems that live block the player, who is pushed back by its own step; the enemy
// never moves. All comparisons are strict.
void PushPlayerOffBody(const LevelFrame& f, const Unit& u, double dt) {
  const Mover player{f, 0, f.Player()};
  const Unit& p = player.u;
  const bool overlapY = p.y + p.boxBottom > u.y + u.boxTop && p.y + p.boxTop < u.y + u.boxBottom;
  if (p.x + p.boxRight > u.x + u.boxLeft && p.x < u.x && overlapY) player.Shift(-p.speed * dt, 0);
  if (p.x + p.boxLeft < u.x + u.boxRight && p.x > u.x && overlapY) player.Shift(p.speed * dt, 0);
}

}  // namespace

void CollideUnit(const LevelFrame& f, int i) {
  Unit& u = f.UnitAt(i);
  const double dt = f.frameMs;
  ClampToMap(f.map, u);
  if (!CollidesWithMap(u)) return;
  const Mover m{f, i, u};
  FallAndStand(m, dt);
  PushUpOutOfGround(m, dt);
  StopAtWalls(m, dt);
  FallOutOfMap(f, i, u);
  if (i > 0 && RulesOf(u.kind).blocksPlayer && u.life > 0) PushPlayerOffBody(f, u, dt);
}
