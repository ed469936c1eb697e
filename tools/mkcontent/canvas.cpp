// Cairo surfaces, DejaVu fonts through FreeType, and drawing helpers.
#include "mkcontent/canvas.hpp"

#include <cairo-ft.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <array>
#include <cmath>
#include <stdexcept>

#include "mkcontent/rng.hpp"

Rgb Mix(Rgb a, Rgb b, double t) {
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}
Rgb Shade(Rgb c, double f) {
  return {std::min(1.0, c.r * f), std::min(1.0, c.g * f), std::min(1.0, c.b * f)};
}

const char* FontFile(Font font) {
  switch (font) {
    case Font::Serif:
      return "/usr/share/fonts/truetype/dejavu/DejaVuSerif.ttf";
    case Font::SerifBold:
      return "/usr/share/fonts/truetype/dejavu/DejaVuSerif-Bold.ttf";
    case Font::Sans:
      return "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
    case Font::SansBold:
      return "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";
    case Font::Mono:
      return "/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf";
    case Font::MonoBold:
      return "/usr/share/fonts/truetype/dejavu/DejaVuSansMono-Bold.ttf";
  }
  return "";
}

namespace {

// FreeType faces are not shared between threads: each worker opens its own.
struct ThreadFonts {
  FT_Library library = nullptr;
  std::array<FT_Face, 6> faces{};
  std::array<cairo_font_face_t*, 6> cairoFaces{};

  ~ThreadFonts() {
    for (auto*& f : cairoFaces) {
      if (f) cairo_font_face_destroy(f);
    }
    // The cairo faces may outlive this in cairo's cache; the FT faces are left to process exit.
  }

  cairo_font_face_t* Get(Font font) {
    int i = static_cast<int>(font);
    if (cairoFaces[i]) return cairoFaces[i];
    if (!library && FT_Init_FreeType(&library) != 0) throw std::runtime_error("FreeType");
    if (FT_New_Face(library, FontFile(font), 0, &faces[i]) != 0) {
      throw std::runtime_error(std::string("cannot open the font ") + FontFile(font) +
                               " (fonts-dejavu-core)");
    }
    cairoFaces[i] = cairo_ft_font_face_create_for_ft_face(faces[i], 0);
    return cairoFaces[i];
  }
};

thread_local ThreadFonts threadFonts;

}  // namespace

Canvas::Canvas(int width, int height) : width_(width), height_(height) {
  surface_ = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
  cr_ = cairo_create(surface_);
  cairo_set_antialias(cr_, CAIRO_ANTIALIAS_GOOD);
}

Canvas::~Canvas() {
  cairo_destroy(cr_);
  cairo_surface_destroy(surface_);
}

RgbaImage Canvas::Image() {
  cairo_surface_flush(surface_);
  RgbaImage image;
  image.width = width_;
  image.height = height_;
  image.rgba.resize(static_cast<std::size_t>(width_) * height_ * 4);
  const unsigned char* data = cairo_image_surface_get_data(surface_);
  int stride = cairo_image_surface_get_stride(surface_);
  for (int y = 0; y < height_; ++y) {
    const uint32_t* src =
        reinterpret_cast<const uint32_t*>(data + static_cast<std::size_t>(y) * stride);
    // Cairo's first row is the top; ours is the bottom.
    uint8_t* dst = image.Pixel(0, height_ - 1 - y);
    for (int x = 0; x < width_; ++x) {
      uint32_t p = src[x];
      uint32_t a = p >> 24;
      uint32_t r = (p >> 16) & 255, g = (p >> 8) & 255, b = p & 255;
      if (a != 0 && a != 255) {
        r = std::min<uint32_t>(255, (r * 255 + a / 2) / a);
        g = std::min<uint32_t>(255, (g * 255 + a / 2) / a);
        b = std::min<uint32_t>(255, (b * 255 + a / 2) / a);
      }
      dst[x * 4] = static_cast<uint8_t>(r);
      dst[x * 4 + 1] = static_cast<uint8_t>(g);
      dst[x * 4 + 2] = static_cast<uint8_t>(b);
      dst[x * 4 + 3] = static_cast<uint8_t>(a);
    }
  }
  return image;
}

void SetColor(cairo_t* cr, Rgb c, double alpha) {
  cairo_set_source_rgba(cr, c.r, c.g, c.b, alpha);
}

void SetFont(cairo_t* cr, Font font, double size) {
  cairo_set_font_face(cr, threadFonts.Get(font));
  cairo_set_font_size(cr, size);
  cairo_font_options_t* options = cairo_font_options_create();
  cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
  cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
  cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
  cairo_set_font_options(cr, options);
  cairo_font_options_destroy(options);
}

double TextWidth(cairo_t* cr, const std::string& utf8) {
  cairo_text_extents_t e;
  cairo_text_extents(cr, utf8.c_str(), &e);
  return e.x_advance;
}

void DrawTextAt(cairo_t* cr, double x, double y, const std::string& utf8) {
  cairo_move_to(cr, x, y);
  cairo_show_text(cr, utf8.c_str());
}

void DrawTextCentred(cairo_t* cr, double x, double y, const std::string& utf8) {
  DrawTextAt(cr, x - TextWidth(cr, utf8) / 2, y, utf8);
}

void DrawEngraved(cairo_t* cr, double x, double y, const std::string& utf8, Rgb face,
                  bool centred) {
  double left = centred ? x - TextWidth(cr, utf8) / 2 : x;
  SetColor(cr, {0, 0, 0}, 0.75);
  DrawTextAt(cr, left + 2, y + 2, utf8);
  SetColor(cr, Shade(face, 1.5), 0.5);
  DrawTextAt(cr, left - 1, y - 1, utf8);
  SetColor(cr, face);
  DrawTextAt(cr, left, y, utf8);
}

void RoundedRect(cairo_t* cr, double x, double y, double w, double h, double r) {
  cairo_new_sub_path(cr);
  cairo_arc(cr, x + w - r, y + r, r, -M_PI / 2, 0);
  cairo_arc(cr, x + w - r, y + h - r, r, 0, M_PI / 2);
  cairo_arc(cr, x + r, y + h - r, r, M_PI / 2, M_PI);
  cairo_arc(cr, x + r, y + r, r, M_PI, 3 * M_PI / 2);
  cairo_close_path(cr);
}

void Mottle(cairo_t* cr, int width, int height, Rgb base, double strength, int cells,
            unsigned seed) {
  Rng rng(seed);
  SetColor(cr, base);
  cairo_paint(cr);
  // Overlapping soft blobs of lighter and darker tone: a cheap, smooth stone texture.
  int count = cells * cells;
  for (int i = 0; i < count; ++i) {
    double x = rng.Unit() * width, y = rng.Unit() * height;
    double r = (0.5 + rng.Unit()) * std::max(width, height) / cells;
    double f = 1.0 + strength * rng.Signed();
    cairo_pattern_t* p = cairo_pattern_create_radial(x, y, 0, x, y, r);
    Rgb c = Shade(base, f);
    cairo_pattern_add_color_stop_rgba(p, 0, c.r, c.g, c.b, 0.5);
    cairo_pattern_add_color_stop_rgba(p, 1, c.r, c.g, c.b, 0.0);
    cairo_set_source(cr, p);
    cairo_arc(cr, x, y, r, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
  }
}

void Vignette(cairo_t* cr, int width, int height, double strength) {
  double cx = width / 2.0, cy = height / 2.0;
  double r = std::hypot(cx, cy);
  cairo_pattern_t* p = cairo_pattern_create_radial(cx, cy, r * 0.45, cx, cy, r);
  cairo_pattern_add_color_stop_rgba(p, 0, 0, 0, 0, 0);
  cairo_pattern_add_color_stop_rgba(p, 1, 0, 0, 0, strength);
  cairo_set_source(cr, p);
  cairo_paint(cr);
  cairo_pattern_destroy(p);
}
