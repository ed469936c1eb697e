// The level editor's picture: the grid, the characters and items, what a drag will do, the
// panel and the help.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

#include "app/lasting_notice.hpp"
#include "base/backends.hpp"
#include "base/measures.hpp"
#include "editor/editor.hpp"
#include "editor/editor_look.hpp"
#include "gfx/draw.hpp"
#include "gfx/renderer.hpp"

using namespace editor_look;

namespace {

// Over the level's picture the grid shows through.
constexpr double kGridOverPicture = 0.35;
// The size of the prompt's glyphs, which is also how far apart they stand.
constexpr uint16_t kPromptGlyph = 10;

constexpr const char* kKindsHelp = "";  // the line of the kinds' keys, made from their rows
const char* kHelp[] = {
    "MOUSE",
    "  left: paint with the tool, or drag a character or item",
    "  the panel's swatches choose the tool, its buttons add, undo, save, play",
    "  Shift+left: paint a rectangle      right drag: scroll",
    "  wheel: zoom",
    "KEYS",
    "  1..8: tool (empty stone rock plank torch chain banner window)",
    kKindsHelp,
    "  L P: add a life or power item at the cursor",
    "  W: wake-up rule of the chosen character   Delete: remove it",
    "  arrows: scroll     Z: whole level / game size",
    "  B: the level's compiled picture behind the grid",
    "  Ctrl+arrows: level size in screens",
    "  Ctrl+Z undo   Ctrl+Y redo   Ctrl+S save",
    "  Ctrl+N new level   Ctrl+O open another level",
    "  F5: play the level   Shift+F5: play it from the cursor",
    "  F1: this help   Escape: leave (asks about unsaved changes)",
};

// "  G S O: add a guard, sentinel, golem at the cursor"
std::string KindsHelp() {
  std::string keys;
  std::string names;
  for (const KindRow& kind : kKinds) {
    if (kind.editorKey == 0) continue;
    keys += std::string(keys.empty() ? "  " : " ") + kind.editorKey;
    names += (names.empty() ? "add a " : ", ") + std::string(kind.name);
  }
  return keys + ": " + names + " at the cursor";
}

}  // namespace

namespace editor_look {
const std::vector<Button>& PanelButtons() {
  static const std::vector<Button> buttons = [] {
    std::vector<Button> b;
    double x = kFirstPlacingButton;
    auto place = [&](const char* label, int key) {
      b.push_back({label, x, key, false, true});
      x += std::strlen(label) * kButtonGlyph + kButtonGap;
    };
    for (const KindRow& kind : kKinds) {
      if (kind.editorKey != 0) place(kind.name, kind.editorKey);
    }
    place("life", 'L');
    place("power", 'P');
    b.insert(b.end(), std::begin(kFixedButtons), std::end(kFixedButtons));
    return b;
  }();
  return buttons;
}
}  // namespace editor_look

Texture Editor::Swatch(char glyph) {
  const std::size_t index = GlyphIndex(glyph);
  Texture& t = swatches_[index];
  if (t == 0) {
    const Glyph& g = kGlyphs[index];
    const uint8_t pixel[4] = {g.r, g.g, g.b, 255};
    t = backends.renderer->CreatePixelTexture({1, 1, true, pixel, true},
                                              std::string("editor:") + g.name);
  }
  return t;
}

void Editor::Text(const std::string& text, double x, double y, const float* colour, uint16_t size) {
  DrawTintedText(size, text.substr(0, 255), static_cast<float>(x), static_cast<float>(y),
                 setup_.font, colour ? colour : kWhite);
}

void Editor::Outline(double x, double y, double w, double h, const float colour[4]) {
  Renderer& r = *backends.renderer;
  r.SetState(RenderState::Texturing, false);
  r.DrawLine(x, y, x + w, y, kDepth, colour);
  r.DrawLine(x + w, y, x + w, y + h, kDepth, colour);
  r.DrawLine(x + w, y + h, x, y + h, kDepth, colour);
  r.DrawLine(x, y + h, x, y, kDepth, colour);
  r.SetState(RenderState::Texturing, true);
}

void Editor::DrawGrid() {
  const LevelSource& src = doc_.Source();
  // One texel per grid character, drawn sharp at every zoom; made again after each edit.
  if (gridVersion_ != doc_.Version() || gridTexture_ == 0) {
    const int w = src.GridColumns();
    const int h = src.GridRows();
    std::vector<uint8_t> pixels(static_cast<std::size_t>(w) * h * 4);
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w; ++x) {
        const Glyph& g = GlyphInfo(src.Glyph(x, y));
        uint8_t* p = &pixels[(static_cast<std::size_t>(h - 1 - y) * w + x) * 4];
        p[0] = g.r;
        p[1] = g.g;
        p[2] = g.b;
        p[3] = 255;
      }
    }
    if (gridTexture_ != 0) backends.renderer->DeleteTexture(gridTexture_);
    PixelTexture picture{w, h, true, pixels.data(), true};
    picture.exact = true;
    gridTexture_ = backends.renderer->CreatePixelTexture(picture, "editor:grid");
    gridVersion_ = doc_.Version();
  }
  DrawQuad(gridTexture_, view_.ScreenX(0), view_.ScreenY(0), kDepth,
           src.width * kScreenWidth * view_.Scale(), src.height * kScreenHeight * view_.Scale(),
           showPicture_ ? kGridOverPicture : 1.0);
}

void Editor::DrawPicture() {
  const LevelSource& src = doc_.Source();
  const double w = kScreenWidth * view_.Scale();
  const double h = kScreenHeight * view_.Scale();
  for (std::size_t i = 0; i < picture_.size(); ++i) {
    const int column = static_cast<int>(i) % src.width;
    const int row = static_cast<int>(i) / src.width;
    if (picture_[i] != 0 && row < src.height) {
      DrawQuad(picture_[i], view_.ScreenX(column * kScreenWidth),
               view_.ScreenY(row * kScreenHeight), kDepth, w, h, 1);
    }
  }
}

void Editor::DrawCharacters() {
  const LevelSource& src = doc_.Source();
  const double s = view_.Scale();
  for (std::size_t k = 0; k < src.characters.size(); ++k) {
    const LevelCharacter& c = src.characters[k];
    const KindRow& kind = KindOf(c.kind);
    const BodyBox& b = setup_.bodies[c.kind];
    const bool chosen = selected_ && selected_->what == Drag::Character && selected_->index == k;
    if (const EditorPicture& picture = setup_.kinds[c.kind]; picture.texture != 0) {
      // The art faces left; the player starts facing right.
      const auto size = static_cast<int32_t>(std::lround(picture.size * s));
      backends.renderer->DrawAnim(picture.texture, view_.ScreenX(c.x), view_.ScreenY(c.y), kDepth,
                                  size, size, c.kind == kPlayer);
    }
    const double x = view_.ScreenX(c.x + b.left);
    const double y = view_.ScreenY(c.y + b.top);
    Outline(x, y, (b.right - b.left) * s, (b.bottom - b.top) * s,
            chosen ? kYellow : kind.outline.data());
    std::string label = kind.letter;
    if (c.wake != kWakeAwake && c.wake <= kWakeNever) label += " " + WakeRuleName(c.wake);
    Text(label, x, y - 12, chosen ? kYellow : kind.outline.data(), 10);
  }
}

void Editor::DrawItems() {
  const LevelSource& src = doc_.Source();
  const double size = kItemSize * view_.Scale();
  for (std::size_t k = 0; k < src.items.size(); ++k) {
    const LevelItem& it = src.items[k];
    const bool chosen = selected_ && selected_->what == Drag::Item && selected_->index == k;
    const float* colour = chosen ? kYellow : it.kind == kItemLife ? kRed : kBlue;
    if (it.kind < setup_.items.size() && setup_.items[it.kind].texture != 0) {
      DrawQuad(setup_.items[it.kind].texture, view_.ScreenX(it.x), view_.ScreenY(it.y), kDepth,
               size, size, 1);
    }
    Outline(view_.ScreenX(it.x), view_.ScreenY(it.y), size, size, colour);
    Text(it.kind == kItemLife ? "+" : "*", view_.ScreenX(it.x) + 2, view_.ScreenY(it.y) + 2, colour,
         10);
  }
}

void Editor::DrawDragPreview() {
  const LevelSource& src = doc_.Source();
  const double cell = src.cellPx * view_.Scale();
  if (drag_ == Drag::Stroke) {
    for (auto [col, row] : stroke_) {
      DrawQuad(Swatch(tool_), view_.ScreenX(col * src.cellPx), view_.ScreenY(row * src.cellPx),
               kDepth, std::max(cell, 1.0), std::max(cell, 1.0), 1);
    }
  } else if (drag_ == Drag::Rectangle) {
    const auto [col, row] = CellAt(cursorX_, cursorY_);
    const int c0 = std::min(col, anchor_.first), c1 = std::max(col, anchor_.first) + 1;
    const int r0 = std::min(row, anchor_.second), r1 = std::max(row, anchor_.second) + 1;
    Outline(view_.ScreenX(c0 * src.cellPx), view_.ScreenY(r0 * src.cellPx), (c1 - c0) * cell,
            (r1 - r0) * cell, kYellow);
  } else if (drag_ == Drag::Character || drag_ == Drag::Item) {
    const double x = view_.ScreenX(view_.WorldX(cursorX_) + grabX_);
    const double y = view_.ScreenY(view_.WorldY(cursorY_) + grabY_);
    Outline(x - 3, y - 3, 6, 6, kYellow);
  }
}

void Editor::DrawPanel() {
  DrawQuad(Swatch(level_glyphs::kEmpty), 0, kPanelTop, kDepth, 800, 600 - kPanelTop, 1);
  double x = 4;
  for (std::size_t i = 0; i < kGlyphs.size(); ++i) {
    const Glyph& g = kGlyphs[i];
    DrawQuad(Swatch(g.glyph), x, kPanelTop + 4, kDepth, 12, 12, 1);
    // Framed, so that empty space, the panel's own colour, shows as a swatch too.
    if (g.glyph == tool_) {
      Outline(x - 2, kPanelTop + 2, 16, 16, kYellow);
    } else {
      Outline(x, kPanelTop + 4, 12, 12, kGrey);
    }
    Text(std::to_string(i + 1), x + 15, kPanelTop + 4, g.glyph == tool_ ? kYellow : kGrey, 10);
    x += kSwatchStep;
  }
  for (const Button& b : PanelButtons()) {
    const bool waiting = b.places && placing_ == b.key;
    const double width = std::strlen(b.label) * kButtonGlyph;
    const double top = kPanelTop + b.row * kLine;
    Outline(b.x - 2, top + 2, width + 4, 14, waiting ? kYellow : kGrey);
    Text(b.label, b.x, top + 5, waiting ? kYellow : kWhite, 9);
  }
  const LevelSource& src = doc_.Source();
  char where[96];
  std::snprintf(where, sizeof where, "%d,%d  cell %d,%d  %dx%d screens  zoom %.2f", CursorWorldX(),
                CursorWorldY(), CursorWorldX() / src.cellPx, CursorWorldY() / src.cellPx, src.width,
                src.height, view_.Scale());
  if (prompt_) {
    DrawPrompt(4, kPanelTop + kLine + 6);
  } else {
    Text(std::string("tool: ") + GlyphInfo(tool_).name + "   " + where, 4, kPanelTop + kLine + 6,
         kGrey, 10);
  }
  Text(message_, 4, kPanelTop + 2 * kLine + 6, kYellow, 10);
  if (problems_.empty()) {
    Text("no problems found", 4, kPanelTop + 3 * kLine + 6, kGreen, 10);
    return;
  }
  for (int i = 0; i < std::min<int>(kProblemLines, static_cast<int>(problems_.size())); ++i) {
    const LevelProblem& p = problems_[static_cast<std::size_t>(i)];
    std::string line = p.line >= 0 ? "line " + std::to_string(p.line + 1) + ": " : "";
    Text(line + p.message, 4, kPanelTop + (3 + i) * kLine + 6, kRed, 10);
  }
}

void Editor::DrawPrompt(double x, double y) {
  const PromptLine& line = prompt_->answer;
  // Each byte is one glyph of the prompt's size. A long answer (a deep folder) is shown from
  // where it keeps the caret inside the panel, with a mark that more lies before it.
  const double start = x + static_cast<double>(prompt_->question.size()) * kPromptGlyph;
  // The line ends before the buttons that share its row.
  double right = 796;
  for (const Button& b : PanelButtons()) {
    if (b.row == 1) right = std::min(right, b.x - 8.0);
  }
  const auto columns = static_cast<std::size_t>(std::max(1.0, (right - start) / kPromptGlyph));
  const std::size_t first = line.Caret() > columns - 1 ? line.Caret() - (columns - 1) : 0;
  auto column = [&](std::size_t at) {
    return start +
           static_cast<double>(std::clamp(at, first, first + columns) - first) * kPromptGlyph;
  };
  if (line.SelectionStart() != line.SelectionEnd()) {
    const double left = column(line.SelectionStart());
    DrawQuad(Swatch(level_glyphs::kWindow), left, y - 1, kDepth, column(line.SelectionEnd()) - left,
             kPromptGlyph + 2, 1);
  }
  std::string shown = prompt_->question + line.Text().substr(first, columns);
  if (first > 0 && !prompt_->question.empty()) shown[prompt_->question.size() - 1] = '<';
  Text(shown, x, y, kWhite, kPromptGlyph);
  const double caret = column(line.Caret());
  Renderer& r = *backends.renderer;
  r.SetState(RenderState::Texturing, false);
  r.DrawLine(caret, y - 2, caret, y + kPromptGlyph + 2, kDepth, kYellow);
  r.SetState(RenderState::Texturing, true);
}

void Editor::DrawHelp() {
  DrawQuad(Swatch(level_glyphs::kEmpty), 40, 60, kDepth, 720, 40 + 18 * std::size(kHelp), 0.95);
  double y = 80;
  for (const char* help : kHelp) {
    const std::string line = help == kKindsHelp ? KindsHelp() : help;
    Text(line, 60, y, line[0] == ' ' ? kWhite : kYellow, 11);
    y += 18;
  }
}

void Editor::Draw() {
  Renderer& r = *backends.renderer;
  r.BeginFrame(0, 800, 0, 600);
  r.SetState(RenderState::DepthTest, false);
  r.SetState(RenderState::Blend, true);
  if (showPicture_) DrawPicture();
  DrawGrid();
  DrawItems();
  DrawCharacters();
  DrawDragPreview();
  DrawPanel();
  if (help_) DrawHelp();
  DrawLastingNotice(true, setup_.font);
  r.FrameDone();
}
