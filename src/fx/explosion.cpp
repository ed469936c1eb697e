// The explosion: one animation for the whole program, played once per explosion with its sound.
// The step advances it and plays the sound; the show draws the picture the step left.
#include "fx/explosion.hpp"

#include "audio/sound.hpp"
#include "base/backends.hpp"
#include "base/messages.hpp"
#include "gfx/frame_sequence.hpp"
#include "gfx/renderer.hpp"

namespace {
constexpr int32_t kHighestFrame = 512;
constexpr int32_t kLoudest = 255;

uint16_t Fits16(int32_t value, const char* what) {
  if (value < 0 || value > 0xFFFF) FatalRangeError(std::string(what) + " " + std::to_string(value));
  return static_cast<uint16_t>(value);
}
}  // namespace

void BlowInit(cBlow& blow, ExplosionPlayer& player) {
  std::unique_ptr<cAnim>& anim = player.anim;
  anim = std::make_unique<cAnim>();
  int32_t frames = LoadFrameSequenceDense(blow.frameFolder, anim->textures, kHighestFrame);
  anim->firstFrame = Fits16(blow.firstFrame, "explosion first frame");
  anim->frameCount = Fits16(blow.frameCount, "explosion frame count");
  if (anim->frameCount > 0) {
    NoteFramesPastTheEnd(blow.frameFolder, frames, anim->firstFrame + anim->frameCount - 1,
                         "the explosion");
  }
  anim->frameDuration = static_cast<float>(blow.frameTime);
  anim->playing = 1;
  cSND::Open(blow.soundFile, blow.soundHandle);
}

void BlowStep(cBlow& blow, ExplosionPlayer& player, double frameTime, int32_t volume,
              uint8_t& active, double& soundGate) {
  if (volume < 0 || volume > kLoudest) {
    FatalRangeError("explosion volume " + std::to_string(volume));
  }
  player.shown.reset();
  cAnim* anim = player.anim.get();
  if (active != 0 && anim) {
    anim->Advance(frameTime);
    player.shown = anim->current;
    cSND::Play(blow.soundHandle, static_cast<uint8_t>(volume), false);
    // `current` is compared with the count alone: the explosion's clip starts at frame 0.
    if (anim->current == blow.frameCount - 1) {
      active = 0;
      anim->current = 0;
    }
  }
  // A finished sound is rewound on the next call, so the next explosion plays it from the start;
  // a gate of 0 (a restarted level) stops it once even while it plays.
  if (cSND::Ended(blow.soundHandle) || soundGate == 0.0) {
    cSND::Stop(blow.soundHandle);
  }
  soundGate = 1.0;
}

void BlowShow(const ExplosionPlayer& player, int32_t width, int32_t height, double x, double y,
              double depth) {
  if (!player.shown || !player.anim) return;
  const cAnim& anim = *player.anim;
  const Texture texture = At(anim.textures, *player.shown, "animation picture");
  backends.renderer->DrawAnim(texture, x, y, depth, width, height, anim.mirrored == 1);
}
