// Stone, panels, torches and lettering for the screens.
#include "mkcontent/ui_art.hpp"

#include <cmath>

#include "mkcontent/character_art.hpp"
#include "mkcontent/rng.hpp"

void StoneWall(cairo_t* cr, int width, int height, unsigned seed) {
  Mottle(cr, width, height, palette::kStoneDark, 0.35, 14, seed);
  Rng rng(seed + 1);
  // Courses of ashlar blocks, each a little different in tone.
  const double rowH = 38;
  for (int row = 0; row * rowH < height; ++row) {
    double y = row * rowH;
    double offset = (row % 2) * 45.0;
    for (double x = -offset; x < width; x += 90) {
      double w = 90, tone = 0.85 + 0.3 * rng.Unit();
      SetColor(cr, Shade(palette::kStone, tone * 0.6), 0.35);
      cairo_rectangle(cr, x + 2, y + 2, w - 4, rowH - 4);
      cairo_fill(cr);
      SetColor(cr, {0, 0, 0}, 0.55);
      cairo_set_line_width(cr, 2.5);
      cairo_rectangle(cr, x, y, w, rowH);
      cairo_stroke(cr);
      SetColor(cr, Shade(palette::kStoneLight, 0.9), 0.18);
      cairo_set_line_width(cr, 1.2);
      cairo_move_to(cr, x + 2, y + rowH - 2);
      cairo_line_to(cr, x + 2, y + 2);
      cairo_line_to(cr, x + w - 2, y + 2);
      cairo_stroke(cr);
    }
  }
}

void Panel(cairo_t* cr, double x, double y, double w, double h, double alpha) {
  RoundedRect(cr, x, y, w, h, 10);
  cairo_pattern_t* g = cairo_pattern_create_linear(0, y, 0, y + h);
  cairo_pattern_add_color_stop_rgba(g, 0, 0.10, 0.09, 0.10, alpha);
  cairo_pattern_add_color_stop_rgba(g, 1, 0.04, 0.035, 0.04, alpha);
  cairo_set_source(cr, g);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(g);
  cairo_set_line_width(cr, 3);
  SetColor(cr, Shade(palette::kGold, 0.55));
  cairo_stroke(cr);
  RoundedRect(cr, x + 5, y + 5, w - 10, h - 10, 7);
  cairo_set_line_width(cr, 1);
  SetColor(cr, Shade(palette::kGold, 0.35), 0.8);
  cairo_stroke(cr);
}

void Torch(cairo_t* cr, double x, double y, double s, double flicker) {
  cairo_pattern_t* glow = cairo_pattern_create_radial(x, y - 18 * s, 0, x, y - 18 * s, 110 * s);
  cairo_pattern_add_color_stop_rgba(glow, 0, 1.0, 0.6, 0.2, 0.45 + 0.1 * flicker);
  cairo_pattern_add_color_stop_rgba(glow, 1, 1.0, 0.4, 0.1, 0);
  cairo_set_source(cr, glow);
  cairo_arc(cr, x, y - 18 * s, 110 * s, 0, 2 * M_PI);
  cairo_fill(cr);
  cairo_pattern_destroy(glow);
  // Bracket and shaft.
  SetColor(cr, {0.08, 0.07, 0.07});
  cairo_rectangle(cr, x - 9 * s, y + 14 * s, 18 * s, 4 * s);
  cairo_fill(cr);
  SetColor(cr, palette::kWood);
  cairo_move_to(cr, x - 3 * s, y + 26 * s);
  cairo_line_to(cr, x + 3 * s, y + 26 * s);
  cairo_line_to(cr, x + 5 * s, y - 4 * s);
  cairo_line_to(cr, x - 5 * s, y - 4 * s);
  cairo_close_path(cr);
  cairo_fill(cr);
  // Flame: three nested tongues.
  const Rgb tones[3] = {{0.85, 0.25, 0.05}, {1.0, 0.6, 0.15}, {1.0, 0.92, 0.6}};
  for (int i = 0; i < 3; ++i) {
    double k = 1.0 - i * 0.3;
    double h = (30 + 6 * flicker) * s * k;
    SetColor(cr, tones[i], 0.95);
    cairo_move_to(cr, x - 8 * s * k, y - 4 * s);
    cairo_curve_to(cr, x - 9 * s * k, y - h * 0.5, x - 2 * s, y - h * 0.7, x + flicker * 2 * s,
                   y - 4 * s - h);
    cairo_curve_to(cr, x + 3 * s, y - h * 0.6, x + 9 * s * k, y - h * 0.4, x + 8 * s * k,
                   y - 4 * s);
    cairo_close_path(cr);
    cairo_fill(cr);
  }
}

void TitleLettering(cairo_t* cr, double cx, double baseline, double size) {
  SetFont(cr, Font::SerifBold, size);
  const std::string title = "MORVA";
  // Spaced capitals: a glow of ember behind, carved bronze in front.
  double spacing = size * 0.12;
  double total = 0;
  for (char c : title) total += TextWidth(cr, std::string(1, c)) + spacing;
  total -= spacing;
  cairo_pattern_t* glow = cairo_pattern_create_radial(cx, baseline - size * 0.35, 0, cx,
                                                      baseline - size * 0.35, total * 0.7);
  cairo_pattern_add_color_stop_rgba(glow, 0, 0.9, 0.35, 0.1, 0.35);
  cairo_pattern_add_color_stop_rgba(glow, 1, 0.9, 0.35, 0.1, 0.0);
  cairo_set_source(cr, glow);
  cairo_paint(cr);
  cairo_pattern_destroy(glow);
  double x = cx - total / 2;
  for (char c : title) {
    std::string s(1, c);
    cairo_move_to(cr, x, baseline);
    cairo_text_path(cr, s.c_str());
    cairo_pattern_t* g = cairo_pattern_create_linear(0, baseline - size * 0.75, 0, baseline);
    cairo_pattern_add_color_stop_rgb(g, 0, 0.98, 0.86, 0.55);
    cairo_pattern_add_color_stop_rgb(g, 0.5, 0.80, 0.56, 0.24);
    cairo_pattern_add_color_stop_rgb(g, 1, 0.45, 0.25, 0.10);
    cairo_set_source(cr, g);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(g);
    cairo_set_line_width(cr, std::max(1.0, size / 40));
    SetColor(cr, {0.1, 0.05, 0.02});
    cairo_stroke(cr);
    x += TextWidth(cr, s) + spacing;
  }
}

void PaintFrameAt(cairo_t* cr, int kind, int frame, double x, double y, double scale,
                  bool mirrored) {
  RgbaImage image = PaintCharacterFrame(kind, frame);
  cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, image.width, image.height);
  unsigned char* data = cairo_image_surface_get_data(s);
  int stride = cairo_image_surface_get_stride(s);
  for (int row = 0; row < image.height; ++row) {
    const uint8_t* src = image.Pixel(0, image.height - 1 - row);
    uint32_t* dst = reinterpret_cast<uint32_t*>(data + static_cast<std::size_t>(row) * stride);
    for (int col = 0; col < image.width; ++col) {
      uint32_t a = src[col * 4 + 3];
      dst[col] = a << 24 | (src[col * 4] * a / 255) << 16 | (src[col * 4 + 1] * a / 255) << 8 |
                 (src[col * 4 + 2] * a / 255);
    }
  }
  cairo_surface_mark_dirty(s);
  cairo_save(cr);
  cairo_translate(cr, x, y);
  cairo_scale(cr, mirrored ? -scale : scale, scale);
  if (mirrored) cairo_translate(cr, -image.width, 0);
  cairo_set_source_surface(cr, s, 0, 0);
  cairo_paint(cr);
  cairo_restore(cr);
  cairo_surface_destroy(s);
}
