// Kills and their points, and the player's death: slow motion, the enemies' attacks stopped, a
// red fade over the screen and then the restart.
#include "game/scoring.hpp"

#include "game/kinds.hpp"

namespace {

// While the player lies dead, time runs at 1000/1300 of its pace.
constexpr double kSlowMotion = 1300;
constexpr double kNormalPace = 1000;
// The overlay fades in at 0.0005 per ms up to 1.5 (3 s of slowed frame time).
constexpr float kFadeEnd = 1.5f;
constexpr double kFadeRate = 0.0005;
// The combo level of all seven blows.
constexpr uint8_t kFullCombo = 7;

void Score(LevelStats& stats, const Unit& u) {
  const KindRow& kind = KindOf(u.kind);
  if (!kind.statistics.label) return;
  const KillPoints& points = kind.rules.points;
  stats.points += u.headOff == 1 ? points.headOff : points.headOn;
  stats.kills[static_cast<std::size_t>(u.kind)] += 1;
  if (u.headOff == 1) stats.headsRemoved += 1;
}

}  // namespace

void ScoreKill(const LevelFrame& f, uint8_t i) {
  Unit& u = f.UnitAt(i);
  // The death timer starts after this step in the frame the unit is first seen dead. It stays
  // at 0 in a frame of no time, or while the player is dead and no enemy acts: the latch keeps
  // those frames from counting the kill again.
  if (u.life < 1 && u.deathTime == 0.0 && u.killScored == 0) {
    u.killScored = 1;
    Score(f.play.levelStats, u);
  }
}

// Counted only while a golem is processed; the latch counts one combo once, however many golems
// are processed in its frames (each frame the first golem sets the level to 0, and the others
// must not take that for the end of the combo).
void CountFullCombo(GamePlay& play, Unit& u) {
  ComboState& combo = play.combo;
  LevelStats& stats = play.levelStats;
  if (combo.comboLevel != kFullCombo && combo.fullComboTaken == 0) stats.combo7Counted = 0;
  if (combo.comboLevel != kFullCombo) return;
  // The level reads 7 in every frame until the combo ends; it is counted and commented once.
  if (stats.combo7Counted == 0) {
    u.fullComboCounted = 1;
    stats.combo7Count += 1;
  }
  stats.combo7Counted = 1;
  combo.comboLevel = 0;
  combo.fullComboTaken = 1;
}

bool PlayerDeathStep(const LevelFrame& f) {
  if (f.Player().life >= 1) return false;
  f.timeScale = kSlowMotion;
  // Units still alive or dying strike no more; those done dying are left as they lie.
  for (int i = 0; i < f.UnitCount(); ++i) {
    Unit& u = f.UnitAt(i);
    if (u.deathDone != 0) continue;
    u.fireNow = 0;
    u.idle = 1;
    u.attack = 0;
  }
  float& fade = f.play.deathFade;
  if (fade < kFadeEnd) {
    fade = static_cast<float>(fade + kFadeRate * f.frameMs);
  } else {
    fade = 0;
    f.modes.restartRequested = 1;
    f.timeScale = kNormalPace;
  }
  return true;
}
