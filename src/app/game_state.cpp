// The one instance of the program state.
#include "app/game_state.hpp"

#include <memory>

#include "app/input.hpp"
#include "app/main_loop.hpp"
#include "base/messages.hpp"
#include "gfx/frame_sequence.hpp"
#include "ui/front_end.hpp"

GameState gameState;

void ResetGameState() {
  // Rebuilt where it lies: the state is a few hundred kilobytes, too large for the stack, and a
  // fresh copy elsewhere would be written twice over. The map grid comes back as untouched pages.
  std::destroy_at(&gameState);
  std::construct_at(&gameState);
  levelMapSize = LevelMapSize{};
  DXInput1 = InputComponent{};
  DXInput1.AssignFormDefaults();
  shownMessages.clear();
  windowCloseRequested = false;
  closeStatus = 0;
  ResetFrontEnd();
}

LevelFrame CurrentLevelFrame() {
  GameState& g = gameState;
  return LevelFrame{g.play,
                    g.map,
                    g.charDefs,
                    g.level,
                    g.flags,
                    DXInput1.States,
                    g.keyReleased != 0,
                    g.morva.frameTime,
                    g.morva.timeScale,
                    g.settings.soundVolume};
}

SceneFrame CurrentSceneFrame() {
  return SceneFrame{CurrentLevelFrame(),
                    gameState.fx,
                    gameState.settings.showBlood != 0,
                    gameState.playerSettings.reducedFlashes,
                    gameState.fontTexture,
                    gameState.levelDrawn};
}
