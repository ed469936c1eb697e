// Parsing, writing and compiling the level source text.
#include "editing/level_source.hpp"

#include <algorithm>
#include <span>
#include <sstream>

#include "base/parse_number.hpp"
#include "game/kinds.hpp"

namespace {

namespace g = level_glyphs;

struct Name {
  const char* text;
  uint8_t value;
};
constexpr Name kWakeNames[] = {
    {"awake", kWakeAwake}, {"behind", kWakeBehind}, {"never", kWakeNever}};
constexpr Name kItemNames[] = {{"life", kItemLife}, {"power", kItemPower}};

bool IsGlyph(char c) {
  switch (c) {
    case g::kEmpty:
    case g::kMasonry:
    case g::kRock:
    case g::kLedge:
    case g::kTorch:
    case g::kChain:
    case g::kBanner:
    case g::kWindow:
      return true;
    default:
      return false;
  }
}

// A byte given by name or by number 0..255.
// The kinds by the words of their rows.
const std::vector<Name>& KindNames() {
  static const std::vector<Name> names = [] {
    std::vector<Name> n;
    for (std::size_t kind = 0; kind < kKinds.size(); ++kind) {
      n.push_back({kKinds[kind].name, static_cast<uint8_t>(kind)});
    }
    return n;
  }();
  return names;
}

std::optional<uint8_t> ToByte(const std::string& word, std::span<const Name> names) {
  for (const Name& n : names) {
    if (word == n.text) return n.value;
  }
  auto v = ParseNumber<int64_t>(word);
  if (!v || *v < 0 || *v > 255) return std::nullopt;
  return static_cast<uint8_t>(*v);
}

std::string ByteName(uint8_t value, std::span<const Name> names) {
  for (const Name& n : names) {
    if (n.value == value) return n.text;
  }
  return std::to_string(value);
}

std::vector<std::string> Words(const std::string& line) {
  std::string text = line.substr(0, line.find('#'));
  std::istringstream in(text);
  std::vector<std::string> words;
  for (std::string w; in >> w;) words.push_back(w);
  return words;
}

std::string StripCr(std::string line) {
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return line;
}

}  // namespace

char LevelSource::Glyph(int column, int row) const {
  if (row < 0 || column < 0 || row >= static_cast<int>(grid.size())) return g::kEmpty;
  const std::string& line = grid[static_cast<std::size_t>(row)];
  if (column >= static_cast<int>(line.size())) return g::kEmpty;
  return line[static_cast<std::size_t>(column)];
}

uint8_t CollisionValue(char glyph) {
  if (glyph == g::kMasonry || glyph == g::kRock) return 1;
  if (glyph == g::kLedge) return 2;
  return 0;
}

namespace {

// Reads a level source line by line. Every mistake is noted and the reading goes on, so that a
// maker mends them all at once; a mistake that leaves later lines without a meaning (a size that
// cannot be read, a grid that cannot be placed) is named once, not again at every line after it.
class SourceReader {
 public:
  explicit SourceReader(const std::string& text) : in_(text) { src_.width = 0; }

  LevelSourceParse Read() {
    while (NextLine()) {
      std::vector<std::string> w = Words(line_);
      if (w.empty()) continue;
      const std::string& key = w[0];
      if (key == "screens") {
        Screens(w);
      } else if (key == "cell") {
        Cell(w);
      } else if (key == "grid") {
        Grid(w);
      } else if (key == "item") {
        Item(w);
      } else {
        Character(w);
      }
    }
    ++lineNo_;
    CheckWhole();
    return Result();
  }

 private:
  bool NextLine() {
    if (!std::getline(in_, line_)) return false;
    ++lineNo_;
    line_ = StripCr(line_);
    return true;
  }
  void Fail(const std::string& why) { FailAt(lineNo_, why); }
  void FailAt(int lineNo, const std::string& why) {
    mistakes_.push_back("line " + std::to_string(lineNo) + ": " + why);
  }

  void Screens(const std::vector<std::string>& w) {
    result_.lines.screens = lineNo_ - 1;
    if (haveGrid_) return Fail("screens must come before the grid");
    sizeRead_ = true;
    if (w.size() != 3) return Fail("screens takes a width and a height");
    auto sw = ParseNumber<int64_t>(w[1]), sh = ParseNumber<int64_t>(w[2]);
    if (!sw || !sh || *sw < 1 || *sw > kMaxMapWidth || *sh < 1 || *sh > kMaxMapHeight) {
      return Fail("the level is 1..25 screens wide and 1..16 high");
    }
    if (*sw * *sh > kMaxLevelScreens) {
      return Fail("the level has " + std::to_string(*sw * *sh) + " screens; at most " +
                  std::to_string(kMaxLevelScreens) + " can be drawn");
    }
    src_.width = static_cast<int32_t>(*sw);
    src_.height = static_cast<int32_t>(*sh);
  }

  void Cell(const std::vector<std::string>& w) {
    result_.lines.cell = lineNo_ - 1;
    if (haveGrid_) return Fail("cell must come before the grid");
    if (w.size() != 2) return Fail("cell takes one size in px");
    auto c = ParseNumber<int64_t>(w[1]);
    if (!c || *c < kCellPx || *c % kCellPx != 0 || kScreenWidthPx % *c != 0 ||
        kScreenHeightPx % *c != 0) {
      return Fail("a grid character covers a multiple of 10 px that divides 800 and 600");
    }
    src_.cellPx = static_cast<int32_t>(*c);
  }

  void Grid(const std::vector<std::string>& w) {
    if (w.size() != 1) return Fail("grid stands alone on its line");
    if (haveGrid_) return Fail("a second grid");
    haveGrid_ = true;
    result_.lines.grid = lineNo_ - 1;
    if (src_.width == 0) {
      // Without a size the rows cannot be counted: they are passed over up to the end line.
      if (!sizeRead_) Fail("screens must come before the grid");
      while (NextLine() && Words(line_) != std::vector<std::string>{"end"}) {
      }
      return;
    }
    const int rows = src_.GridRows();
    for (int r = 0; r < rows; ++r) {
      if (!NextLine()) {
        return Fail("the grid has " + std::to_string(r) + " rows, the level needs " +
                    std::to_string(rows));
      }
      GridRow();
    }
    const bool ended = NextLine() && Words(line_) == std::vector<std::string>{"end"};
    if (!ended) {
      if (in_.eof()) ++lineNo_;
      return Fail("the grid has more rows than the level, or lacks its end line");
    }
    result_.lines.end = lineNo_ - 1;
  }

  void GridRow() {
    src_.grid.push_back(line_);
    const int columns = src_.GridColumns();
    if (static_cast<int>(line_.size()) != columns) {
      return Fail("a grid row of " + std::to_string(line_.size()) +
                  " characters, the level needs " + std::to_string(columns));
    }
    const auto unknown = std::find_if_not(line_.begin(), line_.end(), IsGlyph);
    if (unknown != line_.end()) {
      Fail("unknown grid character '" + std::string(1, *unknown) + "' in column " +
           std::to_string(unknown - line_.begin()));
    }
  }

  void Item(const std::vector<std::string>& w) {
    if (w.size() != 4) return Fail("item takes a kind and a position x y");
    auto kind = ToByte(w[1], kItemNames);
    auto x = ParseNumber<int64_t>(w[2]), y = ParseNumber<int64_t>(w[3]);
    if (!kind) return Fail("unknown item kind '" + w[1] + "'");
    if (!x || !y) return Fail("an item position is two whole numbers");
    // Positions are tested against the map once the whole file is read.
    if (*x < 0 || *y < 0 || *x > (1 << 24) || *y > (1 << 24)) return Fail("item outside the map");
    src_.items.push_back({*kind, static_cast<int32_t>(*x), static_cast<int32_t>(*y)});
    result_.lines.items.push_back(lineNo_ - 1);
  }

  void Character(const std::vector<std::string>& w) {
    const std::string& key = w[0];
    auto kind = ToByte(key, KindNames());
    if (!kind) return Fail("unknown line '" + key + "'");
    if (w.size() != 4) return Fail(key + " takes a wake-up rule and a position x y");
    auto wake = ToByte(w[1], kWakeNames);
    auto x = ParseNumber<int64_t>(w[2]), y = ParseNumber<int64_t>(w[3]);
    if (!wake) return Fail("unknown wake-up rule '" + w[1] + "'");
    if (!x || !y || *x < 0 || *y < 0 || *x > (1 << 24) || *y > (1 << 24)) {
      return Fail("a character position is two whole numbers, not below 0");
    }
    if (!src_.characters.empty() && *kind == kPlayer) return Fail("a second player");
    // Kept all the same, so that the enemies after it are not each taken for the player.
    if (src_.characters.empty() && *kind != kPlayer) Fail("the first character is the player");
    src_.characters.push_back({*kind, *wake, static_cast<int32_t>(*x), static_cast<int32_t>(*y)});
    result_.lines.characters.push_back(lineNo_ - 1);
  }

  void CheckWhole() {
    if (src_.width == 0 && !sizeRead_) Fail("no screens line");
    if (!haveGrid_) Fail("no grid");
    if (src_.characters.empty()) Fail("no player");
    if (src_.characters.size() > kMaxMapCharacters) Fail("more than 256 characters");
    if (src_.items.size() > kMaxLevelItems) Fail("more than 100 items");
    if (src_.width == 0) return;
    const int64_t worldW = int64_t{src_.width} * kScreenWidthPx;
    const int64_t worldH = int64_t{src_.height} * kScreenHeightPx;
    for (std::size_t k = 0; k < src_.characters.size(); ++k) {
      if (src_.characters[k].x >= worldW || src_.characters[k].y >= worldH) {
        FailAt(result_.lines.characters[k] + 1,
               "character " + std::to_string(k) + " lies outside the map");
      }
    }
    for (std::size_t k = 0; k < src_.items.size(); ++k) {
      if (src_.items[k].x >= worldW || src_.items[k].y >= worldH) {
        FailAt(result_.lines.items[k] + 1, "item " + std::to_string(k) + " lies outside the map");
      }
    }
  }

  LevelSourceParse Result() {
    if (mistakes_.empty()) {
      result_.source = std::move(src_);
      return std::move(result_);
    }
    LevelSourceParse failed;
    failed.mistakes = std::move(mistakes_);
    failed.error = JoinMistakes(failed.mistakes);
    return failed;
  }

  std::istringstream in_;
  std::string line_;
  int lineNo_ = 0;
  bool haveGrid_ = false;
  bool sizeRead_ = false;  // a screens line was read, good or bad
  LevelSource src_;
  LevelSourceParse result_;
  std::vector<std::string> mistakes_;
};

}  // namespace

std::string JoinMistakes(const std::vector<std::string>& mistakes, const std::string& prefix) {
  std::string text;
  const std::size_t named = std::min(mistakes.size(), kMistakesNamed);
  for (std::size_t k = 0; k < named; ++k) {
    text += (k > 0 ? "\n" : "") + prefix + mistakes[k];
  }
  if (mistakes.size() > named) {
    text += "\n" + prefix + "and " + std::to_string(mistakes.size() - named) + " more";
  }
  return text;
}

LevelSourceParse ParseLevelSource(const std::string& text) {
  return SourceReader(text).Read();
}

std::string FormatLevelSource(const LevelSource& src) {
  std::ostringstream out;
  out << "screens " << src.width << ' ' << src.height << '\n';
  out << "cell " << src.cellPx << '\n';
  out << "grid\n";
  for (const std::string& row : src.grid) out << row << '\n';
  out << "end\n";
  for (const LevelCharacter& c : src.characters) out << FormatCharacterLine(c) << '\n';
  for (const LevelItem& item : src.items) out << FormatItemLine(item) << '\n';
  return out.str();
}

std::string WakeRuleName(uint8_t wake) {
  return ByteName(wake, kWakeNames);
}

std::string FormatCharacterLine(const LevelCharacter& c) {
  return ByteName(c.kind, KindNames()) + ' ' + WakeRuleName(c.wake) + ' ' + std::to_string(c.x) +
         ' ' + std::to_string(c.y);
}

std::string FormatItemLine(const LevelItem& item) {
  return "item " + ByteName(item.kind, kItemNames) + ' ' + std::to_string(item.x) + ' ' +
         std::to_string(item.y);
}

LevelCompile CompileLevel(const LevelSource& src) {
  LevelCompile result;
  if (src.width < 1 || src.width > kMaxMapWidth || src.height < 1 || src.height > kMaxMapHeight ||
      src.width * src.height > kMaxLevelScreens || src.cellPx < kCellPx ||
      src.cellPx % kCellPx != 0) {
    result.error = "bad level size or grid scale";
    return result;
  }
  if (static_cast<int>(src.grid.size()) != src.GridRows()) {
    result.error = "the grid has the wrong number of rows";
    return result;
  }
  LevelMapFile map;
  map.Resize(src.width, src.height);
  const int k = src.cellPx / kCellPx;
  for (int row = 0; row < src.GridRows(); ++row) {
    if (static_cast<int>(src.grid[static_cast<std::size_t>(row)].size()) != src.GridColumns()) {
      result.error = "grid row " + std::to_string(row) + " has the wrong length";
      return result;
    }
    for (int col = 0; col < src.GridColumns(); ++col) {
      uint8_t v = CollisionValue(src.Glyph(col, row));
      for (int dx = 0; dx < k; ++dx) {
        for (int dy = 0; dy < k; ++dy) map.SetCell(col * k + dx, row * k + dy, v);
      }
    }
  }
  for (const LevelCharacter& c : src.characters) {
    map.CharType.push_back(c.kind);
    map.CharActivation.push_back(c.wake);
    map.CharPos.push_back({c.x, c.y});
  }
  for (const LevelItem& item : src.items) {
    map.ItemType.push_back(item.kind);
    map.ItemPos.push_back({item.x, item.y});
  }
  std::string problem = ValidateLevelMap(map);
  if (!problem.empty()) {
    result.error = problem;
    return result;
  }
  result.map = std::move(map);
  return result;
}
