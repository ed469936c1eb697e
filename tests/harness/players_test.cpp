// What players meet on the real program, run headless: taps shorter than a frame, settings kept
// however the program ends, the no-content message, the per-user folders and --print-paths.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <nlohmann/json.hpp>

#include "test_support.hpp"
#include "ui/ui_run.hpp"

namespace fs = std::filesystem;
using nlohmann::json;

namespace {
std::string Line(int frame, const std::string& what) {
  return std::to_string(frame) + " " + what + "\n";
}
// Press and release before the same frame: what a touchpad tap or `xdotool click` gives.
std::string Tap(int frame, int x, int y) {
  return Line(frame, "mouse move " + std::to_string(x) + " " + std::to_string(y)) +
         Line(frame, "mouse down left") + Line(frame, "mouse up left");
}
std::string KeyTap(int frame, const std::string& key) {
  return Line(frame, "key down " + key) + Line(frame, "key up " + key);
}
// The menu's Training and Options buttons, the training page's Next.
constexpr int kMenuX = 385;
constexpr int kTrainingY = 257;
constexpr int kOptionsY = 307;
constexpr int kNextX = 435;
constexpr int kNextY = 565;
}  // namespace

TEST(QuickTaps, APressAndReleaseWithinOneFrameIsOneClick) {
  UiGame game;
  // Training opens about ten frames after its tap; then three taps on Next, each inside a frame.
  std::string script = SkipIntro() + Tap(10, kMenuX, kTrainingY) + Tap(40, kNextX, kNextY) +
                       Tap(60, kNextX, kNextY) + Tap(80, kNextX, kNextY);
  json state = game.Run(script, 100);
  EXPECT_EQ(state["flags"]["trainerShown"], 1) << "the tap on Training counted";
  EXPECT_TRUE(Drew(state, "data\\trainer\\2.dxt")) << "two taps turned two pages; the third "
                                                      "stopped at the last page";

  // Only one click for each tap: two taps from page 0 reach page 2, not further pages' worth.
  state = game.Run(SkipIntro() + Tap(10, kMenuX, kTrainingY) + Tap(40, kNextX, kNextY), 60);
  EXPECT_TRUE(Drew(state, "data\\trainer\\1.dxt"));

  // A key tap inside one frame is seen too: Escape leaves the training pages.
  state = game.Run(SkipIntro() + Tap(10, kMenuX, kTrainingY) + KeyTap(40, "Escape"), 45);
  EXPECT_EQ(state["flags"]["trainerShown"], 0);
  EXPECT_EQ(state["flags"]["menuShown"], 1);
}

TEST(SettingsOnExit, AChangeMadeInTheOptionsIsKeptHoweverTheProgramEnds) {
  UiGame game;
  // Options, then a drag of the music bar to 50: the settings change in memory only.
  std::string drag = SkipIntro() + Tap(10, kMenuX, kOptionsY) + Line(30, "mouse move 330 197") +
                     Line(30, "mouse down left") + Line(32, "mouse up left");
  struct Way {
    const char* what;
    std::string script;
    int frames;
  };
  const Way ways[] = {
      {"the window closed by the system (Alt+F4)", drag + Line(40, "quit"), 100},
      {"the end of a counted run", drag, 40},
  };
  for (const Way& way : ways) {
    game.Run(way.script, way.frames);
    std::string bytes = ReadFile(UserConfigFile(game.dir.path()));
    ASSERT_EQ(bytes.size(), 12u) << way.what;
    EXPECT_EQ(static_cast<int>(bytes[0]), 50) << way.what;
  }

  // A termination signal, in a run that would otherwise go on for ever.
  fs::remove(UserConfigFile(game.dir.path()));
  WriteFile(game.dir / "in.txt", drag);
  std::string command = "cd '" + game.dir.path().string() + "' && (XDG_CONFIG_HOME='" +
                        (game.dir / kUserConfigHome).string() + "' '" + MORVA_BINARY +
                        "' --headless --frame-ms 10 --root content --input in.txt & pid=$!; "
                        "sleep 0.5; kill -TERM $pid; wait $pid)";
  int status = std::system(command.c_str());
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  std::string bytes = ReadFile(UserConfigFile(game.dir.path()));
  ASSERT_EQ(bytes.size(), 12u) << "SIGTERM";
  EXPECT_EQ(static_cast<int>(bytes[0]), 50) << "SIGTERM";
}

// A copy of the program with nothing beside it gets the advice for an installed game; the build's
// own program, beside the demo content the build made, is told to start with that.
TEST(NoContent, TheMessageSaysOnceWhoSpeaksAndWhatAnInstalledUserCanDo) {
  TempDir dir{"players_no_content"};
  fs::create_directories(dir / "nothing");
  fs::create_directories(dir / "bin");
  fs::copy_file(MORVA_BINARY, dir / "bin" / "morva");
  const std::string copy = "cd '" + dir.path().string() + "' && bin/morva --headless --frames 1 " +
                           "--root nothing > out.txt 2>&1";
  const int status = std::system(copy.c_str());
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 3);
  const std::string output = ReadFile(dir / "out.txt");
  EXPECT_EQ(output.rfind("morva: No game content found", 0), 0u) << output;
  EXPECT_EQ(output.find("MORVA:"), std::string::npos) << "no doubled prefix";
  for (const char* advice : {MORVA_INSTALL_CONTENT_DIR, "installing the game again",
                             "mkcontent DIR", "--root DIR", "MORVA_ROOT=DIR", "./play.sh"}) {
    EXPECT_NE(output.find(advice), std::string::npos) << advice;
  }

  // A build that takes another build's content (the sanitizer build) has none beside it.
  const fs::path built = fs::path(MORVA_BINARY).parent_path() / "content";
  if (!fs::is_directory(built / "data")) return;
  RunResult r = RunGame({"--headless", "--frames", "1", "--root", "nothing"}, dir.path());
  EXPECT_EQ(r.status, 3);
  EXPECT_NE(r.output.find(std::string(MORVA_BINARY) + " --root " + built.string()),
            std::string::npos)
      << r.output;
}

TEST(UserFolders, ADesktopStartLeavesNothingInTheWorkingDirectory) {
  TempDir dir{"players_user_folders"};
  fs::create_directories(dir / "home");
  RunResult r =
      RunGame({"--headless", "--frames", "2", "--root", MORVA_TEST_CONTENT}, dir / "home");
  ASSERT_EQ(r.status, 0) << r.output;
  EXPECT_TRUE(fs::exists(UserConfigFile(dir / "home")));
  EXPECT_FALSE(fs::exists(dir / "home" / "config.dat"));

  // A portable install, a folder with the game's data in it, keeps its settings beside the data.
  fs::create_directories(dir / "portable" / "data");
  r = RunGame({"--headless", "--frames", "2", "--root", MORVA_TEST_CONTENT}, dir / "portable");
  ASSERT_EQ(r.status, 0) << r.output;
  EXPECT_TRUE(fs::exists(dir / "portable" / "config.dat"));
  EXPECT_FALSE(fs::exists(UserConfigFile(dir / "portable")));
}

TEST(UserFolders, PrintPathsSaysWhereEverythingWouldBe) {
  TempDir dir{"players_print_paths"};
  fs::create_directories(dir / "home");
  RunResult r =
      RunGame({"--print-paths", "--root=" + std::string(MORVA_TEST_CONTENT)}, dir / "home");
  ASSERT_EQ(r.status, 0) << r.output;
  fs::path home = fs::canonical(dir / "home");
  EXPECT_NE(r.output.find("content: " + fs::path(MORVA_TEST_CONTENT).lexically_normal().string()),
            std::string::npos)
      << r.output;
  // The per-user folders are where the variables point.
  EXPECT_NE(r.output.find("settings: " + UserConfigFile(dir / "home").string()), std::string::npos)
      << r.output;
  EXPECT_NE(r.output.find("screenshots: " +
                          (dir / "home" / kUserDataHome / "morva" / "screenshots").string()),
            std::string::npos)
      << r.output;
  EXPECT_TRUE(fs::is_empty(dir / "home")) << "printing the paths makes nothing";

  r = RunGame({"--print-paths"}, dir / "home");
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.output.find("content: none found"), std::string::npos) << r.output;
  EXPECT_NE(r.output.find("working directory: " + home.string()), std::string::npos) << r.output;
  EXPECT_NE(r.output.find("installed content: "), std::string::npos) << r.output;
}
