// The training pages.
#include "ui/training.hpp"

#include <algorithm>
#include <string>

#include "app/input.hpp"
#include "base/messages.hpp"
#include "gfx/draw.hpp"
#include "gfx/load.hpp"
#include "ui/click_sound.hpp"

TrainingScreen trainingScreen;

namespace {
constexpr double kPageDepth = -2;
constexpr int32_t kButtonSize = 50;
constexpr int32_t kBackX = 350;
constexpr int32_t kNextX = 410;
constexpr int32_t kButtonsY = 540;
constexpr double kClickDelaySeconds = 0.1;
// The training click is quieter than the menu's and does not follow the effects volume.
constexpr uint8_t kClickVolume = 30;

cButton MakeButton(const char* pressedImage, const char* releasedImage) {
  cButton b;
  b.width = kButtonSize;
  b.height = kButtonSize;
  cLoad::LoadTGA(pressedImage, b.pressedTexture);
  cLoad::LoadTGA(releasedImage, b.releasedTexture);
  return b;
}

void LoadTraining() {
  TrainingScreen& t = trainingScreen;
  for (int i = 0; i < kTrainingPageCount; ++i) {
    t.pages[static_cast<size_t>(i)] =
        cLoad::LoadDXT("data\\trainer\\" + std::to_string(i) + ".dxt");
  }
  t.back = MakeButton("data\\trainer\\bBackP.tga", "data\\trainer\\bBackR.tga");
  t.next = MakeButton("data\\trainer\\bnextP.tga", "data\\trainer\\bnextR.tga");
  gameState.flags.trainerLoaded = 1;
}
}  // namespace

int32_t TurnTrainingPage(int32_t page, bool back, bool next) {
  // In 64 bits: a page index at either end of the 32-bit range must not wrap before the clamp.
  int64_t turned = int64_t{page} - (back ? 1 : 0) + (next ? 1 : 0);
  return static_cast<int32_t>(std::clamp<int64_t>(turned, 0, kTrainingPageCount - 1));
}

void RunTraining() {
  TrainingScreen& t = trainingScreen;
  ModeFlags& f = gameState.flags;
  if (f.trainerLoaded == 0) LoadTraining();
  DrawQuad(At(t.pages, static_cast<size_t>(t.page), "training page"), 0, 0, kPageDepth, 800, 600,
           1);

  double frameMs = gameState.morva.frameTime;
  bool mouseHeld = f.mouseLeftDown == 1;
  bool back = t.back.Update(kBackX, kButtonsY, frameMs, kClickDelaySeconds, mouseHeld);
  bool next = t.next.Update(kNextX, kButtonsY, frameMs, kClickDelaySeconds, mouseHeld);
  t.page = TurnTrainingPage(t.page, back, next);

  UpdateClickSound(gameState.clickSound, t.back.justPressed || t.next.justPressed, kClickVolume,
                   TrainingClickEnded);

  if (DXInput1.Has(ButtonState(4))) {
    f.trainerShown = 0;
    f.menuShown = 1;
  }
}

void ResetTraining() {
  trainingScreen = TrainingScreen{};
}
