// What the level editor looks like and where its panel's parts lie, shared by its behaviour
// (which reads clicks on them) and its drawing.
#pragma once

#include <array>
#include <cstdint>

#include "editor/editor_view.hpp"
#include "formats/level_source.hpp"

namespace editor_look {

constexpr double kDepth = -1.0;
constexpr double kPanelTop = EditorView::kMapHeight;
constexpr double kLine = 15;
constexpr int kProblemLines = 6;
constexpr int32_t kItemSize = 50;

struct Glyph {
  char glyph;
  const char* name;
  uint8_t r, g, b;
};
// The tools in the order of their keys 1..8.
constexpr std::array<Glyph, 8> kGlyphs = {{
    {level_glyphs::kEmpty, "empty", 30, 34, 48},
    {level_glyphs::kMasonry, "stone", 128, 128, 136},
    {level_glyphs::kRock, "rock", 112, 86, 60},
    {level_glyphs::kLedge, "plank", 176, 124, 60},
    {level_glyphs::kTorch, "torch", 240, 150, 40},
    {level_glyphs::kChain, "chain", 170, 170, 180},
    {level_glyphs::kBanner, "banner", 176, 40, 40},
    {level_glyphs::kWindow, "window", 70, 110, 176},
}};

inline const Glyph& GlyphInfo(char glyph) {
  for (const Glyph& g : kGlyphs) {
    if (g.glyph == glyph) return g;
  }
  return kGlyphs[0];
}

constexpr float kWhite[4] = {1, 1, 1, 1};
constexpr float kGrey[4] = {0.7f, 0.7f, 0.75f, 1};
constexpr float kYellow[4] = {1, 0.9f, 0.2f, 1};
constexpr float kRed[4] = {1, 0.35f, 0.3f, 1};
constexpr float kGreen[4] = {0.4f, 1, 0.4f, 1};
constexpr float kBlue[4] = {0.4f, 0.7f, 1, 1};
// The kinds' outlines: the player, the sentinel, the guard, the golem.
constexpr const float* kKindColour[4] = {kGreen, kBlue, kRed, kYellow};
constexpr const char* kKindLetter[4] = {"P", "S", "G", "O"};
constexpr const char* kWakeNames[3] = {"awake", "behind", "never"};

// The tools' swatches on the panel's first row, and the buttons after them: every tool the keys
// reach, the mouse reaches too. An adding button waits for a click in the level.
constexpr double kSwatchStep = 34;
struct Button {
  const char* label;
  double x;
  int key;
  bool control;
  bool places;
};
constexpr Button kButtons[] = {
    {"guard", 300, 'G', false, true},  {"sentinel", 356, 'S', false, true},
    {"golem", 442, 'O', false, true},  {"life", 498, 'L', false, true},
    {"power", 544, 'P', false, true},  {"undo", 610, 'Z', true, false},
    {"redo", 656, 'Y', true, false},   {"save", 702, 'S', true, false},
    {"play", 742, 0x74, false, false}, {"?", 786, 0x70, false, false},
};
constexpr double kButtonGlyph = 9;

}  // namespace editor_look
