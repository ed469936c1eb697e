// The level editor's frames on the largest levels (100 screens, 25 x 4 and 10 x 10, one grid
// character per 10 px) in a GL window: the whole level, the game's size, and a frame after a
// painted cell (the level's picture made again).
// usage: xvfb-run -a -s "-screen 0 800x600x24" build/bench/editor_frame_bench
#include <benchmark/benchmark.h>

#include <memory>
#include <optional>

#include "base/backends.hpp"
#include "editor/editor.hpp"
#include "platform/gl_renderer.hpp"
#include "platform/sdl_platform.hpp"

namespace {

struct Window {
  std::unique_ptr<SdlPlatform> platform;
  std::unique_ptr<GlRenderer> renderer;
  bool ok = false;
  Window() {
    platform = std::make_unique<SdlPlatform>(false, true);
    if (!platform->Ok() || !platform->CreateContext(false)) return;
    platform->SetVsync(false);
    renderer = std::make_unique<GlRenderer>(*platform);
    backends = Backends{platform.get(), renderer.get(), nullptr, nullptr};
    renderer->SetFixedState(platform->LogicalViewport());
    ok = true;
  }
};

Window& TheWindow() {
  static Window window;
  return window;
}

constexpr KindBodies kBodies = {
    {{-14, -46, 14, 56}, {-22, -22, 22, 24}, {-15, -48, 15, 56}, {-34, -84, 34, 108}}};

// A level with stone all along its floor and a wall on every screen.
LevelDocument LargeLevel(int width, int height) {
  LevelDocument doc = LevelDocument::New(width, height, 10);
  for (int s = 1; s < width; ++s)
    doc.Paint(s * 80, height * 60 - 20, s * 80 + 4, height * 60 - 2, '#');
  return doc;
}

void Frames(benchmark::State& state, bool gameSize, bool paint) {
  Window& w = TheWindow();
  if (!w.ok) return state.SkipWithError("no GL window (run under xvfb-run)");
  Editor editor(
      EditorSetup{"/dev/null",
                  LargeLevel(static_cast<int>(state.range(0)), static_cast<int>(state.range(1))),
                  kBodies,
                  {},
                  {},
                  0,
                  "/bin/false",
                  {}});
  Event e;
  e.type = EventType::MouseMove;
  e.x = 400;
  e.y = 235;  // the middle of the map area, on the level whichever its shape
  editor.Handle(e);
  if (gameSize) {
    e.type = EventType::KeyDown;
    e.key = 'Z';
    editor.Handle(e);
  }
  bool stone = false;
  for (auto _ : state) {
    if (paint) {
      e.type = EventType::KeyDown;
      e.key = (stone = !stone) ? '2' : '1';
      editor.Handle(e);
      e.type = EventType::MouseDown;
      editor.Handle(e);
      e.type = EventType::MouseUp;
      editor.Handle(e);
    }
    editor.Draw();
    w.platform->SwapBuffers();
  }
}

void Sizes(benchmark::internal::Benchmark* b) {
  b->Args({25, 4})->Args({10, 10})->Unit(benchmark::kMillisecond)->UseRealTime();
}
void BM_EditorWholeLevel(benchmark::State& state) {
  Frames(state, false, false);
}
BENCHMARK(BM_EditorWholeLevel)->Apply(Sizes);
void BM_EditorGameSize(benchmark::State& state) {
  Frames(state, true, false);
}
BENCHMARK(BM_EditorGameSize)->Apply(Sizes);
void BM_EditorPaintAndFrameWhole(benchmark::State& state) {
  Frames(state, false, true);
}
BENCHMARK(BM_EditorPaintAndFrameWhole)->Apply(Sizes);

}  // namespace

BENCHMARK_MAIN();
