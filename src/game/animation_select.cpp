// Animation selection: rows of state flags, later true rows overriding earlier ones.
#include "game/animation_select.hpp"

#include <span>
#include <string>

#include "game/kinds.hpp"

namespace {

// The player's attacks 2 and 3 show each other's entries.
constexpr AnimRow kPlayerRows[] = {{When::Idle, 0},    {When::Moving, 1},    {When::Jumping, 2},
                                   {When::Attack1, 4}, {When::Attack2, 6},   {When::Attack3, 5},
                                   {When::Attack4, 7}, {When::Crouching, 8}, {When::Stunned, 10}};
constexpr uint8_t kPlayerDead = 11;
uint16_t Fits16(int32_t value, const char* what) {
  if (value < 0 || value > 0xFFFF) FatalRangeError(std::string(what) + " " + std::to_string(value));
  return static_cast<uint16_t>(value);
}
}  // namespace

void SelectPlayer(Unit& u) {
  ShowRowsThenDeath(u, kPlayerRows, kPlayerDead);
  const AnimEntry& e = ShownEntry(u);
  if (u.attack > 0 && u.anim->current == e.firstFrame + e.frameCount - 1) u.attack = 0;
}

void SelectAnimation(Unit& u) {
  if (!u.anim) return;
  if (auto select = RulesOf(u.kind).selectAnimation) select(u);
  if (u.animIndex >= kAnimCount) FatalRangeError("animation index " + std::to_string(u.animIndex));
}

void StepAnimation(Unit& u, double frameMs) {
  if (!u.anim) return;
  const AnimEntry& e = At(u.anims, u.animIndex, "animation index");
  u.anim->firstFrame = Fits16(e.firstFrame, "animation first frame");
  u.anim->frameCount = Fits16(e.frameCount, "animation frame count");
  u.anim->frameDuration = static_cast<float>(e.rate);
  u.anim->Advance(frameMs);
}
