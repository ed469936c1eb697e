// The level editor's behaviour and picture.
#include "editor/editor.hpp"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>

#include "app/key_names.hpp"
#include "app/level_file.hpp"
#include "base/backends.hpp"
#include "base/measures.hpp"
#include "gfx/draw.hpp"
#include "gfx/renderer.hpp"

extern char** environ;

namespace fs = std::filesystem;

namespace {

constexpr double kDepth = -1.0;
constexpr double kPanelTop = EditorView::kMapHeight;
constexpr double kLine = 15;
constexpr double kZoomStep = 1.25;
constexpr double kScrollStep = 120;
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

const Glyph& GlyphInfo(char glyph) {
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

const char* kHelp[] = {
    "MOUSE",
    "  left: paint with the tool, or drag a character or item",
    "  the panel's swatches choose the tool, its buttons add, undo, save, play",
    "  Shift+left: paint a rectangle      right drag: scroll",
    "  wheel: zoom",
    "KEYS",
    "  1..8: tool (empty stone rock plank torch chain banner window)",
    "  G S O: add a guard, sentinel, golem at the cursor",
    "  L P: add a life or power item at the cursor",
    "  W: wake-up rule of the chosen character   Delete: remove it",
    "  arrows: scroll     Z: whole level / game size",
    "  Ctrl+arrows: level size in screens",
    "  Ctrl+Z undo   Ctrl+Y redo   Ctrl+S save",
    "  F5: play the level   Shift+F5: play it from the cursor",
    "  F1: this help   Escape: leave (asks about unsaved changes)",
};

bool SaveText(const fs::path& file, const std::string& text) {
  fs::path temp = file;
  temp += ".tmp-" + std::to_string(getpid());
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    out << text;
    out.flush();
    if (!out) {
      std::error_code ec;
      fs::remove(temp, ec);
      return false;
    }
  }
  std::error_code ec;
  fs::rename(temp, file, ec);
  if (ec) fs::remove(temp, ec);
  return !ec;
}

}  // namespace

Editor::Editor(EditorSetup setup) : setup_(std::move(setup)), doc_(setup_.document) {
  const LevelSource& src = doc_.Source();
  view_.SetLevel(src.width * kScreenWidth, src.height * kScreenHeight);
  view_.Fit();
  Recheck();
  static const uint8_t kWhitePixel[4] = {255, 255, 255, 255};
  white_ = backends.renderer->CreatePixelTexture({1, 1, true, kWhitePixel, true}, "editor:white");
  message_ = "F1: help";
}

Editor::~Editor() {
  if (game_ > 0) kill(game_, SIGTERM);
}

std::string Editor::Title() const {
  return "morva-edit - " + setup_.file.filename().string() + (doc_.Modified() ? " *" : "");
}

bool Editor::Handle(const Event& e) {
  switch (e.type) {
    case EventType::KeyDown:
      if (e.key == 0x10) shift_ = true;
      if (e.key == vk::Control) ctrl_ = true;
      return ctrl_ ? HandleControlKey(e.key) : HandleKey(e.key);
    case EventType::KeyUp:
      if (e.key == 0x10) shift_ = false;
      if (e.key == vk::Control) ctrl_ = false;
      return true;
    case EventType::MouseMove:
      MouseMove(e.x, e.y);
      return true;
    case EventType::MouseDown:
      MouseDown(e.button);
      return true;
    case EventType::MouseUp:
      MouseUp();
      return true;
    case EventType::MouseWheel:
      Wheel(e.value);
      return true;
    case EventType::FocusLost:
      ctrl_ = shift_ = false;
      return true;
    case EventType::Quit:
      return AskBeforeLeaving();
    default:
      return true;
  }
}

bool Editor::AskBeforeLeaving() {
  if (!doc_.Modified() || leaveAsked_) return false;
  leaveAsked_ = true;
  message_ = "Unsaved changes: Ctrl+S saves them, Escape again leaves without saving";
  return true;
}

bool Editor::HandleKey(int key) {
  if (key != vk::Escape) leaveAsked_ = false;
  if (key >= '1' && key <= '8') {
    tool_ = kGlyphs[static_cast<std::size_t>(key - '1')].glyph;
    message_ = std::string("tool: ") + GlyphInfo(tool_).name;
    return true;
  }
  switch (key) {
    case vk::Escape:
      if (help_) {
        help_ = false;
      } else if (placing_ != 0) {
        placing_ = 0;
        message_.clear();
      } else if (selected_) {
        selected_.reset();
      } else {
        return AskBeforeLeaving();
      }
      return true;
    case 0x70:  // F1
      help_ = !help_;
      return true;
    case 0x74:  // F5
      PlayTest(shift_);
      return true;
    case vk::LeftArrow:
      view_.Scroll(-kScrollStep, 0);
      return true;
    case vk::RightArrow:
      view_.Scroll(kScrollStep, 0);
      return true;
    case vk::UpArrow:
      view_.Scroll(0, -kScrollStep);
      return true;
    case vk::DownArrow:
      view_.Scroll(0, kScrollStep);
      return true;
    case 'Z':
      if (view_.Whole()) {
        view_.OneToOne(CursorWorldX(), CursorWorldY());
      } else {
        view_.Fit();
      }
      return true;
    case 'G':
    case 'S':
    case 'O':
    case 'L':
    case 'P':
      AddAtCursor(key);
      return true;
    case 'W':
      CycleWake();
      return true;
    case 0x2E:  // Delete
    case 0x08:  // Backspace
      DeleteSelected();
      return true;
    default:
      return true;
  }
}

bool Editor::HandleControlKey(int key) {
  leaveAsked_ = false;
  switch (key) {
    case 'Z':
      if (shift_ ? doc_.Redo() : doc_.Undo()) AfterEdit(true, "");
      return true;
    case 'Y':
      if (doc_.Redo()) AfterEdit(true, "");
      return true;
    case 'S':
      Save();
      return true;
    case vk::LeftArrow:
      Resize(-1, 0);
      return true;
    case vk::RightArrow:
      Resize(1, 0);
      return true;
    case vk::UpArrow:
      Resize(0, -1);
      return true;
    case vk::DownArrow:
      Resize(0, 1);
      return true;
    default:
      return true;
  }
}

void Editor::Save() {
  if (SaveText(setup_.file, doc_.Text())) {
    doc_.MarkSaved();
    message_ = "saved " + setup_.file.string();
  } else {
    message_ = "could not save " + setup_.file.string();
  }
}

void Editor::PlayTest(bool fromCursor) {
  if (game_ > 0) {
    message_ = "the game is still running";
    return;
  }
  LevelDocument copy = doc_;
  if (fromCursor) {
    LevelCharacter player = copy.Source().characters.front();
    player.x = CursorWorldX();
    player.y = CursorWorldY();
    if (!copy.ChangeCharacter(0, player)) {
      message_ = "the player cannot start there";
      return;
    }
  }
  const fs::path file = LevelCacheRoot().parent_path() / "play-test.lvl";
  std::error_code ec;
  fs::create_directories(file.parent_path(), ec);
  if (!SaveText(file, copy.Text())) {
    message_ = "could not write " + file.string();
    return;
  }
  std::vector<std::string> args = {setup_.game.string(), "--windowed", "--level", file.string()};
  if (!setup_.contentRoot.empty()) {
    args.push_back("--root");
    args.push_back(setup_.contentRoot.string());
  }
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  if (posix_spawn(&game_, setup_.game.c_str(), nullptr, nullptr, argv.data(), environ) != 0) {
    game_ = 0;
    message_ = "could not start " + setup_.game.string();
    return;
  }
  message_ = "playing the level: close the game to come back";
}

bool Editor::Poll() {
  if (game_ <= 0) return false;
  int status = 0;
  if (waitpid(game_, &status, WNOHANG) != game_) return false;
  game_ = 0;
  message_ = WIFEXITED(status) && WEXITSTATUS(status) == 0
                 ? "back from the game"
                 : "the game ended with status " + std::to_string(WEXITSTATUS(status));
  return true;
}

int32_t Editor::CursorWorldX() const {
  return static_cast<int32_t>(std::max(0.0, std::floor(view_.WorldX(cursorX_))));
}

int32_t Editor::CursorWorldY() const {
  return static_cast<int32_t>(std::max(0.0, std::floor(view_.WorldY(cursorY_))));
}

void Editor::AddAtCursor(int key) {
  const int32_t x = CursorWorldX();
  const int32_t y = CursorWorldY();
  bool done = false;
  if (key == 'L' || key == 'P') {
    done = doc_.AddItem({key == 'L' ? kItemLife : kItemPower, x, y});
    if (done) selected_ = Hit{Drag::Item, doc_.Source().items.size() - 1};
  } else {
    const uint8_t kind = key == 'G' ? kGuard : key == 'S' ? kSentinel : kGolem;
    done = doc_.AddCharacter({kind, kWakeAwake, x, y});
    if (done) selected_ = Hit{Drag::Character, doc_.Source().characters.size() - 1};
  }
  AfterEdit(done, "nothing can be put there");
}

void Editor::DeleteSelected() {
  if (!selected_) return;
  const bool done = selected_->what == Drag::Item ? doc_.DeleteItem(selected_->index)
                                                  : doc_.DeleteCharacter(selected_->index);
  if (done) selected_.reset();
  AfterEdit(done, "the player stays");
}

void Editor::CycleWake() {
  if (!selected_ || selected_->what != Drag::Character) return;
  LevelCharacter c = doc_.Source().characters[selected_->index];
  c.wake = static_cast<uint8_t>((c.wake + 1) % 3);
  const bool done = doc_.ChangeCharacter(selected_->index, c);
  AfterEdit(done, "");
  if (done) message_ = std::string("wakes: ") + kWakeNames[c.wake];
}

void Editor::Resize(int dWidth, int dHeight) {
  const LevelSource& src = doc_.Source();
  const bool done = doc_.Resize(src.width + dWidth, src.height + dHeight);
  AfterEdit(done, "that size leaves something outside, or is not 1..25 x 1..16 and 100 screens");
  if (done) {
    message_ = "level " + std::to_string(doc_.Source().width) + " x " +
               std::to_string(doc_.Source().height) + " screens";
  }
}

void Editor::AfterEdit(bool done, const std::string& refused) {
  if (!done) {
    if (!refused.empty()) message_ = refused;
    return;
  }
  message_.clear();
  const LevelSource& src = doc_.Source();
  view_.SetLevel(src.width * kScreenWidth, src.height * kScreenHeight);
  if (selected_) {
    const std::size_t count =
        selected_->what == Drag::Item ? src.items.size() : src.characters.size();
    if (selected_->index >= count) selected_.reset();
  }
  Recheck();
}

void Editor::Recheck() {
  problems_ = CheckPlacement(doc_.Source(), doc_.Lines(), setup_.bodies);
}

Editor::Hit Editor::HitAt(double sx, double sy) const {
  const double wx = view_.WorldX(sx);
  const double wy = view_.WorldY(sy);
  const LevelSource& src = doc_.Source();
  for (std::size_t k = src.items.size(); k-- > 0;) {
    const LevelItem& it = src.items[k];
    if (wx >= it.x && wx < it.x + kItemSize && wy >= it.y && wy < it.y + kItemSize)
      return {Drag::Item, k};
  }
  for (std::size_t k = src.characters.size(); k-- > 0;) {
    const LevelCharacter& c = src.characters[k];
    const BodyBox& b = setup_.bodies[std::min<std::size_t>(c.kind, 3)];
    if (wx >= c.x + b.left && wx < c.x + b.right && wy >= c.y + b.top && wy < c.y + b.bottom)
      return {Drag::Character, k};
  }
  return {};
}

std::pair<int, int> Editor::CellAt(double sx, double sy) const {
  const double cell = doc_.Source().cellPx;
  return {static_cast<int>(std::floor(view_.WorldX(sx) / cell)),
          static_cast<int>(std::floor(view_.WorldY(sy) / cell))};
}

void Editor::MouseDown(MouseButton button) {
  leaveAsked_ = false;
  if (button == MouseButton::Right || button == MouseButton::Middle) {
    drag_ = Drag::Pan;
    panX_ = cursorX_;
    panY_ = cursorY_;
    return;
  }
  if (!EditorView::InMap(cursorX_, cursorY_)) {
    PanelClick();
    return;
  }
  if (placing_ != 0) {
    AddAtCursor(std::exchange(placing_, 0));
    return;
  }
  const Hit hit = HitAt(cursorX_, cursorY_);
  if (hit.what != Drag::None) {
    selected_ = hit;
    drag_ = hit.what;
    const LevelSource& src = doc_.Source();
    const double x = hit.what == Drag::Item ? src.items[hit.index].x : src.characters[hit.index].x;
    const double y = hit.what == Drag::Item ? src.items[hit.index].y : src.characters[hit.index].y;
    grabX_ = x - view_.WorldX(cursorX_);
    grabY_ = y - view_.WorldY(cursorY_);
    return;
  }
  selected_.reset();
  anchor_ = CellAt(cursorX_, cursorY_);
  stroke_ = {anchor_};
  drag_ = shift_ ? Drag::Rectangle : Drag::Stroke;
}

void Editor::PanelClick() {
  if (cursorY_ < kPanelTop + kLine + 4) {
    for (std::size_t i = 0; i < kGlyphs.size(); ++i) {
      if (cursorX_ >= 2 + i * kSwatchStep && cursorX_ < 2 + (i + 1) * kSwatchStep) {
        HandleKey('1' + static_cast<int>(i));
        return;
      }
    }
    for (const Button& b : kButtons) {
      const double width = std::strlen(b.label) * kButtonGlyph;
      if (cursorX_ < b.x - 2 || cursorX_ >= b.x + width + 2) continue;
      if (b.places) {
        placing_ = b.key;
        message_ = std::string("click in the level to place the ") + b.label;
      } else if (b.control) {
        HandleControlKey(b.key);
      } else {
        HandleKey(b.key);
      }
      return;
    }
    return;
  }
  // A problem in the panel: the view goes there.
  const int line = static_cast<int>((cursorY_ - kPanelTop - 3 * kLine) / kLine);
  if (line >= 0 && line < std::min<int>(kProblemLines, static_cast<int>(problems_.size()))) {
    const LevelProblem& p = problems_[static_cast<std::size_t>(line)];
    view_.OneToOne(p.x, p.y);
  }
}

void Editor::MouseMove(int x, int y) {
  cursorX_ = x;
  cursorY_ = y;
  if (drag_ == Drag::Pan) {
    view_.Scroll(panX_ - x, panY_ - y);
    panX_ = x;
    panY_ = y;
  } else if (drag_ == Drag::Stroke) {
    // Every cell between the last one and this one, so a quick stroke leaves no gaps.
    const auto [c1, r1] = CellAt(x, y);
    const auto [c0, r0] = stroke_.back();
    const int steps = std::max(std::abs(c1 - c0), std::abs(r1 - r0));
    for (int s = 1; s <= steps; ++s) {
      stroke_.emplace_back(c0 + (c1 - c0) * s / steps, r0 + (r1 - r0) * s / steps);
    }
  }
}

void Editor::MouseUp() {
  const Drag drag = std::exchange(drag_, Drag::None);
  if (drag == Drag::Stroke) {
    AfterEdit(doc_.PaintCells(stroke_, tool_), "");
  } else if (drag == Drag::Rectangle) {
    const auto [col, row] = CellAt(cursorX_, cursorY_);
    AfterEdit(doc_.Paint(anchor_.first, anchor_.second, col, row, tool_), "");
  } else if ((drag == Drag::Character || drag == Drag::Item) && selected_) {
    const auto x = static_cast<int32_t>(std::max(0.0, std::round(view_.WorldX(cursorX_) + grabX_)));
    const auto y = static_cast<int32_t>(std::max(0.0, std::round(view_.WorldY(cursorY_) + grabY_)));
    const LevelSource& src = doc_.Source();
    bool done = false;
    if (drag == Drag::Item) {
      LevelItem item = src.items[selected_->index];
      item.x = x;
      item.y = y;
      done = doc_.ChangeItem(selected_->index, item);
    } else {
      LevelCharacter c = src.characters[selected_->index];
      c.x = x;
      c.y = y;
      done = doc_.ChangeCharacter(selected_->index, c);
    }
    AfterEdit(done, "");
  }
  stroke_.clear();
}

void Editor::Wheel(int notches) {
  if (!EditorView::InMap(cursorX_, cursorY_)) return;
  view_.ZoomAt(std::pow(kZoomStep, notches), cursorX_, cursorY_);
}

// Drawing.

Texture Editor::Swatch(char glyph) {
  const auto index = static_cast<std::size_t>(&GlyphInfo(glyph) - kGlyphs.data());
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
           src.width * kScreenWidth * view_.Scale(), src.height * kScreenHeight * view_.Scale(), 1);
}

void Editor::DrawCharacters() {
  const LevelSource& src = doc_.Source();
  const double s = view_.Scale();
  for (std::size_t k = 0; k < src.characters.size(); ++k) {
    const LevelCharacter& c = src.characters[k];
    const std::size_t kind = std::min<std::size_t>(c.kind, 3);
    const BodyBox& b = setup_.bodies[kind];
    const bool chosen = selected_ && selected_->what == Drag::Character && selected_->index == k;
    if (const EditorPicture& picture = setup_.kinds[kind]; picture.texture != 0) {
      // The art faces left; the player starts facing right.
      const auto size = static_cast<int32_t>(std::lround(picture.size * s));
      backends.renderer->DrawAnim(picture.texture, view_.ScreenX(c.x), view_.ScreenY(c.y), kDepth,
                                  size, size, c.kind == kPlayer);
    }
    const double x = view_.ScreenX(c.x + b.left);
    const double y = view_.ScreenY(c.y + b.top);
    Outline(x, y, (b.right - b.left) * s, (b.bottom - b.top) * s,
            chosen ? kYellow : kKindColour[kind]);
    std::string label = kKindLetter[kind];
    if (c.wake != kWakeAwake) label += c.wake < 3 ? std::string(" ") + kWakeNames[c.wake] : "";
    Text(label, x, y - 12, chosen ? kYellow : kKindColour[kind], 10);
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
    if (g.glyph == tool_) Outline(x - 2, kPanelTop + 2, 16, 16, kYellow);
    Text(std::to_string(i + 1), x + 15, kPanelTop + 4, g.glyph == tool_ ? kYellow : kGrey, 10);
    x += kSwatchStep;
  }
  for (const Button& b : kButtons) {
    const bool waiting = b.places && placing_ == b.key;
    const double width = std::strlen(b.label) * kButtonGlyph;
    Outline(b.x - 2, kPanelTop + 2, width + 4, 15, waiting ? kYellow : kGrey);
    Text(b.label, b.x, kPanelTop + 5, waiting ? kYellow : kWhite, 9);
  }
  const LevelSource& src = doc_.Source();
  char where[96];
  std::snprintf(where, sizeof where, "%d,%d  cell %d,%d  %dx%d screens  zoom %.2f", CursorWorldX(),
                CursorWorldY(), CursorWorldX() / src.cellPx, CursorWorldY() / src.cellPx, src.width,
                src.height, view_.Scale());
  Text(std::string("tool: ") + GlyphInfo(tool_).name + "   " + where, 4, kPanelTop + kLine + 6,
       kGrey, 10);
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

void Editor::DrawHelp() {
  DrawQuad(Swatch(level_glyphs::kEmpty), 40, 60, kDepth, 720, 40 + 18 * std::size(kHelp), 0.95);
  double y = 80;
  for (const char* line : kHelp) {
    Text(line, 60, y, line[0] == ' ' ? kWhite : kYellow, 11);
    y += 18;
  }
}

void Editor::Draw() {
  Renderer& r = *backends.renderer;
  r.BeginFrame(0, 800, 0, 600);
  r.SetState(RenderState::DepthTest, false);
  r.SetState(RenderState::Blend, true);
  DrawGrid();
  DrawItems();
  DrawCharacters();
  DrawDragPreview();
  DrawPanel();
  if (help_) DrawHelp();
  r.FrameDone();
}
