// Access to the level's units: the player in slot 0, the others by checked index.
#pragma once

#include "app/game_state.hpp"
#include "base/messages.hpp"

inline Unit& PlayerUnit() {
  return gameState.play.units[0];
}

// A unit by index; an index outside the table is a fatal range error.
inline Unit& UnitAt(int i) {
  return At(gameState.play.units, static_cast<std::size_t>(i), "unit");
}

// Units the level holds, the player included.
inline int UnitCount() {
  return gameState.map.CharCount;
}

// The frame's time step in milliseconds, by which all gameplay motion is scaled.
inline double FrameMs() {
  return gameState.morva.frameTime;
}
