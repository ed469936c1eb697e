// The character definitions, their frame folders, and the units created from them.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "base/types.hpp"
#include "game/unit.hpp"
#include "gfx/anim.hpp"

// What a unit's animation object starts from: laid out as the frame part of cAnim.
struct FrameSet {
  int32_t width = 0;
  int32_t height = 0;
  int32_t spare = 0;
  std::array<Texture, kAnimFrames> textures{};
};
using FrameSets = std::array<FrameSet, kKindSlots>;

// Reads the definition file of every kind, loads their frame folders, then creates the units.
// A definition file that is missing or shorter than 408 bytes ends the program (status 3) with a
// message naming it.
void LoadCharacters();

// Units 0 .. CharCount-1 from gameState.map and gameState.charDefs, each with its own animation
// object holding a copy of its kind's frame set; then the camera on the player. Kinds above 9 and
// more than 256 characters are fatal range errors.
void CreateUnits(const FrameSets& frameSets);
// The file a kind's definition comes from ("data\chars\guard.pud"), or for kinds without one
// a text naming the kind, for messages.
std::string DefinitionPath(uint8_t type);
// The frame folder of a named kind ("data\chars\guard\"), or "" for another.
std::string FrameFolderPath(uint8_t kind);
// Unit k alone, as CreateUnits makes it.
Unit& CreateUnit(int k, const FrameSets& frameSets);
