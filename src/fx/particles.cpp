// The blood fountain's particles: each follows a fixed quarter-ellipse arc driven by its angle,
// and particle i is spawned at time i / rate of a repeating emission cycle.
#include "fx/particles.hpp"

#include <cmath>

#include "base/backends.hpp"
#include "base/measures.hpp"
#include "base/messages.hpp"
#include "base/random.hpp"
#include "gfx/draw.hpp"
#include "gfx/renderer.hpp"

namespace {
constexpr double kSpawnAngle = -1.5;
// The angle grows by 2 per second; past this the particle waits to be spawned again.
constexpr double kAnglePerSecond = 2;
constexpr double kRecycleAngle = 1.0;
// Rises a little short of the full height, by up to 20 px.
constexpr int32_t kRiseJitter = 20;
constexpr double kParticleSize = 12;
constexpr double kParticleDepth = -0.1;
}  // namespace

void cParticle::ParticleInit(int32_t spread, int32_t height, int32_t particleCount,
                             int32_t particlesPerSecond) {
  Randomize();
  count = particleCount;
  rate = particlesPerSecond;
  double due = 0;
  for (int32_t i = 0; i < particleCount; ++i) {
    Particle& p = At(particles, static_cast<std::size_t>(i), "particle");
    // The order of the draws is part of the layout: side first, then spread, then rise.
    const int32_t side = Random(100);
    if (side % 2 == 0) {
      p.spreadX = Random(spread);
      p.rise = height - kRiseJitter + Random(kRiseJitter);
    } else {
      p.spreadX = -Random(spread);
      p.rise = height - kRiseJitter - Random(kRiseJitter);
    }
    p.angle = kSpawnAngle;
    p.pending = 1;
    p.due = due;
    due += 1 / rate;
  }
}

void cParticle::ParticleStep(double x, double y, double camX, double camY, double frameTime) {
  const double interval = 1 / rate;
  for (int32_t i = 0; i < count; ++i) {
    Particle& p = At(particles, static_cast<std::size_t>(i), "particle");
    // The window is read before the clock advances, two emission intervals wide.
    if (clock - interval < p.due && p.due < clock + interval && p.pending == 1) {
      p.originX = x;
      p.originY = y;
      p.pending = 0;
    }
    p.shown = p.pending == 0 ? 1 : 0;
    if (p.shown != 0) {
      p.angle = p.angle + Seconds(frameTime) * kAnglePerSecond;
      p.sx = p.spreadX * std::sin(p.angle) + p.spreadX + p.originX + camX;
      p.sy = -p.rise * std::cos(p.angle) + p.originY + camY;
      p.shownAngle = p.angle;
    }
    if (p.angle > kRecycleAngle) {
      p.angle = kSpawnAngle;
      p.pending = 1;
    }
  }
  if (count / rate > clock) {
    clock = clock + Seconds(frameTime);
  } else {
    clock = 0;
  }
}

void cParticle::ParticleShow() const {
  Renderer& renderer = *backends.renderer;
  renderer.SetState(RenderState::DepthTest, false);
  for (int32_t i = 0; i < count; ++i) {
    const Particle& p = At(particles, static_cast<std::size_t>(i), "particle");
    if (p.shown != 0) {
      DrawQuad(texture, p.sx, p.sy, kParticleDepth, kParticleSize, kParticleSize, -p.shownAngle);
    }
  }
  renderer.SetState(RenderState::DepthTest, true);
}
