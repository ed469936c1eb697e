// Level map file: value order, truncation and range rules, failures, and writing.
#include "formats/level_map_file.hpp"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <bit>
#include <cmath>
#include <sstream>
#include <streambuf>

#include "test_support.hpp"

namespace {

// File bytes built value by value.
struct MapBytes {
  std::string bytes;
  MapBytes& operator<<(float v) {
    uint32_t bits = std::bit_cast<uint32_t>(v);
    for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<char>(bits >> (8 * i)));
    return *this;
  }
  MapBytes& Cells(int count, float v = 0.0f) {
    for (int i = 0; i < count; ++i) *this << v;
    return *this;
  }
};

LevelMapRead Read(const std::string& bytes) {
  std::istringstream in(bytes);
  return ReadLevelMap(in);
}

constexpr int kOneScreenCells = 80 * 60;

LevelMapFile SmallLevel() {
  LevelMapFile map;
  map.Resize(2, 1);
  map.SetCell(0, 59, 1);
  map.SetCell(159, 0, 7);
  map.SetCell(3, 4, 255);
  map.CharType = {0, 2, 1};
  map.CharActivation = {0, 1, 9};
  map.CharPos = {{400, 300}, {1000, 200}, {0, 0}};
  map.ItemType = {1, 0};
  map.ItemPos = {{-20, 5}, {1500, 550}};
  return map;
}

}  // namespace

TEST(LevelMapFile, WrittenMapReadsBackTheSame) {
  LevelMapFile map = SmallLevel();
  ASSERT_EQ(ValidateLevelMap(map), "");
  std::vector<uint8_t> bytes = EncodeLevelMap(map);
  // Two sizes, the grid, the counts and the three character and two item runs.
  EXPECT_EQ(bytes.size(), 4u * (2 + 2 * kOneScreenCells + 1 + 3 * 4 + 1 + 2 * 3));
  LevelMapRead read = Read(std::string(bytes.begin(), bytes.end()));
  ASSERT_TRUE(read.ok()) << read.detail;
  EXPECT_EQ(read.map, map);
}

TEST(LevelMapFile, GridRunsColumnByColumnAndRunsAreSeparate) {
  MapBytes f;
  f << 1.0f << 1.0f;
  // Column 0 is the first 60 values; the second value of column 1 is cell (1, 1).
  f.Cells(60).Cells(1) << 2.0f;
  f.Cells(kOneScreenCells - 62);
  f << 2.0f << 0.0f << 3.0f << 0.0f << 1.0f << 10.0f << 20.0f << 30.0f << 40.0f << 0.0f;
  LevelMapRead read = Read(f.bytes);
  ASSERT_TRUE(read.ok()) << read.detail;
  EXPECT_EQ(read.map.Cell(1, 1), 2);
  EXPECT_EQ(read.map.Cell(0, 1), 0);
  EXPECT_EQ(read.map.Cell(1, 0), 0);
  EXPECT_EQ(read.map.CharType, (std::vector<uint8_t>{0, 3}));
  EXPECT_EQ(read.map.CharActivation, (std::vector<uint8_t>{0, 1}));
  EXPECT_EQ(read.map.CharPos, (std::vector<MapPoint>{{10, 20}, {30, 40}}));
  EXPECT_EQ(read.map.ItemCount(), 0u);
}

TEST(LevelMapFile, ValuesTruncateTowardZero) {
  MapBytes f;
  f << 1.7f << 1.2f << 255.9f << -0.9f;
  f.Cells(kOneScreenCells - 2);
  f << 1.0f << 0.4f << 0.0f << 2.9f << 3.99f << 1.0f << 1.0f << -0.5f << 7.5f;
  LevelMapRead read = Read(f.bytes);
  ASSERT_TRUE(read.ok()) << read.detail;
  EXPECT_EQ(read.map.Width, 1);
  EXPECT_EQ(read.map.Height, 1);
  EXPECT_EQ(read.map.Cell(0, 0), 255);
  EXPECT_EQ(read.map.Cell(0, 1), 0);
  EXPECT_EQ(read.map.CharPos[0], (MapPoint{2, 3}));
  EXPECT_EQ(read.map.ItemPos[0], (MapPoint{0, 7}));
}

TEST(LevelMapFile, OutOfRangeValuesAreRefused) {
  auto withCell = [](float cell) {
    MapBytes f;
    f << 1.0f << 1.0f << cell;
    f.Cells(kOneScreenCells - 1) << 0.0f << 0.0f;
    return Read(f.bytes);
  };
  EXPECT_TRUE(withCell(255.0f).ok());
  EXPECT_EQ(withCell(256.0f).error, LevelMapError::OutOfRange);
  EXPECT_EQ(withCell(-1.0f).error, LevelMapError::OutOfRange);
  EXPECT_EQ(withCell(std::nanf("")).error, LevelMapError::OutOfRange);
  EXPECT_EQ(withCell(INFINITY).error, LevelMapError::OutOfRange);

  EXPECT_EQ(Read((MapBytes() << 26.0f << 1.0f).bytes).error, LevelMapError::OutOfRange);
  EXPECT_EQ(Read((MapBytes() << 1.0f << 17.0f).bytes).error, LevelMapError::OutOfRange);
  EXPECT_EQ(Read((MapBytes() << -1.0f << 1.0f).bytes).error, LevelMapError::OutOfRange);

  MapBytes many;
  many << 1.0f << 1.0f;
  many.Cells(kOneScreenCells) << 257.0f;
  EXPECT_EQ(Read(many.bytes).error, LevelMapError::OutOfRange);
  MapBytes kind;
  kind << 1.0f << 1.0f;
  kind.Cells(kOneScreenCells) << 1.0f << 300.0f;
  EXPECT_EQ(Read(kind.bytes).error, LevelMapError::OutOfRange);
  MapBytes far;
  far << 1.0f << 1.0f;
  far.Cells(kOneScreenCells) << 0.0f << 1.0f << 0.0f << 3e9f << 0.0f;
  EXPECT_EQ(Read(far.bytes).error, LevelMapError::OutOfRange);
}

TEST(LevelMapFile, TheLargestLevelLoadsAndOneMoreScreenDoesNot) {
  LevelMapFile map;
  map.Resize(25, 16);
  map.SetCell(1999, 959, 1);
  map.CharType = {0};
  map.CharActivation = {0};
  map.CharPos = {{19999, 9599}};
  std::vector<uint8_t> bytes = EncodeLevelMap(map);
  LevelMapRead read = Read(std::string(bytes.begin(), bytes.end()));
  ASSERT_TRUE(read.ok()) << read.detail;
  EXPECT_EQ(read.map.Cell(1999, 959), 1);
  EXPECT_EQ(read.map.CharPos[0], (MapPoint{19999, 9599}));
}

TEST(LevelMapFile, TwoHundredFiftySixCharactersLoadAndOneMoreDoesNot) {
  for (int count : {256, 257}) {
    LevelMapFile map;
    map.Resize(1, 1);
    map.CharType.assign(static_cast<std::size_t>(count), 1);
    map.CharActivation.assign(static_cast<std::size_t>(count), 0);
    map.CharPos.assign(static_cast<std::size_t>(count), MapPoint{3, 4});
    std::vector<uint8_t> bytes = EncodeLevelMap(map);
    LevelMapRead read = Read(std::string(bytes.begin(), bytes.end()));
    bool fits = count <= 256;
    EXPECT_EQ(read.ok(), fits) << count << ": " << read.detail;
    EXPECT_EQ(ValidateLevelMap(map).empty(), fits) << count;
    if (fits) EXPECT_EQ(read.map.CharCount(), 256);
  }
}

TEST(LevelMapFile, ZeroSizeStopsAfterTheSize) {
  LevelMapRead read = Read((MapBytes() << 0.9f << 3.0f << 1.0f << 1.0f).bytes);
  EXPECT_EQ(read.error, LevelMapError::ZeroSize);
  EXPECT_TRUE(read.map.Cells.empty());
  EXPECT_EQ(std::string(kMapZeroSizeMessage),
            "map.Width or map.Height = 0 - MRV iel\xE2"
            "de aptur\xE7ta!");
}

TEST(LevelMapFile, NegativeStartPositionKeepsWhatWasStored) {
  MapBytes f;
  f << 1.0f << 1.0f;
  f.Cells(kOneScreenCells);
  f << 3.0f << 0.0f << 2.0f << 3.0f << 0.0f << 1.0f << 0.0f;
  f << 0.0f << 0.0f << -1.0f << 5.0f << 9.0f << 9.0f << 0.0f;
  LevelMapRead read = Read(f.bytes);
  EXPECT_EQ(read.error, LevelMapError::NegativeCharPos);
  EXPECT_EQ(read.map.CharType, (std::vector<uint8_t>{0, 2, 3}));
  EXPECT_EQ(read.map.CharActivation, (std::vector<uint8_t>{0, 1, 0}));
  EXPECT_EQ(read.map.CharPos[0], (MapPoint{0, 0}));
  EXPECT_EQ(read.map.CharPos[1], (MapPoint{-1, 5}));
  EXPECT_TRUE(read.map.ItemType.empty());
}

TEST(LevelMapFile, EitherCoordinateBelowZeroRefusesTheStartPosition) {
  struct Case {
    float x, y;
    bool refused;
  } cases[] = {{5, -1, true}, {-1, 5, true}, {0, 0, false}, {5, 7, false}};
  for (const Case& c : cases) {
    MapBytes f;
    f << 1.0f << 1.0f;
    f.Cells(kOneScreenCells);
    f << 1.0f << 0.0f << 0.0f << c.x << c.y << 0.0f;
    LevelMapRead read = Read(f.bytes);
    std::string where = "(" + std::to_string(int(c.x)) + ", " + std::to_string(int(c.y)) + ")";
    if (c.refused) {
      EXPECT_EQ(read.error, LevelMapError::NegativeCharPos) << where;
      EXPECT_EQ(read.detail, "character 0 at " + where);
    } else {
      EXPECT_TRUE(read.ok()) << where << ": " << read.detail;
    }
    LevelMapFile map = SmallLevel();
    map.CharPos[0] = {static_cast<int32_t>(c.x), static_cast<int32_t>(c.y)};
    EXPECT_EQ(ValidateLevelMap(map).empty(), !c.refused) << where;
  }
}

TEST(LevelMapFile, ShortAndRaggedFilesAreRefused) {
  MapBytes f;
  f << 1.0f << 1.0f;
  f.Cells(kOneScreenCells) << 1.0f << 0.0f << 0.0f << 10.0f << 10.0f << 1.0f << 1.0f << 5.0f;
  EXPECT_EQ(Read(f.bytes).error, LevelMapError::Truncated);  // the item's y is missing
  std::string complete = (MapBytes(f) << 6.0f).bytes;
  EXPECT_TRUE(Read(complete).ok());
  // Cut inside the last value, and a stray byte after a complete map.
  EXPECT_EQ(Read(complete.substr(0, complete.size() - 1)).error, LevelMapError::PartialValue);
  EXPECT_EQ(Read(complete + "x").error, LevelMapError::PartialValue);
  // Whole values after the items are ignored.
  LevelMapRead extra = Read((MapBytes{complete} << 99.0f << -5.0f).bytes);
  ASSERT_TRUE(extra.ok());
  EXPECT_EQ(extra.map.ItemPos[0], (MapPoint{5, 6}));
  EXPECT_EQ(Read("").error, LevelMapError::Truncated);
}

// A file that ends reads every value it holds; one whose length is not a whole number of values
// is a read error, whatever its values would have said.
TEST(LevelMapFile, CutFilesKeepWhatTheyHoldAndRaggedOnesFailFirst) {
  auto oneScreen = [](std::initializer_list<float> rest) {
    MapBytes f;
    f << 1.0f << 1.0f;
    f.Cells(kOneScreenCells);
    for (float v : rest) f << v;
    return f.bytes;
  };
  struct Case {
    const char* name;
    std::string bytes;
    LevelMapError error;
    MapPoint player, item;
  } cases[] = {
      {"cut after the player's x", oneScreen({1, 0, 0, 200}), LevelMapError::Truncated, {200, 0}},
      {"cut after an item's x", oneScreen({0, 1, 1, 600}), LevelMapError::Truncated, {}, {600, 0}},
      {"cut after a negative x", oneScreen({1, 0, 0, -3}), LevelMapError::NegativeCharPos, {-3, 0}},
      {"zero width, then a partial value", (MapBytes() << 0.0f << 1.0f).bytes + "ab",
       LevelMapError::PartialValue},
      {"a cell out of range, then a partial value",
       (MapBytes() << 1.0f << 1.0f << 256.0f).bytes + "a", LevelMapError::PartialValue},
      {"a negative position, then a partial value",
       oneScreen({1, 0, 0, -3, 4, 0}) + "abc",
       LevelMapError::PartialValue,
       {-3, 4}},
  };
  for (const Case& c : cases) {
    LevelMapRead read = Read(c.bytes);
    EXPECT_EQ(read.error, c.error) << c.name << ": " << read.detail;
    if (!read.map.CharPos.empty()) EXPECT_EQ(read.map.CharPos[0], c.player) << c.name;
    if (!read.map.ItemPos.empty()) EXPECT_EQ(read.map.ItemPos[0], c.item) << c.name;
  }
}

namespace {
// A given start followed by zero bytes, handed out block by block and never held whole.
class ZeroTail : public std::streambuf {
 public:
  ZeroTail(std::string head, std::size_t zeros) : head_(std::move(head)), left_(zeros) {}

 protected:
  int_type underflow() override {
    if (!headDone_) {
      headDone_ = true;
      setg(head_.data(), head_.data(), head_.data() + head_.size());
      return traits_type::to_int_type(head_[0]);
    }
    if (left_ == 0) return traits_type::eof();
    std::size_t n = std::min(left_, block_.size());
    left_ -= n;
    setg(block_.data(), block_.data(), block_.data() + n);
    return traits_type::to_int_type(block_[0]);
  }

 private:
  std::string head_;
  bool headDone_ = false;
  std::size_t left_;
  std::array<char, 1 << 16> block_{};
};

LevelMapRead ReadPaddedTo(std::size_t values, float width = 1.0f) {
  ZeroTail bytes((MapBytes() << width << 1.0f).bytes, (values - 2) * 4);
  std::istream in(&bytes);
  return ReadLevelMap(in);
}
}  // namespace

TEST(LevelMapFile, MoreValuesThanTheGameHoldsAreRefused) {
  // Zero cells, no characters, no items, then zeros up to the count.
  EXPECT_TRUE(ReadPaddedTo(static_cast<std::size_t>(kMaxMapValues)).ok());
  EXPECT_EQ(ReadPaddedTo(static_cast<std::size_t>(kMaxMapValues) + 1).error,
            LevelMapError::TooManyValues);
  // The limit is the reading's, so it wins over what the values say.
  EXPECT_EQ(ReadPaddedTo(static_cast<std::size_t>(kMaxMapValues) + 1, 0.0f).error,
            LevelMapError::TooManyValues);
}

TEST(LevelMapFile, ProbesOutsideTheGridReadEmpty) {
  LevelMapFile map;
  map.Resize(1, 1);
  for (int cx = 0; cx < 80; ++cx) map.SetCell(cx, 59, 1);
  EXPECT_EQ(map.Cell(0, 59), 1);
  EXPECT_EQ(map.Cell(-1, 59), 0);
  EXPECT_EQ(map.Cell(80, 59), 0);
  EXPECT_EQ(map.Cell(0, 60), 0);
  EXPECT_EQ(map.Cell(0, -1000), 0);
  map.SetCell(500, 500, 1);  // ignored, not written past the grid
  EXPECT_EQ(map.Cells.size(), static_cast<std::size_t>(kOneScreenCells));

  // One row below the bottom of a column is not the top of the next column, which the grid
  // stores right after it.
  LevelMapFile columns;
  columns.Resize(1, 1);
  columns.SetCell(6, 0, 1);
  EXPECT_EQ(columns.Cell(5, 60), 0);
  EXPECT_EQ(columns.Cell(6, 0), 1);
  columns.SetCell(5, 60, 2);  // ignored as well
  EXPECT_EQ(columns.Cell(6, 0), 1);
}

TEST(LevelMapFile, MissingFileIsUnreadable) {
  TempDir dir("level_map_missing");
  // A FIFO is not opened (the open would wait for a writer for ever). Each says why.
  ASSERT_EQ(mkfifo((dir / "fifo.mrv").c_str(), 0600), 0);
  for (auto [name, why] :
       {std::pair{"level.mrv", "No such file or directory"}, std::pair{"", "is a folder"},
        std::pair{"fifo.mrv", "not a regular file"}}) {
    LevelMapRead read = ReadLevelMapFile(dir / name);
    EXPECT_EQ(read.error, LevelMapError::Unreadable) << name;
    EXPECT_EQ(read.detail, why) << name;
  }

  std::vector<uint8_t> bytes = EncodeLevelMap(SmallLevel());
  WriteFile(dir / "level.mrv", std::string(bytes.begin(), bytes.end()));
  LevelMapRead fromFile = ReadLevelMapFile(dir / "level.mrv");
  ASSERT_TRUE(fromFile.ok()) << fromFile.detail;
  EXPECT_EQ(fromFile.map, SmallLevel());
}

TEST(LevelMapFile, PositionsUpTo2To24ValidateAndFurtherOnesDoNot) {
  // Every whole number up to 2^24 is exact in a float; 2^24 + 1 is not.
  constexpr int32_t kExact = 1 << 24;
  struct Case {
    int32_t x;
    bool fits;
  } cases[] = {{kExact, true}, {kExact + 1, false}, {-kExact, true}, {-kExact - 1, false}};
  for (const Case& c : cases) {
    LevelMapFile item = SmallLevel();
    item.ItemPos[0] = {c.x, 0};
    EXPECT_EQ(ValidateLevelMap(item).empty(), c.fits) << "item at x " << c.x;
    item.ItemPos[0] = {0, c.x};
    EXPECT_EQ(ValidateLevelMap(item).empty(), c.fits) << "item at y " << c.x;
    if (c.x < 0) continue;  // characters never stand below zero
    LevelMapFile character = SmallLevel();
    character.CharPos[0] = {c.x, c.x};
    EXPECT_EQ(ValidateLevelMap(character).empty(), c.fits) << "character at " << c.x;
  }
}

TEST(LevelMapFile, ValidationNamesWhatCannotBeWritten) {
  LevelMapFile map = SmallLevel();
  EXPECT_EQ(ValidateLevelMap(map), "");
  LevelMapFile big = map;
  big.CharPos[1].x = (1 << 24) + 1;  // a float would round it
  EXPECT_NE(ValidateLevelMap(big), "");
  LevelMapFile negative = map;
  negative.CharPos[2].y = -3;
  EXPECT_NE(ValidateLevelMap(negative), "");
  LevelMapFile ragged = map;
  ragged.CharActivation.pop_back();
  EXPECT_NE(ValidateLevelMap(ragged), "");
  LevelMapFile cells = map;
  cells.Cells.pop_back();
  EXPECT_NE(ValidateLevelMap(cells), "");
  LevelMapFile wide = map;
  wide.Width = 26;
  EXPECT_NE(ValidateLevelMap(wide), "");
}

// What the content checker and the editor refuse in a map that reads well.
TEST(LevelMapFile, UnplayableMapsAreNamedByWhatAndWhere) {
  using About = LevelMapProblem::About;
  const struct Row {
    const char* what;
    void (*change)(LevelMapFile&);
    std::vector<std::pair<About, std::string>> found;
  } rows[] = {
      {"in order",
       [](LevelMapFile& m) {
         m.ItemPos[0] = {0, 5};
       },
       {}},
      {"a character on the last pixel inside",
       [](LevelMapFile& m) {
         m.ItemPos[0] = {0, 5};
         m.CharPos[2] = {1599, 599};
       },
       {}},
      {"a character one past the right edge, an item above the top",
       [](LevelMapFile& m) {
         m.CharPos[1] = {1600, 200};
         m.ItemPos[0] = {10, -1};
       },
       {{About::Character, "character 1 starts outside the map, at 1600, 200"},
        {About::Item, "item 0 lies outside the map, at 10, -1"}}},
      {"a character far below, of a kind without a table",
       [](LevelMapFile& m) {
         m.ItemPos[0] = {0, 5};
         m.CharPos[2] = {10, 2000000000};
         m.CharType[2] = 10;
       },
       {{About::Character, "character 2 has kind 10, above 9"},
        {About::Character, "character 2 starts outside the map, at 10, 2000000000"}}},
      {"a map of 101 screens, the size named",
       [](LevelMapFile& m) {
         m.Width = 101;
         m.ItemPos[0] = {0, 5};
       },
       {{About::Level, "101 x 1 screens, more than 100"}}},
  };
  for (const Row& r : rows) {
    LevelMapFile map = SmallLevel();
    r.change(map);
    std::vector<std::pair<About, std::string>> found;
    for (const LevelMapProblem& p : FindUnplayable(map)) found.push_back({p.about, p.message});
    EXPECT_EQ(found, r.found) << r.what;
  }
}
