// Solving and drawing jointed figures.
#include "mkcontent/rig.hpp"

#include <algorithm>
#include <cmath>

namespace {
double Ease(double t) {
  return 0.5 - 0.5 * std::cos(M_PI * t);
}
}  // namespace

Pose Lerp(const Pose& a, const Pose& b, double t) {
  auto m = [t](double x, double y) { return x + (y - x) * t; };
  Pose p;
  p.x = m(a.x, b.x);
  p.y = m(a.y, b.y);
  p.torso = m(a.torso, b.torso);
  p.head = m(a.head, b.head);
  p.backShoulder = m(a.backShoulder, b.backShoulder);
  p.backElbow = m(a.backElbow, b.backElbow);
  p.frontShoulder = m(a.frontShoulder, b.frontShoulder);
  p.frontElbow = m(a.frontElbow, b.frontElbow);
  p.backHip = m(a.backHip, b.backHip);
  p.backKnee = m(a.backKnee, b.backKnee);
  p.frontHip = m(a.frontHip, b.frontHip);
  p.frontKnee = m(a.frontKnee, b.frontKnee);
  p.weapon = m(a.weapon, b.weapon);
  p.extra = m(a.extra, b.extra);
  p.roll = m(a.roll, b.roll);
  return p;
}

Pose Through(const std::vector<Pose>& keys, double t, bool loop) {
  if (keys.size() == 1) return keys[0];
  const int spans = static_cast<int>(loop ? keys.size() : keys.size() - 1);
  double at = std::clamp(t, 0.0, 1.0) * spans;
  int i = std::min(static_cast<int>(at), spans - 1);
  const Pose& a = keys[static_cast<std::size_t>(i)];
  const Pose& b = keys[static_cast<std::size_t>((i + 1) % keys.size())];
  return Lerp(a, b, Ease(at - i));
}

Vec Hang(double angle) {
  return {-std::sin(angle), std::cos(angle)};
}
Vec Rise(double angle) {
  return {-std::sin(angle), -std::cos(angle)};
}

Skeleton Solve(const Proportions& p, const Pose& pose, bool planted, double groundY) {
  Skeleton s;
  s.pelvis = p.pelvisRest + Vec{pose.x, pose.y};
  s.torsoAngle = pose.torso;
  s.chest = s.pelvis + Rise(pose.torso) * (p.spine * 0.55);
  s.neck = s.pelvis + Rise(pose.torso) * p.spine;
  s.head = s.neck + Rise(pose.torso + pose.head) * p.neck;
  // Arms hang from the shoulder, which turns with the torso.
  const double ba = pose.torso + pose.backShoulder, fa = pose.torso + pose.frontShoulder;
  s.backElbow = s.neck + Hang(ba) * p.upperArm;
  s.backForearm = ba + pose.backElbow;
  s.backHand = s.backElbow + Hang(s.backForearm) * p.forearm;
  s.frontElbow = s.neck + Hang(fa) * p.upperArm;
  s.frontForearm = fa + pose.frontElbow;
  s.frontHand = s.frontElbow + Hang(s.frontForearm) * p.forearm;
  // Knees bend backwards: a positive knee angle folds the shin behind the thigh.
  s.backKnee = s.pelvis + Hang(pose.backHip) * p.thigh;
  s.backShin = pose.backHip - pose.backKnee;
  s.backFoot = s.backKnee + Hang(s.backShin) * p.shin;
  s.frontKnee = s.pelvis + Hang(pose.frontHip) * p.thigh;
  s.frontShin = pose.frontHip - pose.frontKnee;
  s.frontFoot = s.frontKnee + Hang(s.frontShin) * p.shin;
  if (planted) {
    double lowest = std::max(s.backFoot.y, s.frontFoot.y);
    Vec shift{0, groundY - lowest};
    for (Vec* v : {&s.pelvis, &s.chest, &s.neck, &s.head, &s.backElbow, &s.backHand, &s.frontElbow,
                   &s.frontHand, &s.backKnee, &s.backFoot, &s.frontKnee, &s.frontFoot}) {
      *v = *v + shift;
    }
  }
  return s;
}

namespace {
// How a shaded fill falls off: the lit end's brightness, where the plain colour sits, the dark
// end's brightness.
struct Shading {
  double high;
  double middle;
  double low;
};

// Fills the current path with the colour lit at `from` and shadowed at `to`; `keepPath` leaves
// the path for an outline.
void FillShaded(cairo_t* cr, Vec from, Vec to, Rgb colour, Shading shading, bool keepPath) {
  cairo_pattern_t* g = cairo_pattern_create_linear(from.x, from.y, to.x, to.y);
  Rgb hi = Shade(colour, shading.high), lo = Shade(colour, shading.low);
  cairo_pattern_add_color_stop_rgb(g, 0, hi.r, hi.g, hi.b);
  cairo_pattern_add_color_stop_rgb(g, shading.middle, colour.r, colour.g, colour.b);
  cairo_pattern_add_color_stop_rgb(g, 1, lo.r, lo.g, lo.b);
  cairo_set_source(cr, g);
  if (keepPath) {
    cairo_fill_preserve(cr);
  } else {
    cairo_fill(cr);
  }
  cairo_pattern_destroy(g);
}
}  // namespace

void Limb(cairo_t* cr, Vec a, Vec b, double wa, double wb, Rgb colour) {
  Vec d = b - a;
  double len = std::hypot(d.x, d.y);
  if (len < 1e-6) d = {0, 1}, len = 1;
  Vec n{-d.y / len, d.x / len};
  auto path = [&](double grow) {
    double ra = wa / 2 + grow, rb = wb / 2 + grow;
    double ang = std::atan2(d.y, d.x);
    cairo_new_path(cr);
    cairo_arc(cr, b.x, b.y, rb, ang - M_PI / 2, ang + M_PI / 2);
    cairo_arc(cr, a.x, a.y, ra, ang + M_PI / 2, ang + 3 * M_PI / 2);
    cairo_close_path(cr);
  };
  path(1.2);
  SetColor(cr, Shade(colour, 0.25), 0.95);
  cairo_fill(cr);
  path(0);
  // Light from the upper left: the side of the limb facing it is brighter.
  double side = (n.x * -0.6 + n.y * -0.8) >= 0 ? 1 : -1;
  Vec lit = a + n * (side * wa / 2);
  Vec dark = a - n * (side * wa / 2);
  FillShaded(cr, lit, dark, colour, {1.35, 0.45, 0.6}, false);
}

void Plate(cairo_t* cr, const std::vector<Vec>& points, Rgb colour) {
  if (points.empty()) return;
  double minX = points[0].x, minY = points[0].y, maxX = minX, maxY = minY;
  cairo_new_path(cr);
  for (const Vec& p : points) {
    cairo_line_to(cr, p.x, p.y);
    minX = std::min(minX, p.x), maxX = std::max(maxX, p.x);
    minY = std::min(minY, p.y), maxY = std::max(maxY, p.y);
  }
  cairo_close_path(cr);
  FillShaded(cr, {minX, minY}, {maxX, maxY}, colour, {1.3, 0.5, 0.62}, true);
  SetColor(cr, Shade(colour, 0.25), 0.95);
  cairo_set_line_width(cr, 1.3);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  cairo_stroke(cr);
}

void Ellipse(cairo_t* cr, Vec c, double rx, double ry, double angle, Rgb colour) {
  cairo_save(cr);
  cairo_translate(cr, c.x, c.y);
  cairo_rotate(cr, angle);
  cairo_scale(cr, rx, ry);
  cairo_new_path(cr);
  cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
  cairo_restore(cr);
  cairo_pattern_t* g =
      cairo_pattern_create_radial(c.x - rx * 0.35, c.y - ry * 0.4, 0, c.x, c.y, std::max(rx, ry));
  Rgb hi = Shade(colour, 1.35), lo = Shade(colour, 0.6);
  cairo_pattern_add_color_stop_rgb(g, 0, hi.r, hi.g, hi.b);
  cairo_pattern_add_color_stop_rgb(g, 1, lo.r, lo.g, lo.b);
  cairo_set_source(cr, g);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(g);
  SetColor(cr, Shade(colour, 0.25), 0.95);
  cairo_set_line_width(cr, 1.3);
  cairo_stroke(cr);
}

std::vector<Vec> Place(const std::vector<Vec>& local, Vec origin, double angle) {
  std::vector<Vec> out;
  double c = std::cos(angle), s = std::sin(angle);
  for (const Vec& v : local)
    out.push_back({origin.x + v.x * c - v.y * s, origin.y + v.x * s + v.y * c});
  return out;
}

void GroundShadow(cairo_t* cr, double x, double y, double halfWidth, double alpha) {
  cairo_save(cr);
  cairo_translate(cr, x, y);
  cairo_scale(cr, halfWidth, halfWidth * 0.22);
  cairo_pattern_t* g = cairo_pattern_create_radial(0, 0, 0, 0, 0, 1);
  cairo_pattern_add_color_stop_rgba(g, 0, 0, 0, 0, alpha);
  cairo_pattern_add_color_stop_rgba(g, 1, 0, 0, 0, 0);
  cairo_set_source(cr, g);
  cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
  cairo_fill(cr);
  cairo_pattern_destroy(g);
  cairo_restore(cr);
}

Pose Key(double torso, double head, double backShoulder, double backElbow, double frontShoulder,
         double frontElbow, double backHip, double backKnee, double frontHip, double frontKnee,
         double weapon, double x, double y, double roll) {
  constexpr double d = M_PI / 180.0;
  Pose p;
  p.torso = torso * d;
  p.head = head * d;
  p.backShoulder = backShoulder * d;
  p.backElbow = backElbow * d;
  p.frontShoulder = frontShoulder * d;
  p.frontElbow = frontElbow * d;
  p.backHip = backHip * d;
  p.backKnee = backKnee * d;
  p.frontHip = frontHip * d;
  p.frontKnee = frontKnee * d;
  p.weapon = weapon * d;
  p.x = x;
  p.y = y;
  p.roll = roll * d;
  return p;
}

double ClipTime(int index, int count, bool loop) {
  if (count <= 1) return 0;
  return loop ? static_cast<double>(index) / count : static_cast<double>(index) / (count - 1);
}

Pose ThroughAt(const std::vector<Pose>& keys, const std::vector<double>& times, double t) {
  for (std::size_t i = 1; i < keys.size(); ++i) {
    if (t <= times[i] || i + 1 == keys.size()) {
      double span = times[i] - times[i - 1];
      double f = span > 0 ? std::clamp((t - times[i - 1]) / span, 0.0, 1.0) : 1.0;
      return Lerp(keys[i - 1], keys[i], Ease(f));
    }
  }
  return keys.front();
}
