// A small content tree for the front-end tests: pictures made here with the game's own format
// writers (solid-block compressed containers, Targa, JPEG), a readable pixel font, and a click
// sound of a chosen length.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "formats/jpeg.hpp"
#include "formats/rgba_image.hpp"
#include "formats/targa.hpp"
#include "formats/texture_container.hpp"

namespace uicontent {

struct Colour {
  uint8_t r = 0, g = 0, b = 0, a = 255;
};

// A picture filled by `paint(x, y)` with y counted from the top; stored bottom row first.
template <typename Paint>
RgbaImage Picture(int width, int height, Paint paint) {
  RgbaImage image{width, height, std::vector<uint8_t>(static_cast<size_t>(width) * height * 4)};
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      Colour c = paint(x, y);
      uint8_t* p = image.Pixel(x, height - 1 - y);
      p[0] = c.r;
      p[1] = c.g;
      p[2] = c.b;
      p[3] = c.a;
    }
  }
  return image;
}

inline void WriteBytes(const std::filesystem::path& file, const std::vector<uint8_t>& bytes) {
  std::filesystem::create_directories(file.parent_path());
  std::ofstream(file, std::ios::binary | std::ios::trunc)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
}

inline uint16_t Rgb565(Colour c) {
  return static_cast<uint16_t>(((c.r >> 3) << 11) | ((c.g >> 2) << 5) | (c.b >> 3));
}

// An opaque DXT1 container whose every 4 x 4 block has one colour, taken from `paint` at the
// block's corner (y from the top). Block rows are stored bottom first, like every texture row.
template <typename Paint>
std::vector<uint8_t> SolidBlockContainer(int width, int height, Paint paint) {
  std::vector<uint8_t> data;
  for (int by = height / 4 - 1; by >= 0; --by) {
    for (int bx = 0; bx < width / 4; ++bx) {
      uint16_t c = Rgb565(paint(bx * 4, by * 4));
      // Both end colours alike and every index 0: the whole block is that colour.
      for (int i = 0; i < 2; ++i) {
        data.push_back(static_cast<uint8_t>(c & 0xFF));
        data.push_back(static_cast<uint8_t>(c >> 8));
      }
      for (int i = 0; i < 4; ++i) data.push_back(0);
    }
  }
  return WriteTextureContainer(kFormatDxt1Rgb, width, height, data);
}

// 5 x 7 glyphs of the characters the front end writes, rows top first ('#' is ink).
inline const std::vector<std::string>* GlyphRows(uint8_t c) {
  static const std::array<std::pair<char, std::vector<std::string>>, 21> glyphs = {{
      {'0', {".###.", "#...#", "#..##", "#.#.#", "##..#", "#...#", ".###."}},
      {'1', {"..#..", ".##..", "..#..", "..#..", "..#..", "..#..", ".###."}},
      {'2', {".###.", "#...#", "....#", "...#.", "..#..", ".#...", "#####"}},
      {'3', {"####.", "....#", "....#", ".###.", "....#", "....#", "####."}},
      {'4', {"...#.", "..##.", ".#.#.", "#..#.", "#####", "...#.", "...#."}},
      {'5', {"#####", "#....", "####.", "....#", "....#", "#...#", ".###."}},
      {'6', {".###.", "#....", "#....", "####.", "#...#", "#...#", ".###."}},
      {'7', {"#####", "....#", "...#.", "..#..", ".#...", ".#...", ".#..."}},
      {'8', {".###.", "#...#", "#...#", ".###.", "#...#", "#...#", ".###."}},
      {'9', {".###.", "#...#", "#...#", ".####", "....#", "....#", ".###."}},
      {'.', {".....", ".....", ".....", ".....", ".....", ".##..", ".##.."}},
      {'x', {".....", ".....", "#...#", ".#.#.", "..#..", ".#.#.", "#...#"}},
      {'z', {".....", ".....", "#####", "...#.", "..#..", ".#...", "#####"}},
      {'H', {"#...#", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"}},
      {'V', {"#...#", "#...#", "#...#", "#...#", "#...#", ".#.#.", "..#.."}},
      {'O', {".###.", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."}},
      {'N', {"#...#", "##..#", "#.#.#", "#..##", "#...#", "#...#", "#...#"}},
      {'F', {"#####", "#....", "#....", "####.", "#....", "#....", "#...."}},
      {'S', {".####", "#....", "#....", ".###.", "....#", "....#", "####."}},
      {'T', {"#####", "..#..", "..#..", "..#..", "..#..", "..#..", "..#.."}},
      {'A', {".###.", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"}},
  }};
  for (const auto& [ch, rows] : glyphs) {
    if (static_cast<uint8_t>(ch) == c) return &rows;
  }
  return nullptr;
}

// A 256 x 256 font: 16 x 16 cells of 16 pixels, cell (b mod 16, b div 16) from the top left,
// each glyph drawn two pixels per dot in `ink` on a transparent ground.
inline RgbaImage FontPicture(Colour ink) {
  return Picture(256, 256, [&](int x, int y) {
    auto cell = static_cast<uint8_t>((y / 16) * 16 + x / 16);
    int gx = (x % 16 - 3) / 2;
    int gy = (y % 16 - 1) / 2;
    const std::vector<std::string>* rows = GlyphRows(cell);
    bool ink_here = rows && x % 16 >= 3 && y % 16 >= 1 && gx < 5 && gy < 7 &&
                    (*rows)[static_cast<size_t>(gy)][static_cast<size_t>(gx)] == '#';
    return ink_here ? ink : Colour{0, 0, 0, 0};
  });
}

// A button: a framed plate with a lighter band, `pressed` ones darker.
inline RgbaImage ButtonPicture(int width, int height, Colour base) {
  return Picture(width, height, [&](int x, int y) {
    bool frame = x < 2 || y < 2 || x >= width - 2 || y >= height - 2;
    if (frame) return Colour{230, 230, 230, 255};
    bool band = y > height / 3 && y < 2 * height / 3 && x > width / 5 && x < 4 * width / 5;
    return band ? Colour{static_cast<uint8_t>(base.r / 2 + 120),
                         static_cast<uint8_t>(base.g / 2 + 120),
                         static_cast<uint8_t>(base.b / 2 + 120), 255}
                : base;
  });
}

// A mono 16-bit WAV at 44100 Hz of `bytes` bytes of sound (a quiet square wave).
inline std::vector<uint8_t> WavBytes(uint32_t bytes) {
  std::vector<uint8_t> out;
  auto put32 = [&](uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
  };
  auto put16 = [&](uint16_t v) {
    out.push_back(static_cast<uint8_t>(v & 0xFF));
    out.push_back(static_cast<uint8_t>(v >> 8));
  };
  auto tag = [&](const char* t) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(t[i]));
  };
  tag("RIFF");
  put32(36 + bytes);
  tag("WAVE");
  tag("fmt ");
  put32(16);
  put16(1);  // PCM
  put16(1);  // mono
  put32(44100);
  put32(44100 * 2);
  put16(2);
  put16(16);
  tag("data");
  put32(bytes);
  for (uint32_t i = 0; i < bytes / 2; ++i) put16((i / 50) % 2 ? 0x0800 : 0xF800);
  return out;
}

inline Colour Shade(int i) {
  static const Colour colours[] = {{200, 60, 60},  {60, 170, 80},  {70, 90, 210},
                                   {210, 170, 40}, {150, 60, 190}, {40, 170, 190}};
  return colours[i % 6];
}

// Writes every file the intro, menu, options, training pages and HUD read, under root/data.
// The click sound is `clickBytes` bytes long.
inline void WriteFrontEndContent(const std::filesystem::path& root, uint32_t clickBytes = 44400) {
  namespace fs = std::filesystem;
  fs::path data = root / "data";
  auto gradient = [](Colour top, Colour bottom) {
    return [=](int, int y) {
      double t = y / 600.0;
      auto mix = [&](uint8_t a, uint8_t b) { return static_cast<uint8_t>(a + (b - a) * t); };
      return Colour{mix(top.r, bottom.r), mix(top.g, bottom.g), mix(top.b, bottom.b), 255};
    };
  };
  for (int i = 0; i < 3; ++i) {
    WriteBytes(
        data / "intro" / (std::to_string(i) + ".dxt"),
        SolidBlockContainer(64, 48, [&](int x, int) { return x < 32 ? Shade(i) : Shade(i + 3); }));
    WriteBytes(data / "trainer" / (std::to_string(i) + ".dxt"),
               SolidBlockContainer(800, 600, [&](int x, int y) {
                 bool stripe = (x / 100 + y / 100) % 2 == 0;
                 Colour c = Shade(i + 1);
                 return stripe
                            ? c
                            : Colour{static_cast<uint8_t>(c.r / 2), static_cast<uint8_t>(c.g / 2),
                                     static_cast<uint8_t>(c.b / 2), 255};
               }));
  }
  WriteBytes(data / "menu" / "bg.dxt",
             SolidBlockContainer(800, 600, gradient({20, 30, 90}, {120, 40, 30})));
  const char* menuButtons[] = {"bresume", "bStart", "bTraining", "bOptions", "bExit"};
  for (int i = 0; i < 5; ++i) {
    std::string name = menuButtons[i];
    WriteBytes(data / "menu" / (name + "R.tga"), WriteTarga(ButtonPicture(100, 35, Shade(i))));
    Colour dark{static_cast<uint8_t>(Shade(i).r / 3), static_cast<uint8_t>(Shade(i).g / 3),
                static_cast<uint8_t>(Shade(i).b / 3), 255};
    WriteBytes(data / "menu" / (name + "P.tga"), WriteTarga(ButtonPicture(100, 35, dark)));
  }
  WriteBytes(data / "trainer" / "bBackR.tga", WriteTarga(ButtonPicture(50, 50, Shade(0))));
  WriteBytes(data / "trainer" / "bBackP.tga", WriteTarga(ButtonPicture(50, 50, Shade(3))));
  WriteBytes(data / "trainer" / "bnextR.tga", WriteTarga(ButtonPicture(50, 50, Shade(1))));
  WriteBytes(data / "trainer" / "bnextP.tga", WriteTarga(ButtonPicture(50, 50, Shade(4))));

  WriteBytes(data / "options" / "bg.jpg",
             EncodeJpeg(Picture(800, 600, gradient({30, 70, 40}, {10, 20, 60})), 90));
  WriteBytes(data / "options" / "ListBox_close.jpg",
             EncodeJpeg(Picture(200, 30,
                                [](int, int) {
                                  return Colour{90, 90, 140};
                                }),
                        90));
  WriteBytes(data / "options" / "ListBox_open.JPG", EncodeJpeg(Picture(200, 60,
                                                                       [](int, int) {
                                                                         return Colour{50, 50, 80};
                                                                       }),
                                                               90));
  WriteBytes(data / "options" / "trackBar.tga", WriteTarga(Picture(200, 10, [](int, int y) {
               return y < 2 || y > 7 ? Colour{250, 250, 250} : Colour{120, 120, 120};
             })));
  WriteBytes(data / "options" / "tracker.tga", WriteTarga(Picture(32, 32, [](int x, int y) {
               int dx = x - 16, dy = y - 16;
               return dx * dx + dy * dy < 120 ? Colour{240, 200, 40, 255} : Colour{0, 0, 0, 0};
             })));
  WriteBytes(data / "fonts" / "fontLV.tga", WriteTarga(FontPicture({255, 255, 255})));
  WriteBytes(data / "fonts" / "listbox.tga", WriteTarga(FontPicture({255, 230, 120})));

  WriteBytes(data / "hud" / "lifeBar.jpg", EncodeJpeg(Picture(100, 10,
                                                              [](int, int) {
                                                                return Colour{200, 20, 20};
                                                              }),
                                                      90));
  WriteBytes(data / "hud" / "lifeBarB.jpg", EncodeJpeg(Picture(106, 16,
                                                               [](int, int) {
                                                                 return Colour{40, 40, 40};
                                                               }),
                                                       90));
  WriteBytes(data / "hud" / "filter.dxt", SolidBlockContainer(64, 64, [](int, int) {
               return Colour{0, 0, 0};
             }));
  WriteBytes(data / "sounds" / "GUI" / "button0.WAV", WavBytes(clickBytes));
}

}  // namespace uicontent
