// A level frame with every effect running at once on the GL back end under Xvfb: background, sky
// flash, level picture, ten sprites, the blood fountain, an explosion, a lightning bolt and the
// HUD, drawn by the game's own functions. Beside it a minimal program drawing the same quads and
// lines (the game frame's own draw list, recorded once) with the fewest GL calls, as the
// yardstick.
// Run: xvfb-run -a -s "-screen 0 1024x768x24" build/bench/effects_frame_bench
#include <SDL.h>
#include <SDL_opengl.h>
#include <benchmark/benchmark.h>

#include <memory>
#include <random>
#include <vector>

#include "app/game_state.hpp"
#include "audio/headless_audio.hpp"
#include "base/backends.hpp"
#include "formats/texture_container.hpp"
#include "fx/explosion.hpp"
#include "fx/scene.hpp"
#include "fx/unit_effects.hpp"
#include "game/animation_select.hpp"
#include "game/level.hpp"
#include "gfx/load.hpp"
#include "gl_bench_support.hpp"
#include "platform/gl_renderer.hpp"
#include "platform/sdl_platform.hpp"
#include "ui/hud.hpp"

namespace {
std::vector<uint8_t> RandomBytes(std::size_t n, unsigned seed) {
  std::mt19937 random(seed);
  std::vector<uint8_t> bytes(n);
  for (auto& b : bytes) b = static_cast<uint8_t>(random());
  return bytes;
}

// What the game frame drew, as the minimal program replays it.
struct Drawn {
  enum Kind { Quad, Glyph, Line } kind;
  Texture texture;
  double x, y, z, w, h, alpha;
};

// The GL renderer, noting each drawing while asked to.
class NotingRenderer : public GlRenderer {
 public:
  using GlRenderer::GlRenderer;
  bool noting = false;
  std::vector<Drawn> drawn;

  void DrawQuad(Texture t, double x, double y, double depth, double w, double h,
                double alpha) override {
    if (noting) drawn.push_back({Drawn::Quad, t, x, y, -depth, w, h, alpha});
    GlRenderer::DrawQuad(t, x, y, depth, w, h, alpha);
  }
  void DrawText(uint16_t size, const std::string& text, float x, float y, Texture font) override {
    for (std::size_t i = 0; noting && i < text.size(); ++i) {
      drawn.push_back({Drawn::Glyph, font, x + i * size, y, 0.2, double(size), double(size), 1});
    }
    GlRenderer::DrawText(size, text, x, y, font);
  }
  void DrawAnim(Texture t, double x, double y, double depth, int32_t w, int32_t h,
                bool mirrored) override {
    if (noting)
      drawn.push_back({Drawn::Quad, t, x - w / 2.0, y - h / 2.0, -depth, double(w), double(h), 1});
    GlRenderer::DrawAnim(t, x, y, depth, w, h, mirrored);
  }
  void DrawLine(double x1, double y1, double x2, double y2, double depth,
                const float colour[4]) override {
    if (noting) drawn.push_back({Drawn::Line, 0, x1, y1, -depth, x2 - x1, y2 - y1, colour[3]});
    GlRenderer::DrawLine(x1, y1, x2, y2, depth, colour);
  }
};

Texture Compressed(NotingRenderer& r, int32_t format, int w, int h, unsigned seed) {
  auto bytes = RandomBytes(*CompressedImageSize(format, w, h), seed);
  return r.CreateCompressedTexture(format, w, h, bytes.data(), static_cast<int32_t>(bytes.size()),
                                   "");
}

// The window, the context, the level and its effects, shared by both contenders.
struct Scene {
  std::unique_ptr<SdlPlatform> platform;
  std::unique_ptr<NotingRenderer> renderer;
  HeadlessAudio audio;
  std::vector<Drawn> frame;  // one game frame with everything running
  bool ok = false;

  Scene() {
    platform = std::make_unique<SdlPlatform>(false, true);
    if (!platform->Ok() || !platform->CreateContext(false)) return;
    renderer = std::make_unique<NotingRenderer>(*platform);
    backends = Backends{platform.get(), renderer.get(), &audio, nullptr};
    renderer->SetFixedState(platform->LogicalViewport());
    if (!renderer->HasTextureCompression()) return;
    BuildLevel();
    // Run the fountain into its steady flow before the frame is noted.
    for (int i = 0; i < 150; ++i) GameFrame();
    renderer->noting = true;
    GameFrame();
    renderer->noting = false;
    frame = renderer->drawn;
    ok = true;
  }

  void BuildLevel() {
    NotingRenderer& r = *renderer;
    gameState.morva.frameTime = 10;
    gameState.settings.showBlood = 1;
    gameState.map.Width = 2;
    gameState.map.Height = 2;
    gameState.map.CharCount = 11;
    LevelAssets& level = gameState.level;
    level.backgroundTexture = Compressed(r, kFormatDxt1Rgb, 3200, 1600, 1);
    for (int i = 0; i < 4; ++i) level.levelFrames[i] = Compressed(r, kFormatDxt5, 800, 600, 2 + i);
    const Texture sprite = Compressed(r, kFormatDxt5, 200, 200, 9);
    const Texture small = Compressed(r, kFormatDxt5, 128, 128, 10);
    auto glyphs = RandomBytes(256 * 256 * 4, 11);
    gameState.fontTexture = cLoad::CreateTexture(256, 256, kFormatRgba, glyphs.data());
    for (int i = 0; i < 11; ++i) {
      Unit& u = gameState.play.units[i];
      u.kind = i == 0 ? kPlayer : kSentinel;
      u.life = 100;
      u.x = 400 + (i % 6) * 110;
      u.y = 400 - (i / 6) * 200;
      u.anim = std::make_unique<cAnim>();
      u.anim->textures.fill(sprite);
      u.anim->width = u.anim->height = 200;
      u.anim->playing = 1;
      u.anims[0] = {0, 1, 0.1};
    }
    // A beheaded guard bleeding, a sentinel exploding on the ground, one firing.
    gameState.play.units[1].kind = kGuard;
    gameState.play.units[1].life = 0;
    gameState.play.units[1].headOff = 1;
    gameState.play.units[2].life = 0;
    gameState.play.units[2].deathTime = 1;
    EffectsState& fx = gameState.fx;
    fx.bloodParticles.ParticleInit(50, 300, 500, 300);
    fx.bloodParticles.texture = Compressed(r, kFormatDxt5, 32, 32, 12);
    fx.explosion.frameCount = 11;
    fx.explosionPlayer.anim = std::make_unique<cAnim>();
    fx.explosionPlayer.anim->textures.fill(small);
    fx.explosionPlayer.anim->frameCount = 11;
    fx.explosionPlayer.anim->playing = 1;
    fx.skyAssetsLoaded = 1;
    fx.skyFlashTexture = Compressed(r, kFormatDxt5, 3200, 1600, 13);
    hudTextures.filter = Compressed(r, kFormatDxt5, 800, 600, 14);
    hudTextures.lifeBar = Compressed(r, kFormatDxt1Rgb, 128, 16, 15);
    hudTextures.lifeBarFrame = Compressed(r, kFormatDxt1Rgb, 128, 16, 16);
    gameState.play.levelStats.points = 12345;
    gameState.play.levelStats.timeTaken = 83;
  }

  // One level frame through the game's drawing, every effect kept running.
  void GameFrame() {
    renderer->BeginFrame(0, 800, 0, 600);
    EffectsState& fx = gameState.fx;
    fx.skyTimer = 5.9f;  // inside the flash, before the thunder
    fx.flashHold = 0;
    Unit& firing = gameState.play.units[3];
    firing.fireNow = 1;
    gameState.play.units[2].deathEffect = 1;
    gameState.play.units[1].deathTime = 0.5;
    const SceneFrame scene = CurrentSceneFrame();
    RunLevelBackground(scene);
    for (int i = 0; i < gameState.map.CharCount; ++i) {
      SelectAnimation(UnitAt(i));
      StepAnimation(UnitAt(i), scene.level.frameMs);
      DrawUnit(scene.level, i);
      RunUnitEffects(scene, i);
    }
    DrawHud(scene);
    renderer->FrameDone();
    platform->SwapBuffers();
  }
};

Scene& TheScene() {
  static Scene scene;
  return scene;
}

void BM_EffectsFrameThroughTheGame(benchmark::State& state) {
  Scene& s = TheScene();
  if (!s.ok) return state.SkipWithError("no GL window (run under xvfb-run)");
  for (auto _ : state) s.GameFrame();
  state.counters["fps"] =
      benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
  state.counters["draws"] = static_cast<double>(s.frame.size());
}
BENCHMARK(BM_EffectsFrameThroughTheGame)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3);

// The recorded frame, blended throughout, a texture bound only when it changes, the lines in
// one batch at the end of their run.
void BM_EffectsFrameMinimal(benchmark::State& state) {
  Scene& s = TheScene();
  if (!s.ok) return state.SkipWithError("no GL window (run under xvfb-run)");
  for (auto _ : state) {
    BeginMinimalFrame();
    Texture bound = 0;
    for (const Drawn& d : s.frame) {
      if (d.kind == Drawn::Line) {
        glDisable(GL_TEXTURE_2D);
        glColor4d(d.alpha, d.alpha, 1, d.alpha);
        glBegin(GL_LINES);
        glVertex3d(d.x, d.y, d.z);
        glVertex3d(d.x + d.w, d.y + d.h, d.z);
        glEnd();
        glEnable(GL_TEXTURE_2D);
        continue;
      }
      if (d.texture != bound) {
        glBindTexture(GL_TEXTURE_2D, d.texture);
        bound = d.texture;
      }
      glColor4d(1, 1, 1, d.alpha);
      glBegin(GL_QUADS);
      glTexCoord2f(0, 0);
      glVertex3d(d.x, d.y + d.h, d.z);
      glTexCoord2f(1, 0);
      glVertex3d(d.x + d.w, d.y + d.h, d.z);
      glTexCoord2f(1, 1);
      glVertex3d(d.x + d.w, d.y, d.z);
      glTexCoord2f(0, 1);
      glVertex3d(d.x, d.y, d.z);
      glEnd();
    }
    s.platform->SwapBuffers();
  }
  state.counters["fps"] =
      benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_EffectsFrameMinimal)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3);
}  // namespace

BENCHMARK_MAIN();
