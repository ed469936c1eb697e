// A real window and GL renderer for pixel tests: content under a scratch folder, one frame drawn
// and read back through the screenshot path.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

#include "app/game_state.hpp"
#include "base/backends.hpp"
#include "base/content_paths.hpp"
#include "platform/gl_renderer.hpp"
#include "platform/sdl_platform.hpp"
#include "test_support.hpp"

struct GlFixture : ::testing::Test {
  TempDir dir{::testing::UnitTest::GetInstance()->current_test_info()->name()};
  std::unique_ptr<SdlPlatform> platform;
  std::unique_ptr<GlRenderer> renderer;
  std::unique_ptr<ContentPaths> content;

  void SetUp() override {
    if (!std::getenv("DISPLAY")) GTEST_SKIP() << "needs an X display (run under xvfb-run)";
    ResetGameState();
    platform = std::make_unique<SdlPlatform>(false, true);
    ASSERT_TRUE(platform->Ok()) << platform->Error();
    ASSERT_TRUE(platform->CreateContext(false));
    renderer = std::make_unique<GlRenderer>(*platform);
    content = std::make_unique<ContentPaths>(dir.path());
    backends = Backends{platform.get(), renderer.get(), nullptr, content.get()};
    renderer->SetFixedState(platform->LogicalViewport());
    ASSERT_TRUE(renderer->HasTextureCompression());
    renderer->BeginFrame(0, 800, 0, 600);
  }
  void TearDown() override { backends = Backends{}; }

  // Ends the frame and returns it as the screenshot would show it (800 x 600, top row first).
  const Image& Capture() {
    renderer->RequestCapture();
    renderer->FrameDone();
    platform->SwapBuffers();
    return renderer->LastCapture();
  }
  void NewFrame() { renderer->BeginFrame(0, 800, 0, 600); }
  void ForgetListings() { content->ClearCache(); }
};

inline const uint8_t* At(const Image& image, int x, int y) {
  return &image.rgba[(static_cast<std::size_t>(y) * image.width + x) * 4];
}

// Whether a screen pixel is within `tolerance` of a colour in each of red, green and blue.
inline ::testing::AssertionResult Near(const Image& image, int x, int y, int r, int g, int b,
                                       int tolerance) {
  const uint8_t* p = At(image, x, y);
  if (std::abs(p[0] - r) <= tolerance && std::abs(p[1] - g) <= tolerance &&
      std::abs(p[2] - b) <= tolerance) {
    return ::testing::AssertionSuccess();
  }
  return ::testing::AssertionFailure()
         << "pixel " << x << "," << y << " is " << int(p[0]) << "," << int(p[1]) << "," << int(p[2])
         << ", wanted " << r << "," << g << "," << b << " +-" << tolerance;
}
