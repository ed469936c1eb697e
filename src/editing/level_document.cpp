// The level document: line edits checked by the parser, and their undo history.
#include "editing/level_document.hpp"

#include <algorithm>
#include <utility>

namespace {

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
    lines.push_back(text.substr(start, end - start));
  }
  lines.push_back(text.substr(start));  // after the last line break: usually ""
  return lines;
}

std::string JoinLines(const std::vector<std::string>& lines) {
  std::string text;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) text += '\n';
    text += lines[i];
  }
  return text;
}

bool EndsWithCr(const std::string& line) {
  return !line.empty() && line.back() == '\r';
}

// A new level's player stands on the floor this far from the left edge; its feet are 56 px
// below its middle.
constexpr int32_t kNewPlayerX = 120;
constexpr int32_t kPlayerFeet = 56;
// A new level's floor is at least this deep.
constexpr int kNewFloorDepth = 30;

}  // namespace

LevelDocument::Opened LevelDocument::Open(const std::string& text) {
  LevelSourceParse parsed = ParseLevelSource(text);
  if (!parsed.source) return {std::nullopt, parsed.error};
  LevelDocument document;
  document.lines_ = SplitLines(text);
  document.source_ = std::move(*parsed.source);
  document.where_ = std::move(parsed.lines);
  return {std::move(document), {}};
}

LevelDocument LevelDocument::New(int width, int height, int cellPx) {
  LevelSource src;
  src.width = width;
  src.height = height;
  src.cellPx = cellPx;
  // A unit stands only on ground that reaches 20 px below its feet: a thinner floor on the map's
  // bottom edge would let the player fall out of the level at once.
  const int floorRows = std::max(1, (kNewFloorDepth + cellPx - 1) / std::max(cellPx, 1));
  for (int row = 0; row < src.GridRows(); ++row) {
    const char glyph =
        row + floorRows >= src.GridRows() ? level_glyphs::kMasonry : level_glyphs::kEmpty;
    src.grid.emplace_back(static_cast<std::size_t>(src.GridColumns()), glyph);
  }
  src.characters.push_back({kPlayer, kWakeAwake, kNewPlayerX,
                            height * kScreenHeightPx - floorRows * cellPx - kPlayerFeet});
  Opened opened = Open(FormatLevelSource(src));
  // What FormatLevelSource writes parses; a size or a cell the parser refuses gives the smallest
  // level at the usual cell.
  if (opened.document) return std::move(*opened.document);
  const int usualCell = LevelSource{}.cellPx;
  return width == 1 && height == 1 && cellPx == usualCell ? LevelDocument{} : New(1, 1, usualCell);
}

std::string LevelDocument::Text() const {
  return JoinLines(lines_);
}

bool LevelDocument::Paint(int col0, int row0, int col1, int row1, char glyph) {
  const int left = std::max(0, std::min(col0, col1));
  const int right = std::min(source_.GridColumns() - 1, std::max(col0, col1));
  const int top = std::max(0, std::min(row0, row1));
  const int bottom = std::min(source_.GridRows() - 1, std::max(row0, row1));
  std::vector<std::pair<int, int>> cells;
  for (int row = top; row <= bottom; ++row) {
    for (int col = left; col <= right; ++col) cells.emplace_back(col, row);
  }
  return PaintCells(cells, glyph);
}

bool LevelDocument::PaintCells(const std::vector<std::pair<int, int>>& cells, char glyph) {
  const int columns = source_.GridColumns();
  const int rows = source_.GridRows();
  // Each row's line once, with every cell of the stroke in it.
  std::vector<std::optional<std::string>> painted(static_cast<std::size_t>(rows));
  for (auto [col, row] : cells) {
    if (col < 0 || col >= columns || row < 0 || row >= rows) continue;
    auto& text = painted[static_cast<std::size_t>(row)];
    if (!text) text = lines_[static_cast<std::size_t>(where_.grid + 1 + row)];
    (*text)[static_cast<std::size_t>(col)] = glyph;
  }
  std::vector<Change> changes;
  for (int row = 0; row < rows; ++row) {
    const auto& text = painted[static_cast<std::size_t>(row)];
    const auto at = static_cast<std::size_t>(where_.grid + 1 + row);
    if (text && *text != lines_[at]) changes.push_back({at, {lines_[at]}, {*text}});
  }
  return !changes.empty() && Commit(std::move(changes));
}

bool LevelDocument::AddCharacter(const LevelCharacter& character) {
  if (character.kind == kPlayer) return false;
  return Commit(
      {InsertLine(InsertAfter(where_.characters, where_.end), FormatCharacterLine(character))});
}

bool LevelDocument::ChangeCharacter(std::size_t k, const LevelCharacter& character) {
  if (k >= source_.characters.size() || (k == 0) != (character.kind == kPlayer)) return false;
  if (source_.characters[k] == character) return false;
  const auto at = static_cast<std::size_t>(where_.characters[k]);
  return Commit({ReplaceLine(at, FormatCharacterLine(character))});
}

bool LevelDocument::DeleteCharacter(std::size_t k) {
  if (k == 0 || k >= source_.characters.size()) return false;
  const auto at = static_cast<std::size_t>(where_.characters[k]);
  return Commit({{at, {lines_[at]}, {}}});
}

bool LevelDocument::AddItem(const LevelItem& item) {
  const int fallback = where_.characters.empty() ? where_.end : where_.characters.back();
  return Commit({InsertLine(InsertAfter(where_.items, fallback), FormatItemLine(item))});
}

bool LevelDocument::ChangeItem(std::size_t k, const LevelItem& item) {
  if (k >= source_.items.size() || source_.items[k] == item) return false;
  return Commit({ReplaceLine(static_cast<std::size_t>(where_.items[k]), FormatItemLine(item))});
}

bool LevelDocument::DeleteItem(std::size_t k) {
  if (k >= source_.items.size()) return false;
  const auto at = static_cast<std::size_t>(where_.items[k]);
  return Commit({{at, {lines_[at]}, {}}});
}

bool LevelDocument::Resize(int width, int height) {
  if (width == source_.width && height == source_.height) return false;
  LevelSource sized = source_;
  sized.width = width;
  sized.height = height;
  const int columns = sized.GridColumns();
  const int rows = sized.GridRows();
  std::vector<std::string> grid;
  for (int row = 0; row < rows; ++row) {
    std::string text(static_cast<std::size_t>(columns), level_glyphs::kEmpty);
    for (int col = 0; col < columns; ++col)
      text[static_cast<std::size_t>(col)] = source_.Glyph(col, row);
    grid.push_back(Line(text));
  }
  const auto first = static_cast<std::size_t>(where_.grid + 1);
  const std::vector<std::string> old(lines_.begin() + static_cast<std::ptrdiff_t>(first),
                                     lines_.begin() + where_.end);
  // Characters and items left outside make the parser refuse the new size.
  return Commit({ReplaceLine(static_cast<std::size_t>(where_.screens),
                             "screens " + std::to_string(width) + ' ' + std::to_string(height)),
                 {first, old, grid}});
}

bool LevelDocument::Undo() {
  if (undo_.empty()) return false;
  Step step = std::move(undo_.back());
  undo_.pop_back();
  Revert(step.changes);
  Reparse();
  version_ = step.before;
  redo_.push_back(std::move(step));
  return true;
}

bool LevelDocument::Redo() {
  if (redo_.empty()) return false;
  Step step = std::move(redo_.back());
  redo_.pop_back();
  Apply(step.changes);
  Reparse();
  version_ = step.version;
  undo_.push_back(std::move(step));
  return true;
}

bool LevelDocument::Reparse() {
  LevelSourceParse parsed = ParseLevelSource(Text());
  if (!parsed.source) return false;
  source_ = std::move(*parsed.source);
  where_ = std::move(parsed.lines);
  return true;
}

bool LevelDocument::Commit(std::vector<Change> changes) {
  Apply(changes);
  if (!Reparse()) {
    Revert(changes);
    return false;
  }
  undo_.push_back({std::move(changes), ++lastVersion_, version_});
  version_ = lastVersion_;
  redo_.clear();
  return true;
}

void LevelDocument::Apply(const std::vector<Change>& changes) {
  for (const Change& c : changes) {
    auto at = lines_.begin() + static_cast<std::ptrdiff_t>(c.at);
    at = lines_.erase(at, at + static_cast<std::ptrdiff_t>(c.removed.size()));
    lines_.insert(at, c.inserted.begin(), c.inserted.end());
  }
}

void LevelDocument::Revert(const std::vector<Change>& changes) {
  for (auto c = changes.rbegin(); c != changes.rend(); ++c) {
    auto at = lines_.begin() + static_cast<std::ptrdiff_t>(c->at);
    at = lines_.erase(at, at + static_cast<std::ptrdiff_t>(c->inserted.size()));
    lines_.insert(at, c->removed.begin(), c->removed.end());
  }
}

std::string LevelDocument::Line(std::string text) const {
  if (!lines_.empty() && EndsWithCr(lines_.front())) text += '\r';
  return text;
}

std::string LevelDocument::Rewrite(std::size_t at, const std::string& content) const {
  std::string old = lines_[at];
  const bool cr = EndsWithCr(old);
  if (cr) old.pop_back();
  const std::size_t indent = old.find_first_not_of(" \t");
  std::string text = old.substr(0, indent == std::string::npos ? 0 : indent) + content;
  if (const std::size_t hash = old.find('#'); hash != std::string::npos) {
    // The comment stays in its column where the new words leave room.
    text.resize(std::max(text.size() + 1, hash), ' ');
    text += old.substr(hash);
  }
  return cr ? text + '\r' : text;
}

LevelDocument::Change LevelDocument::ReplaceLine(std::size_t at, const std::string& content) const {
  return {at, {lines_[at]}, {Rewrite(at, content)}};
}

LevelDocument::Change LevelDocument::InsertLine(std::size_t at, const std::string& content) const {
  if (at < lines_.size()) return {at, {}, {Line(content)}};
  // After the last line, which has no line break: it gets the file's, the new line none.
  const std::string& last = lines_.back();
  return {at - 1, {last}, {Line(last), content}};
}

std::size_t LevelDocument::InsertAfter(const std::vector<int>& lines, int fallback) const {
  return static_cast<std::size_t>((lines.empty() ? fallback : lines.back()) + 1);
}
