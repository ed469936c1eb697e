// The one instance of the program state.
#include "app/game_state.hpp"

#include <memory>

#include "app/input.hpp"
#include "app/main_loop.hpp"
#include "base/messages.hpp"
#include "gfx/anim.hpp"
#include "gfx/frame_sequence.hpp"
#include "ui/front_end.hpp"

GameState gameState;

namespace {
// Animations advance by the engine's frame time; the pointer is set before main runs.
[[maybe_unused]] const bool animClockWired = (animFrameTime = &gameState.morva.frameTime, true);
}  // namespace

void ResetGameState() {
  // Too large for the stack: the map grid alone is 2 MB.
  auto fresh = std::make_unique<GameState>();
  gameState = std::move(*fresh);
  levelMapSize = LevelMapSize{};
  DXInput1 = InputComponent{};
  DXInput1.AssignFormDefaults();
  shownMessages.clear();
  windowCloseRequested = false;
  ResetFrontEnd();
}
