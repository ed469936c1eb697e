// What the level editor looks like and where its panel's parts lie, shared by its behaviour
// (which reads clicks on them) and its drawing.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "app/key_names.hpp"
#include "editing/level_source.hpp"
#include "editor/editor_view.hpp"

namespace editor_look {

inline constexpr double kDepth = -1.0;
inline constexpr double kPanelTop = EditorView::kMapHeight;
inline constexpr double kLine = 15;
inline constexpr int kProblemLines = 6;
inline constexpr int32_t kItemSize = 50;

struct Glyph {
  char glyph;
  const char* name;
  uint8_t r, g, b;
};
// The tools in the order of their keys 1..8.
inline constexpr std::array<Glyph, 8> kGlyphs = {{
    {level_glyphs::kEmpty, "empty", 30, 34, 48},
    {level_glyphs::kMasonry, "stone", 128, 128, 136},
    {level_glyphs::kRock, "rock", 112, 86, 60},
    {level_glyphs::kLedge, "plank", 176, 124, 60},
    {level_glyphs::kTorch, "torch", 240, 150, 40},
    {level_glyphs::kChain, "chain", 170, 170, 180},
    {level_glyphs::kBanner, "banner", 176, 40, 40},
    {level_glyphs::kWindow, "window", 70, 110, 176},
}};

// The tool painting `glyph` (the first, empty space, for a character of no tool).
inline std::size_t GlyphIndex(char glyph) {
  for (std::size_t i = 0; i < kGlyphs.size(); ++i) {
    if (kGlyphs[i].glyph == glyph) return i;
  }
  return 0;
}
inline const Glyph& GlyphInfo(char glyph) {
  return kGlyphs[GlyphIndex(glyph)];
}

inline constexpr float kWhite[4] = {1, 1, 1, 1};
inline constexpr float kGrey[4] = {0.7f, 0.7f, 0.75f, 1};
inline constexpr float kYellow[4] = {1, 0.9f, 0.2f, 1};
inline constexpr float kRed[4] = {1, 0.35f, 0.3f, 1};
inline constexpr float kGreen[4] = {0.4f, 1, 0.4f, 1};
inline constexpr float kBlue[4] = {0.4f, 0.7f, 1, 1};

// The tools' swatches on the panel's first row, and the buttons after them: every tool the keys
// reach, the mouse reaches too. An adding button waits for a click in the level.
inline constexpr double kSwatchStep = 34;
struct Button {
  const char* label;
  double x;
  int key;
  bool control;
  bool places;
  int row = 0;  // of the panel: the first, or the second beside the cursor's place
};
inline constexpr double kButtonGlyph = 9;
// The buttons that place something, from here rightwards with this much between them.
inline constexpr double kFirstPlacingButton = 300;
inline constexpr double kButtonGap = 12;
inline constexpr Button kFixedButtons[] = {
    {"undo", 608, 'Z', true, false},    {"redo", 654, 'Y', true, false},
    {"save", 700, 'S', true, false},    {"play", 746, vk::F5, false, false},
    {"?", 788, vk::F1, false, false},   {"new", 700, 'N', true, false, 1},
    {"open", 746, 'O', true, false, 1},
};

// The panel's buttons: one for each kind its key places, then the items', then the fixed ones.
const std::vector<Button>& PanelButtons();

}  // namespace editor_look
