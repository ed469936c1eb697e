// The button click sound.
#include "ui/click_sound.hpp"

#include "audio/sound.hpp"

namespace {
constexpr uint32_t kTrainingCutBytes = 500;
}  // namespace

bool MenuClickEnded(uint32_t position, uint32_t length) {
  return position == length;
}

bool TrainingClickEnded(uint32_t position, uint32_t length) {
  if (length <= kTrainingCutBytes) return position >= length;
  return position > length - kTrainingCutBytes;
}

bool clickSoundPending = false;

void UpdateClickSound(SoundHandle click, bool newPress, uint8_t volume,
                      bool (*ended)(uint32_t position, uint32_t length)) {
  if (newPress) clickSoundPending = true;
  if (clickSoundPending) cSND::Play(click, volume, false);
  if (ended(cSND::Position(click), cSND::Length(click))) {
    cSND::Stop(click);
    clickSoundPending = false;
  }
}
