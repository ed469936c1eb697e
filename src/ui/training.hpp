// The training pages: three full-screen pictures leafed through with Back and Next.
#pragma once

#include <array>
#include <cstdint>

#include "app/bindings.hpp"
#include "app/game_state.hpp"
#include "ui/button.hpp"

constexpr int kTrainingPageCount = 3;

struct TrainingScreen {
  std::array<Texture, kTrainingPageCount> pages{};
  cButton back;
  cButton next;
  // Kept when the player leaves, so the next visit opens on the same page.
  int32_t page = 0;
  // The keyboard highlight: on Next (1) or Back (0); the last frame the page read the keys in.
  int focus = 1;
  int64_t keysFrame = -1;
};
extern TrainingScreen trainingScreen;

// The page after the Back and Next clicks of one frame, kept within the pages there are.
int32_t TurnTrainingPage(int32_t page, bool back, bool next);

// The pages' frame: loads them on the first visit, draws the page and the buttons, plays the
// click and goes back to the menu on Escape (or the controller's B). Without a mouse, Left and
// Right (or Up and Down) move the highlight between Back and Next, and Return, Space or A press
// it. With a game controller connected the pages name its buttons beside the keys. A key cap
// whose key is bound otherwise, or is marked otherwise on the keyboard layout in use, than the
// page's picture shows is drawn again over it with the key's name.
void RunTraining();

// What the controller does beside each key the pages show, page by page: where the name goes and
// the action whose first controller button it names (kStickLabel: the left stick, which always
// walks, jumps and crouches).
constexpr int kStickLabel = -1;
struct PadLabel {
  int32_t page;
  float x;
  float y;
  int action;
};
extern const std::array<PadLabel, 16> kPadLabels;
// "stick", or the action's first controller button ("A", "RB"); "" when it has none.
std::string PadLabelText(const PadLabel& label, const Bindings& bindings);

// The key caps the pages show, page by page: where the cap's top-left corner lies and the actions
// whose first keys it names (the first row names two: walking left and right).
struct KeyCap {
  int32_t page;
  float x;
  float y;
  std::array<int, 2> actions;  // the second -1 for none
};
extern const std::array<KeyCap, 16> kKeyCaps;
// What the cap says: the names of its actions' first keys ("-" for an unbound one), each as
// `name` gives it.
template <typename Name>
std::string KeyCapText(const KeyCap& cap, const Bindings& bindings, Name name) {
  std::string text;
  for (int action : cap.actions) {
    if (action < 0) continue;
    const auto& keys = bindings.at(static_cast<std::size_t>(action)).keys;
    text += (text.empty() ? "" : " ") + (keys.empty() ? std::string("-") : name(keys.front()));
  }
  return text;
}

void ResetTraining();
