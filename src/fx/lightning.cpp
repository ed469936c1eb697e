// The lightning bolt between a firing sentinel and the player.
#include "fx/lightning.hpp"

#include <algorithm>
#include <cmath>

#include "base/backends.hpp"
#include "base/messages.hpp"
#include "base/random.hpp"
#include "gfx/renderer.hpp"

namespace {
constexpr int kBoltSegments = 5;
// A bolt fades from full brightness to nothing in half a second.
constexpr double kFadePerMs = 0.002;
constexpr double kBoltDepth = -1.0;
constexpr float kBoltLineWidth = 2;
// Each inner vertex lands up to 50 px either side of the straight line.
constexpr int32_t kSideways = 100;
constexpr double kHalfSideways = 50;

int32_t TruncToInt(double v) {
  // A bound outside the generator's range (or not a number) draws 0, like a bound of 0.
  if (!(v > -2147483648.0 && v < 2147483647.0)) return 0;
  return static_cast<int32_t>(std::trunc(v));
}

// The bolt seen edge-on: both ends share an x or a y, so the line has no usable slope.
void StraightBolt(int n, std::span<BoltPoint> points) {
  const BoltPoint a = points[0];
  const BoltPoint b = points[n];
  for (int v = 1; v < n; ++v) {
    const double t = static_cast<double>(v) / n;
    points[v] = {a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t};
  }
}
// Whether every inner point lies between the ends' x, widened by the sideways jitter.
bool InsideSideways(int n, std::span<const BoltPoint> points) {
  const double left = std::min(points[0].x, points[n].x) - kHalfSideways;
  const double right = std::max(points[0].x, points[n].x) + kHalfSideways;
  for (int v = 1; v < n; ++v) {
    if (!(points[v].x >= left && points[v].x <= right)) return false;
  }
  return true;
}
}  // namespace

void MakeLightningBolt(int n, std::span<BoltPoint> points, double px, double py, double ux,
                       double uy) {
  if (n < 1 || static_cast<std::size_t>(n) >= points.size()) {
    FatalRangeError("bolt segments " + std::to_string(n));
  }
  Randomize();
  points[0] = {px, py};
  points[n] = {ux, uy};
  if (px == ux || py == uy) {
    StraightBolt(n, points);
    return;
  }
  const double slope = (points[0].y - points[n].y) / (points[0].x - points[n].x);
  const double intercept = points[0].y - slope * points[0].x;
  double s = points[0].y;
  for (int v = 1; v < n; ++v) {
    s = s + (points[n].y - points[0].y) / n;
    const int32_t r = Random(TruncToInt(s / n));
    points[v].y = r + s - s / (2.0 * n);
    points[v].x = Random(kSideways) + (points[v].y - intercept) / slope - kHalfSideways;
  }
  // The x comes from dividing by the slope, so a nearly level bolt throws its points far off the
  // screen: such a bolt is drawn as a level one.
  if (!InsideSideways(n, points)) StraightBolt(n, points);
}

void StepLightningBolt(EffectsState& fx, uint8_t trigger, double px, double py, double ux,
                       double uy, double frameTime) {
  if (trigger != 0) fx.boltActive = 1;
  fx.boltShown = fx.boltActive;
  if (fx.boltActive == 0) return;
  if (fx.boltIntensity > 0) {
    fx.boltIntensity = fx.boltIntensity - frameTime * kFadePerMs;
  } else {
    fx.boltIntensity = 1.0;
    MakeLightningBolt(kBoltSegments, fx.boltPoints, px, py, ux, uy);
  }
  // The call that fades it out still shows it, at opacity 0.
  if (fx.boltIntensity <= 0) fx.boltActive = 0;
}

void ShowLightningBolt(const EffectsState& fx, double camX, double camY) {
  if (fx.boltShown == 0) return;
  Renderer& renderer = *backends.renderer;
  renderer.SetLineWidth(kBoltLineWidth);
  renderer.SetState(RenderState::Texturing, false);
  renderer.SetState(RenderState::Blend, true);
  renderer.SetState(RenderState::AlphaTest, false);
  const auto i = static_cast<float>(fx.boltIntensity);
  const float colour[4] = {i, i, 1, i};  // bluish white, fading to transparent
  for (int k = 0; k < kBoltSegments; ++k) {
    const BoltPoint& a = fx.boltPoints[k];
    const BoltPoint& b = fx.boltPoints[k + 1];
    renderer.DrawLine(a.x + camX, a.y + camY, b.x + camX, b.y + camY, kBoltDepth, colour);
  }
  renderer.SetState(RenderState::Blend, false);
  renderer.SetState(RenderState::Texturing, true);
}
