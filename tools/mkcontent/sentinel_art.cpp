// The sentinel: a floating iron orb with a burning eye, turning vanes and crackling arcs.
#include <algorithm>
#include <cmath>

#include "mkcontent/character_art.hpp"
#include "mkcontent/rig.hpp"
#include "mkcontent/rng.hpp"

namespace {

constexpr int kSize = 96;
const Vec kCentre{48, 48};

void Glow(cairo_t* cr, Vec c, double radius, Rgb colour, double alpha) {
  cairo_pattern_t* g = cairo_pattern_create_radial(c.x, c.y, 0, c.x, c.y, radius);
  cairo_pattern_add_color_stop_rgba(g, 0, colour.r, colour.g, colour.b, alpha);
  cairo_pattern_add_color_stop_rgba(g, 1, colour.r, colour.g, colour.b, 0);
  cairo_set_source(cr, g);
  cairo_arc(cr, c.x, c.y, radius, 0, 2 * M_PI);
  cairo_fill(cr);
  cairo_pattern_destroy(g);
}

// A jagged electric arc between two points.
void Arc(cairo_t* cr, Vec a, Vec b, Rng& rng, double alpha) {
  std::vector<Vec> pts{a};
  const int n = 6;
  Vec d = b - a;
  Vec side{-d.y, d.x};
  double len = std::hypot(d.x, d.y);
  for (int i = 1; i < n; ++i)
    pts.push_back(a + d * (static_cast<double>(i) / n) +
                  side * (rng.Signed() * 6 / std::max(1.0, len)));
  pts.push_back(b);
  for (double width : {4.0, 1.4}) {
    cairo_new_path(cr);
    for (const Vec& p : pts) cairo_line_to(cr, p.x, p.y);
    cairo_set_line_width(cr, width);
    if (width > 2) {
      SetColor(cr, palette::kArcane, 0.35 * alpha);
    } else {
      SetColor(cr, {0.9, 0.97, 1.0}, alpha);
    }
    cairo_stroke(cr);
  }
}

void DrawSentinel(cairo_t* cr, Clip clip, int index, int count) {
  const double t = ClipTime(index, count, true);
  const bool dead = clip == Clip::Death;
  const bool charging = clip == Clip::Charging;
  Rng rng(1000 + static_cast<unsigned>(index) + (charging ? 100u : 0u) + (dead ? 200u : 0u));
  Vec c = kCentre + Vec{0, dead ? 18.0 : std::sin(t * 2 * M_PI) * 2};
  const double spinAngle = t * 2 * M_PI / 3;  // three vanes: a third of a turn per loop

  if (!dead) Glow(cr, c, charging ? 44 : 32, palette::kArcane, charging ? 0.55 : 0.28);
  // A tilted ring with three glowing studs circles the orb; its far half passes behind.
  const double tilt = -0.25, ringX = 31, ringY = 8;
  auto ringHalf = [&](bool front) {
    cairo_save(cr);
    cairo_translate(cr, c.x, c.y + 4);
    cairo_rotate(cr, tilt);
    cairo_scale(cr, ringX, ringY);
    cairo_new_path(cr);
    if (front) {
      cairo_arc(cr, 0, 0, 1, 0, M_PI);
    } else {
      cairo_arc(cr, 0, 0, 1, M_PI, 2 * M_PI);
    }
    cairo_restore(cr);
    cairo_set_line_width(cr, 4.5);
    SetColor(cr, {0.05, 0.05, 0.07});
    cairo_stroke_preserve(cr);
    cairo_set_line_width(cr, 2.6);
    SetColor(cr, dead ? Shade(palette::kSteelDark, 0.8) : palette::kSteel, front ? 1.0 : 0.7);
    cairo_stroke(cr);
    for (int k = 0; k < 3; ++k) {
      double a = spinAngle + k * 2 * M_PI / 3 + (dead ? 0.6 : 0);
      if ((std::sin(a) > 0) != front) continue;
      Vec local{std::cos(a) * ringX, std::sin(a) * ringY};
      Vec stud = c + Vec{0, 4} +
                 Vec{local.x * std::cos(tilt) - local.y * std::sin(tilt),
                     local.x * std::sin(tilt) + local.y * std::cos(tilt)};
      if (!dead) Glow(cr, stud, charging ? 9 : 6, palette::kArcane, charging ? 0.9 : 0.6);
      Ellipse(cr, stud, 3, 3, 0, dead ? palette::kStoneDark : Rgb{0.6, 0.9, 1.0});
    }
  };
  auto vane = [&](double, bool front) { ringHalf(front); };
  vane(0, false);
  Ellipse(cr, c, 18, 18, 0, dead ? Shade(palette::kSteelDark, 0.7) : palette::kSteelDark);
  // A riveted band around the middle.
  Plate(cr, {c + Vec{-18, -2}, c + Vec{18, -2}, c + Vec{17, 3}, c + Vec{-17, 3}},
        Shade(palette::kSteel, 0.8));
  for (int k = 0; k < 5; ++k) {
    double x = -14 + k * 7;
    SetColor(cr, {0.85, 0.85, 0.9}, 0.8);
    cairo_arc(cr, c.x + x, c.y + 0.5, 1, 0, 2 * M_PI);
    cairo_fill(cr);
  }
  // The eye looks ahead (left); charging makes it flare white.
  Vec eye = c + Vec{-8, -6};
  if (dead) {
    Ellipse(cr, eye, 5, 4, 0, {0.08, 0.08, 0.09});
    // Cracks across the shell.
    cairo_set_line_width(cr, 1.2);
    SetColor(cr, {0.03, 0.03, 0.04});
    cairo_move_to(cr, c.x - 4, c.y - 17);
    cairo_line_to(cr, c.x + 2, c.y - 8);
    cairo_line_to(cr, c.x - 2, c.y + 2);
    cairo_line_to(cr, c.x + 6, c.y + 12);
    cairo_stroke(cr);
    // Smoke drifting up, and now and then a dying spark.
    for (int k = 0; k < 4; ++k) {
      double phase = std::fmod(t + k * 0.25, 1.0);
      Vec puff = c + Vec{4 + std::sin(phase * 6 + k) * 5, -16 - phase * 26};
      SetColor(cr, {0.25, 0.25, 0.27}, 0.45 * (1 - phase));
      cairo_arc(cr, puff.x, puff.y, 4 + phase * 7, 0, 2 * M_PI);
      cairo_fill(cr);
    }
    if (index % 3 == 0) Arc(cr, c + Vec{-6, -10}, c + Vec{-14 + rng.Signed() * 6, -20}, rng, 0.8);
  } else {
    double heat =
        charging ? 0.6 + 0.4 * std::sin(t * 4 * M_PI) : 0.5 + 0.2 * std::sin(t * 2 * M_PI);
    Glow(cr, eye, 14, charging ? Rgb{0.85, 0.95, 1.0} : palette::kArcane, 0.9 * heat + 0.1);
    Ellipse(cr, eye, 6, 5, 0, charging ? Rgb{0.9, 0.97, 1.0} : Rgb{0.5, 0.85, 1.0});
    SetColor(cr, {0.02, 0.05, 0.1});
    cairo_arc(cr, eye.x - 1.5, eye.y, 2.2, 0, 2 * M_PI);
    cairo_fill(cr);
  }
  vane(0, true);
  if (!dead) {
    // Crackle: a couple of arcs always, many while charging.
    int arcs = charging ? 5 : (index % 2 == 0 ? 2 : 1);
    for (int k = 0; k < arcs; ++k) {
      double a = rng.Unit() * 2 * M_PI;
      Vec from = c + Vec{std::cos(a), std::sin(a)} * 16;
      Vec to =
          c + Vec{std::cos(a + rng.Signed()), std::sin(a + rng.Signed())} * (charging ? 40 : 28);
      Arc(cr, from, to, rng, charging ? 1.0 : 0.7);
    }
  }
}

}  // namespace

RgbaImage PaintSentinel(Clip clip, int index, int count) {
  Canvas canvas(kSize, kSize);
  DrawSentinel(canvas.cr(), clip, index, count);
  return canvas.Image();
}
