// One level frame (RunLevel) with a full unit table of 256, every enemy awake and within the
// processing window, headless: the gameplay's own cost without drawing. Beside it the same table
// with the enemies asleep, so only the player is processed.
// Run from the source folder: build/bench/combat_frame_bench (MORVA_ROOT: content)
#include <benchmark/benchmark.h>

#include <memory>

#include "app/game_state.hpp"
#include "app/headless_platform.hpp"
#include "audio/headless_audio.hpp"
#include "base/backends.hpp"
#include "base/content_paths.hpp"
#include "base/random.hpp"
#include "bench_support.hpp"
#include "game/level.hpp"
#include "gfx/recorder_renderer.hpp"

namespace {

// Takes every drawing and keeps none of it, so the figure is the gameplay's.
class NullRenderer : public RecorderRenderer {
 public:
  void DrawQuad(Texture, double, double, double, double, double, double) override {}
  void DrawText(uint16_t, const std::string&, float, float, Texture) override {}
  void DrawAnim(Texture, double, double, double, int32_t, int32_t, bool) override {}
  void DrawLine(double, double, double, double, double, const float*) override {}
};

struct Body {
  int32_t left, top, right, bottom;
  double speed;
  int32_t life, damage;
};
// The demo content's bodies by kind, and the animation entries the fights use.
constexpr Body kBodies[] = {{-14, -46, 14, 56, 0.24, 1'000'000, 10},
                            {-22, -22, 22, 24, 0.14, 10, 8},
                            {-15, -48, 15, 56, 0.11, 30, 7},
                            {-34, -84, 34, 108, 0.05, 110, 20}};

void Animations(Unit& u) {
  for (AnimEntry& e : u.anims) e = {0, 8, 0.1};
  if (u.kind == kGuard) u.anims[1] = {8, 12, 0.075}, u.anims[4] = {52, 12, 0.09};
  if (u.kind == kGolem) u.anims[1] = {6, 12, 0.1}, u.anims[4] = {24, 14, 0.08};
  if (u.kind == kGolem) u.anims[5] = {50, 16, 0.075};
  if (u.kind == kSentinel) u.anims[1] = {8, 8, 0.04};
}

struct Level {
  HeadlessPlatform platform;
  NullRenderer renderer;
  HeadlessAudio audio;
  ContentPaths content{ContentRoot()};

  explicit Level(uint8_t enemyActivation) {
    ResetGameState();
    backends = Backends{&platform, &renderer, &audio, &content};
    RandSeed(1);
    gameState.morva.frameTime = 10;
    gameState.morva.timeScale = 1000;
    gameState.map.Width = 30;
    gameState.map.Height = 2;
    gameState.map.CharCount = kMaxUnits;
    gameState.flags.inGame = 1;
    for (int i = 0; i < kMaxUnits; ++i) {
      Unit& u = UnitAt(i);
      const int kind = i == 0 ? kPlayer : 1 + i % 3;
      const Body& b = kBodies[kind];
      u.kind = kind;
      // Spread over 1200 x 600 px around the player, inside the processing window.
      u.x = i == 0 ? 10000 : 10000 - 600 + (i * 37) % 1200;
      u.y = i == 0 ? 800 : 800 - 300 + (i * 53) % 600;
      u.boxLeft = b.left, u.boxTop = b.top, u.boxRight = b.right, u.boxBottom = b.bottom;
      u.speed = b.speed;
      u.life = b.life;
      u.damage = b.damage;
      u.collisionMode = 2;
      u.activation = i == 0 ? 0 : enemyActivation;
      u.anim = std::make_unique<cAnim>();
      Animations(u);
    }
  }
  ~Level() { backends = Backends{}; }
};

void RunFrames(benchmark::State& state, uint8_t enemyActivation) {
  Level level(enemyActivation);
  Unit& player = PlayerUnit();
  for (auto _ : state) {
    // The player never dies, so the enemies keep acting.
    player.life = 1'000'000;
    RunLevel(CurrentSceneFrame());
  }
  int processed = 0;
  for (int i = 0; i < UnitCount(); ++i) processed += UnitAt(i).inRange && UnitAt(i).activated;
  state.counters["processed"] = processed;
}

void BM_RunLevel256EnemiesActing(benchmark::State& state) {
  RunFrames(state, 0);
}
BENCHMARK(BM_RunLevel256EnemiesActing)->Unit(benchmark::kMicrosecond)->MinTime(2);

void BM_RunLevel256PlayerOnly(benchmark::State& state) {
  RunFrames(state, 2);
}
BENCHMARK(BM_RunLevel256PlayerOnly)->Unit(benchmark::kMicrosecond)->MinTime(2);

}  // namespace

BENCHMARK_MAIN();
