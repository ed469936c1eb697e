// The statistics screen.
#include "ui/statistics.hpp"

#include <cmath>

#include "base/input_states.hpp"
#include "fx/scene_frame.hpp"
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
constexpr InputState kLeaveInput = kPauseButton;  // Escape

// The headmaster beheads every guard; a freak more than a fifth of them, a pouffe fewer.
constexpr double kFreakShare = 0.2;
// Born to kill: every enemy dead and more than half the guards beheaded.
constexpr double kBornToKillShare = 0.5;
const std::string kRankLabel = "rank ";
const std::string kBornToKill = "             BORN TO KILL";

void CountEnemies(StatisticsScreen& s, const LevelFrame& f) {
  s.background = cLoad::LoadDXT("data\\hud\\statistics.dxt");
  s.sentinelTotal = s.guardTotal = s.golemTotal = 0;
  for (int i = 0; i < f.UnitCount(); ++i) {
    switch (f.UnitAt(i).kind) {
      case kSentinel:
        ++s.sentinelTotal;
        break;
      case kGuard:
        ++s.guardTotal;
        break;
      case kGolem:
        ++s.golemTotal;
        break;
      default:
        break;
    }
  }
  f.modes.statsLoaded = 1;
}

std::string Count(int32_t done, uint8_t total) {
  return std::to_string(done) + "/" + std::to_string(total);
}

bool AllKilled(const LevelStats& st, const StatisticsScreen& s) {
  return st.sentinelKills == s.sentinelTotal && st.guardKills == s.guardTotal &&
         st.golemKills == s.golemTotal;
}

void DrawLines(const LevelStats& st, const StatisticsScreen& s, Texture font) {
  struct Line {
    float y;
    std::string text;
  };
  const Line lines[] = {
      {100, "TIME TAKEN      " + MinutesSeconds(st.timeTaken)},
      {125, "POINTS          " + std::to_string(st.points)},
      {145, "------------------------------"},
      {170, "sentinels kills " + Count(st.sentinelKills, s.sentinelTotal)},
      {195, "guards kills    " + Count(st.guardKills, s.guardTotal)},
      {220, "golams kills    " + Count(st.golemKills, s.golemTotal)},
      {245, "heads removed   " + Count(st.headsRemoved, s.guardTotal)},
      {270, "Combo 7         " + Count(st.combo7Count, s.golemTotal)},
  };
  for (const Line& l : lines) DrawText(kTextSize, l.text, kLinesX, l.y, font);
}

void DrawBingo(const LevelStats& st, const StatisticsScreen& s, Texture font) {
  const struct {
    float y;
    bool complete;
  } marks[] = {
      {170, st.sentinelKills == s.sentinelTotal}, {195, st.guardKills == s.guardTotal},
      {220, st.golemKills == s.golemTotal},       {245, st.headsRemoved == s.guardTotal},
      {270, st.combo7Count == s.golemTotal},
  };
  for (const auto& m : marks) {
    if (m.complete) DrawText(kTextSize, "BINGO", kBingoX, m.y, font);
  }
}
}  // namespace

std::string RankText(const LevelStats& st, const StatisticsScreen& s) {
  const int32_t heads = st.headsRemoved;
  if (!AllKilled(st, s)) {
    const auto fifth = static_cast<int32_t>(std::floor(s.guardTotal * kFreakShare));
    // Exactly a fifth of the guards (and not all) earns no rank.
    if (heads == s.guardTotal) return "rank            HEADMASTER";
    if (fifth < heads && heads < s.guardTotal) return "rank            freak";
    if (heads < fifth) return "rank            pouffe";
    return {};
  }
  if (heads > s.guardTotal * kBornToKillShare) return kRankLabel;
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
