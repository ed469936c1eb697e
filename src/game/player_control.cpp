// Player control: the attack keys and the combo they record, walking, jumping, crouching and the
// power-up. Every move of the player moves the camera the other way, so the player stays put on
// the screen.
#include "game/player_control.hpp"

#include <array>
#include <cmath>

#include "base/measures.hpp"

namespace {

// An attack may start at most every 0.2 s; presses in between are still recorded.
constexpr double kAttackCooldown = 0.2;
// Each combo press must come more than 0.2 s and less than 0.3 s after the one before; 0.3 s
// without a press, or 20 presses, end the combo.
constexpr double kComboGapMin = 0.2;
constexpr double kComboGapMax = 0.3;
constexpr int kComboMaxPresses = 20;
// The combo: attacks 1, 3, 1, 3, 2, 3, 4.
constexpr std::array<double, 7> kComboKinds = {1, 3, 1, 3, 2, 3, 4};
// Attack b starts at the first frame of animation entry 3 + b.
constexpr int kAttackAnimBase = 3;

// Moves the player by (dx, dy) and the camera by the opposite amount.
void MovePlayer(GamePlay& play, double dx, double dy) {
  Unit& p = play.units[0];
  p.x += dx;
  p.y += dy;
  play.cameraX -= dx;
  play.cameraY -= dy;
}

void StartAttack(ComboState& c, Unit& p, int b) {
  if (p.anim) {
    p.anim->current = static_cast<uint16_t>(At(p.anims, kAttackAnimBase + b, "attack").firstFrame);
  }
  c.attackKind = static_cast<uint8_t>(b);
  p.attack = static_cast<uint8_t>(b);
}

void RecordPress(ComboState& c, int b) {
  c.comboActive = 1;
  At(c.comboBuffer, static_cast<std::size_t>(c.comboCount), "combo entry") = {
      static_cast<double>(b), c.comboClock};
  c.comboDeadline = c.comboClock + kComboGapMax;
  c.comboCount += 1;
  c.attackLatch = 1;
}

bool TimedAfterPrevious(const ComboState& c, int e) {
  const double previous = c.comboBuffer[e - 1].time;
  const double t = c.comboBuffer[e].time;
  return previous + kComboGapMin < t && t < previous + kComboGapMax;
}

bool Matches(const ComboState& c, int e) {
  return e < c.comboCount && c.comboBuffer[e].kind == kComboKinds[e] && TimedAfterPrevious(c, e);
}

void Walk(const LevelFrame& f, Unit& p) {
  const bool free = p.attack == 0 && p.stunned == 0 && p.crouching == 0;
  const double step = p.speed * f.frameMs;
  if (f.input.test(Left) && free) {
    MovePlayer(f.play, -step, 0);
    p.animIndex = 0;
    p.facingLeft = 1;
    p.moving = 1;
  }
  // With both held, both moves happen and the player ends facing right.
  if (f.input.test(Right) && free) {
    MovePlayer(f.play, step, 0);
    p.animIndex = 0;
    p.facingLeft = 0;
    p.moving = 1;
  }
}

// The jump needs no ground to start, only to end.
void Jump(const LevelFrame& f, Unit& p) {
  if (f.input.test(Up) && p.jumping == 0) p.jumping = 1;
  if (p.jumping != 1) return;
  p.moving = 0;
  p.animIndex = 2;
  if (p.jumpTime < kJumpRiseMs && p.y > 0) {
    MovePlayer(f.play, 0, -kJumpSpeed * f.frameMs);
    p.jumpTime = static_cast<int32_t>(std::trunc(p.jumpTime + f.frameMs));
  } else if (p.airborne == 0) {
    p.jumping = 0;
    p.jumpTime = 0;
  }
}

// The crouch holds until any key is released, not while Down is held.
void Crouch(const LevelFrame& f, Unit& p) {
  if (f.input.test(Down) && p.jumping == 0 && p.airborne == 0) p.crouching = 1;
  if (p.crouching == 1 && f.keyReleased) p.crouching = 0;
  if (p.crouching != 1) return;
  p.idle = p.moving = p.jumping = p.attack = 0;
  f.play.combo.attackKind = 0;
}

// Kills every awake sentinel in the processing window; other kinds are not touched.
void FirePowerUp(const LevelFrame& f) {
  if (!f.input.test(kPowerUpButton)) return;
  f.input.reset(kPowerUpButton);
  GamePlay& play = f.play;
  if (play.powerUpCharges < 1) return;
  play.powerUpActive = 1;
  play.powerUpCharges -= 1;
  for (int i = 1; i < f.UnitCount(); ++i) {
    Unit& u = f.UnitAt(i);
    if (u.kind == kSentinel && u.activated != 0 && u.inRange == 1) u.life = -1;
  }
}

}  // namespace

void AttackInput(const LevelFrame& f) {
  ComboState& c = f.play.combo;
  Unit& p = f.Player();
  const double seconds = Seconds(f.frameMs);
  c.fullComboTaken = 0;
  bool mayStart = true;
  if (c.attackCooldown < kAttackCooldown && c.attackLatch == 1) {
    c.attackCooldown += seconds;
    mayStart = false;
  } else {
    c.attackCooldown = 0;
    c.attackLatch = 0;
  }
  for (int b = 1; b <= 4; ++b) {
    if (!f.input.test(AttackButton(b))) continue;
    f.input.reset(AttackButton(b));
    RecordPress(c, b);
    if (mayStart) StartAttack(c, p, b);
  }
  EvaluateCombo(c);
  if (c.comboActive == 1 && c.comboClock < c.comboDeadline && c.comboCount < kComboMaxPresses) {
    c.comboClock += seconds;
    return;
  }
  ClearCombo(c);
  c.comboClock = 0;
  c.comboDeadline = 0;
  c.comboCount = 0;
  c.comboActive = 0;
}

void EvaluateCombo(ComboState& c) {
  if (c.comboCount < 2 || c.comboBuffer[0].kind != kComboKinds[0] || !Matches(c, 1)) return;
  c.comboLevel = 2;
  for (int e = 2; e < static_cast<int>(kComboKinds.size()) && Matches(c, e); ++e) {
    c.comboLevel = static_cast<uint8_t>(e + 1);
  }
}

void ClearCombo(ComboState& c) {
  for (int e = 0; e < c.comboCount && e < kComboEntries; ++e) c.comboBuffer[e] = ComboEntry{};
  c.comboLevel = 0;
}

void MoveInput(const LevelFrame& f) {
  Unit& p = f.Player();
  p.moving = 0;
  Walk(f, p);
  Jump(f, p);
  Crouch(f, p);
  FirePowerUp(f);
  if (IdleRuleHolds(p)) p.idle = 1;
}

// As the game has always had it: true whenever any one of the four holds.
bool IdleRuleHolds(const Unit& p) {
  return (p.life > 0 && p.jumping == 0) || p.moving == 0 || p.stunned == 0 ||
         (p.deathDone == 0 && p.crouching == 0);
}

bool FadePowerUpFlash(uint8_t& active, double& opacity, double frameMs) {
  if (active == 0) return false;
  if (opacity > 0) {
    opacity -= Seconds(frameMs);
    return true;
  }
  active = 0;
  opacity = 1.0;
  return false;
}
