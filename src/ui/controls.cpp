// The Controls page.
#include "ui/controls.hpp"

#include <algorithm>
#include <array>

#include "app/game_state.hpp"
#include "app/input.hpp"
#include "app/key_names.hpp"
#include "app/platform.hpp"
#include "base/backends.hpp"
#include "content/level_load.hpp"
#include "gfx/draw.hpp"
#include "ui/button.hpp"
#include "ui/config.hpp"
#include "ui/menu_keys.hpp"
#include "ui/outline.hpp"

ControlsPage controlsPage;

namespace {
// The page covers the options panel (whose artwork names the options' own rows).
constexpr double kPanelX = 50;
constexpr double kPanelY = 128;
constexpr double kPanelWidth = 700;
constexpr double kPanelHeight = 316;
constexpr LineColour kPanelColour{0.07f, 0.065f, 0.06f, 1.0f};

constexpr uint16_t kTitleSize = 20;
constexpr float kTitleY = 138;
constexpr uint16_t kHeadSize = 12;
constexpr float kHeadY = 170;
constexpr uint16_t kRowTextSize = 14;
constexpr int32_t kFirstRowY = 190;
constexpr int32_t kRowHeight = 21;
constexpr int32_t kRowX = 60;
constexpr int32_t kRowWidth = 680;
constexpr float kNameX = 70;
constexpr float kKeysX = 220;
constexpr float kKeysWidth = 290;
constexpr float kButtonsX = 525;
constexpr float kButtonsWidth = 210;
// The switches and Defaults share the last line.
constexpr int32_t kLastLineY = 412;
constexpr int32_t kVsyncX = 70;
constexpr int32_t kFlashesX = 260;
constexpr int32_t kDefaultsX = 590;
constexpr int32_t kLastLineWidth = 150;
constexpr int32_t kDefaultsWidth = 140;

constexpr float kUnboundColour[4] = {1.0f, 0.38f, 0.3f, 1.0f};
constexpr float kWaitingColour[4] = {1.0f, 0.82f, 0.35f, 1.0f};
constexpr LineColour kButtonFrame{0.72f, 0.55f, 0.25f, 1.0f};
constexpr LineColour kButtonFill{0.16f, 0.14f, 0.12f, 0.95f};
constexpr LineColour kWaitingFrame{1.0f, 0.82f, 0.35f, 1.0f};

constexpr std::array<const char*, kActionCount> kActionLabels = {
    "LEFT",     "RIGHT",    "JUMP",     "CROUCH",   "ATTACK 1",
    "ATTACK 2", "ATTACK 3", "ATTACK 4", "POWER-UP", "PAUSE"};

void DrawFitted(const std::string& text, float x, float y, float width, const float* colour) {
  const uint16_t size = TextSizeToFit(text, width, kRowTextSize);
  if (colour) {
    DrawTintedText(size, text, x, y, gameState.fontTexture, colour);
  } else {
    DrawText(size, text, x, y, gameState.fontTexture);
  }
}

// A framed box with a centred label, as the page's and the options screen's buttons look.
void DrawBoxButton(int32_t x, int32_t y, int32_t width, int32_t height, const std::string& label,
                   uint16_t size) {
  DrawBand(x, y, width, height, kButtonFill);
  DrawOutline(x, y, width, height, 0, kButtonFrame);
  const float textWidth = static_cast<float>(label.size() * size);
  DrawText(size, label, static_cast<float>(x) + (static_cast<float>(width) - textWidth) / 2,
           static_cast<float>(y) + static_cast<float>(height - size) / 2, gameState.fontTexture);
}

struct Box {
  int32_t x, y, width, height;
};

Box ControlBox(int control) {
  if (control < kControlsVsync) return {kRowX, ControlsRowY(control), kRowWidth, kRowHeight};
  if (control == kControlsVsync) return {kVsyncX - 6, kLastLineY, kLastLineWidth, kRowHeight + 6};
  if (control == kControlsFlashes) {
    return {kFlashesX - 6, kLastLineY, kLastLineWidth + 40, kRowHeight + 6};
  }
  return {kDefaultsX, kLastLineY, kDefaultsWidth, kRowHeight + 6};
}

int ControlUnderCursor() {
  for (int c = 0; c < kControlsCount; ++c) {
    Box b = ControlBox(c);
    if (PointStrictlyInside(b.x, b.y, b.width, b.height, gameState.cursorX, gameState.cursorY)) {
      return c;
    }
  }
  return -1;
}

// The bindings into the input states and the controller, and into settings.cfg.
void ApplyBindings() {
  InstallBindings(gameState.bindings);
  // The attack keys go into their buttons at the level load; a level loaded already gets them now.
  if (gameState.flags.levelLoaded == 1) BindGameplayKeys();
  const ActionValues values = ActionValuesOf(gameState.bindings);
  SavePlayerSettings(PlayerSettingsPath(), gameState.playerSettings, &values);
}

void ApplySwitches() {
  if (backends.platform) backends.platform->SetVsync(gameState.playerSettings.vsync);
  SavePlayerSettings(PlayerSettingsPath(), gameState.playerSettings);
}

void Activate(int control) {
  ControlsPage& p = controlsPage;
  PlayerSettings& s = gameState.playerSettings;
  if (control >= 0 && control < kControlsVsync) {
    p.waiting = control;
  } else if (control == kControlsVsync) {
    s.vsync = !s.vsync;
    ApplySwitches();
  } else if (control == kControlsFlashes) {
    s.reducedFlashes = !s.reducedFlashes;
    ApplySwitches();
  } else if (control == kControlsDefaults && gameState.bindings != DefaultBindings()) {
    gameState.bindings = DefaultBindings();
    ApplyBindings();
  }
}

// The new key or controller button of the waiting row: the first pressed since the frame before.
// Escape cancels (it always pauses, and so is never bound elsewhere).
void TakeNewBinding() {
  ControlsPage& p = controlsPage;
  const InputComponent& in = DXInput1;
  const std::bitset<512> newKeys = in.Keyboard.keyIdsDown & ~p.keysBefore;
  const std::bitset<32> newButtons = in.Pad.named & ~p.buttonsBefore;
  const auto action = static_cast<std::size_t>(p.waiting);
  for (std::size_t id = 1; id < newKeys.size(); ++id) {
    if (!newKeys.test(id)) continue;
    if (KeyCodeOfId(static_cast<int>(id)) != vk::Escape) {
      BindKey(gameState.bindings, action, static_cast<int>(id));
      ApplyBindings();
    }
    p.waiting = -1;
    return;
  }
  for (std::size_t b = 0; b < kPadButtonNames.size(); ++b) {
    if (!newButtons.test(b)) continue;
    BindButton(gameState.bindings, action, kPadButtonNames[b]);
    ApplyBindings();
    p.waiting = -1;
    return;
  }
}

// The keyboard and controller when no row waits; true when the page is left.
bool FollowKeys(const MenuKeys& keys) {
  ControlsPage& p = controlsPage;
  if (keys.Fired(MenuControl::Back)) return true;
  if (!keys.highlightWasShown) return false;
  p.focus = MoveHighlight(p.focus, keys.Vertical(), kControlsCount, [](int) { return true; });
  const bool isSwitch = p.focus == kControlsVsync || p.focus == kControlsFlashes;
  if (keys.Fired(MenuControl::Press) || (isSwitch && keys.Horizontal() != 0)) Activate(p.focus);
  return false;
}

void DrawActionRow(std::size_t action) {
  const ControlsPage& p = controlsPage;
  const ActionBinding& b = gameState.bindings[action];
  const auto y = static_cast<float>(ControlsRowY(static_cast<int>(action)) + 3);
  DrawText(kRowTextSize, kActionLabels[action], kNameX, y, gameState.fontTexture);
  if (p.waiting == static_cast<int>(action)) {
    DrawFitted("press a key or button (Esc: cancel)", kKeysX, y, kKeysWidth + kButtonsWidth,
               kWaitingColour);
    return;
  }
  const std::string keys = KeyLabels(b);
  const std::string buttons = ButtonLabels(b);
  DrawFitted(keys.empty() ? "unbound" : keys, kKeysX, y, kKeysWidth,
             keys.empty() ? kUnboundColour : nullptr);
  DrawFitted(buttons.empty() ? "unbound" : buttons, kButtonsX, y, kButtonsWidth,
             buttons.empty() ? kUnboundColour : nullptr);
}

void DrawPage() {
  const ControlsPage& p = controlsPage;
  const PlayerSettings& s = gameState.playerSettings;
  DrawBand(kPanelX, kPanelY, kPanelWidth, kPanelHeight, kPanelColour);
  DrawText(kTitleSize, "CONTROLS", 400 - 4 * kTitleSize, kTitleY, gameState.fontTexture);
  DrawText(kHeadSize, "KEYS", kKeysX, kHeadY, gameState.fontTexture);
  DrawText(kHeadSize, "CONTROLLER", kButtonsX, kHeadY, gameState.fontTexture);
  for (std::size_t a = 0; a < kActionCount; ++a) DrawActionRow(a);
  const auto lastY = static_cast<float>(kLastLineY + 6);
  DrawText(kRowTextSize, s.vsync ? "VSYNC: ON" : "VSYNC: OFF", kVsyncX, lastY,
           gameState.fontTexture);
  DrawText(kRowTextSize, s.reducedFlashes ? "FLASHES: REDUCED" : "FLASHES: FULL", kFlashesX, lastY,
           gameState.fontTexture);
  Box d = ControlBox(kControlsDefaults);
  DrawBoxButton(d.x, d.y, d.width, d.height, "DEFAULTS", kRowTextSize);
  if (p.waiting >= 0) {
    Box w = ControlBox(p.waiting);
    DrawOutline(w.x, w.y, w.width, w.height, 0, kWaitingFrame);
  } else if (MenuHighlightShown()) {
    Box f = ControlBox(p.focus);
    DrawOutline(f.x, f.y, f.width, f.height, 2, kHighlightColour);
  }
}

void NoteHeld() {
  controlsPage.keysBefore = DXInput1.Keyboard.keyIdsDown;
  controlsPage.buttonsBefore = DXInput1.Pad.named;
}
}  // namespace

int PressTracker::Update(int under, bool mouseHeld) {
  int clicked = -1;
  if (mouseHeld && !wasHeld) pressed = under;
  if (!mouseHeld && wasHeld) {
    if (pressed >= 0 && pressed == under) clicked = pressed;
    pressed = -1;
  }
  wasHeld = mouseHeld;
  return clicked;
}

int32_t ControlsRowY(int control) {
  return kFirstRowY + control * kRowHeight;
}

bool ControlsButton(bool mouseHeld) {
  DrawBoxButton(kControlsButtonX, kControlsButtonY, kControlsButtonWidth, kControlsButtonHeight,
                "CONTROLS", 16);
  const bool inside =
      PointStrictlyInside(kControlsButtonX, kControlsButtonY, kControlsButtonWidth,
                          kControlsButtonHeight, gameState.cursorX, gameState.cursorY);
  return controlsPage.openButton.Update(inside ? 0 : -1, mouseHeld) == 0;
}

void OpenControls() {
  ControlsPage& p = controlsPage;
  p.open = true;
  p.waiting = -1;
  p.mouse = PressTracker{};
  // A press still held from the options screen is not a click on the page.
  p.mouse.wasHeld = gameState.flags.mouseLeftDown == 1;
  NoteHeld();
}

void RunControls() {
  ControlsPage& p = controlsPage;
  const MenuKeys keys = TakeMenuKeys(p.keysFrame);
  const bool escape = DXInput1.Has(kPauseButton);
  // Escape belongs to the page: the options screen must not also take it as its own leave.
  DXInput1.Remove(kPauseButton);
  const int clicked = p.mouse.Update(ControlUnderCursor(), gameState.flags.mouseLeftDown == 1);
  if (p.waiting >= 0) {
    // A click anywhere leaves the row as it was, as the Escape key does; the pause's other keys
    // and buttons may be bound.
    if (p.mouse.wasHeld) {
      p.waiting = -1;
    } else {
      TakeNewBinding();
    }
  } else if (escape || FollowKeys(keys)) {
    p.open = false;
  } else if (clicked >= 0) {
    p.focus = clicked;
    Activate(clicked);
  }
  NoteHeld();
  if (p.open) DrawPage();
}

void ResetControls() {
  controlsPage = ControlsPage{};
}
