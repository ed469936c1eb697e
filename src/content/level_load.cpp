// The once-per-run level load, in its fixed order.
#include "content/level_load.hpp"

#include <algorithm>

#include "app/bindings.hpp"
#include "app/display.hpp"
#include "app/game_state.hpp"
#include "app/input.hpp"
#include "app/key_names.hpp"
#include "audio/sound.hpp"
#include "base/backends.hpp"
#include "content/characters.hpp"
#include "content/level_map.hpp"
#include "content/level_paths.hpp"
#include "fx/explosion.hpp"
#include "fx/unit_effects.hpp"
#include "game/kinds.hpp"
#include "gfx/draw.hpp"
#include "gfx/frame_sequence.hpp"
#include "gfx/load.hpp"
#include "gfx/renderer.hpp"
#include "ui/hud.hpp"

namespace {

// Opens the sounds of the kinds that load with the player's, or of the others, in kind order.
void OpenKindSounds(bool withPlayer, LevelAssets& level) {
  for (std::size_t kind = 0; kind < kKinds.size(); ++kind) {
    if (kKinds[kind].soundsLoadWithPlayer != withPlayer) continue;
    for (const SoundFile& s : kKinds[kind].sounds) {
      cSND::Open(s.path,
                 At(level.unitSounds[kind], static_cast<std::size_t>(s.slot), "sound slot"));
    }
  }
}

// The gameplay keys after the directions and buttons 1..4: buttons 5..8 and 10 get the keys of
// the four attacks and the power-up (by default Z, X, C, Control and Space), button 9 gets S.
constexpr std::size_t kGameplayActions[] = {4, 5, 6, 7, 8};  // attack1..attack4, power
constexpr uint8_t kButton9Key = 'S';

// The title stays on the screen while the rest loads.
void ShowTitle(LevelAssets& level) {
  level.titleTexture = cLoad::LoadDXT(kLevelTitlePath);
  DrawQuad(level.titleTexture, 0, 0, -1, 800, 600, 1);
  PresentNow();
}

// The sounds the level opens, in the order it opens them.
std::vector<std::string> LevelSounds() {
  std::vector<std::string> paths;
  for (bool withPlayer : {false, true}) {
    for (const KindRow& kind : kKinds) {
      if (kind.soundsLoadWithPlayer != withPlayer) continue;
      for (const SoundFile& s : kind.sounds) paths.push_back(s.path);
    }
  }
  paths.insert(paths.end(), std::begin(kCommentSoundPaths), std::end(kCommentSoundPaths));
  return paths;
}

}  // namespace

void BindGameplayKeys() {
  for (std::size_t action : kGameplayActions) {
    DXInput1.Keyboard.Assigns[ActionState(action)] = ActionKeyCodes(gameState.bindings, action);
  }
  DXInput1.Assign(kUnreadButton, 0, kButton9Key);
}

void LoadUnitSounds() {
  OpenKindSounds(false, gameState.level);
}

void LoadPlayerSounds() {
  OpenKindSounds(true, gameState.level);
}

void LoadEffects() {
  EffectsState& fx = gameState.fx;
  fx.bloodParticles = cParticle{};
  fx.bloodParticles.ParticleInit(50, 300, 500, 300);
  cLoad::LoadTGA(kBloodParticlePath, fx.bloodParticles.texture);

  fx.bloodSpray = cAnim{};
  int32_t sprayFrames =
      LoadFrameSequenceDense(kBloodSprayFolder, fx.bloodSpray.textures, kAnimFrames - 1);
  NoteFramesPastTheEnd(kBloodSprayFolder, sprayFrames, kSprayFrames - 1, "the blood spray");
  fx.bloodSpray.width = 200;
  fx.bloodSpray.height = 200;
  fx.bloodSpray.frameDuration = 0.05f;
  fx.bloodSpray.playing = 1;

  fx.explosion = cBlow{};
  fx.explosion.frameFolder = kExplosionFolder;
  fx.explosion.soundFile = kExplosionSoundPath;
  fx.explosion.firstFrame = 0;
  fx.explosion.frameCount = kExplosionFrames;
  fx.explosion.frameTime = 0.0;
  BlowInit(fx.explosion, fx.explosionPlayer);
}

namespace {
// The level pictures the scene draws, one per screen of the map (at most the table's size).
int32_t ScreensShown() {
  int64_t screens = int64_t{gameState.map.Width} * gameState.map.Height;
  return static_cast<int32_t>(std::min<int64_t>(screens, kLevelScreens));
}
}  // namespace

void LoadLevel() {
  LevelAssets& level = gameState.level;
  ShowTitle(level);
  // Decoded on another thread while the pictures load.
  cSND::Prefetch(LevelSounds());
  LoadLevelMap(kLevelMapPath);
  int32_t screens = LoadFrameSequence(kLevelFolder, level.levelFrames, kLevelScreens - 1);
  if (LevelMapLoaded()) {
    NoteFramesPastTheEnd(kLevelFolder, screens, ScreensShown() - 1, "the level map");
  }
  level.backgroundTexture = cLoad::LoadDXT(kLevelBackgroundPath);
  cLoad::LoadTGA(kDeathOverlayPath, level.deathOverlayTexture);
  LoadCharacters();
  LoadHud();
  LoadEffects();
  LoadItems(gameState.play.items, gameState.map);
  LoadUnitSounds();
  LoadPlayerSounds();
  for (int i = 0; i < 3; ++i) cSND::Open(kCommentSoundPaths[i], level.commentSounds[i]);
  backends.renderer->DeleteTexture(level.titleTexture);
  level.titleTexture = 0;
  BindGameplayKeys();
}
