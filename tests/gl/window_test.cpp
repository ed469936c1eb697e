// The real window under a virtual X server: frames are presented and screenshots come out at the
// logical 800 x 600 size, upright, whatever the window's size.
#include <gtest/gtest.h>

#include <SDL.h>

#include <cstdlib>
#include <nlohmann/json.hpp>

#include "harness/png_file.hpp"
#include "platform/gl_renderer.hpp"
#include "platform/sdl_platform.hpp"
#include "test_support.hpp"

namespace fs = std::filesystem;

namespace {
bool HaveDisplay() {
  return std::getenv("DISPLAY") != nullptr;
}

struct WindowTest : ::testing::Test {
  TempDir dir{::testing::UnitTest::GetInstance()->current_test_info()->name()};
  void SetUp() override {
    if (!HaveDisplay()) GTEST_SKIP() << "needs an X display (run under xvfb-run)";
    fs::create_directories(dir / "content" / "data");
  }
};
}  // namespace

TEST_F(WindowTest, AWindowedRunPresentsFramesAndWritesAScreenshot) {
  RunResult r = RunGame({"--windowed", "--frames", "5", "--root", "content", "--screenshot",
                         "shot.png", "--dump-state", "state.json"},
                        dir.path());
  ASSERT_EQ(r.status, 0) << r.output;
  Image shot = ReadPng((dir / "shot.png").string());
  ASSERT_EQ(shot.width, 800);
  ASSERT_EQ(shot.height, 600);
  // The screen has no transparency: the saved picture is opaque everywhere.
  for (size_t i = 3; i < shot.rgba.size(); i += 4) ASSERT_EQ(shot.rgba[i], 255) << i;
  auto state = nlohmann::json::parse(ReadFile(dir / "state.json"));
  // The content folder is empty: the only messages are the loaders' missing-file reports, the
  // sounds' among them.
  for (const auto& m : state["messages"]) {
    std::string caption = m["caption"];
    EXPECT_TRUE(caption == "Load unit" || caption == "BMP Unit" || caption == "Sound") << m;
  }
  EXPECT_FALSE(state.contains("drawList")) << "only the recorder keeps a draw list";
}

TEST_F(WindowTest, FullScreenOnADisplayWithoutTheModeIsLetterboxed) {
  // The virtual display has one mode, its own size (not 800 x 600): the game covers the screen
  // and scales its picture, and the screenshot is still the logical picture.
  RunResult r =
      RunGame({"--frames", "3", "--root", "content", "--screenshot", "full.png"}, dir.path());
  ASSERT_EQ(r.status, 0) << r.output;
  Image shot = ReadPng((dir / "full.png").string());
  EXPECT_EQ(shot.width, 800);
  EXPECT_EQ(shot.height, 600);
}

TEST_F(WindowTest, TheGlBackEndSetsUpAndCapturesTheLogicalPicture) {
  SdlPlatform platform(false, true);
  ASSERT_TRUE(platform.Ok()) << platform.Error();
  ASSERT_TRUE(platform.CreateContext(false));
  GlRenderer renderer(platform);
  renderer.SetFixedState(platform.LogicalViewport());
  EXPECT_TRUE(renderer.HasTextureCompression());
  renderer.BeginFrame(0, 800, 0, 600);
  renderer.RequestCapture();
  renderer.FrameDone();
  platform.SwapBuffers();
  const Image& capture = renderer.LastCapture();
  ASSERT_EQ(capture.width, 800);
  ASSERT_EQ(capture.height, 600);
  EXPECT_EQ(capture.rgba.size(), 800u * 600u * 4u);
  DisplayMode desktop;
  EXPECT_TRUE(platform.GetDesktopMode(desktop));
  EXPECT_GT(desktop.width, 0);
  EXPECT_EQ(desktop.bitsPerPixel, 32);
  // Shown as opened: the windowed size, centred on the display (nothing moved it since).
  SDL_Window* window = SDL_GL_GetCurrentWindow();
  int x = 0, y = 0, w = 0, h = 0;
  SDL_GetWindowPosition(window, &x, &y);
  SDL_GetWindowSize(window, &w, &h);
  EXPECT_EQ(w, 800);
  EXPECT_EQ(h, 600);
  EXPECT_EQ(x, (desktop.width - 800) / 2);
  EXPECT_EQ(y, (desktop.height - 600) / 2);
}

TEST_F(WindowTest, JoysticksAreLookedForOnlyAfterTheFirstFrameIsShown) {
  // A window of an earlier test may have left them started (SDL counts each start).
  for (int i = 0; i < 8 && SDL_WasInit(SDL_INIT_JOYSTICK | SDL_INIT_GAMECONTROLLER) != 0; ++i) {
    SDL_QuitSubSystem(SDL_INIT_JOYSTICK | SDL_INIT_GAMECONTROLLER);
  }
  SdlPlatform platform(false, true);
  ASSERT_TRUE(platform.Ok()) << platform.Error();
  ASSERT_TRUE(platform.CreateContext(false));
  Event e;
  while (platform.PollEvent(e)) {
  }
  EXPECT_EQ(SDL_WasInit(SDL_INIT_JOYSTICK | SDL_INIT_GAMECONTROLLER), 0u) << "before any frame";
  platform.SwapBuffers();
  EXPECT_EQ(SDL_WasInit(SDL_INIT_JOYSTICK), 0u) << "the swap itself waits for nothing";
  while (platform.PollEvent(e)) {
  }
  EXPECT_EQ(SDL_WasInit(SDL_INIT_JOYSTICK | SDL_INIT_GAMECONTROLLER),
            static_cast<Uint32>(SDL_INIT_JOYSTICK | SDL_INIT_GAMECONTROLLER));
}
