// The options screen.
//
// A display-mode choice switches the mode on the one GL context the program keeps for its whole
// run: the platform's context set-up reuses the existing context, so the textures of every other
// screen (intro, training, HUD, a level loaded earlier) stay valid. The menu and this screen still
// load their pictures again afterwards, as they always have.
#include "ui/options.hpp"

#include <algorithm>

#include "app/display.hpp"
#include "app/input.hpp"
#include "gfx/draw.hpp"
#include "gfx/load.hpp"
#include "ui/config.hpp"
#include "ui/controls.hpp"
#include "ui/menu_keys.hpp"
#include "ui/outline.hpp"

OptionsScreen optionsScreen;

namespace {
constexpr double kBackgroundDepth = -2;
constexpr int32_t kBarLength = 200;
constexpr uint8_t kKnobWidth = 32;
constexpr int32_t kGammaLeast = 58;
constexpr int32_t kListWidth = 200;
constexpr uint8_t kListRowHeight = 30;
// Only modes of the game's own picture size and depth are offered.
constexpr int kModeWidth = 800;
constexpr int kModeHeight = 600;
constexpr int kModeBits = 32;
constexpr int kMaxModeIndex = kListBoxCapacity - 1;

constexpr uint16_t kSwitchTextSize = 16;
constexpr float kSwitchTextY = 316;
constexpr float kOnTextX = 180;
constexpr float kOffTextX = 150;
// The blood bar shows a clear on or off when the screen opens.
constexpr int32_t kBloodOnPosition = 80;
constexpr int32_t kBloodOffPosition = 20;
constexpr int32_t kBloodThreshold = 50;
// The keyboard highlight stands this far outside a control.
constexpr double kHighlightMargin = 4;

// The knob stands where the stored value puts it: for a bar whose values start above 0 (gamma)
// that is not the value itself, or the knob would move each time the screen opens.
cTrackBar MakeBar(int32_t minValue, int32_t maxValue, int32_t value, Texture bar, Texture knob) {
  cTrackBar b;
  b.minValue = minValue;
  b.maxValue = maxValue;
  b.length = kBarLength;
  b.knobWidth = kKnobWidth;
  b.position = TrackBarPositionOf(value, minValue, maxValue, kBarLength);
  b.barTexture = bar;
  b.knobTexture = knob;
  return b;
}

// A display without an 800 x 600 mode still lists the mode in use (the one chosen before, else the
// desktop's), so the list is never an empty box.
void AddModeInUse(cListBox& list) {
  int32_t index = gameState.settings.displayMode;
  DisplayMode mode;
  if (!DisplayModeAt(index, mode)) index = CurrentModeIndex();
  if (!DisplayModeAt(index, mode)) return;
  list.Add(std::to_string(mode.width) + "x" + std::to_string(mode.height) + "x" +
               std::to_string(mode.bitsPerPixel) + " " + std::to_string(mode.frequency) + "Hz",
           index);
}

void BuildModeList(cListBox& list) {
  OptionsScreen& o = optionsScreen;
  o.refreshRates.fill(0);
  o.modeIndices.fill(0);
  ListRefreshRates(kModeWidth, kModeHeight, kModeBits, kMaxModeIndex, o.rateCount, o.refreshRates);
  ListModeIndices(kModeWidth, kModeHeight, kModeBits, kMaxModeIndex, o.modeCount, o.modeIndices);
  int entries = std::clamp(o.rateCount, 0, kListBoxCapacity);
  for (int i = 0; i < entries; ++i) {
    list.Add(ModeEntryText(o.refreshRates[static_cast<size_t>(i)]),
             o.modeIndices[static_cast<size_t>(i)]);
  }
  if (list.itemCount == 0) AddModeInUse(list);
  list.selected = 0;
  for (int i = 0; i < list.itemCount; ++i) {
    if (list.items[static_cast<size_t>(i)].value == gameState.settings.displayMode) {
      list.selected = i;
    }
  }
}

void LoadOptions() {
  OptionsScreen& o = optionsScreen;
  const Settings& s = gameState.settings;
  // After a display change the old pictures are replaced, not kept beside the new ones.
  Texture oldBackground = o.background;
  FreeTexture(o.listBox.closedTexture);
  FreeTexture(o.listBox.openTexture);
  FreeTexture(o.listBox.listFontTexture);
  // The four bars share one bar and one knob picture.
  FreeTexture(o[OptionsBar::Music].barTexture);
  FreeTexture(o[OptionsBar::Music].knobTexture);
  FreeIfReplaced(oldBackground, cLoad::LoadJPG("data\\options\\bg.jpg", o.background));
  // The shared font, again, so that it exists for whatever context is current; the old one
  // goes only once the new one is there.
  Texture oldFont = gameState.fontTexture;
  FreeIfReplaced(oldFont, cLoad::LoadTGA("data\\fonts\\fontLV.tga", gameState.fontTexture));

  cListBox& list = o.listBox;
  list = cListBox{};
  list.width = kListWidth;
  list.rowHeight = kListRowHeight;
  list.active = true;
  // A press still held from the screen before (the choice that changed the display mode) has
  // been used; without this it would open the new list at once.
  list.clickLatch = gameState.flags.mouseLeftDown == 1;
  cLoad::LoadJPG("data\\options\\ListBox_close.jpg", list.closedTexture);
  cLoad::LoadJPG("data\\options\\ListBox_open.JPG", list.openTexture);
  cLoad::LoadTGA("data\\fonts\\listbox.tga", list.listFontTexture);
  BuildModeList(list);

  Texture bar = 0;
  Texture knob = 0;
  cLoad::LoadTGA("data\\options\\trackBar.tga", bar);
  cLoad::LoadTGA("data\\options\\tracker.tga", knob);
  o[OptionsBar::Music] = MakeBar(0, 100, s.musicVolume, bar, knob);
  o[OptionsBar::Sound] = MakeBar(0, 100, s.soundVolume, bar, knob);
  o[OptionsBar::Gamma] = MakeBar(kGammaLeast, 255, s.gamma, bar, knob);
  o[OptionsBar::Blood] =
      MakeBar(0, 100, s.showBlood ? kBloodOnPosition : kBloodOffPosition, bar, knob);
  o.loaded = true;
}

// Puts a bar's new value into the settings, as its row of the screen says.
void ApplyBar(OptionsBar b) {
  OptionsScreen& o = optionsScreen;
  Settings& s = gameState.settings;
  int32_t value = o[b].value;
  switch (b) {
    case OptionsBar::Music:
      s.musicVolume = static_cast<uint8_t>(value);
      break;
    case OptionsBar::Sound:
      s.soundVolume = static_cast<uint8_t>(value);
      break;
    case OptionsBar::Gamma:
      s.gamma = static_cast<uint8_t>(value);
      ApplyGamma(s.gamma);
      break;
    case OptionsBar::Blood:
      s.showBlood = BloodOn(value) ? 1 : 0;
      break;
  }
}

void UpdateBars(bool mouseHeld) {
  OptionsScreen& o = optionsScreen;
  for (int i = 0; i < kOptionsBarCount; ++i) {
    auto b = static_cast<OptionsBar>(i);
    if (o[b].Update(kOptionsBarX, OptionsBarY(b), mouseHeld)) ApplyBar(b);
  }
}

// Left and Right on the focused control; Press on it. True when the mode list chose a row.
bool KeysOnControl(const MenuKeys& keys) {
  OptionsScreen& o = optionsScreen;
  cListBox& list = o.listBox;
  if (o.focus == kModeListFocus) {
    if (keys.Fired(MenuControl::Press) && list.active && list.itemCount > 0) list.open = true;
    return false;
  }
  if (o.focus == kControlsButtonFocus) {
    if (keys.Fired(MenuControl::Press)) OpenControls();
    return false;
  }
  auto b = static_cast<OptionsBar>(o.focus);
  cTrackBar& bar = o[b];
  bool changed = false;
  if (b == OptionsBar::Blood) {
    bool on = BloodOn(bar.position);
    if (keys.Horizontal() != 0) on = keys.Horizontal() > 0;
    if (keys.Fired(MenuControl::Press)) on = !on;
    changed = bar.SetPosition(on ? kBloodOnPosition : kBloodOffPosition);
  } else if (keys.Horizontal() != 0) {
    changed = bar.Step(keys.Horizontal());
  }
  if (changed) ApplyBar(b);
  return false;
}

// The keyboard and controller on the screen; `back` is set by B. True when the mode list chose.
bool FollowOptionsKeys(bool& back) {
  OptionsScreen& o = optionsScreen;
  cListBox& list = o.listBox;
  MenuKeys keys = TakeMenuKeys(o.keysFrame);
  back = keys.Fired(MenuControl::Back);
  // The first key only brings the highlight back.
  if (!keys.highlightWasShown) return false;
  if (list.open) {
    // B closes an open list without choosing, rather than leaving the screen.
    if (back) list.open = false;
    back = false;
    list.selected = std::clamp(list.selected + keys.Vertical(), 0, std::max(0, list.itemCount - 1));
    if (!keys.Fired(MenuControl::Press) || list.itemCount == 0) return false;
    list.open = false;
    return true;
  }
  o.focus = MoveHighlight(o.focus, keys.Vertical(), kOptionsFocusCount, [](int) { return true; });
  return KeysOnControl(keys);
}

void DrawOptionsHighlight() {
  OptionsScreen& o = optionsScreen;
  if (!MenuHighlightShown()) return;
  const cListBox& list = o.listBox;
  if (o.focus == kControlsButtonFocus) {
    DrawOutline(kControlsButtonX, kControlsButtonY, kControlsButtonWidth, kControlsButtonHeight,
                kHighlightMargin, kHighlightColour);
  } else if (o.focus < kModeListFocus) {
    // Around the bar and the knob that stands above it.
    int32_t y = OptionsBarY(static_cast<OptionsBar>(o.focus));
    DrawOutline(kOptionsBarX, y - kTrackKnobSize / 2 + kTrackBarImageHeight / 2, kBarLength,
                kTrackKnobSize, kHighlightMargin, kHighlightColour);
  } else if (list.open) {
    DrawOutline(kModeListX, kModeListY + list.selected * list.rowHeight, kListWidth, list.rowHeight,
                0, kHighlightColour);
  } else {
    DrawOutline(kModeListX, kModeListY, kListWidth, list.rowHeight, kHighlightMargin,
                kHighlightColour);
  }
}

void ChangeDisplayMode() {
  OptionsScreen& o = optionsScreen;
  const cListBox& list = o.listBox;
  gameState.settings.displayMode = list.items[static_cast<size_t>(list.selected)].value;
  if (SetupDisplayByIndex(gameState.settings.displayMode) == SetupResult::NoPixelFormat) {
    // Without a context nothing can be drawn any more: the program ends the normal way.
    gameState.flags.quitRequested = 1;
  }
  o.loaded = false;
  gameState.flags.menuLoaded = 0;
}
}  // namespace

int32_t OptionsBarY(OptionsBar b) {
  switch (b) {
    case OptionsBar::Music:
      return 197;
    case OptionsBar::Sound:
      return 238;
    case OptionsBar::Gamma:
      return 280;
    case OptionsBar::Blood:
      return 320;
  }
  return 0;
}

std::string ModeEntryText(int32_t refreshRate) {
  return "800x600x32 " + std::to_string(refreshRate) + "Hz";
}

bool BloodOn(int32_t value) {
  return value >= kBloodThreshold;
}

void RunOptions() {
  OptionsScreen& o = optionsScreen;
  ModeFlags& f = gameState.flags;
  if (!o.loaded) LoadOptions();
  DrawQuad(o.background, 0, 0, kBackgroundDepth, 800, 600, 1);
  if (controlsPage.open) {
    RunControls();
    if (controlsPage.open) return;
  }

  bool mouseHeld = f.mouseLeftDown == 1;
  if (ControlsButton(mouseHeld)) OpenControls();
  UpdateBars(mouseHeld);
  bool back = false;
  bool keyChoice = FollowOptionsKeys(back);
  // While a level is paused under the menu a choice is shown but neither kept nor applied.
  bool choice = o.listBox.Update(kModeListX, kModeListY, mouseHeld) || keyChoice;
  DrawOptionsHighlight();
  if (choice && f.inGame == 0) ChangeDisplayMode();

  if (BloodOn(o[OptionsBar::Blood].position)) {
    DrawText(kSwitchTextSize, "ON", kOnTextX, kSwitchTextY, gameState.fontTexture);
  } else {
    DrawText(kSwitchTextSize, "OFF", kOffTextX, kSwitchTextY, gameState.fontTexture);
  }

  if (DXInput1.Has(kPauseButton) || back) {
    SaveConfig(gameState.settings);
    f.optionsShown = 0;
    f.menuShown = 1;
  }
}

void ResetOptions() {
  optionsScreen = OptionsScreen{};
}
