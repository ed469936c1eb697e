// Start-up, the per-frame step, shutdown and the main window's events.
#pragma once

#include <cstdint>

#include "app/game_state.hpp"

enum class StartResult {
  Ok,
  NoDisplay,  // no GL context or no compressed textures: the program ends (status 4)
};

StartResult FormCreate();
// After FormCreate: the intro counts as seen and Start as chosen in the menu, so the first frame
// runs the level (--play, the editor's play-test). Escape then pauses into the menu as ever.
void StartInLevel();
void DXTimer1Timer();
void FormClose();

void FormKeyPress();
void FormKeyUp();
enum class MouseButton;
void FormMouseDown(MouseButton button);
void FormMouseUp();

// Which music track plays under the given flags.
struct MusicChoice {
  bool intro = false;
  bool menu = false;
  bool game = false;
};
MusicChoice SelectMusic(const ModeFlags& flags);
