// Items and effects: the life flask, the rune, blood, the explosion.
#include <algorithm>
#include <cmath>
#include <string>

#include "mkcontent/jobs.hpp"
#include "mkcontent/rig.hpp"
#include "mkcontent/rng.hpp"

namespace {

void Glow(cairo_t* cr, Vec c, double radius, Rgb colour, double alpha) {
  cairo_pattern_t* g = cairo_pattern_create_radial(c.x, c.y, 0, c.x, c.y, radius);
  cairo_pattern_add_color_stop_rgba(g, 0, colour.r, colour.g, colour.b, alpha);
  cairo_pattern_add_color_stop_rgba(g, 1, colour.r, colour.g, colour.b, 0);
  cairo_set_source(cr, g);
  cairo_arc(cr, c.x, c.y, radius, 0, 2 * M_PI);
  cairo_fill(cr);
  cairo_pattern_destroy(g);
}

RgbaImage LifeFlask() {
  Canvas c(64, 64);
  cairo_t* cr = c.cr();
  Glow(cr, {32, 38}, 30, palette::kBloodBright, 0.5);
  // A round flask of red draught, corked.
  Ellipse(cr, {32, 40}, 17, 17, 0, {0.75, 0.06, 0.08});
  SetColor(cr, {1, 0.8, 0.8}, 0.6);
  cairo_arc(cr, 25, 33, 4, 0, 2 * M_PI);
  cairo_fill(cr);
  Plate(cr, {{27, 12}, {37, 12}, {37, 24}, {27, 24}}, {0.55, 0.6, 0.65});
  Plate(cr, {{26, 6}, {38, 6}, {37, 13}, {27, 13}}, palette::kWood);
  return c.Image();
}

RgbaImage Rune() {
  Canvas c(64, 64);
  cairo_t* cr = c.cr();
  Glow(cr, {32, 32}, 32, palette::kArcane, 0.6);
  Ellipse(cr, {32, 32}, 20, 20, 0, {0.12, 0.2, 0.35});
  // The rune: strokes of light cut into the stone.
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  for (double width : {6.0, 2.2}) {
    cairo_set_line_width(cr, width);
    SetColor(cr, width > 3 ? palette::kArcane : Rgb{0.9, 0.98, 1.0}, width > 3 ? 0.5 : 1.0);
    cairo_move_to(cr, 32, 17);
    cairo_line_to(cr, 32, 47);
    cairo_move_to(cr, 32, 22);
    cairo_line_to(cr, 23, 31);
    cairo_move_to(cr, 32, 22);
    cairo_line_to(cr, 41, 31);
    cairo_move_to(cr, 25, 42);
    cairo_line_to(cr, 39, 42);
    cairo_stroke(cr);
  }
  return c.Image();
}

RgbaImage BloodDrop() {
  Canvas c(32, 32);
  cairo_t* cr = c.cr();
  cairo_pattern_t* g = cairo_pattern_create_radial(13, 12, 1, 16, 16, 14);
  cairo_pattern_add_color_stop_rgba(g, 0, 0.95, 0.25, 0.2, 1);
  cairo_pattern_add_color_stop_rgba(g, 0.5, 0.6, 0.02, 0.03, 0.95);
  cairo_pattern_add_color_stop_rgba(g, 1, 0.35, 0.0, 0.0, 0);
  cairo_set_source(cr, g);
  cairo_paint(cr);
  cairo_pattern_destroy(g);
  return c.Image();
}

// Blood thrown off a struck guard, drifting out and falling away over five frames.
RgbaImage Spray(int frame) {
  Canvas c(128, 128);
  cairo_t* cr = c.cr();
  Rng rng(300);
  const double t = (frame + 1) / 5.0;
  for (int i = 0; i < 28; ++i) {
    double angle = -0.9 + rng.Unit() * 1.4;  // flung up and outwards, to the left
    double speed = 25 + rng.Unit() * 45;
    double x = 64 - std::cos(angle) * speed * t;
    double y = 64 + std::sin(angle) * speed * t + 40 * t * t;
    double r = (1.5 + rng.Unit() * 3.5) * (1.1 - 0.5 * t);
    SetColor(cr, Mix(palette::kBloodBright, palette::kBlood, rng.Unit()), 0.95 - 0.5 * t);
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_rotate(cr, angle);
    cairo_scale(cr, r * (1.6 - t * 0.5), r);
    cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
    cairo_restore(cr);
    cairo_fill(cr);
  }
  return c.Image();
}

// A ball of fire shaded from a hot centre to a darker rim.
void FireBlob(cairo_t* cr, Vec c, double radius, double heat, double alpha) {
  const Rgb core = Mix({0.92, 0.32, 0.06}, {1.0, 0.93, 0.55}, heat);
  const Rgb rim = Mix({0.4, 0.07, 0.03}, {1.0, 0.52, 0.1}, heat);
  cairo_pattern_t* g =
      cairo_pattern_create_radial(c.x - radius * 0.2, c.y - radius * 0.25, 0, c.x, c.y, radius);
  cairo_pattern_add_color_stop_rgba(g, 0, core.r, core.g, core.b, alpha);
  cairo_pattern_add_color_stop_rgba(g, 0.65, rim.r, rim.g, rim.b, alpha * 0.9);
  cairo_pattern_add_color_stop_rgba(g, 1, rim.r, rim.g, rim.b, 0);
  cairo_set_source(cr, g);
  cairo_arc(cr, c.x, c.y, radius, 0, 2 * M_PI);
  cairo_fill(cr);
  cairo_pattern_destroy(g);
}

// The sentinel bursting over eleven frames: a white flash and a shock ring, a fireball that
// swells to fill the picture while it cools, sparks thrown out, and dark smoke rising last.
RgbaImage Blast(int frame) {
  Canvas c(128, 128);
  cairo_t* cr = c.cr();
  const double t = frame / 10.0;
  const Vec centre{64, 68};
  Rng rng(400);
  // Smoke behind the fire, thickening as the fire dies.
  const double smoke = std::clamp((t - 0.25) / 0.5, 0.0, 1.0) * (1 - 0.6 * t);
  for (int i = 0; i < 9; ++i) {
    double a = rng.Unit() * 2 * M_PI, d = 8 + rng.Unit() * 26;
    Vec p = centre + Vec{std::cos(a) * d * (0.5 + t), std::sin(a) * d * 0.7 - 30 * t * t};
    double r = 12 + rng.Unit() * 10 + 14 * t;
    SetColor(cr, Mix({0.25, 0.2, 0.18}, {0.1, 0.09, 0.1}, t), 0.75 * smoke);
    cairo_arc(cr, p.x, p.y, r, 0, 2 * M_PI);
    cairo_fill(cr);
  }
  // The fireball: blobs pushed outwards, hot at first and cooling to red.
  const double swell = std::sqrt(std::min(1.0, t * 1.8));
  const double heat = std::clamp(1.1 - t * 1.2, 0.0, 1.0);
  const double fire = t < 0.6 ? 1.0 : std::max(0.0, 1 - (t - 0.6) / 0.4);
  Glow(cr, centre, 30 + 40 * swell, {1.0, 0.5, 0.12}, 0.7 * fire);
  for (int i = 0; i < 12; ++i) {
    double a = rng.Unit() * 2 * M_PI, d = rng.Unit() * 30 * swell;
    Vec p = centre + Vec{std::cos(a) * d, std::sin(a) * d * 0.85 - 10 * t};
    FireBlob(cr, p, (10 + rng.Unit() * 10) * (0.5 + swell), heat, 0.95 * fire);
  }
  if (t < 0.3) Glow(cr, centre, 20 + 40 * t, {1, 1, 0.92}, 1 - t / 0.3);
  // The shock ring runs out past the fire in the first frames.
  if (t > 0 && t < 0.5) {
    cairo_set_line_width(cr, 4 * (1 - t));
    SetColor(cr, {1.0, 0.9, 0.7}, 0.7 * (1 - 2 * t));
    cairo_arc(cr, centre.x, centre.y, 18 + 100 * t, 0, 2 * M_PI);
    cairo_stroke(cr);
  }
  // Sparks flung out as short streaks, falling as they go.
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  for (int i = 0; i < 18; ++i) {
    double a = rng.Unit() * 2 * M_PI, speed = 70 + rng.Unit() * 50;
    Vec dir{std::cos(a), std::sin(a)};
    Vec head = centre + dir * (speed * std::pow(t, 0.7)) + Vec{0, 25 * t * t};
    Vec tail = head - dir * (6 + 8 * (1 - t));
    cairo_set_line_width(cr, 2.2 * (1 - 0.5 * t));
    SetColor(cr, Mix({1.0, 0.95, 0.6}, {1.0, 0.45, 0.1}, t), t > 0 ? 1 - t : 0);
    cairo_move_to(cr, tail.x, tail.y);
    cairo_line_to(cr, head.x, head.y);
    cairo_stroke(cr);
  }
  return c.Image();
}

}  // namespace

void AddEffectJobs(JobList& jobs) {
  jobs.push_back({"items", [](ContentWriter& w) {
                    w.WriteDxt("data\\items\\life.dxt", LifeFlask(), DxtKind::Smooth);
                    w.WriteDxt("data\\items\\MFL.dxt", Rune(), DxtKind::Smooth);
                    w.WriteTga("data\\fx\\blood_particle.tga", BloodDrop());
                  }});
  jobs.push_back({"blood spray",
                  [](ContentWriter& w) {
                    for (int f = 0; f < 5; ++f) {
                      w.WriteDxt("DATA\\fx\\bloodSpray\\" + std::to_string(f) + ".dxt", Spray(f),
                                 DxtKind::Smooth);
                    }
                  },
                  3});
  jobs.push_back({"explosion",
                  [](ContentWriter& w) {
                    for (int f = 0; f < 11; ++f) {
                      w.WriteDxt("DATA\\fx\\blow1\\" + std::to_string(f) + ".dxt", Blast(f),
                                 DxtKind::Smooth);
                    }
                  },
                  6});
}
