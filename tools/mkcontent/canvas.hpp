// Vector drawing on a cairo surface, the fonts the pictures use, and the shared palette.
#pragma once

#include <cairo.h>

#include <string>

#include "formats/rgba_image.hpp"

struct Rgb {
  double r, g, b;
};

// The palette: cold stone, ember light, dried blood, tarnished steel.
namespace palette {
constexpr Rgb kNight{0.035, 0.04, 0.06};
constexpr Rgb kStoneDark{0.13, 0.13, 0.16};
constexpr Rgb kStone{0.27, 0.26, 0.29};
constexpr Rgb kStoneLight{0.44, 0.42, 0.45};
constexpr Rgb kMoss{0.20, 0.27, 0.16};
constexpr Rgb kEmber{0.98, 0.55, 0.16};
constexpr Rgb kGold{0.86, 0.68, 0.32};
constexpr Rgb kParchment{0.84, 0.78, 0.64};
constexpr Rgb kBlood{0.55, 0.03, 0.04};
constexpr Rgb kBloodBright{0.80, 0.07, 0.06};
constexpr Rgb kSteel{0.62, 0.65, 0.70};
constexpr Rgb kSteelDark{0.28, 0.30, 0.35};
constexpr Rgb kLeather{0.33, 0.21, 0.13};
constexpr Rgb kCloth{0.42, 0.10, 0.10};
constexpr Rgb kSkin{0.80, 0.62, 0.50};
constexpr Rgb kArcane{0.35, 0.75, 1.0};
constexpr Rgb kWood{0.36, 0.24, 0.14};
}  // namespace palette

Rgb Mix(Rgb a, Rgb b, double t);
Rgb Shade(Rgb c, double factor);

enum class Font { Serif, SerifBold, Sans, SansBold, Mono, MonoBold };

// The DejaVu file of a face (fonts-dejavu-core).
const char* FontFile(Font font);

class Canvas {
 public:
  Canvas(int width, int height);
  ~Canvas();
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  cairo_t* cr() { return cr_; }
  int Width() const { return width_; }
  int Height() const { return height_; }

  // Straight alpha, bottom row first, as the texture loaders hand pictures on.
  RgbaImage Image();

 private:
  int width_;
  int height_;
  cairo_surface_t* surface_;
  cairo_t* cr_;
};

void SetColor(cairo_t* cr, Rgb c, double alpha = 1.0);
void SetFont(cairo_t* cr, Font font, double size);
// Width of a text in the current font.
double TextWidth(cairo_t* cr, const std::string& utf8);
// Text with its baseline at y: left-aligned at x, or centred on x.
void DrawTextAt(cairo_t* cr, double x, double y, const std::string& utf8);
void DrawTextCentred(cairo_t* cr, double x, double y, const std::string& utf8);
// Carved lettering: a dark drop shadow, a light edge and the face colour.
void DrawEngraved(cairo_t* cr, double x, double y, const std::string& utf8, Rgb face, bool centred);
void RoundedRect(cairo_t* cr, double x, double y, double w, double h, double r);
// Fills the whole surface with mottled noise of a colour; deterministic for a seed.
void Mottle(cairo_t* cr, int width, int height, Rgb base, double strength, int cells,
            unsigned seed);
// A dark edge around the picture.
void Vignette(cairo_t* cr, int width, int height, double strength);
