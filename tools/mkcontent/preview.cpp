// Contact sheets and PNG views of content files, decoded the way the game decodes them.
#include "mkcontent/preview.hpp"

#include <squish.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

#include "formats/jpeg.hpp"
#include "formats/targa.hpp"
#include "formats/texture_container.hpp"
#include "mkcontent/canvas.hpp"
#include "mkcontent/character_art.hpp"

namespace {

// Paints a bottom-row-first picture onto a cairo surface at (x, y), over a checker pattern.
void Blit(cairo_t* cr, const RgbaImage& image, double x, double y) {
  cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, image.width, image.height);
  unsigned char* data = cairo_image_surface_get_data(s);
  int stride = cairo_image_surface_get_stride(s);
  for (int row = 0; row < image.height; ++row) {
    const uint8_t* src = image.Pixel(0, image.height - 1 - row);
    uint32_t* dst = reinterpret_cast<uint32_t*>(data + static_cast<std::size_t>(row) * stride);
    for (int col = 0; col < image.width; ++col) {
      uint32_t a = src[col * 4 + 3];
      uint32_t r = src[col * 4] * a / 255, g = src[col * 4 + 1] * a / 255,
               b = src[col * 4 + 2] * a / 255;
      dst[col] = a << 24 | r << 16 | g << 8 | b;
    }
  }
  cairo_surface_mark_dirty(s);
  cairo_set_source_surface(cr, s, x, y);
  cairo_paint(cr);
  cairo_surface_destroy(s);
}

void Checker(cairo_t* cr, int w, int h) {
  for (int y = 0; y < h; y += 16) {
    for (int x = 0; x < w; x += 16) {
      double v = ((x / 16 + y / 16) % 2) ? 0.42 : 0.36;
      cairo_set_source_rgb(cr, v, v, v + 0.03);
      cairo_rectangle(cr, x, y, 16, 16);
      cairo_fill(cr);
    }
  }
}

}  // namespace

int WriteSheet(int kind, const std::filesystem::path& png) {
  const CharacterDesign& d = Design(kind);
  const int size = d.record.spriteSize, columns = 10;
  const int count = d.FrameCount();
  const int rows = (count + columns - 1) / columns;
  Canvas sheet(columns * size, rows * (size + 14));
  Checker(sheet.cr(), columns * size, rows * (size + 14));
  SetFont(sheet.cr(), Font::Sans, 11);
  for (int f = 0; f < count; ++f) {
    double x = (f % columns) * size, y = (f / columns) * (size + 14);
    Blit(sheet.cr(), PaintCharacterFrame(kind, f), x, y + 14);
    SetColor(sheet.cr(), {1, 1, 0.6});
    DrawTextAt(sheet.cr(), x + 3, y + 11, std::to_string(f));
  }
  cairo_surface_write_to_png(cairo_get_target(sheet.cr()), png.c_str());
  return 0;
}

int WritePreview(const std::filesystem::path& file, const std::filesystem::path& png) {
  std::ifstream in(file, std::ios::binary);
  std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                             std::istreambuf_iterator<char>());
  std::string ext = file.extension().string();
  for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  RgbaImage image;
  if (ext == ".dxt" || ext == ".dx") {
    ContainerParse parse = ParseTextureContainer(bytes);
    if (!parse.container) {
      std::fprintf(stderr, "%s\n", parse.error.c_str());
      return 1;
    }
    const TextureContainer& c = *parse.container;
    int flags = c.internalFormat == kFormatDxt5   ? squish::kDxt5
                : c.internalFormat == kFormatDxt3 ? squish::kDxt3
                                                  : squish::kDxt1;
    image.width = c.width;
    image.height = c.height;
    image.rgba.resize(static_cast<std::size_t>(c.width) * c.height * 4);
    squish::DecompressImage(image.rgba.data(), c.width, c.height, c.data.data(), flags);
    if (c.internalFormat == kFormatDxt1Rgb) {
      for (std::size_t i = 3; i < image.rgba.size(); i += 4) image.rgba[i] = 255;
    }
  } else if (ext == ".tga") {
    TargaParse parse = ParseTarga(bytes);
    if (!parse.image) return 1;
    image = *parse.image;
  } else if (ext == ".jpg") {
    JpegDecode decode = DecodeJpeg(bytes);
    if (!decode.image) return 1;
    image = *decode.image;
  } else {
    std::fprintf(stderr, "no picture: %s\n", file.c_str());
    return 1;
  }
  Canvas canvas(image.width, image.height);
  Checker(canvas.cr(), image.width, image.height);
  Blit(canvas.cr(), image, 0, 0);
  cairo_surface_write_to_png(cairo_get_target(canvas.cr()), png.c_str());
  return 0;
}
