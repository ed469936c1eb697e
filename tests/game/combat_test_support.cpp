// Hand-built fights for the enemy, hit, sound and scoring tests.
#include "game/combat_test_support.hpp"

#include "app/game_state.hpp"
#include "audio/sound.hpp"
#include "base/backends.hpp"
#include "content/level_load.hpp"

bool CountingAudio::Playing(uint32_t handle) const {
  const std::vector<StreamInfo> all = Streams();
  return handle >= 1 && handle <= all.size() && all[handle - 1].playing;
}

void CountingAudio::Advance(double ms) {
  const std::vector<StreamInfo> before = Streams();
  HeadlessAudio::Advance(ms);
  const std::vector<StreamInfo> after = Streams();
  for (std::size_t i = 0; i < after.size(); ++i) {
    if (before[i].playing && !after[i].playing && after[i].position == after[i].length) {
      ++ends_[static_cast<uint32_t>(i + 1)];
    }
  }
}

int CountingAudio::Ends(uint32_t handle) const {
  auto it = ends_.find(handle);
  return it == ends_.end() ? 0 : it->second;
}

namespace {

struct Body {
  int32_t left, top, right, bottom;
  double speed;
  int32_t life, damage;
};
// The demo content's characters, by kind.
constexpr Body kBodies[] = {
    {-14, -46, 14, 56, 0.24, 100, 10},
    {-22, -22, 22, 24, 0.14, 10, 8},
    {-15, -48, 15, 56, 0.11, 30, 7},
    {-34, -84, 34, 108, 0.05, 110, 20},
};

Unit& Place(int kind, double x, double y) {
  const int i = gameState.map.CharCount++;
  Unit& u = UnitAt(i);
  u = Unit{};
  const Body& b = kBodies[kind];
  u.kind = kind;
  u.x = x;
  u.y = y;
  u.boxLeft = b.left;
  u.boxTop = b.top;
  u.boxRight = b.right;
  u.boxBottom = b.bottom;
  u.speed = b.speed;
  u.life = b.life;
  u.damage = b.damage;
  u.activated = 1;
  u.inRange = 1;
  u.anim = std::make_unique<cAnim>();
  // The demo's strike and blows, so that a blow can end by going back to its first picture.
  if (kind == kGuard) u.anims[4] = {52, 12, 0.09};
  if (kind == kGolem) u.anims[4] = {24, 14, 0.08};
  if (kind == kGolem) u.anims[5] = {50, 16, 0.075};
  return u;
}

}  // namespace

Fight::Fight() : fake(std::make_unique<FakeBackends>(MORVA_TEST_CONTENT)) {
  backends.audio = &audio;
  gameState.morva.frameTime = 10;
  gameState.morva.timeScale = 1000;
  gameState.settings.soundVolume = 30;
  gameState.map.Width = 4;
  gameState.map.Height = 2;
}

Fight::~Fight() {
  audio.Free();
}

Unit& Fight::Player(double x, double y) {
  gameState.map.CharCount = 0;
  return Place(kPlayer, x, y);
}

Unit& Fight::Add(int kind, double x, double y) {
  return Place(kind, x, y);
}

void Fight::LoadSounds() {
  LoadUnitSounds();
  LoadPlayerSounds();
  const char* comments[] = {"DATA\\sounds\\coments\\c1.wav", "DATA\\sounds\\coments\\c2.wav",
                            "DATA\\sounds\\coments\\c3.wav"};
  for (int i = 0; i < 3; ++i) cSND::Open(comments[i], gameState.level.commentSounds[i]);
}

void ShowPicture(Unit& u, int animIndex, int picture) {
  u.animIndex = static_cast<uint8_t>(animIndex);
  u.anim->current = static_cast<uint16_t>(picture);
}
