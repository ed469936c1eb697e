// The level editor's behaviour: keys, the mouse, and the edits they make.
#include "editor/editor.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "app/key_names.hpp"
#include "base/backends.hpp"
#include "base/measures.hpp"
#include "editor/editor_look.hpp"
#include "gfx/renderer.hpp"

namespace {

// The kind a key places, by the kinds' rows.
std::optional<uint8_t> KindPlacedBy(int key) {
  for (std::size_t kind = 0; kind < kKinds.size(); ++kind) {
    if (kKinds[kind].editorKey != 0 && kKinds[kind].editorKey == key) {
      return static_cast<uint8_t>(kind);
    }
  }
  return std::nullopt;
}

using namespace editor_look;

constexpr double kZoomStep = 1.25;
constexpr double kScrollStep = 120;

}  // namespace

Editor::Editor(EditorSetup setup) : setup_(std::move(setup)), doc_(setup_.document) {
  const LevelSource& src = doc_.Source();
  view_.SetLevel(src.width * kScreenWidth, src.height * kScreenHeight);
  view_.Fit();
  Recheck();
  message_ = "F1: help";
}

std::string Editor::Title() const {
  return "morva-edit - " + setup_.file.filename().string() + (doc_.Modified() ? " *" : "");
}

bool Editor::Handle(const Event& e) {
  switch (e.type) {
    case EventType::KeyDown:
      if (e.key == vk::Shift || e.key == vk::Control) {
        (e.key == vk::Shift ? shift_ : ctrl_) = true;
        return true;
      }
      if (prompt_) {
        HandlePromptKey(e.key);
        return true;
      }
      return ctrl_ ? HandleControlKey(e.key) : HandleKey(e.key);
    case EventType::Text:
      if (prompt_ && e.key >= 0x20 && e.key != 0x7f) prompt_->answer.Type(static_cast<char>(e.key));
      return true;
    case EventType::KeyUp:
      if (e.key == vk::Shift) shift_ = false;
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
  return !MayDiscard(vk::Escape, "Escape again leaves without saving");
}

bool Editor::MayDiscard(int key, const std::string& again) {
  if (!doc_.Modified() || askedKey_ == key) return true;
  askedKey_ = key;
  message_ = "Unsaved changes: Ctrl+S saves them, " + again;
  return false;
}

bool Editor::HandleKey(int key) {
  if (key != vk::Escape) askedKey_ = 0;
  if (key >= '1' && key <= '8') {
    tool_ = kGlyphs[static_cast<std::size_t>(key - '1')].glyph;
    message_ = std::string("tool: ") + GlyphInfo(tool_).name;
    return true;
  }
  if (KindPlacedBy(key)) {
    AddAtCursor(key);
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
    case vk::F1:
      help_ = !help_;
      return true;
    case vk::F5:
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
    case 'L':
    case 'P':
      AddAtCursor(key);
      return true;
    case 'W':
      CycleWake();
      return true;
    case 'B':
      TogglePicture();
      return true;
    case vk::Delete:
    case vk::Backspace:
      DeleteSelected();
      return true;
    default:
      return true;
  }
}

bool Editor::HandleControlKey(int key) {
  if (key != 'O' && key != 'N') askedKey_ = 0;
  switch (key) {
    case 'O':
      if (MayDiscard('O', "Ctrl+O again opens another level without saving")) {
        Ask(Prompt::For::Open, "open the level file: ", FileFolder(), FileFolder().size());
      }
      return true;
    case 'N':
      if (MayDiscard('N', "Ctrl+N again starts a new level without saving")) {
        Ask(Prompt::For::NewSize, "the new level's size in screens (width x height): ", "4 x 2", 0);
      }
      return true;
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
    done = doc_.AddCharacter({*KindPlacedBy(key), kWakeAwake, x, y});
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
  if (done) message_ = "wakes: " + WakeRuleName(c.wake);
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
  problems_ = CheckLevel(doc_.Source(), doc_.Lines(), setup_.bodies);
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
    const BodyBox& b = setup_.bodies[c.kind];
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
  askedKey_ = 0;
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
  const int row = cursorY_ < kPanelTop + kLine + 4       ? 0
                  : cursorY_ < kPanelTop + 2 * kLine + 4 ? 1
                                                         : 2;
  if (row < 2) {
    for (std::size_t i = 0; i < kGlyphs.size() && row == 0; ++i) {
      if (cursorX_ >= 2 + i * kSwatchStep && cursorX_ < 2 + (i + 1) * kSwatchStep) {
        HandleKey('1' + static_cast<int>(i));
        return;
      }
    }
    for (const Button& b : PanelButtons()) {
      const double width = std::strlen(b.label) * kButtonGlyph;
      if (b.row != row || cursorX_ < b.x - 2 || cursorX_ >= b.x + width + 2) continue;
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
