// The one instance of the program state.
#include "app/game_state.hpp"

#include "app/input.hpp"
#include "app/main_loop.hpp"
#include "app/messages.hpp"
#include "ui/front_end.hpp"

GameState gameState;

void ResetGameState() {
  gameState = GameState{};
  DXInput1 = InputComponent{};
  DXInput1.AssignFormDefaults();
  shownMessages.clear();
  windowCloseRequested = false;
  ResetFrontEnd();
}
