// The placement checks. The player is modelled on the grid as the game moves it: it stands on
// the top of stone or a plank with room for its body above, walks and falls to the next column,
// and jumps up to kJumpRiseMs x kJumpSpeed px; ceilings are not modelled.
#include "editing/level_checks.hpp"

#include <algorithm>
#include <optional>
#include <queue>
#include <set>
#include <tuple>
#include <utility>

#include "base/measures.hpp"

namespace {

constexpr double kJumpRise = kJumpRiseMs * kJumpSpeed;
// The level ends once the player walks past half a screen before the right edge.
constexpr int32_t kEndBeforeRightEdge = kScreenWidthPx / 2;

const char* KindName(uint8_t kind) {
  return KindOf(kind).inMessages;
}

std::string At(int32_t x, int32_t y) {
  return " at " + std::to_string(x) + ", " + std::to_string(y);
}

class Grid {
 public:
  Grid(const LevelSource& src, const BodyBox& player) : src_(src), player_(player) {
    for (int col = 0; col < Columns(); ++col) stands_.push_back(FindStands(col));
  }

  int Columns() const { return src_.GridColumns(); }
  int Cell() const { return src_.cellPx; }
  bool Solid(int col, int row) const { return CollisionValue(src_.Glyph(col, row)) == 1; }
  bool Carries(int col, int row) const { return CollisionValue(src_.Glyph(col, row)) != 0; }

  // Whether any solid cell lies under the box [x0, x1) x [y0, y1).
  bool SolidUnder(int32_t x0, int32_t y0, int32_t x1, int32_t y1) const {
    for (int col = x0 / Cell(); col * Cell() < x1; ++col) {
      for (int row = y0 / Cell(); row * Cell() < y1; ++row) {
        if (Solid(col, row)) return true;
      }
    }
    return false;
  }
  // The player's reference heights standing in a column: on each cell that carries with room
  // for the body above it, top to bottom.
  const std::vector<int32_t>& Stands(int col) const {
    static const std::vector<int32_t> kNone;
    return col >= 0 && col < Columns() ? stands_[static_cast<std::size_t>(col)] : kNone;
  }
  // Where a player at `y` in column `col` comes to stand: the first stand at or below it.
  std::optional<int32_t> Landing(int col, double y) const {
    for (int32_t stand : Stands(col)) {
      if (stand >= y) return stand;
    }
    return std::nullopt;
  }

 private:
  std::vector<int32_t> FindStands(int col) const {
    std::vector<int32_t> stands;
    const int32_t height = player_.bottom - player_.top;
    for (int row = 0; row < src_.GridRows(); ++row) {
      if (!Carries(col, row) || (row > 0 && Carries(col, row - 1))) continue;
      const int32_t feet = row * Cell();
      if (feet - height >= 0 && SolidUnder(col * Cell(), feet - height, (col + 1) * Cell(), feet))
        continue;
      stands.push_back(feet - player_.bottom);
    }
    return stands;
  }

  const LevelSource& src_;
  BodyBox player_;
  std::vector<std::vector<int32_t>> stands_;
};

void CheckCharacters(const LevelSource& src, const LevelSourceLines& lines,
                     const KindBodies& bodies, const Grid& grid, std::vector<LevelProblem>& out) {
  for (std::size_t k = 0; k < src.characters.size(); ++k) {
    const LevelCharacter& c = src.characters[k];
    if (!IsNamedKind(c.kind)) continue;
    const BodyBox& b = bodies[c.kind];
    // Its middle, from the top of its body to its feet: a body may lean into a wall beside it
    // (the game keeps it out by probes 10 px to either side).
    if (grid.SolidUnder(c.x, c.y + b.top, c.x + 1, c.y + b.bottom)) {
      out.push_back({lines.characters[k], c.x, c.y,
                     std::string(KindName(c.kind)) + " inside rock" + At(c.x, c.y)});
    }
  }
}

void CheckItems(const LevelSource& src, const LevelSourceLines& lines, const Grid& grid,
                std::vector<LevelProblem>& out) {
  for (std::size_t k = 0; k < src.items.size(); ++k) {
    const LevelItem& item = src.items[k];
    bool reached = false;
    const int first = std::max(0, static_cast<int>((item.x - kPickUpReach) / grid.Cell()));
    for (int col = first; !reached && col * grid.Cell() < item.x + kPickUpReach; ++col) {
      for (int32_t stand : grid.Stands(col)) {
        if (stand > item.y - kPickUpReach && stand - kJumpRise < item.y + kPickUpReach) {
          reached = true;
        }
      }
    }
    if (!reached) {
      out.push_back({lines.items[k], item.x, item.y,
                     "an item out of reach" + At(item.x, item.y) + ": no jump gets there"});
    }
  }
}

// Walks and jumps from the player's start, column by column both ways; the level must be left
// past its end.
void CheckWayThrough(const LevelSource& src, const Grid& grid, std::vector<LevelProblem>& out) {
  const LevelCharacter& player = src.characters.front();
  const int startCol = player.x / grid.Cell();
  std::optional<int32_t> start = grid.Landing(startCol, player.y);
  if (!start) {
    out.push_back({-1, player.x, player.y, "no ground under the player" + At(player.x, player.y)});
    return;
  }
  const int32_t end = src.width * kScreenWidthPx - kEndBeforeRightEdge;
  std::set<std::pair<int, int32_t>> seen{{startCol, *start}};
  std::queue<std::pair<int, int32_t>> open;
  open.push({startCol, *start});
  int furthest = startCol;
  int32_t furthestY = *start;
  while (!open.empty()) {
    auto [col, y] = open.front();
    open.pop();
    if ((col + 1) * grid.Cell() > end) return;
    if (col > furthest) std::tie(furthest, furthestY) = std::pair{col, y};
    for (int next : {col - 1, col + 1}) {
      if (next < 0 || next >= grid.Columns()) continue;
      // A jump reaches any stand up to its rise; a walk off the edge lands on the first below.
      const std::optional<int32_t> fall = grid.Landing(next, y);
      for (int32_t stand : grid.Stands(next)) {
        if (stand < y - kJumpRise || (fall && stand > *fall) || (!fall && stand > y)) continue;
        if (seen.insert({next, stand}).second) open.push({next, stand});
      }
    }
  }
  const int32_t x = (furthest + 1) * grid.Cell();
  out.push_back({-1, x, furthestY,
                 "no way past" + At(x, furthestY) + ": a wall higher than a jump or a gap"});
}

// A problem the content checker finds in the compiled map, placed where its line stands.
LevelProblem ProblemOf(const LevelMapProblem& found, const LevelSource& source,
                       const LevelSourceLines& lines) {
  switch (found.about) {
    case LevelMapProblem::About::Character: {
      const LevelCharacter& c = source.characters[found.index];
      return {lines.characters[found.index], c.x, c.y, found.message};
    }
    case LevelMapProblem::About::Item: {
      const LevelItem& item = source.items[found.index];
      return {lines.items[found.index], item.x, item.y, found.message};
    }
    default:
      return {-1, 0, 0, found.message};
  }
}

}  // namespace

KindBodies DemoBodies() {
  KindBodies bodies{};
  for (std::size_t kind = 0; kind < kKinds.size(); ++kind) bodies[kind] = kKinds[kind].demoBody;
  return bodies;
}

std::vector<LevelProblem> CheckPlacement(const LevelSource& source, const LevelSourceLines& lines,
                                         const KindBodies& bodies) {
  std::vector<LevelProblem> problems;
  if (source.characters.empty() || source.cellPx <= 0) return problems;
  const Grid grid(source, bodies[kPlayer]);
  CheckCharacters(source, lines, bodies, grid, problems);
  CheckItems(source, lines, grid, problems);
  std::stable_sort(problems.begin(), problems.end(),
                   [](const LevelProblem& a, const LevelProblem& b) { return a.line < b.line; });
  CheckWayThrough(source, grid, problems);
  return problems;
}

std::vector<LevelProblem> CheckLevel(const LevelSource& source, const LevelSourceLines& lines,
                                     const KindBodies& bodies) {
  const LevelCompile compiled = CompileLevel(source);
  if (!compiled.map) return {{-1, 0, 0, compiled.error}};
  std::vector<LevelProblem> problems;
  for (const LevelMapProblem& p : FindUnplayable(*compiled.map)) {
    problems.push_back(ProblemOf(p, source, lines));
  }
  for (LevelProblem& p : CheckPlacement(source, lines, bodies)) problems.push_back(std::move(p));
  return problems;
}
