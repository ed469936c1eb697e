// Loading the level map into the game state, from files written here float by float.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <limits>

#include "app/game_state.hpp"
#include "base/messages.hpp"
#include "content/level_map.hpp"
#include "test_support.hpp"

namespace {

constexpr char kMapPath[] = "data\\levels\\level1\\level.mrv";

// The file's bytes, written independently of the project's own map writer.
struct Mrv {
  std::string bytes;
  Mrv& operator<<(float v) {
    uint32_t bits;
    std::memcpy(&bits, &v, 4);
    for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<char>((bits >> (8 * i)) & 0xFF));
    return *this;
  }
  Mrv& Cells(int count, float value) {
    for (int i = 0; i < count; ++i) *this << value;
    return *this;
  }
};

// A 1 x 1 level: 80 x 60 cells.
constexpr int kOneScreenCells = 80 * 60;

Mrv OneScreen(float firstCell = 0) {
  Mrv m;
  m << 1.0f << 1.0f << firstCell;
  return m.Cells(kOneScreenCells - 1, 0);
}

enum class Outcome { Loads, Stops, Fatal };

struct Case {
  const char* name;
  std::function<Mrv()> file;
  Outcome outcome;
  const char* message;  // for Stops: the text of the box; for Fatal: a part of it
  std::function<void(const LevelMap&)> check;
};

struct LoadResult {
  Outcome outcome = Outcome::Loads;
  std::string lastMessage;
  bool closeAsked = false;
};

class LevelMapLoad : public ::testing::Test {
 protected:
  TempDir dir{"level-map"};
  std::unique_ptr<FakeBackends> fake;

  LoadResult Load(const std::string& bytes) {
    WriteFile(dir / "data" / "levels" / "level1" / "level.mrv", bytes);
    fake.reset();
    fake = std::make_unique<FakeBackends>(dir.path());
    LoadResult r;
    try {
      LoadLevelMap(kMapPath);
      r.outcome = windowCloseRequested ? Outcome::Stops : Outcome::Loads;
    } catch (const ProgramExit& e) {
      EXPECT_EQ(e.status, 3);
      r.outcome = Outcome::Fatal;
    }
    r.closeAsked = windowCloseRequested;
    if (!shownMessages.empty()) r.lastMessage = shownMessages.back().text;
    return r;
  }
};

}  // namespace

TEST_F(LevelMapLoad, FollowsTheRangesAndMessagesOfTheFormat) {
  const std::string zeroSize = Cp1257ToUtf8(kMapZeroSizeMessage);
  const std::string negative = Cp1257ToUtf8(kMapNegativePosMessage);
  const Case cases[] = {
      {"width 0.9 truncates to 0", [] { return Mrv() << 0.9f << 1.0f << 7.0f; }, Outcome::Stops,
       zeroSize.c_str(), [](const LevelMap& m) { EXPECT_EQ(m.Cells[0][0], 0); }},
      {"height 0", [] { return Mrv() << 2.0f << 0.0f; }, Outcome::Stops, zeroSize.c_str(),
       [](const LevelMap& m) { EXPECT_EQ(m.Width, 2); }},
      {"25 x 16 is the largest level",
       [] { return (Mrv() << 25.0f << 16.0f).Cells(2000 * 960, 1) << 0.0f << 0.0f; },
       Outcome::Loads, nullptr,
       [](const LevelMap& m) {
         EXPECT_EQ(m.Cells[1999][959], 1);
         EXPECT_EQ(m.Cells[2000][959], 0) << "outside the level stays empty";
         EXPECT_EQ(m.Cells[1999][960], 0);
       }},
      {"26 screens wide", [] { return Mrv() << 26.0f << 16.0f; }, Outcome::Fatal, "Width", {}},
      {"17 screens high", [] { return Mrv() << 1.0f << 17.0f; }, Outcome::Fatal, "Height", {}},
      {"a negative width", [] { return Mrv() << -1.0f << 1.0f; }, Outcome::Fatal, "Width", {}},
      // Found by fuzzing: a huge width with a height that truncates to 0.
      {"a huge width before a zero height",
       [] {
         Mrv m;
         m.bytes = std::string("\x01\x4d\x01\x4d\x00\x00\x80\xb9", 8);
         return m;
       },
       Outcome::Fatal,
       "Width",
       {}},
      {"cell 255.9 stores 255, -0.9 stores 0",
       [] {
         Mrv m;
         m << 1.0f << 1.0f << 255.9f << -0.9f;
         return m.Cells(kOneScreenCells - 2, 0) << 0.0f << 0.0f;
       },
       Outcome::Loads, nullptr,
       [](const LevelMap& m) {
         EXPECT_EQ(m.Cells[0][0], 255);
         EXPECT_EQ(m.Cells[0][1], 0);
       }},
      {"cell 256", [] { return OneScreen(256.0f) << 0.0f << 0.0f; }, Outcome::Fatal, "cell", {}},
      {"cell -1", [] { return OneScreen(-1.0f) << 0.0f << 0.0f; }, Outcome::Fatal, "cell", {}},
      {"a NaN cell",
       [] { return OneScreen(std::nanf("")) << 0.0f << 0.0f; },
       Outcome::Fatal,
       "cell",
       {}},
      {"an infinite position",
       [] {
         return OneScreen() << 1.0f << 0.0f << 0.0f << std::numeric_limits<float>::infinity()
                            << 5.0f << 0.0f;
       },
       Outcome::Fatal,
       "CharPos",
       {}},
      {"no characters: the next value is the item count",
       [] { return OneScreen() << 0.0f << 1.0f << 1.0f << 30.0f << 40.0f; }, Outcome::Loads,
       nullptr,
       [](const LevelMap& m) {
         EXPECT_EQ(m.CharCount, 0);
         EXPECT_EQ(m.ItemCount, 1);
         EXPECT_EQ(m.ItemType[0], 1);
         EXPECT_EQ(m.ItemPos[0], (MapPoint{30, 40}));
       }},
      {"runs, not records; trailing values ignored",
       [] {
         return OneScreen() << 2.0f << 0.0f << 2.0f << 0.0f << 1.0f << 0.0f << 0.0f << 100.5f
                            << 200.0f << 1.0f << 0.0f << -5.0f << -6.0f << 99.0f << 98.0f;
       },
       Outcome::Loads, nullptr,
       [](const LevelMap& m) {
         EXPECT_EQ(m.CharCount, 2);
         EXPECT_EQ(m.CharType[1], 2);
         EXPECT_EQ(m.CharActivation[1], 1);
         EXPECT_EQ(m.CharPos[0], (MapPoint{0, 0})) << "(0, 0) is a valid start";
         EXPECT_EQ(m.CharPos[1], (MapPoint{100, 200}));
         EXPECT_EQ(m.ItemPos[0], (MapPoint{-5, -6})) << "item positions may be negative";
       }},
      {"exactly 256 characters",
       [] {
         Mrv m = OneScreen() << 256.0f;
         m.Cells(256, 1).Cells(256, 0).Cells(512, 3);
         return m << 0.0f;
       },
       Outcome::Loads, nullptr,
       [](const LevelMap& m) {
         EXPECT_EQ(m.CharCount, 256);
         EXPECT_EQ(m.CharPos[255], (MapPoint{3, 3}));
       }},
      {"257 characters", [] { return OneScreen() << 257.0f; }, Outcome::Fatal, "CharCount", {}},
      {"a kind of 256",
       [] { return OneScreen() << 1.0f << 256.0f; },
       Outcome::Fatal,
       "CharType",
       {}},
      {"a negative x after earlier positions",
       [] {
         return OneScreen() << 3.0f << 0.0f << 1.0f << 2.0f << 0.0f << 0.0f << 0.0f << 10.0f
                            << 20.0f << -1.0f << 5.0f << 30.0f << 40.0f;
       },
       Outcome::Stops, negative.c_str(),
       [](const LevelMap& m) {
         EXPECT_EQ(m.CharType[2], 2) << "kinds and activations were stored before";
         EXPECT_EQ(m.CharPos[0], (MapPoint{10, 20}));
         EXPECT_EQ(m.CharPos[2], (MapPoint{0, 0})) << "nothing after it is read";
         EXPECT_EQ(m.ItemCount, 0);
       }},
      {"a negative y",
       [] { return OneScreen() << 1.0f << 0.0f << 0.0f << 5.0f << -1.0f; },
       Outcome::Stops,
       negative.c_str(),
       {}},
      {"ends inside the grid: the rest reads 0",
       [] {
         Mrv m;
         m << 1.0f << 1.0f;
         return m.Cells(100, 1);
       },
       Outcome::Loads, nullptr,
       [](const LevelMap& m) {
         EXPECT_EQ(m.Cells[1][39], 1);
         EXPECT_EQ(m.Cells[1][40], 0);
         EXPECT_EQ(m.CharCount, 0);
       }},
      {"ends inside the character run", [] { return OneScreen() << 2.0f << 0.0f << 3.0f << 0.0f; },
       Outcome::Loads, nullptr,
       [](const LevelMap& m) {
         EXPECT_EQ(m.CharCount, 2);
         EXPECT_EQ(m.CharType[1], 3);
         EXPECT_EQ(m.CharActivation[1], 0);
       }},
      {"a length that is not a multiple of 4",
       [] {
         Mrv m = OneScreen() << 0.0f << 0.0f;
         m.bytes += "\x01\x02";
         return m;
       },
       Outcome::Fatal,
       "level.mrv",
       {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    LoadResult r = Load(c.file().bytes);
    ASSERT_EQ(r.outcome, c.outcome) << r.lastMessage;
    if (c.outcome == Outcome::Stops) {
      EXPECT_EQ(r.lastMessage, c.message);
      EXPECT_EQ(shownMessages.back().caption, "MORVA");
    }
    if (c.outcome == Outcome::Fatal) {
      EXPECT_NE(r.lastMessage.find(c.message), std::string::npos) << r.lastMessage;
      EXPECT_NE(r.lastMessage.find("level.mrv"), std::string::npos) << "names the file";
    }
    if (c.outcome == Outcome::Loads) EXPECT_TRUE(shownMessages.empty()) << r.lastMessage;
    if (c.check) c.check(gameState.map);
  }
}

TEST_F(LevelMapLoad, AMissingFileSaysSoWithThePathAppended) {
  fake = std::make_unique<FakeBackends>(dir.path());
  LoadLevelMap(kMapPath);
  ASSERT_EQ(shownMessages.size(), 1u);
  EXPECT_EQ(shownMessages[0].caption, "MORVA");
  EXPECT_EQ(shownMessages[0].text, "Nevar ielādēt MRVdata\\levels\\level1\\level.mrv");
  EXPECT_TRUE(windowCloseRequested);
  EXPECT_EQ(gameState.map.Width, 0);
  // There but no file: the reason follows.
  std::filesystem::create_directories(dir / "data" / "levels" / "level1" / "level.mrv");
  fake.reset();  // its end clears the back ends
  fake = std::make_unique<FakeBackends>(dir.path());
  shownMessages.clear();
  LoadLevelMap(kMapPath);
  ASSERT_EQ(shownMessages.size(), 1u);
  EXPECT_EQ(shownMessages[0].text,
            "Nevar ielādēt MRVdata\\levels\\level1\\level.mrv (is a folder)");
}

TEST(StoreLevelMap, CopiesEachColumnAndClearsWhatAMapWithoutCellsCovers) {
  static LevelMap stored;
  for (auto& column : stored.Cells) column.fill(7);
  LevelMapFile parsed;
  parsed.Resize(1, 1);
  parsed.SetCell(0, 0, 1);
  parsed.SetCell(0, 59, 2);
  parsed.SetCell(79, 0, 3);
  parsed.SetCell(79, 59, 4);
  StoreLevelMap(parsed, stored);
  EXPECT_EQ(stored.Cells[0][0], 1);
  EXPECT_EQ(stored.Cells[0][59], 2);
  EXPECT_EQ(stored.Cells[79][0], 3);
  EXPECT_EQ(stored.Cells[79][59], 4);
  EXPECT_EQ(stored.Cells[40][30], 0);
  EXPECT_EQ(stored.Cells[0][60], 7) << "below the level: left alone";
  EXPECT_EQ(stored.Cells[80][0], 7) << "right of the level: left alone";
  // A grid that does not match its size (built by hand, never read from a file) stores as empty.
  parsed.Cells.resize(10);
  StoreLevelMap(parsed, stored);
  EXPECT_EQ(stored.Cells[0][0], 0);
  EXPECT_EQ(stored.Cells[79][59], 0);
  EXPECT_EQ(stored.Cells[80][0], 7);
}

TEST(LevelGrid, CopiesAreTheirOwnAndAResetStateStartsEmpty) {
  static LevelMap map;
  map.Cells[2000][1000] = 5;
  map.Cells[0][0] = 6;
  LevelMap copy = map;
  copy.Cells[0][0] = 9;
  EXPECT_EQ(copy.Cells[2000][1000], 5);
  EXPECT_EQ(map.Cells[0][0], 6) << "writing the copy leaves the original alone";
  map = copy;
  EXPECT_EQ(map.Cells[0][0], 9);

  gameState.map.Cells[1000][500] = 3;
  ResetGameState();
  EXPECT_EQ(gameState.map.Cells[1000][500], 0);
}
