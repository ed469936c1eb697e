// The level player: one decision a frame from the units, the map and the combo state.
#include "level_policy.hpp"

#include <cmath>

#include "app/game_state.hpp"
#include "game/collision.hpp"
#include "game/enemy_kinds.hpp"
#include "game/hits.hpp"

namespace {

// Combo presses 0.25 s apart: inside the 0.2 .. 0.3 s window with a frame to spare either side.
constexpr int64_t kPressGap = 25;
// A new combo starts only after the last one has surely ended (0.3 s without a press).
constexpr int64_t kComboRest = 35;
// Attacks 1, 3, 1 reach combo level 3, which beheads a guard.
const std::vector<std::string> kGuardCombo = {"Z", "C", "Z"};
// The whole combo, then attack 1 until just short of the 20 presses that end it: from the second
// press on the golem reels under every blow and, from the third, takes the bonus.
std::vector<std::string> GolemCombo() {
  std::vector<std::string> keys = {"Z", "C", "Z", "C", "X", "C", "Left Ctrl"};
  while (keys.size() < 19) keys.push_back("Z");
  return keys;
}
// Enemies further up or down than this are not fought.
constexpr double kFightHeight = 150;
// Golems are walked up to from this far; guards come by themselves.
constexpr double kFoeSight = 600;
// A guard walking up from nearer than this is waited for, though not for ever (it may be held
// by a wall).
constexpr double kGuardWait = 250;
constexpr int64_t kMaxWaitFrames = 400;
// A sentinel this near sideways and this far above at most is jumped at.
constexpr double kSentinelJumpX = 30;
constexpr double kSentinelJumpY = 260;
// Walls are looked for this far ahead, at these heights above the feet.
constexpr double kWallLook = 20;
constexpr double kWallProbe1 = 60;
constexpr double kWallProbe2 = 20;
// Stuck this long without getting further right: back off this far and come again hopping, until
// this far past the spot.
constexpr int64_t kStuckFrames = 150;
constexpr double kRunUp = 300;
constexpr double kRunUpDone = 100;

bool Alive(const Unit& u) {
  return u.life > 0 && u.activated != 0 && u.inRange == 1;
}

bool Solid(double x, double y) {
  return CellAt(gameState.map, x, y) == 1;
}

}  // namespace

int LevelPolicy::NearestFoe() const {
  const Unit& p = PlayerUnit();
  int best = 0;
  double bestDx = kFoeSight;
  for (int i = 1; i < UnitCount(); ++i) {
    const Unit& u = UnitAt(i);
    if (!Alive(u) || (u.kind != kGuard && u.kind != kGolem)) continue;
    if (std::abs(u.y - p.y) > kFightHeight) continue;
    double dx = std::abs(u.x - p.x);
    if (dx < bestDx) {
      bestDx = dx;
      best = i;
    }
  }
  return best;
}

bool LevelPolicy::SentinelAboutToShoot() const {
  for (int i = 1; i < UnitCount(); ++i) {
    const Unit& u = UnitAt(i);
    if (u.kind != kSentinel || !Alive(u)) continue;
    if (KindStateOf<SentinelKeptState>(u).hoverNear == 1 &&
        KindStateOf<SentinelPlayState>(u).charging == 1) {
      return true;
    }
  }
  return false;
}

bool LevelPolicy::SentinelInRange() const {
  for (int i = 1; i < UnitCount(); ++i) {
    const Unit& u = UnitAt(i);
    if (u.kind == kSentinel && Alive(u)) return true;
  }
  return false;
}

// A sentinel in reach is struck (no need to face it); one hovering just above is jumped at.
bool LevelPolicy::HuntSentinel(int64_t frame, ScriptedKeys& keys) {
  const Unit& p = PlayerUnit();
  for (int i = 1; i < UnitCount(); ++i) {
    const Unit& u = UnitAt(i);
    if (u.kind != kSentinel || !Alive(u)) continue;
    if (InMeleeReach(PlayerUnit(), UnitAt(i))) {
      if (frame >= nextSentinelBlow_ && p.stunned == 0) {
        keys.Tap("Z");
        nextSentinelBlow_ = frame + kPressGap;
      }
      return false;
    }
    const bool above =
        std::abs(u.x - p.x) < kSentinelJumpX && u.y < p.y && p.y - u.y < kSentinelJumpY;
    if (above && p.jumping == 0 && p.airborne == 0 && p.stunned == 0) {
      keys.Tap("Up");
      return false;
    }
  }
  return false;
}

void LevelPolicy::NoteMet() {
  met_.resize(static_cast<size_t>(UnitCount()), false);
  for (int i = 1; i < UnitCount(); ++i) {
    const Unit& u = UnitAt(i);
    if (u.activated == 0 || u.inRange == 0 || u.life < 1) continue;
    // A sentinel acts on the player from anywhere in the processing window; the others must
    // come to blows.
    bool met = u.kind == kSentinel || InMeleeReach(PlayerUnit(), UnitAt(i));
    if (met) met_[static_cast<size_t>(i)] = true;
  }
}

void LevelPolicy::Fight(int64_t frame, int foe, ScriptedKeys& keys) {
  const Unit& p = PlayerUnit();
  const Unit& u = UnitAt(foe);
  const bool faceLeft = u.x < p.x;
  if (!combo_.Running() && (faceLeft != (p.facingLeft == 1))) {
    // One frame of walking turns the player round.
    keys.Hold({faceLeft ? "Left" : "Right"});
    return;
  }
  keys.Hold({});
  if (!combo_.Running()) {
    if (frame < nextComboFrame_ || p.stunned == 1 || p.attack != 0) return;
    combo_ = Combo{u.kind == kGolem ? GolemCombo() : kGuardCombo, 0, frame, foe};
  }
  if (frame < combo_.nextFrame) return;
  keys.Tap(combo_.keys[combo_.next]);
  ++combo_.next;
  combo_.nextFrame = frame + kPressGap;
  if (!combo_.Running()) nextComboFrame_ = frame + kComboRest;
}

void LevelPolicy::Walk(int64_t frame, int foe, ScriptedKeys& keys) {
  const Unit& p = PlayerUnit();
  bool left = foe != 0 && UnitAt(foe).x < p.x;
  const double dir = left ? -1 : 1;
  const double feet = p.y + p.boxBottom;
  const double ahead = p.x + dir * kWallLook;
  bool wall = Solid(ahead, feet - kWallProbe1) || Solid(ahead, feet - kWallProbe2);
  if (p.x > bestX_ + 1) {
    bestX_ = p.x;
    bestXFrame_ = frame;
  }
  // Stuck at a wall too high to jump: back off and come again hopping, to take the ledges in
  // front of it.
  if (foe == 0 && runUpFrom_ < 0 && frame - bestXFrame_ > kStuckFrames) {
    runUpFrom_ = bestX_;
    runUpBack_ = true;
  }
  if (runUpFrom_ >= 0) {
    if (runUpBack_ && (p.x < runUpFrom_ - kRunUp || foe != 0)) runUpBack_ = false;
    if (p.x > runUpFrom_ + kRunUpDone || frame - bestXFrame_ > kStuckFrames * 4) {
      runUpFrom_ = -1;
      bestXFrame_ = frame;
    }
  }
  if (runUpFrom_ >= 0 && runUpBack_) {
    keys.Hold({"Left"});
    return;
  }
  std::set<std::string> held = {left ? "Left" : "Right"};
  if (wall || runUpFrom_ >= 0) held.insert("Up");
  keys.Hold(held);
}

void LevelPolicy::Act(int64_t frame, ScriptedKeys& keys) {
  NoteMet();
  const Unit& p = PlayerUnit();
  if (p.life < 1) {
    keys.Hold({});
    combo_ = Combo{};
    return;
  }
  if (SentinelInRange() && gameState.play.powerUpCharges > 0 && frame >= nextPowerUpFrame_) {
    keys.Tap("Space");
    nextPowerUpFrame_ = frame + 100;
  }
  // Ducking the shot: nothing else may be let go while crouched, as any release stands up.
  if (SentinelAboutToShoot() && p.jumping == 0 && p.airborne == 0) {
    keys.Hold({"Down"});
    combo_ = Combo{};
    return;
  }
  const int foe = NearestFoe();
  if (!combo_.Running() && (foe == 0 || !InMeleeReach(PlayerUnit(), UnitAt(foe))) &&
      HuntSentinel(frame, keys))
    return;
  if (combo_.Running() &&
      (combo_.target == foe || foe == 0 || !InMeleeReach(PlayerUnit(), UnitAt(foe)))) {
    // A combo under way is finished on its beat, even if its target has fallen.
    Fight(frame, combo_.target, keys);
    return;
  }
  combo_ = Combo{};
  if (foe != 0 && InMeleeReach(PlayerUnit(), UnitAt(foe))) {
    Fight(frame, foe, keys);
    return;
  }
  // A guard that has seen the player comes to it; a golem has to be walked up to.
  const bool guardComing = foe != 0 && UnitAt(foe).kind == kGuard && UnitAt(foe).moving == 1 &&
                           std::abs(UnitAt(foe).x - p.x) < kGuardWait;
  if (!guardComing) waitFrom_ = frame;
  if (guardComing && p.stunned == 0 && frame - waitFrom_ < kMaxWaitFrames) {
    keys.Hold({});
    return;
  }
  Walk(frame, foe, keys);
}
