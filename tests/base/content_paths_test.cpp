// Finding content: the case-insensitive resolver and the content-root search.
#include <gtest/gtest.h>

#include <cstdlib>

#include "app/letterbox.hpp"
#include "base/content_paths.hpp"
#include "test_support.hpp"

namespace fs = std::filesystem;

TEST(ContentPaths, GamePathsResolveWhateverTheirCase) {
  TempDir dir{"paths"};
  WriteFile(dir / "data" / "levels" / "level1" / "bg.dx", "b");
  WriteFile(dir / "data" / "sounds" / "GUI" / "button0.wav", "c");
  ContentPaths paths(dir.path());
  EXPECT_EQ(paths.Resolve("DATA\\levels\\LEVEL1\\bg.dx"),
            (dir / "data" / "levels" / "level1" / "bg.dx").string());
  EXPECT_EQ(paths.Resolve("data\\sounds\\GUI\\button0.WAV"),
            (dir / "data" / "sounds" / "GUI" / "button0.wav").string());
  // Forward slashes, doubled separators and a trailing separator are all one separator.
  EXPECT_TRUE(paths.Resolve("data/levels//level1/bg.dx").has_value());
  EXPECT_TRUE(paths.Resolve("data\\levels\\level1\\\\").has_value());
  EXPECT_FALSE(paths.Resolve("data\\levels\\level2\\bg.dx").has_value());
  EXPECT_FALSE(paths.Resolve("").has_value());
}

TEST(ContentPaths, AnExactMatchWinsOverOtherCasings) {
  TempDir dir{"paths_exact"};
  WriteFile(dir / "data" / "A.txt", "upper");
  WriteFile(dir / "data" / "a.txt", "lower");
  ContentPaths paths(dir.path());
  EXPECT_EQ(ReadFile(*paths.Resolve("data\\a.txt")), "lower");
  EXPECT_EQ(ReadFile(*paths.Resolve("data\\A.txt")), "upper");
}

TEST(ContentPaths, NothingEscapesTheRoot) {
  TempDir dir{"paths_escape"};
  WriteFile(dir / "secret.txt", "s");
  WriteFile(dir / "root" / "data" / "x.txt", "x");
  ContentPaths paths(dir / "root");
  EXPECT_FALSE(paths.Resolve("data\\..\\..\\secret.txt").has_value());
  EXPECT_FALSE(paths.Resolve("..\\secret.txt").has_value());
  EXPECT_FALSE(ContentPaths::Split("a/../b").has_value());
  EXPECT_EQ(ContentPaths::Split("a/./b")->size(), 2u);
}

// Found in a first round of abuse: a .dxt linked from outside the root was loaded and drawn.
TEST(ContentPaths, SymbolicLinksOutOfTheRootAreRefusedAndLinksInsideItFollowed) {
  TempDir dir{"paths_links"};
  WriteFile(dir / "outside" / "secret.dxt", "s");
  WriteFile(dir / "root" / "data" / "real" / "x.dxt", "x");
  fs::path data = dir / "root" / "data";
  fs::create_symlink(dir / "outside" / "secret.dxt", data / "file_out.dxt");
  fs::create_symlink(dir / "outside", data / "folder_out");
  fs::create_symlink("real/x.dxt", data / "file_in.dxt");
  fs::create_symlink(data / "real", data / "folder_in");
  fs::create_symlink("missing.dxt", data / "dangling.dxt");
  ContentPaths paths(dir / "root");
  struct Case {
    const char* gamePath;
    bool found;
    bool file;     // a regular file, a link to one followed
    bool outside;  // missing only because it leads out of the root
  } cases[] = {
      {"data\\file_out.dxt", false, false, true},
      {"data\\folder_out\\secret.dxt", false, false, true},
      {"data\\folder_out", false, false, true},
      {"data\\dangling.dxt", false, false, false},
      {"data\\nothing.dxt", false, false, false},
      {"data\\file_in.dxt", true, true, false},
      {"data\\FOLDER_IN\\x.dxt", true, true, false},
      {"data\\real\\x.dxt", true, true, false},
      {"data\\folder_in", true, false, false},
      {"data\\REAL", true, false, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(paths.Resolve(c.gamePath).has_value(), c.found) << c.gamePath;
    EXPECT_EQ(paths.IsFile(c.gamePath), c.file) << c.gamePath;
    EXPECT_EQ(paths.LeadsOutside(c.gamePath), c.outside) << c.gamePath;
  }
  // A root reached through a link is still the root.
  fs::create_symlink(dir / "root", dir / "root_link");
  ContentPaths linked(dir / "root_link");
  EXPECT_TRUE(linked.Resolve("data\\file_in.dxt").has_value());
  EXPECT_FALSE(linked.Resolve("data\\file_out.dxt").has_value());
}

// Found in a first round of abuse: an empty "GUI" beside "gui" hid the sounds in "gui", and of
// two files spelt alike the first in sort order won even when it was the broken one.
// A level played from its source file: its map and pictures come from the compiled folder alone
// (a picture the level lacks is not the root's), everything else from the root.
TEST(ContentPaths, ALevelOverlayHoldsTheLevelsOwnFilesAndNothingElse) {
  TempDir dir{"paths_overlay"};
  const fs::path root = dir / "root" / "data" / "levels" / "level1";
  for (const char* name : {"level.mrv", "0.dxt", "1.dxt", "2.dxt", "bg.dx", "title.dx"})
    WriteFile(root / name, std::string("root ") + name);
  const fs::path laid = dir / "laid" / "DATA" / "Levels" / "LEVEL1";
  for (const char* name : {"level.mrv", "0.dxt", "1.dxt", "bg.dx"})
    WriteFile(laid / name, std::string("laid ") + name);
  fs::create_symlink(root / "2.dxt", laid / "3.dxt");  // out of the overlay: refused
  ContentPaths paths(dir / "root");
  paths.SetLevelOverlay(dir / "laid");
  const struct {
    const char* path;
    const char* from;  // nullptr: not found
  } rows[] = {
      {"data\\levels\\level1\\level.mrv", "laid level.mrv"},
      {"DATA\\LEVELS\\LEVEL1\\1.DXT", "laid 1.dxt"},
      {"data\\levels\\level1\\2.dxt", nullptr},
      {"data\\levels\\level1\\3.dxt", nullptr},
      {"data\\levels\\level1\\bg.dx", "root bg.dx"},
      {"data\\levels\\level1\\title.dx", "root title.dx"},
      {"data\\levels\\level1\\..\\level1\\0.dxt", nullptr},
  };
  for (const auto& r : rows) {
    std::optional<std::string> found = paths.Resolve(r.path);
    EXPECT_EQ(found.has_value(), r.from != nullptr) << r.path;
    if (found && r.from) EXPECT_EQ(ReadFile(*found), r.from) << r.path;
  }
  std::vector<std::string> names;
  const auto listed = paths.List("data\\levels\\level1");
  ASSERT_TRUE(listed.has_value());
  for (const auto& e : *listed) names.push_back(e.name);
  EXPECT_EQ(names, (std::vector<std::string>{"0.dxt", "1.dxt", "3.dxt", "bg.dx", "level.mrv",
                                             "title.dx"}));
}

TEST(ContentPaths, AmbiguousCaseTriesEverySpellingInAFixedOrder) {
  TempDir dir{"paths_ambiguous"};
  fs::create_directories(dir / "data" / "sounds" / "GUI");
  WriteFile(dir / "data" / "sounds" / "gui" / "button0.Wav", "broken");
  WriteFile(dir / "data" / "sounds" / "gui" / "button0.wav", "good");
  WriteFile(dir / "data" / "sounds" / "gui" / "button0.WAV", "exact");
  ContentPaths paths(dir.path());
  fs::path gui = dir / "data" / "sounds" / "gui";
  // The exact spelling first, then the others in sorted order; the empty GUI gives nothing.
  EXPECT_EQ(
      paths.Candidates("data\\sounds\\GUI\\button0.WAV"),
      (std::vector<std::string>{(gui / "button0.WAV").string(), (gui / "button0.Wav").string(),
                                (gui / "button0.wav").string()}));
  EXPECT_EQ(
      paths.Candidates("data\\sounds\\GUI\\button0.wav", 2),
      (std::vector<std::string>{(gui / "button0.wav").string(), (gui / "button0.WAV").string()}));
  EXPECT_EQ(paths.Resolve("DATA\\SOUNDS\\GUI\\BUTTON0.WAV"), (gui / "button0.WAV").string());
  // The folder itself: the exact spelling, which exists, even though it is empty.
  EXPECT_EQ(paths.Resolve("data\\sounds\\GUI"), (dir / "data" / "sounds" / "GUI").string());
  EXPECT_TRUE(paths.Candidates("data\\sounds\\GUI\\none.wav").empty());
}

TEST(ContentRoot, SearchOrderAndTheDataFolderTest) {
  TempDir dir{"content_root"};
  fs::create_directories(dir / "opt" / "DATA");
  fs::create_directories(dir / "env" / "data");
  fs::create_directories(dir / "empty");

  ContentSearch withOption = FindContentRoot((dir / "opt").string());
  ASSERT_TRUE(withOption.root.has_value());
  EXPECT_EQ(*withOption.root, dir / "opt");

  ContentSearch badOption = FindContentRoot((dir / "empty").string());
  EXPECT_FALSE(badOption.root.has_value());
  ASSERT_EQ(badOption.tried.size(), 1u);

  setenv("MORVA_ROOT", (dir / "env").c_str(), 1);
  ContentSearch fromEnv = FindContentRoot(std::nullopt);
  unsetenv("MORVA_ROOT");
  ASSERT_TRUE(fromEnv.root.has_value());
  EXPECT_EQ(*fromEnv.root, dir / "env");
}

TEST(Letterbox, FitsTheLogicalPictureAndMapsTheCursorBack) {
  Viewport same = LetterboxViewport(800, 600);
  EXPECT_EQ(same.x, 0);
  EXPECT_EQ(same.width, 800);
  Viewport wide = LetterboxViewport(1280, 600);
  EXPECT_EQ(wide.x, 240);
  EXPECT_EQ(wide.y, 0);
  EXPECT_EQ(wide.width, 800);
  Viewport tall = LetterboxViewport(1280, 1024);
  EXPECT_EQ(tall.width, 1280);
  EXPECT_EQ(tall.height, 960);
  EXPECT_EQ(tall.y, 32);

  // The corners of the picture map to the logical corners; the bars lie outside 0..799.
  LogicalPoint topLeft = WindowToLogical(0, 32, 1280, 1024, 1280, 1024);
  EXPECT_EQ(topLeft.x, 0);
  EXPECT_EQ(topLeft.y, 0);
  LogicalPoint bottomRight = WindowToLogical(1279, 991, 1280, 1024, 1280, 1024);
  EXPECT_EQ(bottomRight.x, 799);
  EXPECT_EQ(bottomRight.y, 599);
  EXPECT_LT(WindowToLogical(0, 5, 1280, 1024, 1280, 1024).y, 0);
  LogicalPoint middle = WindowToLogical(640, 512, 1280, 1024, 1280, 1024);
  EXPECT_EQ(middle.x, 400);
  EXPECT_EQ(middle.y, 300);
  // A high-DPI window: window units are half the drawable's pixels.
  LogicalPoint hiDpi = WindowToLogical(320, 256, 640, 512, 1280, 1024);
  EXPECT_EQ(hiDpi.x, 400);
  EXPECT_EQ(hiDpi.y, 300);
  // A degenerate window does not divide by zero.
  EXPECT_EQ(LetterboxViewport(0, 0).width, 800);
}

// The editor's window on the screens it meets: the largest 4:3 inside the usable area with its
// frame, centred, never below 800 x 600 and then with its title bar on the screen.
TEST(Letterbox, AWindowFitsTheUsableAreaWithItsFrame) {
  struct Row {
    const char* what;
    WindowPlace area;
    FrameBorders frame;
    WindowPlace want;
  } rows[] = {
      {"1024 x 768, no window manager", {0, 0, 1024, 768}, {}, {0, 0, 1024, 768}},
      {"1024 x 768 with a title bar", {0, 0, 1024, 768}, {22, 1, 4, 1}, {18, 22, 988, 741}},
      {"a panel at the top", {0, 32, 1920, 1048}, {}, {262, 32, 1396, 1047}},
      {"a dock on the left", {64, 0, 1216, 1024}, {}, {64, 56, 1216, 912}},
      {"just 800 x 600", {0, 0, 800, 600}, {}, {0, 0, 800, 600}},
      {"smaller than 800 x 600", {10, 20, 640, 480}, {20, 2, 2, 2}, {12, 40, 800, 600}},
      {"no area at all", {0, 0, 0, 0}, {}, {0, 0, 800, 600}},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    const WindowPlace w = LargestWindowIn(r.area, r.frame);
    EXPECT_EQ(w.x, r.want.x);
    EXPECT_EQ(w.y, r.want.y);
    EXPECT_EQ(w.width, r.want.width);
    EXPECT_EQ(w.height, r.want.height);
  }
}

TEST(ContentRoot, AnInstallMovedOutOfItsPrefixFindsItsContentBesideTheProgram) {
  TempDir dir{"content_beside"};
  // The content's place from the program's folder is the install's own (../share/morva by
  // default, ../share/games/morva where games are kept apart).
  const fs::path beside = (dir / "cut" / "bin" / MORVA_CONTENT_FROM_PROGRAM).lexically_normal();
  fs::create_directories(dir / "cut" / "bin");
  fs::create_directories(beside / "data");
  fs::create_directories(dir / "work");
  fs::path old = fs::current_path();
  fs::current_path(dir / "work");
  unsetenv("MORVA_ROOT");

  ContentSearch moved = FindContentRoot(std::nullopt, dir / "cut" / "bin" / "morva");
  ASSERT_TRUE(moved.root.has_value());
  EXPECT_EQ(*moved.root, beside);
  ASSERT_EQ(moved.tried.size(), 2u) << "the working directory first";
  EXPECT_EQ(moved.tried[1].rfind("beside the program: ", 0), 0u) << moved.tried[1];

  // A data folder in the working directory still comes first.
  fs::create_directories(dir / "work" / "data");
  EXPECT_EQ(*FindContentRoot(std::nullopt, dir / "cut" / "bin" / "morva").root, dir / "work");
  fs::remove(dir / "work" / "data");

  // Nothing beside the program: the installed folder is the last place looked at, and a program
  // whose own folder cannot be told skips the place beside it.
  ContentSearch none = FindContentRoot(std::nullopt, dir / "elsewhere" / "bin" / "morva");
  EXPECT_EQ(none.tried.size(), 3u);
  EXPECT_EQ(none.tried.back(), std::string("installed content: ") + MORVA_INSTALL_CONTENT_DIR);
  EXPECT_EQ(FindContentRoot(std::nullopt, fs::path()).tried.size(), 2u);

  // Installed in its own prefix, the two places are one folder, looked at once.
  EXPECT_EQ(
      FindContentRoot(std::nullopt, fs::path(MORVA_INSTALL_PROGRAM_DIR) / "morva").tried.size(),
      2u);
  fs::current_path(old);
}
