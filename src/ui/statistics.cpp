// The statistics screen.
#include "ui/statistics.hpp"

#include <cmath>
#include <vector>

#include "base/input_states.hpp"
#include "fx/scene_frame.hpp"
#include "game/kinds.hpp"
#include "gfx/draw.hpp"
#include "gfx/load.hpp"
#include "ui/hud.hpp"

StatisticsScreen statisticsScreen;

namespace {
constexpr uint16_t kTextSize = 16;
constexpr uint16_t kBornToKillSize = 20;
constexpr float kLinesX = 100;
constexpr float kBingoX = 500;
constexpr float kRankY = 320;
// The count lines, one under another.
constexpr float kFirstCountY = 170;
constexpr float kCountSpacing = 25;
constexpr InputState kLeaveInput = kPauseButton;  // Escape

// The headmaster beheads every guard; a freak more than a fifth of them, a pouffe fewer.
constexpr double kFreakShare = 0.2;
// Born to kill: every enemy dead and more than half the guards beheaded.
constexpr double kBornToKillShare = 0.5;
const std::string kRankLabel = "rank ";
const std::string kBornToKill = "             BORN TO KILL";

// The kinds with a line of their own, in the order of their lines.
template <class Fn>
void ForEachCountedKind(Fn&& fn) {
  for (std::size_t kind = 0; kind < kKinds.size(); ++kind) {
    if (kKinds[kind].statistics.label) fn(kind, kKinds[kind].statistics);
  }
}

void CountEnemies(StatisticsScreen& s, const LevelFrame& f) {
  s.background = cLoad::LoadDXT("data\\hud\\statistics.dxt");
  s.totals = {};
  s.headsTotal = s.fullCombosTotal = 0;
  for (int i = 0; i < f.UnitCount(); ++i) {
    const int32_t kind = f.UnitAt(i).kind;
    const StatisticsRow& row = KindOf(kind).statistics;
    if (!row.label) continue;
    ++s.totals[static_cast<std::size_t>(kind)];
    if (row.headsCounted) ++s.headsTotal;
    if (row.fullCombosCounted) ++s.fullCombosTotal;
  }
  f.modes.statsLoaded = 1;
}

std::string Count(int32_t done, uint8_t total) {
  return std::to_string(done) + "/" + std::to_string(total);
}

bool AllKilled(const LevelStats& st, const StatisticsScreen& s) {
  bool all = true;
  ForEachCountedKind([&](std::size_t kind, const StatisticsRow&) {
    all = all && st.kills[kind] == s.totals[kind];
  });
  return all;
}

// A line of the counts: its text, and whether it is complete (BINGO).
struct CountLine {
  std::string text;
  bool complete;
};

// A line for each kind whose kills are counted, then the heads and the full combos.
std::vector<CountLine> CountLines(const LevelStats& st, const StatisticsScreen& s) {
  std::vector<CountLine> lines;
  ForEachCountedKind([&](std::size_t kind, const StatisticsRow& row) {
    lines.push_back(
        {row.label + Count(st.kills[kind], s.totals[kind]), st.kills[kind] == s.totals[kind]});
  });
  lines.push_back(
      {"heads removed   " + Count(st.headsRemoved, s.headsTotal), st.headsRemoved == s.headsTotal});
  lines.push_back({"Combo 7         " + Count(st.combo7Count, s.fullCombosTotal),
                   st.combo7Count == s.fullCombosTotal});
  return lines;
}

void DrawLines(const LevelStats& st, const StatisticsScreen& s, Texture font) {
  DrawText(kTextSize, "TIME TAKEN      " + MinutesSeconds(st.timeTaken), kLinesX, 100, font);
  DrawText(kTextSize, "POINTS          " + std::to_string(st.points), kLinesX, 125, font);
  DrawText(kTextSize, "------------------------------", kLinesX, 145, font);
  float y = kFirstCountY;
  for (const CountLine& line : CountLines(st, s)) {
    DrawText(kTextSize, line.text, kLinesX, y, font);
    y += kCountSpacing;
  }
}

void DrawBingo(const LevelStats& st, const StatisticsScreen& s, Texture font) {
  float y = kFirstCountY;
  for (const CountLine& line : CountLines(st, s)) {
    if (line.complete) DrawText(kTextSize, "BINGO", kBingoX, y, font);
    y += kCountSpacing;
  }
}
}  // namespace

std::string RankText(const LevelStats& st, const StatisticsScreen& s) {
  const int32_t heads = st.headsRemoved;
  if (!AllKilled(st, s)) {
    const auto fifth = static_cast<int32_t>(std::floor(s.headsTotal * kFreakShare));
    // Exactly a fifth of the guards (and not all) earns no rank.
    if (heads == s.headsTotal) return "rank            HEADMASTER";
    if (fifth < heads && heads < s.headsTotal) return "rank            freak";
    if (heads < fifth) return "rank            pouffe";
    return {};
  }
  if (heads > s.headsTotal * kBornToKillShare) return kRankLabel;
  return {};
}

void RunStatistics(const SceneFrame& frame) {
  StatisticsScreen& s = statisticsScreen;
  const LevelFrame& f = frame.level;
  if (f.modes.statsLoaded == 0) CountEnemies(s, f);
  const LevelStats& st = f.play.levelStats;
  const Texture font = frame.font;
  DrawQuad(s.background, 0, 0, -0.5, 800, 600, 1);
  DrawLines(st, s, font);
  const std::string rank = RankText(st, s);
  if (!rank.empty()) DrawText(kTextSize, rank, kLinesX, kRankY, font);
  if (rank == kRankLabel) DrawText(kBornToKillSize, kBornToKill, kLinesX, kRankY, font);
  DrawBingo(st, s, font);
  if (f.input.test(kLeaveInput)) {
    f.input.reset(kLeaveInput);
    f.modes.inGame = 0;
    f.modes.statsShown = 0;
    f.modes.menuShown = 1;
  }
}

void ResetStatistics() {
  statisticsScreen = StatisticsScreen{};
}
