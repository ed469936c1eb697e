// The one instance of the program state.
#include "app/game_state.hpp"

#include "app/input.hpp"
#include "app/main_loop.hpp"
#include "base/messages.hpp"
#include "gfx/anim.hpp"
#include "ui/front_end.hpp"

GameState gameState;

namespace {
// Animations advance by the engine's frame time; the pointer is set before main runs.
[[maybe_unused]] const bool animClockWired = (animFrameTime = &gameState.morva.frameTime, true);
}  // namespace

void ResetGameState() {
  gameState = GameState{};
  DXInput1 = InputComponent{};
  DXInput1.AssignFormDefaults();
  shownMessages.clear();
  windowCloseRequested = false;
  ResetFrontEnd();
}
