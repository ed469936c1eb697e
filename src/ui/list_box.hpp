// cListBox, the drop-down list of the options screen.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "app/game_state.hpp"

constexpr int kListBoxCapacity = 512;

struct ListItem {
  std::string text;
  int32_t value = 0;
};

// The row of an open list under the cursor, or -1 when the cursor is outside the list.
int32_t ListRowAt(int32_t x, int32_t y, int32_t width, uint8_t rowHeight, int32_t itemCount,
                  int32_t cursorX, int32_t cursorY);

class cListBox {
 public:
  bool open = false;
  // A press has been used; it waits for the mouse button to come up.
  bool clickLatch = false;
  bool active = false;
  int32_t width = 0;
  uint8_t rowHeight = 0;
  int32_t selected = 0;
  std::array<ListItem, kListBoxCapacity> items;
  int32_t itemCount = 0;
  Texture listFontTexture = 0;
  Texture closedTexture = 0;
  Texture openTexture = 0;

  // Draws the box at (x, y): a press on the closed box opens it; while open the selection follows
  // the cursor, and the next press inside the list chooses that row and closes it. True in the
  // frame in which a row is chosen.
  bool Update(int32_t x, int32_t y, bool mouseHeld);
  // Adds an entry; false when the list is full.
  bool Add(const std::string& text, int32_t value);
};
