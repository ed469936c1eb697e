// The golem: a hulk of stacked stone with ember light in its cracks and long, heavy arms.
#include <algorithm>
#include <cmath>

#include "mkcontent/character_art.hpp"
#include "mkcontent/rig.hpp"
#include "mkcontent/rng.hpp"

namespace {

constexpr int kSize = 256;
constexpr double kGround = 128 + 108;
const Proportions kBody{36, 34, 72, 18, 50, 52, {128, kGround - 66}};

const Rgb kRock{0.40, 0.38, 0.36};
const Rgb kRockDark{0.26, 0.25, 0.25};

Pose Stand() {
  return Key(14, -10, 20, 30, 14, 30, -12, 10, 14, 8, 0);
}

struct GolemFrame {
  Pose pose;
  double crumble = 0;  // death: how far it has fallen apart
  double quake = 0;    // a slam's shock wave along the ground, 0..1
  double dust = 0;     // a punch's burst of grit ahead of the fist, 0..1
};

GolemFrame GolemPose(Clip clip, int index, int count) {
  GolemFrame f;
  double t =
      ClipTime(index, count, clip != Clip::Blow1 && clip != Clip::Blow2 && clip != Clip::Death);
  switch (clip) {
    case Clip::Idle:
      f.pose = Through({Stand(), Key(16, -8, 22, 32, 16, 32, -12, 12, 14, 10, 0, 0, 2)}, t, true);
      break;
    case Clip::Walk:
      f.pose = Through({Key(16, -10, 25, 30, 0, 30, -20, 14, 22, 4, 0),
                        Key(18, -10, 12, 30, 12, 30, 0, 45, 4, 8, 0),
                        Key(16, -10, 0, 30, 25, 30, 22, 4, -20, 14, 0),
                        Key(18, -10, 12, 30, 12, 30, 4, 8, 0, 45, 0)},
                       t, true);
      break;
    case Clip::Jump:
      f.pose = Through({Key(20, -10, 40, 60, 40, 60, 20, 60, 30, 60, 0),
                        Key(10, -10, 150, 20, 150, 20, -5, 10, 10, 10, 0)},
                       t, true);
      break;
    case Clip::Blow1:
      // Draw back, then a sweeping punch that lands on index 9 (frame 33).
      f.pose = ThroughAt({Stand(), Key(-6, -2, 40, 30, -50, 60, -16, 10, 18, 12, 0, 10),
                          Key(-10, 0, 45, 30, -70, 70, -18, 12, 20, 14, 0, 14),
                          Key(34, -14, 0, 30, 95, -5, -30, 16, 30, 24, 0, -18, 4),
                          Key(20, -10, 15, 30, 40, 30, -16, 12, 18, 10, 0)},
                         {0, 0.35, 0.55, 9.0 / 13.0, 1}, t);
      f.dust = (index >= 9 && index <= 12) ? (index - 8) / 4.0 : 0;
      break;
    case Clip::Blow2:
      // Both fists raised high, then brought down; the ground is struck on index 12 (frame 62).
      f.pose = ThroughAt({Stand(), Key(-8, 4, 150, 20, 160, 20, -14, 10, 16, 10, 0, 6, -2),
                          Key(-14, 6, 170, 10, 175, 10, -16, 12, 18, 12, 0, 8, -4),
                          Key(40, -16, 40, 20, 45, 15, -28, 40, 30, 50, 0, -12, 10),
                          Key(24, -10, 25, 30, 25, 30, -16, 14, 18, 12, 0)},
                         {0, 0.4, 0.62, 12.0 / 15.0, 1}, t);
      f.quake = (index >= 12) ? (index - 11) / 4.0 : 0;
      break;
    case Clip::Stunned:
      f.pose = Through({Key(-10, 10, -20, 40, -10, 40, -8, 10, 20, 12, 0, 8),
                        Key(-4, 14, 0, 60, 5, 60, -10, 14, 18, 16, 0, 10)},
                       t, true);
      f.pose.extra = 1;
      break;
    case Clip::Death:
      f.pose = ThroughAt({Key(-10, 10, -20, 40, -10, 40, -8, 10, 20, 12, 0, 8),
                          Key(20, 10, 10, 20, 10, 20, -10, 70, 40, 80, 0)},
                         {0, 0.3}, t);
      f.crumble = std::clamp((t - 0.25) / 0.75, 0.0, 1.0);
      break;
    default:
      f.pose = Stand();
  }
  return f;
}

// One rock of the body: an irregular polygon around a centre, with a darker underside.
void Boulder(cairo_t* cr, Vec c, double rx, double ry, double angle, unsigned seed, Rgb colour) {
  Rng rng(seed);
  std::vector<Vec> pts;
  const int n = 9;
  for (int i = 0; i < n; ++i) {
    double a = 2 * M_PI * i / n + rng.Range(-0.15, 0.15);
    double r = rng.Range(0.82, 1.0);
    pts.push_back({std::cos(a) * rx * r, std::sin(a) * ry * r});
  }
  Plate(cr, Place(pts, c, angle), colour);
}

void Crack(cairo_t* cr, const std::vector<Vec>& pts, double glow) {
  cairo_new_path(cr);
  for (const Vec& p : pts) cairo_line_to(cr, p.x, p.y);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_set_line_width(cr, 4.5);
  SetColor(cr, palette::kEmber, 0.25 * glow);
  cairo_stroke_preserve(cr);
  cairo_set_line_width(cr, 1.6);
  SetColor(cr, {1.0, 0.8, 0.4}, 0.9 * glow);
  cairo_stroke(cr);
}

// A rock limb: a row of boulders from a to b.
void RockLimb(cairo_t* cr, Vec a, Vec b, double width, unsigned seed, Rgb colour) {
  Vec d = b - a;
  double angle = std::atan2(d.y, d.x);
  double len = std::hypot(d.x, d.y);
  int pieces = std::max(2, static_cast<int>(len / (width * 1.05)));
  for (int i = 0; i < pieces; ++i) {
    double f = (i + 0.5) / pieces;
    Boulder(cr, a + d * f, len / pieces * 0.68, width * 0.55, angle,
            seed + static_cast<unsigned>(i), colour);
  }
}

void DrawGolem(cairo_t* cr, const GolemFrame& f) {
  const Pose& p = f.pose;
  Skeleton s = Solve(kBody, p, true, kGround);
  const double c = f.crumble;
  Rng scatter(77);
  // Falling apart: each piece sinks towards the ground and drifts a little, tumbling.
  auto fall = [&](Vec v) {
    if (c <= 0) return v;
    double drift = scatter.Signed() * 40;
    double sink = (kGround - 14 - v.y) * std::min(1.0, c * c * 1.3);
    return Vec{v.x + drift * c, v.y + sink};
  };
  auto spin = [&](double base) { return base + (c > 0 ? scatter.Signed() * 1.5 * c : 0); };

  GroundShadow(cr, s.pelvis.x, kGround, 60, 0.5);
  const Rgb dim = Shade(kRock, 0.7);
  const double glow = (1 - c) * (0.75 + 0.25 * p.extra);
  // Far arm and leg.
  RockLimb(cr, fall(s.neck), fall(s.backElbow), 33, 11, dim);
  RockLimb(cr, fall(s.backElbow), fall(s.backHand), 31, 21, dim);
  Boulder(cr, fall(s.backHand), 22, 19, spin(0.3), 31, dim);
  RockLimb(cr, fall(s.pelvis), fall(s.backKnee), 36, 41, dim);
  RockLimb(cr, fall(s.backKnee), fall(s.backFoot), 34, 51, dim);
  // The trunk: one great stone with glowing seams, and a small head sunk between the shoulders.
  const double t = -p.torso;
  Vec chest = fall(s.chest), pelvis = fall(s.pelvis);
  Boulder(cr, pelvis, 42, 26, spin(t), 61, kRockDark);
  Boulder(cr, chest + Rise(p.torso) * 10, 56, 52, spin(t), 71, kRock);
  Crack(cr, Place({{-24, -24}, {-10, -10}, {-14, 8}, {2, 22}}, chest, spin(t)), glow);
  Crack(cr, Place({{22, -28}, {12, -6}, {26, 12}}, chest, spin(t)), glow * 0.8);
  Vec head = fall(s.head + Vec{-10, 8});
  Boulder(cr, head, 23, 18, spin(-(p.torso + p.head)), 81, kRock);
  // Eyes: two embers looking ahead.
  for (double dx : {-10.0, -2.0}) {
    Vec e = Place({{dx, 0}}, head, spin(-(p.torso + p.head)))[0];
    cairo_pattern_t* g = cairo_pattern_create_radial(e.x, e.y, 0, e.x, e.y, 7);
    cairo_pattern_add_color_stop_rgba(g, 0, 1.0, 0.85, 0.45, glow);
    cairo_pattern_add_color_stop_rgba(g, 0.35, 1.0, 0.5, 0.1, glow * 0.8);
    cairo_pattern_add_color_stop_rgba(g, 1, 1.0, 0.3, 0.0, 0);
    cairo_set_source(cr, g);
    cairo_arc(cr, e.x, e.y, 7, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
  }
  // Moss on the shoulders.
  SetColor(cr, palette::kMoss, 0.8 * (1 - c));
  Vec moss = fall(s.neck + Vec{6, -2});
  cairo_arc(cr, moss.x, moss.y, 9, M_PI, 2 * M_PI);
  cairo_fill(cr);
  // Near leg and arm.
  RockLimb(cr, fall(s.pelvis), fall(s.frontKnee), 38, 91, kRock);
  RockLimb(cr, fall(s.frontKnee), fall(s.frontFoot), 36, 101, kRock);
  RockLimb(cr, fall(s.neck), fall(s.frontElbow), 35, 111, kRock);
  RockLimb(cr, fall(s.frontElbow), fall(s.frontHand), 33, 121, kRock);
  Boulder(cr, fall(s.frontHand), 24, 21, spin(0.2), 131, kRock);

  if (c > 0) {
    // Dust rising from the heap.
    Rng dust(5);
    for (int i = 0; i < 14; ++i) {
      double x = 128 + dust.Signed() * 70, y = kGround - 10 - dust.Unit() * 60 * c;
      double r = 10 + dust.Unit() * 20 * c;
      SetColor(cr, {0.45, 0.42, 0.38}, 0.22 * std::sin(c * M_PI));
      cairo_arc(cr, x, y, r, 0, 2 * M_PI);
      cairo_fill(cr);
    }
  }
  if (f.quake > 0) {
    // The slam: a wave of broken ground and flung stones running ahead to the left.
    Rng rocks(9);
    double reach = 30 + 80 * f.quake;
    for (int i = 0; i < 12; ++i) {
      double x = s.frontHand.x - reach * rocks.Unit();
      double h = 14 * std::sin(rocks.Unit() * M_PI) * (1 - f.quake * 0.6);
      Boulder(cr, {x, kGround - 4 - h * 2}, 4 + rocks.Unit() * 4, 3 + rocks.Unit() * 3,
              rocks.Unit() * 3, 200 + static_cast<unsigned>(i), kRockDark);
    }
    SetColor(cr, {0.5, 0.45, 0.4}, 0.35 * (1 - f.quake * 0.5));
    cairo_save(cr);
    cairo_translate(cr, s.frontHand.x - reach * 0.5, kGround - 8);
    cairo_scale(cr, reach * 0.6, 12);
    cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
    cairo_restore(cr);
    cairo_fill(cr);
  }
  if (f.dust > 0) {
    // Grit blown ahead of the fist.
    Rng grit(3);
    for (int i = 0; i < 16; ++i) {
      double d = (0.3 + grit.Unit()) * 60 * f.dust;
      double x = s.frontHand.x - 14 - d, y = s.frontHand.y + grit.Signed() * 20 * f.dust;
      SetColor(cr, {0.62, 0.56, 0.48}, 0.5 * (1 - f.dust * 0.6));
      cairo_arc(cr, x, y, 1.5 + grit.Unit() * 2.5, 0, 2 * M_PI);
      cairo_fill(cr);
    }
  }
}

}  // namespace

RgbaImage PaintGolem(Clip clip, int index, int count) {
  Canvas canvas(kSize, kSize);
  DrawGolem(canvas.cr(), GolemPose(clip, index, count));
  return canvas.Image();
}
