// Rendering the code page into a glyph grid with FreeType.
#include "mkcontent/font_atlas.hpp"

#include <ft2build.h>
#include FT_FREETYPE_H
#include <iconv.h>

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <vector>

std::optional<char32_t> Cp1257ToUnicode(uint8_t byte) {
  if (byte < 0x20 || byte == 0x7F) return std::nullopt;
  if (byte < 0x80) return static_cast<char32_t>(byte);
  iconv_t cd = iconv_open("UTF-32LE", "CP1257");
  if (cd == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("iconv has no CP1257");
  char in[1] = {static_cast<char>(byte)};
  unsigned char out[8] = {};
  char* inPtr = in;
  char* outPtr = reinterpret_cast<char*>(out);
  size_t inLeft = 1, outLeft = sizeof out;
  size_t done = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
  iconv_close(cd);
  if (done == static_cast<size_t>(-1) || outLeft != 4) return std::nullopt;
  char32_t c = static_cast<char32_t>(out[0] | out[1] << 8 | out[2] << 16 | out[3] << 24);
  // Control characters and the no-break space have nothing to draw.
  if (c < 0x20 || (c >= 0x80 && c < 0xA0)) return std::nullopt;
  return c;
}

RgbaImage FontAtlas(Font font, int cell, double emFraction, double stretch) {
  FT_Library library;
  if (FT_Init_FreeType(&library) != 0) throw std::runtime_error("FreeType");
  FT_Face face;
  if (FT_New_Face(library, FontFile(font), 0, &face) != 0) {
    throw std::runtime_error(std::string("cannot open ") + FontFile(font));
  }
  const int em = static_cast<int>(std::lround(cell * emFraction));
  FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(em));
  FT_Matrix widen{static_cast<FT_Fixed>(stretch * 65536), 0, 0, 0x10000};
  FT_Set_Transform(face, &widen, nullptr);

  const int size = cell * 16;
  std::vector<float> cover(static_cast<std::size_t>(size) * size, 0.0f);
  const int baseline = static_cast<int>(std::lround(cell * 0.5 + em * 0.36));
  for (int b = 0; b < 256; ++b) {
    std::optional<char32_t> c = Cp1257ToUnicode(static_cast<uint8_t>(b));
    if (!c || *c == U' ') continue;
    if (FT_Load_Char(face, *c, FT_LOAD_RENDER | FT_LOAD_TARGET_NORMAL) != 0) continue;
    FT_GlyphSlot g = face->glyph;
    const int cellX = (b % 16) * cell, cellY = (b / 16) * cell;
    // The game samples a sliver of the next cell beyond each glyph's right edge, so the left
    // columns of every cell stay clear; the right column too, for symmetry.
    const int margin = std::max(2, cell / 12);
    const int usable = cell - margin - 1;
    const int left = cellX + margin + (usable - static_cast<int>(g->bitmap.width)) / 2;
    const int top = cellY + baseline - g->bitmap_top;
    for (unsigned row = 0; row < g->bitmap.rows; ++row) {
      for (unsigned col = 0; col < g->bitmap.width; ++col) {
        int x = left + static_cast<int>(col), y = top + static_cast<int>(row);
        if (x < cellX + margin + 1 || x >= cellX + cell - 2 || y < cellY || y >= cellY + cell)
          continue;
        float v = g->bitmap.buffer[row * static_cast<unsigned>(g->bitmap.pitch) + col] / 255.0f;
        cover[static_cast<std::size_t>(y) * size + x] = v;
      }
    }
  }
  FT_Done_Face(face);
  FT_Done_FreeType(library);

  // The rim: coverage spread by one pixel, drawn dark beneath the glyph.
  RgbaImage image;
  image.width = size;
  image.height = size;
  image.rgba.assign(static_cast<std::size_t>(size) * size * 4, 0);
  const int rim = std::max(1, cell / 24);
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      float glyph = cover[static_cast<std::size_t>(y) * size + x];
      float spread = 0.0f;
      const int cx = x - x % cell, cy = y - y % cell;
      for (int dy = -rim; dy <= rim; ++dy) {
        for (int dx = -rim; dx <= rim; ++dx) {
          int sx = x + dx, sy = y + dy;
          // Never borrow from the neighbouring cell.
          if (sx < cx || sy < cy || sx >= cx + cell || sy >= cy + cell) continue;
          spread = std::max(spread, cover[static_cast<std::size_t>(sy) * size + sx]);
        }
      }
      float alpha = std::max(glyph, spread * 0.85f);
      const int inCell = x % cell;
      if (inCell < std::max(2, cell / 12) || inCell == cell - 1) alpha = 0;
      float light = alpha > 0 ? glyph / alpha : 0.0f;
      uint8_t* p = image.Pixel(x, size - 1 - y);
      uint8_t tone = static_cast<uint8_t>(std::lround(20 + 235 * light));
      p[0] = tone;
      p[1] = tone;
      p[2] = static_cast<uint8_t>(std::min(255L, std::lround(tone * 0.96 + 10)));
      p[3] = static_cast<uint8_t>(std::lround(alpha * 255));
    }
  }
  return image;
}
