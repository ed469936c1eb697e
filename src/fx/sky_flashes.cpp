// Lightning in the sky behind the level every 12 to 21 seconds, with thunder. The timers are
// single precision, and each period's flash takes its last 1.3 s.
#include "fx/sky_flashes.hpp"

#include "audio/sound.hpp"
#include "base/measures.hpp"
#include "base/random.hpp"
#include "fx/scene.hpp"
#include "fx/screen_effects.hpp"
#include "gfx/draw.hpp"
#include "gfx/load.hpp"

namespace {
constexpr double kFlashLength = 1.3;
// Held at full brightness, then faded out over the rest of the flash.
constexpr double kHold = 0.3;
// The thunder starts in this window before the period ends (about 0.8 s into the flash).
constexpr double kThunderFrom = 0.5;
constexpr double kThunderTo = 0.45;
constexpr int32_t kPeriodSpread = 10;
constexpr float kShortestPeriod = 12;
constexpr double kSkyFlashDepth = -3.1;

void LoadSkyFlash(EffectsState& fx) {
  fx.skyFlashTexture = cLoad::LoadDXT("data\\fx\\lightning.dxt");
  cSND::Open("DATA\\sounds\\fx\\thunder1.wav", fx.thunderSound);
  fx.skyAssetsLoaded = 1;
}

// Whether the period has come to its last 1.3 s, the flash's.
bool FlashShows(const EffectsState& fx) {
  return !(fx.nextFlash - kFlashLength >= fx.skyTimer);
}
}  // namespace

void StepSkyFlashes(const SceneFrame& s) {
  EffectsState& fx = s.fx;
  if (fx.skyAssetsLoaded == 0) LoadSkyFlash(fx);
  const double seconds = Seconds(s.level.frameMs);
  if (fx.skyTimer < fx.nextFlash) {
    fx.skyTimer = static_cast<float>(fx.skyTimer + seconds);
  } else {
    fx.flashAlpha = 1.0f;
    fx.flashHold = 0;
    fx.skyTimer = 0;
    fx.nextFlash = static_cast<float>(Random(kPeriodSpread)) + kShortestPeriod;
  }
  if (!FlashShows(fx)) return;
  if (fx.flashHold < kHold) {
    fx.flashHold = static_cast<float>(fx.flashHold + seconds);
  } else {
    fx.flashAlpha = static_cast<float>(fx.flashAlpha - seconds);
  }
  if (fx.nextFlash - kThunderFrom < fx.skyTimer && fx.skyTimer < fx.nextFlash - kThunderTo) {
    fx.thunderPlaying = 1;
    cSND::SetPosition(fx.thunderSound, 0);
  }
  if (fx.thunderPlaying != 0) {
    cSND::PlayReport(fx.thunderSound, s.level.soundVolume, fx.thunderPlaying);
  }
}

void ShowSkyFlash(const SceneFrame& s) {
  const EffectsState& fx = s.fx;
  if (!FlashShows(fx)) return;
  // Exactly over the background, just in front of it.
  const Unit& player = s.level.Player();
  DrawQuad(fx.skyFlashTexture, BackgroundX(player), BackgroundY(player), kSkyFlashDepth,
           kBackgroundWidth, kBackgroundHeight, ShownFlash(fx.flashAlpha, s.reducedFlashes));
}
