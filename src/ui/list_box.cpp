// The options screen's drop-down list.
#include "ui/list_box.hpp"

#include "base/backends.hpp"
#include "gfx/draw.hpp"
#include "gfx/renderer.hpp"
#include "ui/button.hpp"

namespace {
constexpr double kListDepth = -1;
constexpr double kHighlightAlpha = 0.1;
constexpr uint16_t kEntrySize = 11;
// Text insets of the closed box and of the rows of the open list.
constexpr float kClosedTextX = 5;
constexpr float kClosedTextY = 10;
constexpr float kRowTextX = 2;
constexpr float kRowTextY = 7;

void SetDepthTest(bool on) {
  backends.renderer->SetState(RenderState::DepthTest, on);
}
}  // namespace

int32_t ListRowAt(int32_t x, int32_t y, int32_t width, uint8_t rowHeight, int32_t itemCount,
                  int32_t cursorX, int32_t cursorY) {
  if (rowHeight == 0 || itemCount <= 0) return -1;
  int64_t listHeight = int64_t{rowHeight} * itemCount;
  if (!(x < cursorX && cursorX < int64_t{x} + width && y < cursorY &&
        cursorY < int64_t{y} + listHeight)) {
    return -1;
  }
  return (cursorY - y) / rowHeight;
}

bool cListBox::Add(const std::string& text, int32_t value) {
  if (itemCount < 0 || itemCount >= kListBoxCapacity) return false;
  items[static_cast<size_t>(itemCount)] = ListItem{text, value};
  ++itemCount;
  return true;
}

bool cListBox::Update(int32_t x, int32_t y, bool mouseHeld) {
  // The list is drawn over the screen whatever lies at its depth.
  SetDepthTest(false);
  int32_t cursorX = gameState.cursorX;
  int32_t cursorY = gameState.cursorY;
  if (!mouseHeld) clickLatch = false;

  if (active && !open && mouseHeld && !clickLatch &&
      PointStrictlyInside(x, y, width, rowHeight, cursorX, cursorY)) {
    open = true;
    clickLatch = true;
  }
  bool chosen = false;
  int32_t row = ListRowAt(x, y, width, rowHeight, itemCount, cursorX, cursorY);
  if (open && mouseHeld && !clickLatch && row >= 0) {
    open = false;
    clickLatch = true;
    chosen = true;
    // The press confirms the row it lands on, even when the cursor reached it in this frame.
    selected = row;
  }

  if (!open) {
    DrawQuad(closedTexture, x, y, kListDepth, width, rowHeight, 1);
    // An empty list shows no text.
    if (selected >= 0 && selected < itemCount) {
      DrawText(kEntrySize, items[static_cast<size_t>(selected)].text, x + kClosedTextX,
               y + kClosedTextY, listFontTexture);
    }
  } else {
    DrawQuad(openTexture, x, y, kListDepth, width, static_cast<double>(rowHeight) * itemCount, 1);
    for (int32_t i = 0; i < itemCount && i < kListBoxCapacity; ++i) {
      DrawText(kEntrySize, items[static_cast<size_t>(i)].text, x + kRowTextX,
               static_cast<float>(y + int64_t{rowHeight} * i + kRowTextY), listFontTexture);
    }
    if (row >= 0) {
      DrawQuad(closedTexture, x, y + row * rowHeight, kListDepth, width, rowHeight,
               kHighlightAlpha);
      selected = row;
    }
  }
  SetDepthTest(true);
  return chosen;
}
