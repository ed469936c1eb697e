// The ways a windowed run ends (the menu's Exit, the window closed, a termination signal), on the
// real window system and sound output: each puts the desktop's display mode and gamma back and
// writes a setting changed in memory, although the shutdown no longer waits for the sound device.
#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <functional>

#include "app/game_state.hpp"
#include "formats/config_record.hpp"
#include "platform/sdl_audio.hpp"
#include "platform/sdl_platform.hpp"
#include "platform/sdl_program.hpp"
#include "test_support.hpp"
#include "ui/menu.hpp"
#include "ui/ui_content.hpp"

// After the project's headers: Xlib's macros (None, Bool, Status) would clash with them.
#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xlib.h>

namespace fs = std::filesystem;

namespace {
// A desktop with gamma control and two modes, the second its own; what the game asks of them is
// recorded, and at `endFrame` the run is ended by `end`.
class ExitWatchPlatform : public SdlPlatform {
 public:
  ExitWatchPlatform() : SdlPlatform(false, true) {
    for (int i = 0; i < 768; ++i) desktopRamp[i] = static_cast<uint16_t>((i % 256) * 200);
  }

  bool GetGammaRamp(GammaRamp& ramp) override {
    ramp = desktopRamp;
    return true;
  }
  bool SetGammaRamp(const GammaRamp& ramp) override {
    gamma = ramp;
    ++gammaWrites;
    return true;
  }
  bool GetDisplayMode(int index, DisplayMode& mode) override {
    if (index < 0 || index > 1) return false;
    mode = index == 0 ? DisplayMode{640, 480, 32, 60} : DisplayMode{800, 600, 32, 60};
    return true;
  }
  bool GetDesktopMode(DisplayMode& mode) override { return GetDisplayMode(1, mode); }
  bool ChangeDisplayMode(int index) override {
    currentMode = index;
    changedTo = index;
    return true;
  }
  void RestoreDesktopMode() override {
    currentMode = -1;
    SdlPlatform::RestoreDesktopMode();
  }
  void SetDesktopMode(int index) override {
    desktopModeSet = index;
    SdlPlatform::SetDesktopMode(index);
  }
  void SwapBuffers() override {
    SdlPlatform::SwapBuffers();
    ++frames;
    // Like a drag of the music bar in the options: a change not yet in config.dat.
    if (frames == 3) gameState.settings.musicVolume = 77;
    if (frames == endFrame && end) end();
  }

  GammaRamp desktopRamp{};
  GammaRamp gamma{};
  int gammaWrites = 0;
  int currentMode = -1;
  int changedTo = -1;
  int desktopModeSet = -1;
  int frames = 0;
  int endFrame = 0;
  std::function<void()> end;
};

// What the window manager sends when the player closes the window.
void SendWindowClose(SDL_Window* window) {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  ASSERT_TRUE(SDL_GetWindowWMInfo(window, &info)) << SDL_GetError();
  ASSERT_EQ(info.subsystem, SDL_SYSWM_X11);
  Display* display = info.info.x11.display;
  XEvent e{};
  e.xclient.type = ClientMessage;
  e.xclient.window = info.info.x11.window;
  e.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
  e.xclient.format = 32;
  e.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
  e.xclient.data.l[1] = CurrentTime;
  XSendEvent(display, info.info.x11.window, False, NoEventMask, &e);
  XFlush(display);
}

struct Way {
  const char* what;
  // Script lines for the run, if it is scripted.
  std::string script;
  std::function<void()> end;
};
}  // namespace

TEST(ExitPaths, EveryWayOutRestoresTheDesktopAndSavesTheSettings) {
  if (!std::getenv("DISPLAY")) GTEST_SKIP() << "needs an X display (run under xvfb-run)";
  // A click on the menu's Exit once the intro is skipped.
  std::string exitClick = "1 text a\n10 mouse move 385 " +
                          std::to_string(MenuButtonY(MenuButton::Exit) + 15) +
                          "\n10 mouse down left\n12 mouse up left\n";
  const Way ways[] = {
      {"the menu's Exit", exitClick, nullptr},
      {"the window closed", "", [] { SendWindowClose(SDL_GL_GetCurrentWindow()); }},
      {"SIGTERM", "", [] { std::raise(SIGTERM); }},
  };
  for (const Way& way : ways) {
    SCOPED_TRACE(way.what);
    TempDir dir{"exit_paths"};
    uicontent::WriteFrontEndContent(dir / "content");
    // Gamma 200 and the first listed mode, so both the ramp and the mode are changed at start.
    Settings settings = DefaultSettings();
    settings.gamma = 200;
    settings.displayMode = 0;
    ConfigRecord record = EncodeSettings(settings);
    WriteFile(dir / "config.dat", std::string(record.begin(), record.end()));

    ProgramOptions options;
    options.root = (dir / "content").string();
    options.config = (dir / "config.dat").string();
    options.windowed = true;
    options.frameMs = 10;
    // A run that reaches this count ended by itself, not the way under test.
    options.frames = 300;
    if (!way.script.empty()) {
      WriteFile(dir / "in.txt", way.script);
      options.input = (dir / "in.txt").string();
    }
    {
      ExitWatchPlatform platform;
      ASSERT_TRUE(platform.Ok()) << platform.Error();
      platform.endFrame = 8;
      platform.end = way.end;
      EXPECT_EQ(RunInWindow(options, platform), 0);
      EXPECT_LT(platform.frames, 300);
      EXPECT_EQ(platform.changedTo, 0) << "the run changed the mode";
      EXPECT_EQ(platform.currentMode, -1) << "and gave the desktop its mode back";
      EXPECT_EQ(platform.desktopModeSet, 1);
      EXPECT_GE(platform.gammaWrites, 2) << "the setting's ramp, then the desktop's";
      EXPECT_EQ(platform.gamma, platform.desktopRamp);
    }
    std::string bytes = ReadFile(dir / "config.dat");
    ASSERT_EQ(bytes.size(), kConfigRecordSize);
    EXPECT_EQ(static_cast<uint8_t>(bytes[0]), 77) << "the unsaved music volume";
    EXPECT_EQ(static_cast<uint8_t>(bytes[2]), 200);
    // The sound device the run left open is closed here, so the next way starts afresh.
    SdlAudio::CloseLeftOvers();
    SDL_Quit();
  }
}
