// The training pages.
#include "ui/training.hpp"

#include <algorithm>
#include <string>

#include "app/input.hpp"
#include "app/key_names.hpp"
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

// The actions in the pages' order: the rows of the first page, the combo's blows on the second.
constexpr int kLeft = 0, kRight = 1, kJump = 2, kCrouch = 3, kAttack1 = 4, kAttack2 = 5,
              kAttack3 = 6, kAttack4 = 7, kPower = 8, kPause = 9;
constexpr std::array<int, 9> kRowActions = {kLeft,    kJump,    kCrouch, kAttack1, kAttack2,
                                            kAttack3, kAttack4, kPower,  kPause};
constexpr std::array<int, 7> kComboActions = {kAttack1, kAttack3, kAttack1, kAttack3,
                                              kAttack2, kAttack3, kAttack4};

// The caps lie where the pad labels' rows and blows are: page 1 rows 42 pixels apart from 130 at
// x 90, page 2 blows 78 pixels apart from 90 on the line at 220.
constexpr KeyCap RowCap(int row) {
  return {0,
          90,
          130.0f + 42.0f * static_cast<float>(row),
          {kRowActions.at(static_cast<std::size_t>(row)), row == 0 ? kRight : -1}};
}
constexpr KeyCap ComboCap(int blow) {
  return {1,
          90.0f + 78.0f * static_cast<float>(blow),
          220,
          {kComboActions.at(static_cast<std::size_t>(blow)), -1}};
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
      DrawText(kPadLabelSize, PadLabelText(label, gameState.bindings), label.x, label.y,
               gameState.fontTexture);
    }
  }
}

// A cap of the game's own over the picture's, as wide as the room between the caps.
constexpr double kCapWidth = 74;
constexpr double kCapHeight = 32;
constexpr double kCapTop = 23;  // above the cap's line
constexpr LineColour kCapFill{0.22f, 0.21f, 0.23f, 1.0f};
constexpr LineColour kCapEdge{0.63f, 0.52f, 0.28f, 1.0f};
constexpr uint16_t kCapTextSize = 16;

void DrawKeyCap(const KeyCap& cap, const std::string& text) {
  const double left = cap.x - 3;
  const double top = cap.y - kCapTop;
  DrawBand(left, top, kCapWidth, kCapHeight, kCapFill);
  DrawOutline(left + 1, top + 1, kCapWidth - 2, kCapHeight - 2, 0, kCapEdge);
  const uint16_t size = TextSizeToFit(text, kCapWidth - 10, kCapTextSize);
  const double width = static_cast<double>(text.size() * size);
  DrawText(size, text, static_cast<float>(left + (kCapWidth - width) / 2),
           static_cast<float>(top + (kCapHeight - size) / 2), gameState.fontTexture);
}

// The picture names the default keys by their US marks; a cap that would say otherwise now is
// drawn again.
void DrawKeyCaps(int32_t page) {
  static const Bindings defaults = DefaultBindings();
  for (const KeyCap& cap : kKeyCaps) {
    if (cap.page != page) continue;
    const std::string shown = KeyCapText(cap, defaults, KeyNameOfId);
    const std::string now = KeyCapText(cap, gameState.bindings, KeyLabel);
    if (now != shown) DrawKeyCap(cap, now);
  }
}
}  // namespace

int32_t TurnTrainingPage(int32_t page, bool back, bool next) {
  // In 64 bits: a page index at either end of the 32-bit range must not wrap before the clamp.
  int64_t turned = int64_t{page} - (back ? 1 : 0) + (next ? 1 : 0);
  return static_cast<int32_t>(std::clamp<int64_t>(turned, 0, kTrainingPageCount - 1));
}

const std::array<PadLabel, 16> kPadLabels = {{
    {0, kPadColumnX, PadRowY(0), kStickLabel},
    {0, kPadColumnX, PadRowY(1), kStickLabel},
    {0, kPadColumnX, PadRowY(2), kStickLabel},
    {0, kPadColumnX, PadRowY(3), kAttack1},
    {0, kPadColumnX, PadRowY(4), kAttack2},
    {0, kPadColumnX, PadRowY(5), kAttack3},
    {0, kPadColumnX, PadRowY(6), kAttack4},
    {0, kPadColumnX, PadRowY(7), kPower},
    {0, kPadColumnX, PadRowY(8), kPause},
    {1, PadComboX(0), kPadComboY, kComboActions[0]},
    {1, PadComboX(1), kPadComboY, kComboActions[1]},
    {1, PadComboX(2), kPadComboY, kComboActions[2]},
    {1, PadComboX(3), kPadComboY, kComboActions[3]},
    {1, PadComboX(4), kPadComboY, kComboActions[4]},
    {1, PadComboX(5), kPadComboY, kComboActions[5]},
    {1, PadComboX(6), kPadComboY, kComboActions[6]},
}};

const std::array<KeyCap, 16> kKeyCaps = {RowCap(0),   RowCap(1),   RowCap(2),   RowCap(3),
                                         RowCap(4),   RowCap(5),   RowCap(6),   RowCap(7),
                                         RowCap(8),   ComboCap(0), ComboCap(1), ComboCap(2),
                                         ComboCap(3), ComboCap(4), ComboCap(5), ComboCap(6)};

std::string PadLabelText(const PadLabel& label, const Bindings& bindings) {
  if (label.action == kStickLabel) return "stick";
  const auto& buttons = bindings.at(static_cast<std::size_t>(label.action)).buttons;
  return buttons.empty() ? "" : PadButtonLabel(buttons.front());
}

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
  DrawKeyCaps(shown);
  DrawPadLabels(shown);

  UpdateClickSound(gameState.clickSound,
                   t.back.justPressed || t.next.justPressed || keyBack || keyNext, kClickVolume,
                   TrainingClickEnded);

  if (DXInput1.Has(kPauseButton) || leave) {
    f.trainerShown = 0;
    f.menuShown = 1;
  }
}

void ResetTraining() {
  trainingScreen = TrainingScreen{};
}
