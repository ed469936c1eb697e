// The level editor's document: byte-exact round trips, edits that keep the file's comments and
// spacing, edits the level's rules refuse, and undo and redo back to the same bytes.
#include "editing/level_document.hpp"

#include <gtest/gtest.h>

#include <filesystem>

#include "test_support.hpp"

namespace fs = std::filesystem;

namespace {

// A level of one screen at 100 px per grid character (8 x 6), written the way people write:
// comments, blank lines, numbers for kinds and rules, uneven spacing, no final line break.
std::string Quirky(const std::string& eol = "\n") {
  const char* lines[] = {"# a test level",
                         "",
                         "screens 1 1   # one screen",
                         "cell   100",
                         "grid",
                         "........",
                         "........",
                         "..t.....",
                         "........",
                         "........",
                         "%%%%####",
                         "end",
                         "  # the cast",
                         "player awake 120 444",
                         "2    1 300 444      # a guard behind",
                         "sentinel 0 500 100",
                         "item life 200 448   # beside the player",
                         "item 1 600 448"};
  std::string text;
  for (const char* line : lines) text += (text.empty() ? "" : eol) + std::string(line);
  return text;
}

LevelDocument OpenOrFail(const std::string& text) {
  LevelDocument::Opened opened = LevelDocument::Open(text);
  if (!opened.document) ADD_FAILURE() << opened.error;
  return opened.document ? std::move(*opened.document) : LevelDocument::New(1, 1, 100);
}

}  // namespace

TEST(LevelDocument, OpeningAndSavingChangesNoByte) {
  std::vector<std::string> texts = {Quirky(), Quirky() + "\n", Quirky("\r\n") + "\r\n"};
  for (const auto& entry : fs::directory_iterator(MORVA_LEVELS_DIR)) {
    if (entry.path().extension() == ".lvl") texts.push_back(ReadFile(entry.path()));
  }
  ASSERT_GT(texts.size(), 3u) << "no level in " << MORVA_LEVELS_DIR;
  for (const std::string& text : texts) {
    LevelDocument doc = OpenOrFail(text);
    EXPECT_EQ(doc.Text(), text);
    EXPECT_FALSE(doc.Modified());
  }
  LevelDocument::Opened bad = LevelDocument::Open("screens 1 1\ncell 100\ngrid\n");
  EXPECT_FALSE(bad.document);
  EXPECT_EQ(bad.error, "line 3: the grid has 0 rows, the level needs 6\nline 4: no player");
}

TEST(LevelDocument, EditsKeepEveryCommentAndUndoingThemAllRestoresTheBytes) {
  for (const std::string eol : {"\n", "\r\n"}) {
    const std::string original = Quirky(eol);
    LevelDocument doc = OpenOrFail(original);
    ASSERT_TRUE(doc.Paint(3, 4, 1, 2, '#'));  // corners in either order
    ASSERT_TRUE(doc.ChangeCharacter(1, {kGuard, kWakeBehind, 310, 444}));
    ASSERT_TRUE(doc.AddCharacter({kGolem, kWakeNever, 700, 392}));
    ASSERT_TRUE(doc.AddItem({kItemPower, 400, 448}));
    ASSERT_TRUE(doc.DeleteItem(0));
    ASSERT_TRUE(doc.Resize(2, 1));
    const std::string edited = doc.Text();
    const LevelSource& src = doc.Source();
    EXPECT_EQ(src.grid[2], ".###............");
    EXPECT_EQ(src.grid[5], "%%%%####........");
    EXPECT_EQ(src.characters.back(), (LevelCharacter{kGolem, kWakeNever, 700, 392}));
    EXPECT_EQ(src.items.size(), 2u);
    for (const char* kept : {"# a test level", "   # one screen", "cell   100", "  # the cast",
                             "sentinel 0 500 100", "item 1 600 448"}) {
      EXPECT_NE(edited.find(kept), std::string::npos) << kept;
    }
    // The moved guard's line is written anew; its comment stays in its column.
    EXPECT_NE(edited.find("guard behind 310 444 # a guard behind" + eol), std::string::npos)
        << edited;
    EXPECT_NE(
        edited.find("golem never 700 392" + eol + "item 1 600 448" + eol + "item power 400 448"),
        std::string::npos)
        << "added after their own kind:\n"
        << edited;
    EXPECT_TRUE(doc.Modified());
    doc.MarkSaved();
    EXPECT_FALSE(doc.Modified());
    int undone = 0;
    while (doc.Undo()) ++undone;
    EXPECT_EQ(undone, 6);
    EXPECT_EQ(doc.Text(), original);
    EXPECT_TRUE(doc.Modified()) << "the saved text had every edit";
    while (doc.Redo()) {
    }
    EXPECT_EQ(doc.Text(), edited);
    EXPECT_FALSE(doc.Modified());
    ASSERT_TRUE(doc.Undo());
    ASSERT_TRUE(doc.Paint(0, 0, 0, 0, '='));
    EXPECT_FALSE(doc.CanRedo()) << "a new edit drops what was undone";
  }
}

TEST(LevelDocument, EditsThatWouldBreakTheLevelChangeNothing) {
  LevelDocument doc = OpenOrFail(Quirky());
  const std::string before = doc.Text();
  struct Row {
    const char* what;
    bool (*edit)(LevelDocument&);
  } rows[] = {
      {"a second player",
       [](LevelDocument& d) {
         return d.AddCharacter({kPlayer, 0, 10, 10});
       }},
      {"the player made a guard",
       [](LevelDocument& d) {
         return d.ChangeCharacter(0, {kGuard, 0, 120, 444});
       }},
      {"a guard made the player",
       [](LevelDocument& d) {
         return d.ChangeCharacter(1, {kPlayer, 0, 120, 444});
       }},
      {"the player deleted", [](LevelDocument& d) { return d.DeleteCharacter(0); }},
      {"a character past the right edge",
       [](LevelDocument& d) {
         return d.AddCharacter({kGuard, 0, 800, 444});
       }},
      {"an item past the bottom",
       [](LevelDocument& d) {
         return d.AddItem({kItemLife, 0, 600});
       }},
      {"no such item", [](LevelDocument& d) { return d.DeleteItem(2); }},
      {"an unknown grid character", [](LevelDocument& d) { return d.Paint(0, 0, 1, 1, 'x'); }},
      {"a paint outside the grid", [](LevelDocument& d) { return d.Paint(8, 6, 20, 20, '#'); }},
      {"a paint that changes nothing", [](LevelDocument& d) { return d.Paint(0, 0, 0, 0, '.'); }},
      {"a move to where it stands",
       [](LevelDocument& d) {
         return d.ChangeCharacter(2, {kSentinel, 0, 500, 100});
       }},
      {"101 screens", [](LevelDocument& d) { return d.Resize(25, 5); }},
      {"no screen", [](LevelDocument& d) { return d.Resize(0, 1); }},
  };
  for (const Row& r : rows) {
    EXPECT_FALSE(r.edit(doc)) << r.what;
    EXPECT_EQ(doc.Text(), before) << r.what;
  }
  EXPECT_FALSE(doc.CanUndo());
  ASSERT_TRUE(doc.Resize(2, 2));
  EXPECT_FALSE(doc.AddCharacter({kGuard, 0, 1600, 444})) << "one past the right edge";
  ASSERT_TRUE(doc.AddCharacter({kGuard, 0, 1599, 1199}));
  EXPECT_FALSE(doc.Resize(1, 2)) << "the new guard would be left outside";
}

// The floor reaches at least 30 px deep, as a unit standing on the bottom edge needs ground 20 px
// below its feet; a thinner one let the player fall out of a new level at once.
TEST(LevelDocument, ANewLevelHasAFloorAndThePlayerStandingOnIt) {
  struct Row {
    int cellPx;
    std::size_t floorRows;
  } rows[] = {{10, 3}, {20, 2}, {40, 1}, {100, 1}};
  for (const Row& r : rows) {
    SCOPED_TRACE(r.cellPx);
    LevelDocument doc = LevelDocument::New(3, 2, r.cellPx);
    const LevelSource& src = doc.Source();
    const std::size_t gridRows = static_cast<std::size_t>(1200 / r.cellPx);
    ASSERT_EQ(src.grid.size(), gridRows);
    const std::string floor(static_cast<std::size_t>(2400 / r.cellPx), '#');
    EXPECT_EQ(src.grid[gridRows - r.floorRows], floor);
    EXPECT_EQ(src.grid[gridRows - r.floorRows - 1], std::string(floor.size(), '.'));
    ASSERT_EQ(src.characters.size(), 1u);
    EXPECT_EQ(src.characters[0].y + 56, 1200 - static_cast<int>(r.floorRows) * r.cellPx)
        << "feet on the floor's top";
    EXPECT_EQ(OpenOrFail(doc.Text()).Text(), doc.Text());
    EXPECT_FALSE(doc.Modified());
  }
  EXPECT_EQ(LevelDocument::New(3, 2, 30).Source().cellPx, 20) << "30 px does not divide 800";
}
