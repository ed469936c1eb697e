// The level driver. The order of the steps in RunLevel is behaviour: several steps rely on what
// an earlier one did in the same frame (the kill is scored before the behaviour step starts the
// death timer, sounds read the hits of this frame, the sprite shows where collision left it).
// Rules and effect steps change the state, take random draws and start sounds; shows only draw.
// Each show comes right after the step whose state it shows (an item is drawn before its flight,
// as it always was), and with the scene frame's drawing off none is called: the same steps run
// in the same order, and the state ends the same.
#include "game/level.hpp"

#include <cmath>
#include <cstdlib>

#include "audio/sound.hpp"
#include "base/measures.hpp"
#include "base/unit_kinds.hpp"
#include "content/characters.hpp"
#include "fx/scene.hpp"
#include "fx/screen_effects.hpp"
#include "fx/sky_flashes.hpp"
#include "fx/unit_effects.hpp"
#include "game/animation_select.hpp"
#include "game/collision.hpp"
#include "game/enemy.hpp"
#include "game/enemy_kinds.hpp"
#include "game/hits.hpp"
#include "game/items.hpp"
#include "game/kinds.hpp"
#include "game/player_control.hpp"
#include "game/scoring.hpp"
#include "game/unit_sounds.hpp"
#include "ui/hud.hpp"
#include "ui/statistics.hpp"

namespace {

// A unit with activation 1 wakes once the player is this far past it to the right.
constexpr double kWakeDistance = 370;
// Units are processed only inside this window around the player.
constexpr double kRangeX = 700;
constexpr double kRangeY = 500;
constexpr uint8_t kWakeAwake = 0;
constexpr uint8_t kWakeBehind = 1;

// The player past the right end of the map ends the level.
void TestLevelEnd(const LevelFrame& f) {
  Unit& player = f.Player();
  if (f.map.Width * kScreenWidth - kScreenWidth / 2 < player.x) {
    f.modes.levelFinished = 1;
    f.modes.statsShown = 1;
    player.x = 0;
  }
}

void ProcessUnit(const SceneFrame& s, int i) {
  const LevelFrame& f = s.level;
  PlayerHitsUnit(f, i);
  UnitHitsPlayer(f, i);
  ScoreKill(f, static_cast<uint8_t>(i));
  UpdatePlayerSounds(f);
  UnitSoundStep(f, i);
  if (f.Player().life > 0) UpdateEnemy(f, i);
  CollideUnit(f, i);
  // The selection ends a finished attack of the player's before the sprite shows the next.
  SelectAnimation(f.UnitAt(i));
  StepAnimation(f.UnitAt(i), f.frameMs);
  if (s.drawn) DrawUnit(f, i);
  RunUnitEffects(s, i);
}

// The power-up's flash: loaded for the first power-up, faded (which ends the power-up), shown.
void RunPowerUpFlash(const SceneFrame& s) {
  GamePlay& play = s.level.play;
  if (play.powerUpActive == 0) return;
  LoadWhiteFlash(s.fx, play.powerUpActive);
  if (FadePowerUpFlash(play.powerUpActive, s.fx.whiteFlashOpacity, s.level.frameMs) && s.drawn) {
    DrawWhiteFlash(s, s.fx.whiteFlashOpacity);
  }
}

void TestPause(const LevelFrame& f) {
  if (!f.input.test(kPauseButton)) return;
  f.input.reset(kPauseButton);
  f.modes.paused = 1;
  f.modes.menuShown = 1;
}

void RestartUnit(const LevelFrame& f, int k) {
  Unit& u = f.UnitAt(k);
  const LevelMap& map = f.map;
  u.Definition() = At(f.charDefs, map.CharType[k], "character kind");
  u.kind = map.CharType[k];
  u.x = map.CharPos[k].x;
  u.y = map.CharPos[k].y;
  u.activation = map.CharActivation[k];
  u.PlayState() = UnitPlayState{};
  if (u.anim) {
    u.anim->current = 0;
    // A death animation left holding its last picture would make loops skip their first.
    u.anim->oneShot = 0;
  }
}

}  // namespace

void RunPlayerDeath(const SceneFrame& s) {
  const LevelFrame& f = s.level;
  if (PlayerDeathStep(f) && s.drawn) DrawDeathOverlay(f.assets, f.play.deathFade);
}

void RunItems(const SceneFrame& s) {
  const LevelFrame& f = s.level;
  ItemState& items = f.play.items;
  for (int i = 0; i < f.map.ItemCount; ++i) {
    cItem* item = LiveItem(items, i);
    if (!item) continue;
    const MapPoint& at = f.map.ItemPos[i];
    PickUpItem(f.play, *item, at);
    if (s.drawn) DrawItem(*item, at.x + f.play.cameraX, at.y + f.play.cameraY);
    item->Fly(f.frameMs, f.soundVolume);
  }
}

void RunLevelBackground(const SceneFrame& s) {
  StepSkyFlashes(s);
  if (s.drawn) DrawLevelBackground(s);
}

void UnitSoundStep(const LevelFrame& f, int i) {
  Unit& u = f.UnitAt(i);
  if (auto count = RulesOf(u.kind).countCombo) count(f.play, u);
  UpdateUnitSounds(f, i);
}

void RunUnitEffects(const SceneFrame& s, int i) {
  const LevelFrame& f = s.level;
  Unit& u = f.UnitAt(i);
  if (auto arm = RulesOf(u.kind).armEffects) arm(u);
  StepUnitEffects(s, u);
  if (s.drawn) ShowUnitEffects(s, u);
  if (auto shake = RulesOf(u.kind).shake) shake(f, u);
  if (s.drawn) DrawComboText(s, i);
  RunPowerUpFlash(s);
}

void UpdateUnitStates(const LevelFrame& f) {
  Unit& player = f.Player();
  player.activated = 1;
  player.inRange = 1;
  player.activation = 0;
  for (int i = 1; i < f.UnitCount(); ++i) {
    Unit& u = f.UnitAt(i);
    if (u.activation == kWakeAwake) u.activated = 1;
    if (u.activation == kWakeBehind && player.x - u.x > kWakeDistance) u.activated = 1;
    u.inRange = std::abs(player.x - u.x) < kRangeX && std::abs(player.y - u.y) < kRangeY;
    // A dying unit finishes its death wherever it is.
    if (u.Dead() && u.deathDone == 0) u.inRange = 1;
    if (u.fellOut) u.inRange = 0;
  }
}

void RunLevel(const SceneFrame& s) {
  const LevelFrame& f = s.level;
  TestLevelEnd(f);
  if (f.modes.statsShown) RunStatistics(s);
  if (f.modes.paused || f.modes.levelFinished) return;
  UpdateUnitStates(f);
  AttackInput(f);
  RunLevelBackground(s);
  MoveInput(f);
  for (int i = 0; i < f.UnitCount(); ++i) {
    const Unit& u = f.UnitAt(i);
    if (u.inRange == 1 && u.activated != 0) ProcessUnit(s, i);
  }
  RunItems(s);
  if (s.drawn) DrawHud(s);
  RunPlayerDeath(s);
  f.play.combo.attackKind = 0;
  f.play.levelStats.timeTaken += Seconds(f.frameMs);
  TestPause(f);
}

void RestartLevel(const LevelFrame& f) {
  for (int k = 0; k < f.UnitCount(); ++k) RestartUnit(f, k);
  PlaceCameraOnPlayer(f.play);
  GamePlay& play = f.play;
  play.powerUpCharges = 0;
  for (int i = 0; i < f.map.ItemCount && i < kMaxItems; ++i) {
    if (cItem* item = play.items.items[i].get()) {
      item->picked = 0;
      item->gone = 0;
      // An item still flying up when the level restarts lies at its place again.
      item->Clear();
      item->rise = 0;
    }
  }
  for (std::size_t kind = 0; kind < kKinds.size(); ++kind) {
    if (!kKinds[kind].soundsRewoundOnRestart) continue;
    for (SoundHandle h : f.assets.unitSounds[kind]) cSND::SetPosition(h, 0);
  }
  uint8_t combo7Counted = play.levelStats.combo7Counted;
  play.levelStats = LevelStats{};
  play.levelStats.combo7Counted = combo7Counted;
}
