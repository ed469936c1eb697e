// Frame folders: counting, gaps, the dense loader, the map check and folders that do not follow
// the numbering.
#include <gtest/gtest.h>

#include <array>

#include "app/main_loop.hpp"
#include "base/messages.hpp"
#include "formats/texture_container.hpp"
#include "gfx/frame_sequence.hpp"
#include "gfx/tool_images.hpp"

namespace fs = std::filesystem;

namespace {
struct FrameFolderTest : ::testing::Test {
  TempDir dir{::testing::UnitTest::GetInstance()->current_test_info()->name()};
  FakeBackends fake{dir.path()};
  std::array<Texture, 513> table{};

  void SetUp() override {
    levelMapSize = LevelMapSize{4, 2};
    table.fill(77);
  }
  void TearDown() override {
    levelMapSize = LevelMapSize{};
    SetFatalHandler(nullptr);
  }
  // Frame files of one 4 x 4 DXT1 block each, under data\chars\guard.
  void Frames(std::initializer_list<const char*> names) {
    std::vector<uint8_t> frame =
        WriteTextureContainer(kFormatDxt1Rgb, 4, 4, std::vector<uint8_t>(8, 0x55));
    for (const char* name : names) {
      WriteFile(dir / "data" / "chars" / "guard" / name, tool_images::AsString(frame));
    }
    fake.content.ClearCache();  // the folders were read before, as a running game reads them
  }
  std::string PathOf(Texture t) { return fake.renderer.PathOf(t); }
};
}  // namespace

TEST_F(FrameFolderTest, CountFilesCountsMatchingFilesInAnyCaseButNoFolders) {
  Frames({"0.dxt", "1.DXT", "2.Dxt", "notes.txt", "3.dxt.bak"});
  fs::create_directories(dir / "data" / "chars" / "guard" / "x.dxt");
  EXPECT_EQ(CountFiles("data\\chars\\guard\\", "*.dxt"), 3);
  EXPECT_EQ(CountFiles("DATA\\CHARS\\GUARD", "*.dxt"), 3);
  EXPECT_EQ(CountFiles("data\\chars\\guard\\", "?.dxt"), 3);
  EXPECT_EQ(CountFiles("data\\chars\\guard\\", "*"), 5);
  EXPECT_EQ(CountFiles("data\\chars\\nobody\\", "*.dxt"), 0);
}

TEST_F(FrameFolderTest, AGapIsMarkedAndTheScanGoesOneNumberFurther) {
  Frames({"0.dxt", "1.dxt", "3.dxt"});
  LoadFrameSequence("data\\chars\\guard\\", table, 512);
  EXPECT_EQ(PathOf(table[0]), "data\\chars\\guard\\0.dxt");
  EXPECT_EQ(PathOf(table[1]), "data\\chars\\guard\\1.dxt");
  EXPECT_EQ(table[2], frameGap);
  EXPECT_EQ(PathOf(table[3]), "data\\chars\\guard\\3.dxt");
  EXPECT_EQ(table[4], 77u) << "entries past the frames are not written";
  // A line (no box) names the missing frame, in case it went missing by accident.
  ASSERT_EQ(shownMessages.size(), 1u);
  EXPECT_EQ(shownMessages[0].text,
            "Frame folder data\\chars\\guard\\ has no 2.dxt (data\\chars\\guard\\2.dxt): that "
            "picture is left empty.");
}

TEST_F(FrameFolderTest, AFileInsideTheFolderNamesTheFolderToo) {
  Frames({"0.dxt", "1.dxt"});
  LoadFrameSequence("data\\chars\\guard\\1.dxt", table, 512);
  EXPECT_EQ(PathOf(table[1]), "data\\chars\\guard\\1.dxt");
  EXPECT_EQ(fake.renderer.Textures().size(), 2u);
}

TEST_F(FrameFolderTest, TheDenseLoaderLetsTheTextureLoaderReportAGap) {
  Frames({"0.dxt", "1.dxt", "3.dxt"});
  LoadFrameSequenceDense("data\\chars\\guard\\", table, 512);
  EXPECT_NE(table[0], 0u);
  EXPECT_NE(table[1], 0u);
  EXPECT_EQ(table[2], 0u);
  EXPECT_EQ(table[3], 77u) << "3.dxt is never tried: only three numbers are";
  ASSERT_EQ(shownMessages.size(), 1u);
  EXPECT_EQ(shownMessages[0].text, "Nevar ielādēt data\\chars\\guard\\2.dxt");
}

TEST_F(FrameFolderTest, AnEmptyFolderLeavesTheTableButTheMapCheckStillRuns) {
  fs::create_directories(dir / "data" / "chars" / "guard");
  LoadFrameSequence("data\\chars\\guard\\", table, 512);
  LoadFrameSequenceDense("data\\chars\\guard\\", table, 512);
  EXPECT_EQ(table[0], 77u);
  EXPECT_TRUE(shownMessages.empty());
  levelMapSize = LevelMapSize{4, 0};
  LoadFrameSequence("data\\chars\\guard\\", table, 512);
  ASSERT_EQ(shownMessages.size(), 1u);
}

TEST_F(FrameFolderTest, WithoutAMapNothingLoadsAndTheProgramIsAskedToClose) {
  Frames({"0.dxt"});
  levelMapSize = LevelMapSize{0, 3};
  LoadFrameSequence("data\\chars\\guard\\", table, 512);
  EXPECT_EQ(table[0], 77u);
  EXPECT_TRUE(fake.renderer.Textures().empty());
  ASSERT_EQ(shownMessages.size(), 1u);
  EXPECT_EQ(shownMessages[0].caption, "MORVA");
  EXPECT_EQ(shownMessages[0].text, "map.width or map.Heigt = 0 - MRV ielāde apturēta!");
  EXPECT_TRUE(windowCloseRequested);
  // The dense loader has no such check.
  LoadFrameSequenceDense("data\\chars\\guard\\", table, 512);
  EXPECT_NE(table[0], 77u);
}

TEST_F(FrameFolderTest, FoldersNamedLikeFramesAreNeitherCountedNorLoaded) {
  Frames({"0.dxt", "2.dxt"});
  fs::create_directories(dir / "data" / "chars" / "guard" / "1.dxt");
  LoadFrameSequence("data\\chars\\guard\\", table, 512);
  EXPECT_NE(table[0], frameGap);
  EXPECT_EQ(table[1], frameGap);
  EXPECT_EQ(PathOf(table[2]), "data\\chars\\guard\\2.dxt");
  ASSERT_EQ(shownMessages.size(), 1u);
  EXPECT_NE(shownMessages[0].text.find("has no 1.dxt"), std::string::npos);
}

TEST_F(FrameFolderTest, NamesThatAreNoNumbersStopTheScanAtTheEndOfTheTable) {
  Frames({"0.dxt", "1.dxt", "3.dxt", "walk.dxt", "run.dxt"});
  std::array<Texture, 10> small{};
  small.fill(77);
  LoadFrameSequence("data\\chars\\guard\\", small, 9);
  EXPECT_NE(small[3], frameGap);
  for (int i : {2, 4, 5, 6, 7, 8, 9}) EXPECT_EQ(small[i], frameGap) << i;
  // A line for the gap among the frames, then the box; the empty slots past the last frame are
  // the box's to tell (a folder of 449 unnumbered pictures once gave 449 lines).
  ASSERT_EQ(shownMessages.size(), 2u);
  EXPECT_NE(shownMessages[0].text.find("has no 2.dxt"), std::string::npos);
  EXPECT_NE(shownMessages[1].text.find("not named by frame numbers"), std::string::npos);
  EXPECT_FALSE(windowCloseRequested);
}

TEST_F(FrameFolderTest, MoreFramesThanTheTableHoldsAreAFatalRangeError) {
  Frames({"0.dxt", "1.dxt", "2.dxt"});
  std::array<Texture, 2> two{};
  std::string reported;
  SetFatalHandler([&](const std::string& what) { reported = what; });
  EXPECT_THROW(LoadFrameSequenceDense("data\\chars\\guard\\", two, 1), ProgramExit);
  EXPECT_NE(reported.find("frame 2"), std::string::npos) << reported;
  EXPECT_NE(reported.find("data\\chars\\guard\\"), std::string::npos) << "names the folder";
  // A numbered frame beyond the table reached through gaps is as fatal.
  Frames({"12.dxt"});
  std::array<Texture, 10> ten{};
  reported.clear();
  EXPECT_THROW(LoadFrameSequence("data\\chars\\guard\\", ten, 9), ProgramExit);
  EXPECT_NE(reported.find("frame 10"), std::string::npos) << reported;
  // The caller's highest index counts even where the array is longer.
  reported.clear();
  EXPECT_THROW(LoadFrameSequence("data\\chars\\guard\\", table, 2), ProgramExit);
}

TEST_F(FrameFolderTest, AFolderOfMoreThan256MiBOfPicturesStopsWithItsName) {
  // Sparse frames of the largest picture, 16 MiB each: sixteen fill the folder's share exactly.
  std::vector<uint8_t> largest = WriteTextureContainer(kFormatDxt5, 4096, 4096, {});
  largest[3] = 1;  // 16 MiB of data follow
  auto frames = [&](int count) {
    for (int n = 0; n < count; ++n) {
      const fs::path file = dir / "data" / "chars" / "guard" / (std::to_string(n) + ".dxt");
      WriteFile(file, tool_images::AsString(largest));
      fs::resize_file(file, largest.size() + (16 << 20));
    }
    fake.content.ClearCache();
  };
  frames(16);
  EXPECT_EQ(LoadFrameSequence("data\\chars\\guard\\", table, 512), 16);
  EXPECT_EQ(shownMessages.size(), 0u);
  frames(18);
  for (auto load : {LoadFrameSequence, LoadFrameSequenceDense}) {
    table.fill(77);
    shownMessages.clear();
    EXPECT_EQ(load("data\\chars\\guard\\", table, 512), 17);
    EXPECT_NE(table[16], 77u);
    EXPECT_EQ(table[17], 77u) << "nothing loads past the limit";
    ASSERT_EQ(shownMessages.size(), 1u);
    EXPECT_NE(shownMessages[0].text.find("data\\chars\\guard\\ holds more than 256 MiB"),
              std::string::npos)
        << shownMessages[0].text;
  }
}

TEST_F(FrameFolderTest, APathWithoutABackslashIsAFatalRangeError) {
  SetFatalHandler([](const std::string&) {});
  EXPECT_THROW(LoadFrameSequence("guard", table, 512), ProgramExit);
  EXPECT_THROW(LoadFrameSequenceDense("guard", table, 512), ProgramExit);
}

TEST_F(FrameFolderTest, BrokenFramesAreReportedOneByOneAndTheRestLoad) {
  Frames({"0.dxt", "2.dxt"});
  WriteFile(dir / "data" / "chars" / "guard" / "1.dxt", "short");
  LoadFrameSequence("data\\chars\\guard\\", table, 512);
  EXPECT_NE(table[0], 0u);
  EXPECT_EQ(table[1], 0u);
  EXPECT_NE(table[2], 0u);
  ASSERT_EQ(shownMessages.size(), 1u);
  EXPECT_EQ(shownMessages[0].text.rfind("Nevar ielādēt data\\chars\\guard\\1.dxt (", 0), 0u);
}
