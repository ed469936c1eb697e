// Parsing, writing and compiling the level source text.
#include "formats/level_source.hpp"

#include <sstream>

#include "base/parse_number.hpp"

namespace {

namespace g = level_glyphs;

struct Name {
  const char* text;
  uint8_t value;
};
constexpr Name kKindNames[] = {
    {"player", kPlayer}, {"sentinel", kSentinel}, {"guard", kGuard}, {"golem", kGolem}};
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
template <std::size_t N>
std::optional<uint8_t> ToByte(const std::string& word, const Name (&names)[N]) {
  for (const Name& n : names) {
    if (word == n.text) return n.value;
  }
  auto v = ParseNumber<int64_t>(word);
  if (!v || *v < 0 || *v > 255) return std::nullopt;
  return static_cast<uint8_t>(*v);
}

template <std::size_t N>
std::string ByteName(uint8_t value, const Name (&names)[N]) {
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

LevelSourceParse ParseLevelSource(const std::string& text) {
  LevelSourceParse result;
  LevelSource src;
  src.width = 0;
  std::istringstream in(text);
  std::string line;
  int lineNo = 0;
  bool haveGrid = false;
  auto fail = [&](const std::string& why) {
    result.error = "line " + std::to_string(lineNo) + ": " + why;
    return result;
  };

  while (std::getline(in, line)) {
    ++lineNo;
    line = StripCr(line);
    std::vector<std::string> w = Words(line);
    if (w.empty()) continue;
    const std::string& key = w[0];
    const int at = lineNo - 1;
    if (key == "screens") {
      result.lines.screens = at;
      if (w.size() != 3) return fail("screens takes a width and a height");
      auto sw = ParseNumber<int64_t>(w[1]), sh = ParseNumber<int64_t>(w[2]);
      if (!sw || !sh || *sw < 1 || *sw > kMaxMapWidth || *sh < 1 || *sh > kMaxMapHeight) {
        return fail("the level is 1..25 screens wide and 1..16 high");
      }
      if (*sw * *sh > kMaxLevelScreens) {
        return fail("the level has " + std::to_string(*sw * *sh) + " screens; at most " +
                    std::to_string(kMaxLevelScreens) + " can be drawn");
      }
      if (haveGrid) return fail("screens must come before the grid");
      src.width = static_cast<int32_t>(*sw);
      src.height = static_cast<int32_t>(*sh);
    } else if (key == "cell") {
      result.lines.cell = at;
      if (w.size() != 2) return fail("cell takes one size in px");
      auto c = ParseNumber<int64_t>(w[1]);
      if (!c || *c < kCellPx || *c % kCellPx != 0 || kScreenWidthPx % *c != 0 ||
          kScreenHeightPx % *c != 0) {
        return fail("a grid character covers a multiple of 10 px that divides 800 and 600");
      }
      if (haveGrid) return fail("cell must come before the grid");
      src.cellPx = static_cast<int32_t>(*c);
    } else if (key == "grid") {
      if (w.size() != 1) return fail("grid stands alone on its line");
      if (haveGrid) return fail("a second grid");
      if (src.width == 0) return fail("screens must come before the grid");
      haveGrid = true;
      result.lines.grid = at;
      const int columns = src.GridColumns();
      const int rows = src.GridRows();
      for (int r = 0; r < rows; ++r) {
        if (!std::getline(in, line)) {
          return fail("the grid has " + std::to_string(r) + " rows, the level needs " +
                      std::to_string(rows));
        }
        ++lineNo;
        line = StripCr(line);
        if (static_cast<int>(line.size()) != columns) {
          return fail("a grid row of " + std::to_string(line.size()) +
                      " characters, the level needs " + std::to_string(columns));
        }
        for (std::size_t c = 0; c < line.size(); ++c) {
          if (!IsGlyph(line[c])) {
            return fail("unknown grid character '" + std::string(1, line[c]) + "' in column " +
                        std::to_string(c));
          }
        }
        src.grid.push_back(line);
      }
      if (!std::getline(in, line) || Words(StripCr(line)) != std::vector<std::string>{"end"}) {
        ++lineNo;
        return fail("the grid has more rows than the level, or lacks its end line");
      }
      ++lineNo;
      result.lines.end = lineNo - 1;
    } else if (key == "item") {
      if (w.size() != 4) return fail("item takes a kind and a position x y");
      auto kind = ToByte(w[1], kItemNames);
      auto x = ParseNumber<int64_t>(w[2]), y = ParseNumber<int64_t>(w[3]);
      if (!kind) return fail("unknown item kind '" + w[1] + "'");
      if (!x || !y) return fail("an item position is two whole numbers");
      src.items.push_back({*kind, static_cast<int32_t>(*x), static_cast<int32_t>(*y)});
      result.lines.items.push_back(at);
      // Positions are tested against the map once the whole file is read.
      if (*x < 0 || *y < 0 || *x > (1 << 24) || *y > (1 << 24)) return fail("item outside the map");
    } else {
      auto kind = ToByte(key, kKindNames);
      if (!kind) return fail("unknown line '" + key + "'");
      if (w.size() != 4) return fail(key + " takes a wake-up rule and a position x y");
      auto wake = ToByte(w[1], kWakeNames);
      auto x = ParseNumber<int64_t>(w[2]), y = ParseNumber<int64_t>(w[3]);
      if (!wake) return fail("unknown wake-up rule '" + w[1] + "'");
      if (!x || !y || *x < 0 || *y < 0 || *x > (1 << 24) || *y > (1 << 24)) {
        return fail("a character position is two whole numbers, not below 0");
      }
      if (src.characters.empty() && *kind != kPlayer) {
        return fail("the first character is the player");
      }
      if (!src.characters.empty() && *kind == kPlayer) return fail("a second player");
      src.characters.push_back({*kind, *wake, static_cast<int32_t>(*x), static_cast<int32_t>(*y)});
      result.lines.characters.push_back(at);
    }
  }

  ++lineNo;
  if (src.width == 0) return fail("no screens line");
  if (!haveGrid) return fail("no grid");
  if (src.characters.empty()) return fail("no player");
  if (src.characters.size() > kMaxMapCharacters) return fail("more than 256 characters");
  if (src.items.size() > kMaxLevelItems) return fail("more than 100 items");
  const int64_t worldW = int64_t{src.width} * kScreenWidthPx;
  const int64_t worldH = int64_t{src.height} * kScreenHeightPx;
  for (std::size_t k = 0; k < src.characters.size(); ++k) {
    if (src.characters[k].x >= worldW || src.characters[k].y >= worldH) {
      return fail("character " + std::to_string(k) + " lies outside the map");
    }
  }
  for (std::size_t k = 0; k < src.items.size(); ++k) {
    if (src.items[k].x >= worldW || src.items[k].y >= worldH) {
      return fail("item " + std::to_string(k) + " lies outside the map");
    }
  }
  result.source = std::move(src);
  return result;
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
  return ByteName(c.kind, kKindNames) + ' ' + WakeRuleName(c.wake) + ' ' + std::to_string(c.x) +
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
