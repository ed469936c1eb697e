// The level driver. The order of the steps in RunLevel is behaviour: several steps rely on what
// an earlier one did in the same frame (the kill is scored before the behaviour step starts the
// death timer, sounds read the hits of this frame, the sprite shows where collision left it).
#include "game/level.hpp"

#include <cmath>
#include <cstdlib>

#include "app/input.hpp"
#include "audio/sound.hpp"
#include "base/measures.hpp"
#include "content/characters.hpp"
#include "fx/scene.hpp"
#include "fx/screen_effects.hpp"
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
#include "game/units.hpp"
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
void TestLevelEnd() {
  Unit& player = PlayerUnit();
  if (gameState.map.Width * kScreenWidth - kScreenWidth / 2 < player.x) {
    gameState.flags.levelFinished = 1;
    gameState.flags.statsShown = 1;
    player.x = 0;
  }
}

void ProcessUnit(int i) {
  PlayerHitsUnit(i);
  UnitHitsPlayer(i);
  ScoreKill(static_cast<uint8_t>(i));
  UpdatePlayerSounds();
  UnitSoundStep(i);
  if (PlayerUnit().life > 0) UpdateEnemy(i);
  CollideUnit(i);
  // The selection ends a finished attack of the player's before the sprite shows the next.
  SelectAnimation(i);
  DrawUnit(i);
  RunUnitEffects(i);
}

void TestPause() {
  if (!DXInput1.Has(kPauseButton)) return;
  DXInput1.Remove(kPauseButton);
  gameState.flags.paused = 1;
  gameState.flags.menuShown = 1;
}

void RestartUnit(int k) {
  Unit& u = UnitAt(k);
  const LevelMap& map = gameState.map;
  u.Definition() = At(gameState.charDefs, map.CharType[k], "character kind");
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

void RunPlayerDeath() {
  if (PlayerDeathStep()) DrawDeathOverlay(gameState.play.deathFade);
}

void RunItems() {
  const LevelMap& map = gameState.map;
  for (int i = 0; i < map.ItemCount; ++i) {
    cItem* item = LiveItem(i);
    if (!item) continue;
    PickUpItem(i);
    const MapPoint& at = map.ItemPos[i];
    DrawItem(*item, at.x + gameState.play.cameraX, at.y + gameState.play.cameraY);
    item->Fly();
  }
}

void UnitSoundStep(int i) {
  Unit& u = UnitAt(i);
  if (auto count = RulesOf(u.kind).countCombo) count(u);
  UpdateUnitSounds(i);
}

void RunUnitEffects(int i) {
  DrawUnitEffects(i);
  Unit& u = UnitAt(i);
  if (auto shake = RulesOf(u.kind).shake) shake(u);
  DrawComboText(i);
  GamePlay& play = gameState.play;
  if (play.powerUpActive == 0) return;
  LoadWhiteFlash(play.powerUpActive);
  if (FadePowerUpFlash(play.powerUpActive, gameState.fx.whiteFlashOpacity, FrameMs())) {
    DrawWhiteFlash(gameState.fx.whiteFlashOpacity);
  }
}

void UpdateUnitStates() {
  Unit& player = PlayerUnit();
  player.activated = 1;
  player.inRange = 1;
  player.activation = 0;
  for (int i = 1; i < UnitCount(); ++i) {
    Unit& u = UnitAt(i);
    if (u.activation == kWakeAwake) u.activated = 1;
    if (u.activation == kWakeBehind && player.x - u.x > kWakeDistance) u.activated = 1;
    u.inRange = std::abs(player.x - u.x) < kRangeX && std::abs(player.y - u.y) < kRangeY;
    // A dying unit finishes its death wherever it is.
    if (u.Dead() && u.deathDone == 0) u.inRange = 1;
  }
}

void RunLevel() {
  TestLevelEnd();
  if (gameState.flags.statsShown) RunStatistics();
  if (gameState.flags.paused || gameState.flags.levelFinished) return;
  UpdateUnitStates();
  AttackInput();
  DrawLevelBackground();
  MoveInput();
  for (int i = 0; i < UnitCount(); ++i) {
    const Unit& u = UnitAt(i);
    if (u.inRange == 1 && u.activated != 0) ProcessUnit(i);
  }
  RunItems();
  DrawHud();
  RunPlayerDeath();
  gameState.play.combo.attackKind = 0;
  gameState.play.levelStats.timeTaken += Seconds(FrameMs());
  TestPause();
}

void RestartLevel() {
  for (int k = 0; k < UnitCount(); ++k) RestartUnit(k);
  PlaceCameraOnPlayer();
  GamePlay& play = gameState.play;
  play.powerUpCharges = 0;
  for (int i = 0; i < gameState.map.ItemCount && i < kMaxItems; ++i) {
    if (cItem* item = play.items.items[i].get()) {
      item->picked = 0;
      item->gone = 0;
      // An item still flying up when the level restarts lies at its place again.
      item->Clear();
      item->rise = 0;
    }
  }
  for (SoundHandle h : gameState.level.golemSounds) cSND::SetPosition(h, 0);
  for (SoundHandle h : gameState.level.playerSounds) cSND::SetPosition(h, 0);
  uint8_t combo7Counted = play.levelStats.combo7Counted;
  play.levelStats = LevelStats{};
  play.levelStats.combo7Counted = combo7Counted;
}
