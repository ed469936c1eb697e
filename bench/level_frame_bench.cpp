// A typical level frame on the GL back end under Xvfb, without the 10 ms frame timer: one
// 3200 x 1600 background, four 800 x 600 layers, 30 sprites of 200 x 200 and 200 glyphs. Beside it
// a minimal program drawing the same quads with the fewest GL calls, as the yardstick.
// Run: xvfb-run -a -s "-screen 0 1024x768x24" build/bench/level_frame_bench
#include <SDL.h>
#include <SDL_opengl.h>
#include <benchmark/benchmark.h>

#include <memory>
#include <random>
#include <vector>

#include "app/game_state.hpp"
#include "base/backends.hpp"
#include "formats/texture_container.hpp"
#include "gfx/anim.hpp"
#include "gfx/draw.hpp"
#include "gfx/load.hpp"
#include "gl_bench_support.hpp"
#include "platform/gl_renderer.hpp"
#include "platform/sdl_platform.hpp"

namespace {
std::vector<uint8_t> RandomBytes(std::size_t n, unsigned seed) {
  std::mt19937 random(seed);
  std::vector<uint8_t> bytes(n);
  for (auto& b : bytes) b = static_cast<uint8_t>(random());
  return bytes;
}

// The window, the context and the textures of the scene, shared by both contenders.
struct Scene {
  std::unique_ptr<SdlPlatform> platform;
  std::unique_ptr<GlRenderer> renderer;
  Texture background = 0;
  Texture layers[4] = {};
  Texture sprite = 0;
  Texture font = 0;
  bool ok = false;

  Scene() {
    platform = std::make_unique<SdlPlatform>(false, true);
    if (!platform->Ok() || !platform->CreateContext(false)) return;
    renderer = std::make_unique<GlRenderer>(*platform);
    backends = Backends{platform.get(), renderer.get(), nullptr, nullptr};
    renderer->SetFixedState(platform->LogicalViewport());
    if (!renderer->HasTextureCompression()) return;
    auto bg = RandomBytes(*CompressedImageSize(kFormatDxt1Rgb, 3200, 1600), 1);
    background = renderer->CreateCompressedTexture(kFormatDxt1Rgb, 3200, 1600, bg.data(),
                                                   static_cast<int32_t>(bg.size()), "bg.dx");
    for (int i = 0; i < 4; ++i) {
      auto layer = RandomBytes(*CompressedImageSize(kFormatDxt5, 800, 600), 2 + i);
      layers[i] = renderer->CreateCompressedTexture(kFormatDxt5, 800, 600, layer.data(),
                                                    static_cast<int32_t>(layer.size()), "");
    }
    auto frame = RandomBytes(*CompressedImageSize(kFormatDxt5, 200, 200), 9);
    sprite = renderer->CreateCompressedTexture(kFormatDxt5, 200, 200, frame.data(),
                                               static_cast<int32_t>(frame.size()), "");
    auto glyphs = RandomBytes(256 * 256 * 4, 10);
    font = cLoad::CreateTexture(256, 256, kFormatRgba, glyphs.data());
    ok = true;
  }
};

Scene& TheScene() {
  static Scene scene;
  return scene;
}

void Present(Scene& s) {
  s.renderer->FrameDone();
  s.platform->SwapBuffers();
}

void BM_LevelFrameThroughTheGame(benchmark::State& state) {
  Scene& s = TheScene();
  if (!s.ok) return state.SkipWithError("no GL window (run under xvfb-run)");
  cAnim anim;
  anim.textures[0] = s.sprite;
  anim.width = 200;
  anim.height = 200;
  anim.frameCount = 1;
  anim.frameDuration = 0.1f;
  anim.playing = 1;
  gameState.morva.frameTime = 10;
  const std::string line = "Punkti: 12345 Laiks: ";  // 20 glyphs a line
  for (auto _ : state) {
    s.renderer->BeginFrame(0, 800, 0, 600);
    DrawQuad(s.background, -1200, -500, -3.2, 3200, 1600, 1);
    for (int i = 0; i < 4; ++i) DrawQuad(s.layers[i], 0, 0, -3.0 + i * 0.5, 800, 600, 1);
    for (int i = 0; i < 30; ++i) {
      anim.Advance(gameState.morva.frameTime);
      anim.Show(60 + (i % 10) * 75, 150 + (i / 10) * 150, -0.5);
    }
    for (int i = 0; i < 10; ++i) DrawText(12, line.substr(0, 20), 10, 10 + i * 14.0f, s.font);
    Present(s);
  }
  state.counters["fps"] =
      benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_LevelFrameThroughTheGame)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3);

void Quad(double x, double y, double z, double w, double h) {
  glBegin(GL_QUADS);
  glTexCoord2f(0, 0);
  glVertex3d(x, y + h, z);
  glTexCoord2f(1, 0);
  glVertex3d(x + w, y + h, z);
  glTexCoord2f(1, 1);
  glVertex3d(x + w, y, z);
  glTexCoord2f(0, 1);
  glVertex3d(x, y, z);
  glEnd();
}

// The same quads with the state set once per kind of drawing instead of once per quad.
void BM_LevelFrameMinimal(benchmark::State& state) {
  Scene& s = TheScene();
  if (!s.ok) return state.SkipWithError("no GL window (run under xvfb-run)");
  for (auto _ : state) {
    BeginMinimalFrame();
    glColor4f(1, 1, 1, 1);
    glBindTexture(GL_TEXTURE_2D, s.background);
    Quad(-1200, -500, 3.2, 3200, 1600);
    for (int i = 0; i < 4; ++i) {
      glBindTexture(GL_TEXTURE_2D, s.layers[i]);
      Quad(0, 0, 3.0 - i * 0.5, 800, 600);
    }
    glEnable(GL_ALPHA_TEST);
    glAlphaFunc(GL_GREATER, 0);
    glBindTexture(GL_TEXTURE_2D, s.sprite);
    for (int i = 0; i < 30; ++i) Quad(-40 + (i % 10) * 75, 50 + (i / 10) * 150, 0.5, 200, 200);
    glBindTexture(GL_TEXTURE_2D, s.font);
    for (int i = 0; i < 200; ++i) Quad(10 + (i % 20) * 12, 10 + (i / 20) * 14, 0.2, 12, 12);
    s.platform->SwapBuffers();
  }
  state.counters["fps"] =
      benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_LevelFrameMinimal)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3);
}  // namespace

BENCHMARK_MAIN();
