// The real program in a window, worked the way a player works it, through the X server itself
// (xdotool): no display means status 4, a quick click is not lost, the no-content message comes
// up in a box, and F12 saves into the per-user folder with a notice in the corner.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>

#include "app/display.hpp"
#include "app/game_state.hpp"
#include "audio/headless_audio.hpp"
#include "base/backends.hpp"
#include "gfx/load.hpp"
#include "harness/png_file.hpp"
#include "platform/gl_renderer.hpp"
#include "platform/sdl_platform.hpp"
#include "test_support.hpp"
#include "ui/training.hpp"
#include "ui/ui_content.hpp"

namespace fs = std::filesystem;

namespace {
bool Have(const char* tool) {
  return std::system((std::string("command -v ") + tool + " >/dev/null 2>&1").c_str()) == 0;
}

// Shell lines that wait for a window and put its id into WID: the game's window, or a dialog box
// (SDL names its boxes in UTF-8 only, which xdotool's name search does not read).
const std::string kFindGameWindow =
    "WID=$(timeout 30 xdotool search --sync --onlyvisible --name '^MORVA$' | head -1); sleep 0.5";
const std::string kFindDialog =
    "WID=; for i in $(seq 150); do for w in $(xdotool search --maxdepth 1 --onlyvisible '' "
    "2>/dev/null); do xprop -id $w _NET_WM_WINDOW_TYPE 2>/dev/null | grep -q DIALOG && WID=$w; "
    "done; [ -n \"$WID\" ] && break; sleep 0.2; done";

struct PlayerWindowTest : ::testing::Test {
  TempDir dir{::testing::UnitTest::GetInstance()->current_test_info()->name()};
  void SetUp() override {
    if (!Have("xdotool") || !Have("xvfb-run")) {
      GTEST_SKIP() << "needs xdotool and xvfb-run (scripts/install_deps.sh installs them)";
    }
    uicontent::WriteFrontEndContent(dir / "content");
  }
  // In a virtual X server of its own, starts the game in the background with `args`, runs the
  // xdotool `actions` against its window (WID), then ends the game with SIGTERM and waits for it;
  // returns its exit status. Its output goes to out.txt.
  int Play(const std::string& args, const std::string& actions,
           const std::string& find = kFindGameWindow) {
    // A watchdog kills a game that hangs, so the test fails instead of stalling the suite.
    std::string script =
        "cd '" + dir.path().string() + "' || exit 98; XDG_CONFIG_HOME=\"$PWD/xdg-config\" " +
        "XDG_DATA_HOME=\"$PWD/xdg-data\" SDL_AUDIODRIVER=dummy '" + MORVA_BINARY + "' " + args +
        " > out.txt 2>&1 & pid=$!; (sleep 90 && kill -KILL $pid 2>/dev/null) & dog=$!; " + find +
        "; [ -n \"$WID\" ] || { kill -KILL $pid; exit 99; }; " + actions +
        "; kill -TERM $pid 2>/dev/null; wait $pid; status=$?; pkill -P $dog; exit "
        "$status";
    // An X server of its own: windows of tests running beside this one would take the clicks.
    int status = std::system(
        ("xvfb-run -a -s '-screen 0 1024x768x24 -noreset' bash -c " + Quote(script)).c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  static std::string Quote(const std::string& s) {
    std::string out = "'";
    for (char c : s) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
  }
  std::string Output() { return ReadFile(dir / "out.txt"); }
};

// A click as xdotool makes it: press and release sent back to back, well inside one frame.
std::string ClickAt(int x, int y) {
  return "xdotool mousemove --window $WID " + std::to_string(x) + " " + std::to_string(y) +
         " click 1";
}
std::string KeyPress(const std::string& key) {
  return "xdotool windowfocus --sync $WID; xdotool key " + key;
}
// Waits (up to 20 seconds; a loaded machine draws few frames) until the window shows a colour
// near `c` at (x, y), read back from the X server; a later step then meets the screen it is for.
std::string WaitForColour(int x, int y, uicontent::Colour c) {
  char awk[160];
  std::snprintf(awk, sizeof awk, "awk '{d=($1-%d)^2+($2-%d)^2+($3-%d)^2; exit !(d<900)}'", c.r, c.g,
                c.b);
  return "for i in $(seq 100); do import -window $WID -crop 1x1+" + std::to_string(x) + "+" +
         std::to_string(y) +
         " +repage -depth 8 txt:- 2>/dev/null | tail -1 | "
         "sed -E 's/^[^(]*\\(([0-9]+),([0-9]+),([0-9]+).*/\\1 \\2 \\3/' | " +
         awk + " && break; sleep 0.2; done";
}

bool Near(const Image& image, int x, int y, uicontent::Colour c) {
  const uint8_t* p = &image.rgba[(static_cast<size_t>(y) * image.width + x) * 4];
  return std::abs(p[0] - c.r) + std::abs(p[1] - c.g) + std::abs(p[2] - c.b) < 30;
}
}  // namespace

TEST(NoDisplay, WithoutADisplayTheGameSaysSoAndEndsWithStatusFour) {
  TempDir dir{"no_display"};
  fs::create_directories(dir / "content" / "data");
  std::string base = "cd '" + dir.path().string() +
                     "' && env -u DISPLAY -u WAYLAND_DISPLAY SDL_AUDIODRIVER=dummy "
                     "XDG_CONFIG_HOME=\"$PWD/c\" XDG_DATA_HOME=\"$PWD/d\" ";
  std::string game = std::string("timeout -k 5 60 '") + MORVA_BINARY +
                     "' --windowed --frames 2 --root content --screenshot shot.png > out.txt 2>&1";
  int status = std::system((base + "env -u SDL_VIDEODRIVER " + game).c_str());
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 4);
  std::string out = ReadFile(dir / "out.txt");
  EXPECT_NE(out.find("no display"), std::string::npos) << out;
  EXPECT_NE(out.find("--headless"), std::string::npos) << "says how to run without one";
  EXPECT_FALSE(fs::exists(dir / "shot.png"));

  // Asked for by name, the driver that draws into memory is used: a run without a display. Full
  // screen there is the same whole picture, not a larger read of a surface that kept its size.
  Image shots[2];
  for (const char* mode : {"--windowed", "--fullscreen"}) {
    std::string run = base + "SDL_VIDEODRIVER=offscreen " + game;
    run.replace(run.find("--windowed"), 10, mode);
    status = std::system(run.c_str());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << mode << ReadFile(dir / "out.txt");
    shots[mode[2] == 'f'] = ReadPng((dir / "shot.png").string());
  }
  EXPECT_EQ(shots[0].width, 800);
  EXPECT_TRUE(shots[0].rgba == shots[1].rgba) << "full screen shows the windowed picture";
}

TEST_F(PlayerWindowTest, AQuickClickOnTheWindowIsNeverLost) {
  // A key ends the intro; a click on Training, then one on Next: the second page shows.
  // Each step waits for the screen it is for: the menu, then the first page, then the second.
  uicontent::Colour menuButton = uicontent::Shade(2);
  std::string actions = KeyPress("a") + "; " + WaitForColour(345, 245, menuButton) + "; " +
                        ClickAt(385, 257) + "; " + WaitForColour(50, 50, uicontent::Shade(1)) +
                        "; " + ClickAt(435, 565) + "; " +
                        WaitForColour(50, 50, uicontent::Shade(2));
  // A fixed time step: below ten frames a second the game's clock stands still, and a loaded test
  // machine must not hold the click's delay up.
  int status = Play("--windowed --frame-ms 10 --root content --screenshot shot.png", actions);
  ASSERT_EQ(status, 0) << Output();
  Image shot = ReadPng((dir / "shot.png").string());
  ASSERT_EQ(shot.width, 800) << Output();
  EXPECT_TRUE(Near(shot, 50, 50, uicontent::Shade(2))) << "the second training page\n" << Output();
  if (const char* keep = std::getenv("MORVA_KEEP_PICTURES")) {
    WritePng(std::string(keep) + "/quick-click.png", shot);
  }
}

TEST_F(PlayerWindowTest, AResizeUnderAStillPointerLeavesTheKeyboardWalkWhereItWas) {
  // The pointer rests outside the window, which then grows under it: the crossing is no move of
  // the mouse. The first Down shows the highlight on START; three more reach EXIT.
  std::string down = KeyPress("Down") + "; sleep 0.3";
  std::string actions = "xdotool mousemove 1000 740; " + KeyPress("a") + "; " +
                        WaitForColour(345, 245, uicontent::Shade(2)) + "; " + down +
                        "; xdotool windowsize $WID 1000 740; sleep 0.8; " + down + "; " + down +
                        "; " + down + "; " + KeyPress("Return") +
                        "; sleep 2; kill -0 $pid 2>/dev/null && echo still-running >> out.txt";
  int status = Play("--windowed --frame-ms 10 --root content", actions);
  EXPECT_EQ(status, 0) << Output();
  EXPECT_EQ(Output().find("still-running"), std::string::npos) << "EXIT was pressed\n" << Output();
}

TEST_F(PlayerWindowTest, TheWindowOfSettingsCfgOpensAndAltEnterIsKeptForTheNextStart) {
  WriteFile(dir / "cfg" / "settings.cfg", "# mine\nwindow = 900x700  # my size\nvsync = on\n");
  std::string actions =
      "xdotool getwindowgeometry $WID >> geometry.txt; " + KeyPress("alt+Return") + "; sleep 1";
  int status = Play("--frame-ms 10 --root content --config cfg/config.dat", actions);
  ASSERT_EQ(status, 0) << Output();
  EXPECT_NE(ReadFile(dir / "geometry.txt").find("900x700"), std::string::npos)
      << ReadFile(dir / "geometry.txt");
  EXPECT_EQ(ReadFile(dir / "cfg" / "settings.cfg"),
            "# mine\nwindow = fullscreen  # my size\nvsync = on\nflashes = full\n");
  // Started with --windowed, a run that changes nothing leaves the file as it is.
  ASSERT_EQ(Play("--windowed --frame-ms 10 --root content --config cfg/config.dat", "sleep 0.5"),
            0);
  EXPECT_NE(ReadFile(dir / "cfg" / "settings.cfg").find("window = fullscreen"), std::string::npos);
}

TEST_F(PlayerWindowTest, WithADisplayTheNoContentMessageComesUpInABox) {
  fs::create_directories(dir / "nothing");
  // The box waits for the player: Return closes it, and only then does the game end.
  std::string actions =
      "sleep 0.5; xdotool windowfocus --sync $WID; xdotool key Return; "
      "sleep 0.5; kill -0 $pid 2>/dev/null && echo still-running >> out.txt";
  int status = Play("--windowed --root nothing", actions, kFindDialog);
  EXPECT_EQ(status, 3) << Output();
  EXPECT_EQ(Output().find("still-running"), std::string::npos) << "Return closed the box";
  EXPECT_NE(Output().find("No game content found"), std::string::npos) << Output();
}

TEST_F(PlayerWindowTest, F12SavesIntoThePerUserFolderAndSaysSoInTheCorner) {
  // F12 once the menu is up; the run ends while the notice still shows.
  std::string actions = KeyPress("a") + "; " + WaitForColour(345, 245, uicontent::Shade(2)) + "; " +
                        KeyPress("F12") + "; sleep 0.5";
  int status = Play("--windowed --frame-ms 10 --root content --screenshot last.png", actions);
  ASSERT_EQ(status, 0) << Output();
  fs::path folder = dir / "xdg-data" / "morva" / "screenshots";
  ASSERT_TRUE(fs::is_directory(folder)) << Output();
  std::vector<fs::path> saved;
  for (const auto& e : fs::directory_iterator(folder)) saved.push_back(e.path());
  ASSERT_EQ(saved.size(), 1u);
  EXPECT_EQ(saved[0].filename().string().rfind("morva-", 0), 0u);
  EXPECT_NE(Output().find("screenshot saved to " + saved[0].string()), std::string::npos)
      << "the absolute path is printed: " << Output();
  EXPECT_FALSE(fs::exists(dir / "config.dat")) << "nothing is left in the working directory";

  // The picture saved by F12 has no notice; the frames after it show one in the corner.
  Image before = ReadPng(saved[0].string());
  Image after = ReadPng((dir / "last.png").string());
  ASSERT_EQ(before.width, 800);
  ASSERT_EQ(after.width, 800);
  auto differing = [&](int left, int top, int right, int bottom) {
    int n = 0;
    for (int y = top; y < bottom; ++y) {
      for (int x = left; x < right; ++x) {
        size_t i = (static_cast<size_t>(y) * 800 + x) * 4;
        n += std::abs(before.rgba[i] - after.rgba[i]) > 20 ? 1 : 0;
      }
    }
    return n;
  };
  EXPECT_GT(differing(4, 580, 300, 600), 500) << "the notice in the bottom-left corner";
  EXPECT_EQ(differing(0, 0, 800, 500), 0) << "and nothing else changed";
}

namespace {
// The window system of a machine with a game controller plugged in.
class PadPlatform : public SdlPlatform {
 public:
  PadPlatform() : SdlPlatform(false, true) {}
  bool ControllerConnected() const override { return connected; }
  bool connected = false;
};
}  // namespace

TEST(TrainingPads, WithAControllerThePagesNameItsButtonsBesideTheKeys) {
  if (!std::getenv("DISPLAY")) GTEST_SKIP() << "needs an X display (run under xvfb-run)";
  PadPlatform platform;
  ASSERT_TRUE(platform.Ok()) << platform.Error();
  GlRenderer renderer(platform);
  HeadlessAudio audio;
  ContentPaths content(MORVA_TEST_CONTENT);
  ResetGameState();
  backends = Backends{&platform, &renderer, &audio, &content};
  ASSERT_EQ(SetupDisplay(0, 0, 800, 600, 32, 60, false), SetupResult::Ok);
  cLoad::LoadTGA("data\\fonts\\fontLV.tga", gameState.fontTexture);
  gameState.flags.trainerShown = 1;
  auto page = [&](int number, bool pad) {
    platform.connected = pad;
    trainingScreen.page = number;
    BeginFrame(0, 800, 0, 600);
    RunTraining();
    renderer.RequestCapture();
    renderer.FrameDone();
    platform.SwapBuffers();
    return renderer.LastCapture();
  };
  for (int number : {0, 1}) {
    Image plain = page(number, false);
    Image named = page(number, true);
    if (const char* keep = std::getenv("MORVA_KEEP_PICTURES")) {
      WritePng(std::string(keep) + "/training-pad-" + std::to_string(number) + ".png", named);
    }
    // Where the names went: only into the room the page leaves for them.
    int inside = 0, outside = 0;
    for (int y = 0; y < 600; ++y) {
      for (int x = 0; x < 800; ++x) {
        size_t i = (static_cast<size_t>(y) * 800 + x) * 4;
        if (std::abs(plain.rgba[i] - named.rgba[i]) < 40) continue;
        bool room = number == 0 ? (x >= 168 && x < 240 && y >= 100 && y < 480)
                                : (y >= 228 && y < 250 && x >= 100 && x < 700);
        (room ? inside : outside) += 1;
      }
    }
    EXPECT_GT(inside, 100) << "page " << number;
    EXPECT_EQ(outside, 0) << "page " << number;
  }
  backends = Backends{};
}
