// The level: its map compiled from the source, the level picture drawn to match the grid, the
// parallax sky and the lightning flash.
#include <cmath>
#include <fstream>
#include <memory>
#include <sstream>
#include <stdexcept>

#include "content/content_manifest.hpp"
#include "editing/level_source.hpp"
#include "mkcontent/jobs.hpp"
#include "mkcontent/rng.hpp"
#include "mkcontent/ui_art.hpp"

namespace {

namespace g = level_glyphs;

uint32_t Hash(int x, int y, uint32_t seed) {
  uint32_t h = static_cast<uint32_t>(x) * 374761393u + static_cast<uint32_t>(y) * 668265263u +
               seed * 2246822519u;
  h = (h ^ (h >> 13)) * 1274126177u;
  return h ^ (h >> 16);
}
double Hash01(int x, int y, uint32_t seed) {
  return (Hash(x, y, seed) & 0xFFFF) / 65535.0;
}

bool Solid(char c) {
  return c == g::kMasonry || c == g::kRock;
}

// One screen of the level picture; empty space stays clear so the sky shows through.
RgbaImage LevelScreen(const LevelSource& src, int screen) {
  const int sx = screen % src.width, sy = screen / src.width;
  Canvas canvas(kScreenWidthPx, kScreenHeightPx);
  cairo_t* cr = canvas.cr();
  const int cell = src.cellPx;
  const int originX = sx * kScreenWidthPx, originY = sy * kScreenHeightPx;
  cairo_translate(cr, -originX, -originY);
  const int c0 = originX / cell, r0 = originY / cell;
  const int c1 = c0 + kScreenWidthPx / cell, r1 = r0 + kScreenHeightPx / cell;

  // Solid ground: masonry in courses of blocks, raw rock in lumps; both in world coordinates so
  // the screens join without a seam.
  for (int r = r0; r < r1; ++r) {
    for (int c = c0; c < c1; ++c) {
      char glyph = src.Glyph(c, r);
      if (!Solid(glyph)) continue;
      double x = c * cell, y = r * cell;
      // Deeper rock is darker: light comes from the open air above.
      int depth = 0;
      while (depth < 6 && Solid(src.Glyph(c, r - depth - 1))) ++depth;
      double shade = 1.0 - depth * 0.09;
      if (glyph == g::kMasonry) {
        int brick = (c * cell + (r % 2) * cell) / (2 * cell);
        double tone = 0.8 + 0.35 * Hash01(brick, r, 1);
        SetColor(cr, Shade(palette::kStone, tone * shade));
        cairo_rectangle(cr, x, y, cell, cell);
        cairo_fill(cr);
        SetColor(cr, {0, 0, 0}, 0.45);
        cairo_set_line_width(cr, 1.5);
        cairo_move_to(cr, x, y + 0.75);
        cairo_line_to(cr, x + cell, y + 0.75);
        cairo_stroke(cr);
        if ((c * cell + (r % 2) * cell) % (2 * cell) == 0) {
          cairo_move_to(cr, x + 0.75, y);
          cairo_line_to(cr, x + 0.75, y + cell);
          cairo_stroke(cr);
        }
      } else {
        double tone = 0.75 + 0.3 * Hash01(c / 2, r / 2, 2);
        SetColor(cr, Shade({0.30, 0.26, 0.22}, tone * shade));
        cairo_rectangle(cr, x, y, cell, cell);
        cairo_fill(cr);
        SetColor(cr, {0, 0, 0}, 0.25);
        cairo_arc(cr, x + cell * Hash01(c, r, 3), y + cell * Hash01(c, r, 4), cell * 0.25, 0,
                  2 * M_PI);
        cairo_fill(cr);
      }
      // Edges that face open air.
      if (!Solid(src.Glyph(c, r - 1))) {
        SetColor(cr, Shade(palette::kStoneLight, 1.2));
        cairo_rectangle(cr, x, y, cell, 3);
        cairo_fill(cr);
        if (glyph == g::kRock || Hash01(c, r, 5) < 0.3) {
          SetColor(cr, palette::kMoss, 0.9);
          for (int k = 0; k < 3; ++k) {
            double mx = x + cell * Hash01(c, r, 6 + k);
            cairo_arc(cr, mx, y + 1, 2 + 2 * Hash01(c, r, 9 + k), M_PI, 2 * M_PI);
            cairo_fill(cr);
          }
        }
      }
      if (!Solid(src.Glyph(c - 1, r))) {
        SetColor(cr, Shade(palette::kStoneLight, 0.9), 0.8);
        cairo_rectangle(cr, x, y, 2, cell);
        cairo_fill(cr);
      }
      if (!Solid(src.Glyph(c + 1, r))) {
        SetColor(cr, {0, 0, 0}, 0.5);
        cairo_rectangle(cr, x + cell - 3, y, 3, cell);
        cairo_fill(cr);
      }
      if (!Solid(src.Glyph(c, r + 1))) {
        SetColor(cr, {0, 0, 0}, 0.55);
        cairo_rectangle(cr, x, y + cell - 4, cell, 4);
        cairo_fill(cr);
      }
    }
  }

  // Ledges: plank walkways on iron brackets.
  for (int r = r0; r < r1; ++r) {
    for (int c = c0; c < c1; ++c) {
      if (src.Glyph(c, r) != g::kLedge) continue;
      double x = c * cell, y = r * cell;
      SetColor(cr, Shade(palette::kWood, 0.85 + 0.3 * Hash01(c, r, 7)));
      cairo_rectangle(cr, x, y, cell, 8);
      cairo_fill(cr);
      SetColor(cr, {0.08, 0.05, 0.03});
      cairo_set_line_width(cr, 1.2);
      cairo_rectangle(cr, x + 0.6, y + 0.6, cell - 1.2, 7);
      cairo_stroke(cr);
      SetColor(cr, Shade(palette::kWood, 1.5), 0.6);
      cairo_rectangle(cr, x + 1, y + 1, cell - 2, 1.5);
      cairo_fill(cr);
      bool endLeft = src.Glyph(c - 1, r) != g::kLedge, endRight = src.Glyph(c + 1, r) != g::kLedge;
      if (endLeft || endRight || c % 3 == 0) {
        // A bracket below the planks.
        SetColor(cr, {0.12, 0.12, 0.14});
        double bx = x + (endRight ? cell - 5 : 3);
        cairo_move_to(cr, bx, y + 8);
        cairo_line_to(cr, bx + 2, y + 8);
        cairo_line_to(cr, bx + 2, y + 16);
        cairo_close_path(cr);
        cairo_fill(cr);
      }
    }
  }

  // Decorations in open cells.
  for (int r = r0 - 2; r < r1 + 2; ++r) {
    for (int c = c0 - 6; c < c1 + 6; ++c) {
      char glyph = src.Glyph(c, r);
      double x = c * cell + cell / 2.0, y = r * cell + cell / 2.0;
      if (glyph == g::kTorch) {
        Torch(cr, x, y, 0.7, Hash01(c, r, 8) - 0.5);
      } else if (glyph == g::kChain) {
        SetColor(cr, {0.2, 0.2, 0.23});
        cairo_set_line_width(cr, 2);
        for (double ly = r * cell; ly < (r + 1) * cell; ly += 8) {
          cairo_save(cr);
          cairo_translate(cr, x, ly + 4);
          cairo_scale(cr, 3, 4.5);
          cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
          cairo_restore(cr);
          cairo_stroke(cr);
        }
      } else if (glyph == g::kBanner && src.Glyph(c, r - 1) != g::kBanner) {
        double top = r * cell - 6;
        SetColor(cr, {0.1, 0.08, 0.06});
        cairo_rectangle(cr, x - 14, top - 2, 28, 3);
        cairo_fill(cr);
        cairo_move_to(cr, x - 11, top);
        cairo_line_to(cr, x + 11, top);
        cairo_line_to(cr, x + 11, top + 40);
        cairo_line_to(cr, x, top + 32);
        cairo_line_to(cr, x - 11, top + 40);
        cairo_close_path(cr);
        SetColor(cr, palette::kCloth);
        cairo_fill(cr);
        SetColor(cr, palette::kGold, 0.9);
        cairo_move_to(cr, x, top + 8);
        cairo_line_to(cr, x + 5, top + 16);
        cairo_line_to(cr, x, top + 24);
        cairo_line_to(cr, x - 5, top + 16);
        cairo_close_path(cr);
        cairo_fill(cr);
      } else if (glyph == g::kWindow && src.Glyph(c, r - 1) != g::kWindow) {
        double top = r * cell;
        cairo_pattern_t* glow = cairo_pattern_create_radial(x, top + 14, 2, x, top + 14, 40);
        cairo_pattern_add_color_stop_rgba(glow, 0, 0.6, 0.7, 0.95, 0.25);
        cairo_pattern_add_color_stop_rgba(glow, 1, 0.6, 0.7, 0.95, 0);
        cairo_set_source(cr, glow);
        cairo_arc(cr, x, top + 14, 40, 0, 2 * M_PI);
        cairo_fill(cr);
        cairo_pattern_destroy(glow);
        SetColor(cr, {0.05, 0.05, 0.08}, 0.9);
        cairo_move_to(cr, x - 8, top + 34);
        cairo_line_to(cr, x - 8, top + 8);
        cairo_arc(cr, x, top + 8, 8, M_PI, 2 * M_PI);
        cairo_line_to(cr, x + 8, top + 34);
        cairo_close_path(cr);
        cairo_fill(cr);
        SetColor(cr, {0.55, 0.62, 0.85}, 0.6);
        cairo_rectangle(cr, x - 1, top + 4, 2, 30);
        cairo_fill(cr);
      }
    }
  }
  return canvas.Image();
}

// The far sky: only its middle band is ever seen, so the moon and the hills sit there.
RgbaImage Sky() {
  const int w = 1024, h = 512;
  Canvas canvas(w, h);
  cairo_t* cr = canvas.cr();
  cairo_pattern_t* sky = cairo_pattern_create_linear(0, 0, 0, h);
  cairo_pattern_add_color_stop_rgb(sky, 0, 0.01, 0.01, 0.03);
  cairo_pattern_add_color_stop_rgb(sky, 0.45, 0.06, 0.06, 0.13);
  cairo_pattern_add_color_stop_rgb(sky, 0.7, 0.16, 0.11, 0.18);
  cairo_pattern_add_color_stop_rgb(sky, 1, 0.05, 0.04, 0.06);
  cairo_set_source(cr, sky);
  cairo_paint(cr);
  cairo_pattern_destroy(sky);
  Rng rng(101);
  for (int i = 0; i < 400; ++i) {
    SetColor(cr, {0.85, 0.88, 1.0}, 0.15 + 0.5 * rng.Unit());
    cairo_arc(cr, rng.Unit() * w, rng.Unit() * h * 0.62, 0.4 + 0.6 * rng.Unit(), 0, 2 * M_PI);
    cairo_fill(cr);
  }
  const double mx = 0.33 * w, my = 0.45 * h;
  cairo_pattern_t* halo = cairo_pattern_create_radial(mx, my, 10, mx, my, 90);
  cairo_pattern_add_color_stop_rgba(halo, 0, 0.8, 0.82, 0.9, 0.4);
  cairo_pattern_add_color_stop_rgba(halo, 1, 0.8, 0.82, 0.9, 0);
  cairo_set_source(cr, halo);
  cairo_paint(cr);
  cairo_pattern_destroy(halo);
  SetColor(cr, {0.9, 0.9, 0.84});
  cairo_arc(cr, mx, my, 16, 0, 2 * M_PI);
  cairo_fill(cr);
  // Clouds drifting across the moon.
  for (int i = 0; i < 26; ++i) {
    double cx = rng.Unit() * w, cy = h * (0.35 + 0.2 * rng.Unit());
    SetColor(cr, {0.12, 0.11, 0.17}, 0.35);
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_scale(cr, 60 + 60 * rng.Unit(), 6 + 5 * rng.Unit());
    cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
    cairo_restore(cr);
    cairo_fill(cr);
  }
  // Mountains, then a far line of ruined towers.
  for (int layer = 0; layer < 2; ++layer) {
    SetColor(cr, layer == 0 ? Rgb{0.09, 0.08, 0.12} : Rgb{0.05, 0.045, 0.07});
    cairo_move_to(cr, 0, h);
    for (int x = 0; x <= w; x += 8) {
      double y = h * (0.62 + layer * 0.06) - 30 * std::sin(x * 0.011 + layer * 3) -
                 18 * std::sin(x * 0.029 + 1.3 * layer) - 6 * rng.Unit();
      cairo_line_to(cr, x, y);
    }
    cairo_line_to(cr, w, h);
    cairo_close_path(cr);
    cairo_fill(cr);
  }
  SetColor(cr, {0.03, 0.03, 0.045});
  for (int i = 0; i < 14; ++i) {
    double x = rng.Unit() * w, tw = 8 + 10 * rng.Unit(), th = 20 + 40 * rng.Unit();
    double base = h * 0.70;
    cairo_rectangle(cr, x, base - th, tw, th + 40);
    cairo_fill(cr);
    cairo_rectangle(cr, x - 2, base - th - 4, tw + 4, 4);
    cairo_fill(cr);
  }
  return canvas.Image();
}

// The flash behind the clouds: a cold glow with forked bolts, mostly transparent.
RgbaImage SkyFlash() {
  const int w = 512, h = 256;
  Canvas canvas(w, h);
  cairo_t* cr = canvas.cr();
  cairo_pattern_t* glow =
      cairo_pattern_create_radial(w * 0.36, h * 0.4, 10, w * 0.36, h * 0.4, w * 0.45);
  cairo_pattern_add_color_stop_rgba(glow, 0, 0.75, 0.82, 1.0, 0.7);
  cairo_pattern_add_color_stop_rgba(glow, 1, 0.55, 0.6, 0.9, 0);
  cairo_set_source(cr, glow);
  cairo_paint(cr);
  cairo_pattern_destroy(glow);
  Rng rng(202);
  for (int bolt = 0; bolt < 3; ++bolt) {
    double x = w * (0.2 + 0.12 * bolt + 0.05 * rng.Unit()), y = h * 0.2;
    std::vector<Vec> pts{{x, y}};
    while (y < h * 0.68) {
      x += rng.Signed() * 9;
      y += 5 + rng.Unit() * 7;
      pts.push_back({x, y});
    }
    for (double width : {5.0, 1.6}) {
      cairo_new_path(cr);
      for (const Vec& p : pts) cairo_line_to(cr, p.x, p.y);
      cairo_set_line_width(cr, width);
      SetColor(cr, width > 2 ? Rgb{0.6, 0.7, 1.0} : Rgb{1, 1, 1}, width > 2 ? 0.35 : 0.95);
      cairo_stroke(cr);
    }
  }
  return canvas.Image();
}

std::shared_ptr<LevelSource> ReadSource(const std::filesystem::path& path) {
  std::ifstream in(path);
  if (!in) throw std::runtime_error("cannot read the level source " + path.string());
  std::stringstream text;
  text << in.rdbuf();
  LevelSourceParse parse = ParseLevelSource(text.str());
  if (!parse.source) throw std::runtime_error(path.string() + ": " + parse.error);
  return std::make_shared<LevelSource>(*parse.source);
}

}  // namespace

void AddLevelOwnJobs(JobList& jobs, const std::filesystem::path& levelSource) {
  std::shared_ptr<LevelSource> src = ReadSource(levelSource);
  jobs.push_back({"level map", [src](ContentWriter& w) {
                    LevelCompile compiled = CompileLevel(*src);
                    if (!compiled.map) throw std::runtime_error(compiled.error);
                    w.Write(kLevelMapPath, EncodeLevelMap(*compiled.map));
                  }});
  for (int screen = 0; screen < src->width * src->height; ++screen) {
    jobs.push_back({"level picture",
                    [src, screen](ContentWriter& w) {
                      w.WriteDxt(std::string(kLevelFolder) + std::to_string(screen) + ".dxt",
                                 LevelScreen(*src, screen), DxtKind::Smooth);
                    },
                    30});
  }
}

void AddLevelJobs(JobList& jobs, const std::filesystem::path& levelSource) {
  AddLevelOwnJobs(jobs, levelSource);
  jobs.push_back(
      {"sky",
       [](ContentWriter& w) { w.WriteDxt("DATA\\levels\\LEVEL1\\bg.dx", Sky(), DxtKind::Opaque); },
       15});
  jobs.push_back(
      {"sky flash",
       [](ContentWriter& w) { w.WriteDxt("data\\fx\\lightning.dxt", SkyFlash(), DxtKind::Smooth); },
       5});
}
