// The training pages.
#include "ui/training.hpp"

#include <algorithm>
#include <string>

#include "app/input.hpp"
#include "app/platform.hpp"
#include "base/backends.hpp"
#include "base/messages.hpp"
#include "gfx/draw.hpp"
#include "gfx/load.hpp"
#include "ui/click_sound.hpp"
#include "ui/menu_keys.hpp"
#include "ui/outline.hpp"

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
// The highlight frame stands this far outside the button.
constexpr double kHighlightMargin = 4;

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

// The controller's names beside the keys: on the first page in a column between the key caps and
// the text (rows 42 pixels apart from 130), on the second beside the numbers under the combo's
// key caps (78 pixels apart from 90).
constexpr float kPadColumnX = 168;
constexpr float PadRowY(int row) {
  return 130.0f + 42.0f * static_cast<float>(row) - 14.0f;
}
constexpr float PadComboX(int blow) {
  return 90.0f + 78.0f * static_cast<float>(blow) + 22.0f;
}
constexpr float kPadComboY = 233;
constexpr uint16_t kPadLabelSize = 14;

// Left and Right (or Up and Down) move the highlight, Return, Space or A press the button under
// it, B goes back. Sets the clicks of this frame.
void FollowTrainingKeys(bool& back, bool& next, bool& leave) {
  TrainingScreen& t = trainingScreen;
  MenuKeys keys = TakeMenuKeys(t.keysFrame);
  leave = keys.Fired(MenuControl::Back);
  int step = keys.Horizontal() != 0 ? keys.Horizontal() : keys.Vertical();
  if (keys.highlightWasShown && step != 0) t.focus = step > 0 ? 1 : 0;
  if (keys.Fired(MenuControl::Press)) (t.focus == 0 ? back : next) = true;
  if (MenuHighlightShown()) {
    DrawOutline(t.focus == 0 ? kBackX : kNextX, kButtonsY, kButtonSize, kButtonSize,
                kHighlightMargin, kHighlightColour);
  }
}

void DrawPadLabels(int32_t page) {
  if (!backends.platform || !backends.platform->ControllerConnected()) return;
  for (const PadLabel& label : kPadLabels) {
    if (label.page == page) {
      DrawText(kPadLabelSize, label.text, label.x, label.y, gameState.fontTexture);
    }
  }
}
}  // namespace

int32_t TurnTrainingPage(int32_t page, bool back, bool next) {
  // In 64 bits: a page index at either end of the 32-bit range must not wrap before the clamp.
  int64_t turned = int64_t{page} - (back ? 1 : 0) + (next ? 1 : 0);
  return static_cast<int32_t>(std::clamp<int64_t>(turned, 0, kTrainingPageCount - 1));
}

const std::array<PadLabel, 16> kPadLabels = {{
    {0, kPadColumnX, PadRowY(0), "stick"},
    {0, kPadColumnX, PadRowY(1), "stick"},
    {0, kPadColumnX, PadRowY(2), "stick"},
    {0, kPadColumnX, PadRowY(3), "A"},
    {0, kPadColumnX, PadRowY(4), "B"},
    {0, kPadColumnX, PadRowY(5), "X"},
    {0, kPadColumnX, PadRowY(6), "Y"},
    {0, kPadColumnX, PadRowY(7), "RB"},
    {0, kPadColumnX, PadRowY(8), "Start"},
    {1, PadComboX(0), kPadComboY, "A"},
    {1, PadComboX(1), kPadComboY, "X"},
    {1, PadComboX(2), kPadComboY, "A"},
    {1, PadComboX(3), kPadComboY, "X"},
    {1, PadComboX(4), kPadComboY, "B"},
    {1, PadComboX(5), kPadComboY, "X"},
    {1, PadComboX(6), kPadComboY, "Y"},
}};

void RunTraining() {
  TrainingScreen& t = trainingScreen;
  ModeFlags& f = gameState.flags;
  if (f.trainerLoaded == 0) LoadTraining();
  int32_t shown = t.page;
  DrawQuad(At(t.pages, static_cast<size_t>(shown), "training page"), 0, 0, kPageDepth, 800, 600, 1);

  double frameMs = gameState.morva.frameTime;
  bool mouseHeld = f.mouseLeftDown == 1;
  bool back = t.back.Update(kBackX, kButtonsY, frameMs, kClickDelaySeconds, mouseHeld);
  bool next = t.next.Update(kNextX, kButtonsY, frameMs, kClickDelaySeconds, mouseHeld);
  bool keyBack = false;
  bool keyNext = false;
  bool leave = false;
  FollowTrainingKeys(keyBack, keyNext, leave);
  t.page = TurnTrainingPage(t.page, back || keyBack, next || keyNext);
  DrawPadLabels(shown);

  UpdateClickSound(gameState.clickSound,
                   t.back.justPressed || t.next.justPressed || keyBack || keyNext, kClickVolume,
                   TrainingClickEnded);

  if (DXInput1.Has(ButtonState(4)) || leave) {
    f.trainerShown = 0;
    f.menuShown = 1;
  }
}

void ResetTraining() {
  trainingScreen = TrainingScreen{};
}
