// The menu and the options screen on a real GL window under a virtual X server: their pictures
// against references checked by eye, the buttons reacting where they are drawn in a letterboxed
// window, and textures surviving a display set-up.
#include <GL/gl.h>
#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <nlohmann/json.hpp>

#include "app/display.hpp"
#include "app/game_state.hpp"
#include "app/window_events.hpp"
#include "audio/headless_audio.hpp"
#include "base/backends.hpp"
#include "gfx/draw.hpp"
#include "gfx/load.hpp"
#include "harness/png_file.hpp"
#include "platform/gl_renderer.hpp"
#include "platform/sdl_platform.hpp"
#include "test_support.hpp"
#include "ui/front_end.hpp"
#include "ui/menu.hpp"
#include "ui/outline.hpp"
#include "ui/ui_content.hpp"

namespace fs = std::filesystem;

namespace {
fs::path ReferenceDir() {
  return fs::path(__FILE__).parent_path() / "ui_reference";
}

// A part of the picture left out of a comparison (x, y from the top left).
struct Skip {
  int left = 0, top = 0, right = 0, bottom = 0;
  bool Holds(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
};

// Share of pixels whose colour differs by more than `tolerance` in any channel.
double DifferingShare(const Image& a, const Image& b, int tolerance, Skip skip) {
  size_t differing = 0;
  for (int y = 0; y < a.height; ++y) {
    for (int x = 0; x < a.width; ++x) {
      if (skip.Holds(x, y)) continue;
      size_t i = (static_cast<size_t>(y) * a.width + x) * 4;
      for (size_t c = 0; c < 3; ++c) {
        if (std::abs(a.rgba[i + c] - b.rgba[i + c]) > tolerance) {
          ++differing;
          break;
        }
      }
    }
  }
  return static_cast<double>(differing) / (a.rgba.size() / 4);
}

struct UiScreenTest : ::testing::Test {
  TempDir dir{::testing::UnitTest::GetInstance()->current_test_info()->name()};
  void SetUp() override {
    if (!std::getenv("DISPLAY")) GTEST_SKIP() << "needs an X display (run under xvfb-run)";
    uicontent::WriteFrontEndContent(dir / "content");
  }

  // Runs the windowed game with a script and compares its last frame with a reference picture.
  // MORVA_UPDATE_REFERENCES=1 writes the reference instead.
  void ExpectScreen(const std::string& script, int frames, const std::string& reference,
                    Skip skip = {}) {
    WriteFile(dir / "in.txt", script);
    RunResult r = RunGame({"--windowed", "--frames", std::to_string(frames), "--frame-ms", "10",
                           "--root", "content", "--input", "in.txt", "--screenshot", "shot.png"},
                          dir.path());
    ASSERT_EQ(r.status, 0) << r.output;
    Image shot = ReadPng((dir / "shot.png").string());
    ASSERT_EQ(shot.width, 800);
    ASSERT_EQ(shot.height, 600);
    fs::path file = ReferenceDir() / reference;
    if (std::getenv("MORVA_UPDATE_REFERENCES")) {
      ASSERT_TRUE(WritePng(file.string(), shot));
      GTEST_SKIP() << "wrote " << file;
    }
    Image expected = ReadPng(file.string());
    ASSERT_EQ(expected.width, 800) << "missing reference " << file;
    // Compression and filtering may round a little differently from one driver to the next;
    // a misplaced widget, a wrong picture or a missing text changes far more than this
    // (48 pixels; the version text alone has more ink).
    EXPECT_LT(DifferingShare(shot, expected, 12, skip), 0.0001) << "compare " << file;
  }
};
}  // namespace

TEST_F(UiScreenTest, TheMenuLooksAsItShould) {
  ExpectScreen("1 text a\n", 6, "menu.png");
}

TEST_F(UiScreenTest, TheOptionsScreenLooksAsItShould) {
  // The closed mode list shows the display's own 800 x 600 mode, which depends on the X server.
  ExpectScreen("1 text a\n10 mouse move 385 305\n10 mouse down left\n12 mouse up left\n", 30,
               "options.png", Skip{230, 355, 430, 385});
}

namespace {
// The game on a real window whose size is chosen by the test, driven frame by frame in process.
struct LetterboxTest : ::testing::Test {
  TempDir dir{"ui_letterbox"};
  std::unique_ptr<SdlPlatform> platform;
  std::unique_ptr<GlRenderer> renderer;
  HeadlessAudio audio;
  std::unique_ptr<ContentPaths> content;

  void SetUp() override {
    if (!std::getenv("DISPLAY")) GTEST_SKIP() << "needs an X display (run under xvfb-run)";
    uicontent::WriteFrontEndContent(dir.path());
    platform = std::make_unique<SdlPlatform>(false, true);
    ASSERT_TRUE(platform->Ok()) << platform->Error();
    renderer = std::make_unique<GlRenderer>(*platform);
    content = std::make_unique<ContentPaths>(dir.path());
    ResetGameState();
    ResetFrontEnd();
    backends = Backends{platform.get(), renderer.get(), &audio, content.get()};
    ASSERT_EQ(SetupDisplay(0, 0, 800, 600, 32, 60, false), SetupResult::Ok);
    gameState.morva.frameTime = 10;
    gameState.flags.introDone = 1;
    gameState.flags.menuShown = 1;
  }
  void TearDown() override { backends = Backends{}; }
  SDL_Window* Window() const { return SDL_GL_GetCurrentWindow(); }

  void Resize(int width, int height) {
    SDL_SetWindowSize(Window(), width, height);
    for (int i = 0; i < 100; ++i) {
      SDL_PumpEvents();
      int w = 0, h = 0;
      SDL_GL_GetDrawableSize(Window(), &w, &h);
      if (w == width && h == height) return;
      SDL_Delay(10);
    }
  }
  // One frame: window events first, as the program takes them, then the menu.
  void Frame() {
    Event e;
    while (platform->PollEvent(e)) HandleWindowEvent(e);
    BeginFrame(0, 800, 0, 600);
    RunMenu();
  }
  // The window pixels (origin top left) whose colour is near `c`: their bounding box centre.
  bool FindColour(uicontent::Colour c, int& cx, int& cy) {
    int w = 0, h = 0;
    SDL_GL_GetDrawableSize(Window(), &w, &h);
    std::vector<uint8_t> pixels(static_cast<size_t>(w) * h * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, w, h, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    int left = w, right = -1, top = h, bottom = -1;
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w; ++x) {
        const uint8_t* p = &pixels[(static_cast<size_t>(y) * w + x) * 4];
        if (std::abs(p[0] - c.r) + std::abs(p[1] - c.g) + std::abs(p[2] - c.b) > 12) continue;
        int windowY = h - 1 - y;
        left = std::min(left, x);
        right = std::max(right, x);
        top = std::min(top, windowY);
        bottom = std::max(bottom, windowY);
      }
    }
    if (right < 0) return false;
    cx = (left + right) / 2;
    cy = (top + bottom) / 2;
    return true;
  }
  void Push(Uint32 type, int x, int y) {
    SDL_Event e{};
    e.type = type;
    if (type == SDL_MOUSEMOTION) {
      e.motion.windowID = SDL_GetWindowID(Window());
      e.motion.x = x;
      e.motion.y = y;
    } else {
      e.button.windowID = SDL_GetWindowID(Window());
      e.button.button = SDL_BUTTON_LEFT;
      e.button.x = x;
      e.button.y = y;
    }
    SDL_PushEvent(&e);
  }
};
}  // namespace

TEST_F(LetterboxTest, InAWideWindowTheButtonsReactWhereTheyAreDrawn) {
  Resize(1100, 600);
  Frame();
  // The Options button's plate: drawn to the right of where its logical x would put it.
  int x = 0, y = 0;
  ASSERT_TRUE(FindColour(uicontent::Shade(3), x, y));
  EXPECT_GT(x, 385 + 100) << "the picture lies between bars";
  Push(SDL_MOUSEMOTION, x, y);
  Push(SDL_MOUSEBUTTONDOWN, x, y);
  Frame();
  Frame();
  Push(SDL_MOUSEBUTTONUP, x, y);
  for (int i = 0; i < 15; ++i) Frame();
  EXPECT_EQ(gameState.flags.optionsShown, 1)
      << "cursor read at " << gameState.cursorX << "," << gameState.cursorY;
}

TEST_F(LetterboxTest, TexturesLoadedBeforeADisplaySetUpStillDraw) {
  Texture page = cLoad::LoadDXT("data\\trainer\\1.dxt");
  ASSERT_NE(page, 0u);
  ASSERT_EQ(SetupDisplayByIndex(0), SetupResult::Ok);
  BeginFrame(0, 800, 0, 600);
  DrawQuad(page, 0, 0, -2, 800, 600, 1);
  int x = 0, y = 0;
  EXPECT_TRUE(FindColour(uicontent::Shade(2), x, y)) << "the page's colour is on the screen";
}

// A band is laid in strips of lines: in a picture scaled up (full screen, a larger window) the
// strips must widen with it, or what lies under the band shows between them.
TEST_F(LetterboxTest, ABandCoversItsWholeBoxInAScaledPicture) {
  constexpr int kWidth = 1000, kHeight = 750;  // 1.25 times; the test screen is 1024 x 768
  Resize(kWidth, kHeight);
  // The driver takes the new size at a buffer swap.
  Frame();
  SDL_GL_SwapWindow(Window());
  BeginFrame(0, 800, 0, 600);
  const uicontent::Colour red{230, 20, 20};
  DrawBand(50, 128, 700, 316, LineColour{red.r / 255.0f, red.g / 255.0f, red.b / 255.0f, 1});
  std::vector<uint8_t> pixels(static_cast<size_t>(kWidth) * kHeight * 4);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, kWidth, kHeight, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
  int uncovered = 0;
  // The band's box scaled, a pixel inside each edge; GL's rows count from the bottom.
  for (int y = kHeight - 555 + 1; y < kHeight - 160 - 1; ++y) {
    for (int x = 63 + 1; x < 937 - 1; ++x) {
      const uint8_t* p = &pixels[(static_cast<size_t>(y) * kWidth + x) * 4];
      uncovered += std::abs(p[0] - red.r) + std::abs(p[1] - red.g) + std::abs(p[2] - red.b) > 12;
    }
  }
  EXPECT_EQ(uncovered, 0);
}
