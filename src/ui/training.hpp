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
};
extern TrainingScreen trainingScreen;

// The page after the Back and Next clicks of one frame, kept within the pages there are.
int32_t TurnTrainingPage(int32_t page, bool back, bool next);

// The pages' frame: loads them on the first visit, draws the page and the buttons, plays the
// click and goes back to the menu on Escape.
void RunTraining();

void ResetTraining();
