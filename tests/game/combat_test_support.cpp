// Fights for the enemy, hit, sound and scoring tests.
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

Fight::Fight() : TestLevel(Bodies::Demo, MORVA_TEST_CONTENT) {
  backends.audio = &audio;
  gameState.settings.soundVolume = 30;
}

Fight::~Fight() {
  audio.Free();
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
