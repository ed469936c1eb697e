// The training pages: three full-screen pictures leafed through with Back and Next.
#pragma once

#include <array>
#include <cstdint>

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
// it. With a game controller connected the pages name its buttons beside the keys.
void RunTraining();

// What the controller does beside each key the pages show, page by page: where the name goes and
// the name itself.
struct PadLabel {
  int32_t page;
  float x;
  float y;
  const char* text;
};
extern const std::array<PadLabel, 16> kPadLabels;

void ResetTraining();
