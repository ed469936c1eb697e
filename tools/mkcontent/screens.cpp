// Intro slides, title, menu, options, training pages, HUD and statistics pictures, fonts.
#include <cmath>
#include <string>
#include <vector>

#include "mkcontent/character_art.hpp"
#include "mkcontent/font_atlas.hpp"
#include "mkcontent/jobs.hpp"
#include "mkcontent/rng.hpp"
#include "mkcontent/ui_art.hpp"

namespace {

constexpr int kW = 800, kH = 600;

// A night over jagged hills with the keep on its crag; shared by the intro and the title.
void NightScene(cairo_t* cr, Rgb skyTop, Rgb skyLow, unsigned seed, bool moon) {
  cairo_pattern_t* sky = cairo_pattern_create_linear(0, 0, 0, kH);
  cairo_pattern_add_color_stop_rgb(sky, 0, skyTop.r, skyTop.g, skyTop.b);
  cairo_pattern_add_color_stop_rgb(sky, 1, skyLow.r, skyLow.g, skyLow.b);
  cairo_set_source(cr, sky);
  cairo_paint(cr);
  cairo_pattern_destroy(sky);
  Rng rng(seed);
  for (int i = 0; i < 140; ++i) {
    SetColor(cr, {0.9, 0.9, 1.0}, 0.2 + 0.6 * rng.Unit());
    cairo_arc(cr, rng.Unit() * kW, rng.Unit() * kH * 0.55, 0.5 + rng.Unit(), 0, 2 * M_PI);
    cairo_fill(cr);
  }
  if (moon) {
    cairo_pattern_t* halo = cairo_pattern_create_radial(620, 130, 30, 620, 130, 170);
    cairo_pattern_add_color_stop_rgba(halo, 0, 0.8, 0.85, 0.95, 0.35);
    cairo_pattern_add_color_stop_rgba(halo, 1, 0.8, 0.85, 0.95, 0);
    cairo_set_source(cr, halo);
    cairo_paint(cr);
    cairo_pattern_destroy(halo);
    SetColor(cr, {0.92, 0.92, 0.86});
    cairo_arc(cr, 620, 130, 42, 0, 2 * M_PI);
    cairo_fill(cr);
    SetColor(cr, {0.75, 0.75, 0.7}, 0.5);
    cairo_arc(cr, 605, 120, 9, 0, 2 * M_PI);
    cairo_arc(cr, 632, 145, 6, 0, 2 * M_PI);
    cairo_fill(cr);
  }
  // Three ranges of hills, nearer ones darker.
  for (int layer = 0; layer < 3; ++layer) {
    double base = 380 + layer * 70;
    Rgb c = Mix(skyLow, palette::kNight, 0.5 + layer * 0.22);
    SetColor(cr, c);
    cairo_move_to(cr, 0, kH);
    for (int x = 0; x <= kW; x += 20) {
      double y = base - 40 * std::sin(x * 0.006 + layer * 2 + seed) -
                 25 * std::sin(x * 0.017 + layer) - rng.Unit() * 12;
      cairo_line_to(cr, x, y);
    }
    cairo_line_to(cr, kW, kH);
    cairo_close_path(cr);
    cairo_fill(cr);
  }
}

// The keep: towers and a wall with a few lit windows.
void Keep(cairo_t* cr, double x, double ground, double s) {
  SetColor(cr, {0.03, 0.03, 0.05});
  auto tower = [&](double cx, double w, double h) {
    cairo_rectangle(cr, cx - w / 2, ground - h, w, h);
    cairo_fill(cr);
    for (double bx = cx - w / 2; bx < cx + w / 2 - 2; bx += w / 4) {
      cairo_rectangle(cr, bx, ground - h - 8 * s, w / 8, 8 * s);
      cairo_fill(cr);
    }
  };
  tower(x, 60 * s, 230 * s);
  tower(x - 90 * s, 44 * s, 160 * s);
  tower(x + 95 * s, 50 * s, 180 * s);
  cairo_rectangle(cr, x - 120 * s, ground - 100 * s, 250 * s, 100 * s);
  cairo_fill(cr);
  SetColor(cr, {1.0, 0.65, 0.25}, 0.9);
  for (Vec w : {Vec{x - 6 * s, ground - 190 * s}, Vec{x + 90 * s, ground - 140 * s},
                Vec{x - 95 * s, ground - 120 * s}}) {
    cairo_rectangle(cr, w.x, w.y, 5 * s, 10 * s);
    cairo_fill(cr);
  }
}

void Caption(cairo_t* cr, const std::string& line1, const std::string& line2) {
  SetFont(cr, Font::Serif, 26);
  DrawEngraved(cr, kW / 2.0, 520, line1, palette::kParchment, true);
  SetFont(cr, Font::Serif, 20);
  DrawEngraved(cr, kW / 2.0, 552, line2, Shade(palette::kParchment, 0.8), true);
}

RgbaImage IntroSlide(int i) {
  Canvas c(kW, kH);
  cairo_t* cr = c.cr();
  if (i == 0) {
    NightScene(cr, {0.02, 0.03, 0.08}, {0.12, 0.12, 0.22}, 3, true);
    Keep(cr, 400, 430, 1.0);
    TitleLettering(cr, 400, 200, 110);
    Caption(cr, "In the marches of the north stands the keep of Morva.",
            "No light has left its gate for a hundred winters.");
  } else if (i == 1) {
    NightScene(cr, {0.05, 0.02, 0.06}, {0.25, 0.08, 0.10}, 7, false);
    Keep(cr, 250, 470, 1.3);
    for (int k = 0; k < 3; ++k)
      PaintFrameAt(cr, 1, k * 3, 420 + k * 110, 130 + (k % 2) * 60, 1.2, false);
    Caption(cr, "Its iron sentinels still watch the walls,",
            "and the dead garrison still keeps its posts.");
  } else {
    NightScene(cr, {0.20, 0.05, 0.04}, {0.75, 0.32, 0.12}, 11, false);
    SetColor(cr, {1.0, 0.8, 0.5}, 0.9);
    cairo_arc(cr, 400, 420, 70, M_PI, 2 * M_PI);
    cairo_fill(cr);
    PaintFrameAt(cr, 0, 2, 300, 170, 2.0, true);
    Caption(cr, "One blade comes to end the watch.", "Press any key.");
  }
  Vignette(cr, kW, kH, 0.7);
  return c.Image();
}

RgbaImage LevelTitle() {
  Canvas c(kW, kH);
  cairo_t* cr = c.cr();
  NightScene(cr, {0.02, 0.02, 0.05}, {0.10, 0.09, 0.15}, 19, true);
  Keep(cr, 560, 470, 1.4);
  Panel(cr, 130, 180, 540, 190);
  SetFont(cr, Font::SerifBold, 46);
  DrawEngraved(cr, 400, 260, "THE HOLLOW KEEP", palette::kGold, true);
  SetFont(cr, Font::Serif, 22);
  DrawEngraved(cr, 400, 310, "Walk east. Do not stop.", palette::kParchment, true);
  SetFont(cr, Font::Sans, 16);
  DrawEngraved(cr, 400, 345, "the gates are opening...", Shade(palette::kParchment, 0.7), true);
  Vignette(cr, kW, kH, 0.6);
  return c.Image();
}

RgbaImage MenuBackground() {
  Canvas c(kW, kH);
  cairo_t* cr = c.cr();
  StoneWall(cr, kW, kH, 21);
  Torch(cr, 190, 250, 1.4, 0.3);
  Torch(cr, 610, 250, 1.4, -0.4);
  TitleLettering(cr, 400, 108, 84);
  // The niche the buttons sit in (x 335..435, y 140..375).
  Panel(cr, 312, 126, 176, 268);
  PaintFrameAt(cr, 0, 0, 40, 330, 2.1, true);
  PaintFrameAt(cr, 2, 0, 500, 330, 2.1, false);
  Vignette(cr, kW, kH, 0.75);
  return c.Image();
}

RgbaImage MenuButton(const std::string& label, bool pressed) {
  const int w = 200, h = 70;
  Canvas c(w, h);
  cairo_t* cr = c.cr();
  RoundedRect(cr, 3, 3, w - 6, h - 6, 12);
  cairo_pattern_t* g = cairo_pattern_create_linear(0, 0, 0, h);
  Rgb top = pressed ? Rgb{0.35, 0.14, 0.06} : Rgb{0.30, 0.29, 0.31};
  Rgb bottom = pressed ? Rgb{0.16, 0.05, 0.02} : Rgb{0.12, 0.12, 0.13};
  cairo_pattern_add_color_stop_rgb(g, 0, top.r, top.g, top.b);
  cairo_pattern_add_color_stop_rgb(g, 1, bottom.r, bottom.g, bottom.b);
  cairo_set_source(cr, g);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(g);
  cairo_set_line_width(cr, 4);
  SetColor(cr, pressed ? palette::kEmber : Shade(palette::kGold, 0.7));
  cairo_stroke(cr);
  SetFont(cr, Font::SerifBold, 30);
  DrawEngraved(cr, w / 2.0 + (pressed ? 1 : 0), 46 + (pressed ? 1 : 0), label,
               pressed ? Rgb{1.0, 0.85, 0.55} : palette::kParchment, true);
  return c.Image();
}

RgbaImage OptionsBackground() {
  Canvas c(kW, kH);
  cairo_t* cr = c.cr();
  StoneWall(cr, kW, kH, 31);
  Panel(cr, 40, 120, 720, 330);
  SetFont(cr, Font::SerifBold, 52);
  DrawEngraved(cr, 400, 90, "OPTIONS", palette::kGold, true);
  // Labels beside the sliders the screen draws at x 230 and at these heights; the blood switch's
  // ON / OFF appears between its label and its slider.
  SetFont(cr, Font::SerifBold, 20);
  // The names end where the scale's own left-hand words begin; BLOOD leaves room for ON / OFF.
  struct Row {
    const char* text;
    double y;
    double right;
  };
  for (Row r : {Row{"MUSIC", 197, 172}, Row{"SOUND", 238, 172}, Row{"GAMMA", 280, 172},
                Row{"BLOOD", 320, 140}, Row{"DISPLAY", 355, 210}}) {
    double baseline = r.y + (std::string(r.text) == "DISPLAY" ? 22 : 11);
    DrawEngraved(cr, r.right - TextWidth(cr, r.text), baseline, r.text, palette::kParchment, false);
  }
  // Grooves under the sliders, and the scale ends.
  for (double y : {197.0, 238.0, 280.0, 320.0}) {
    RoundedRect(cr, 224, y - 4, 212, 18, 6);
    SetColor(cr, {0, 0, 0}, 0.55);
    cairo_fill(cr);
  }
  // Both ends of each scale are named, so neither word reads as the setting itself.
  SetFont(cr, Font::Sans, 13);
  struct Ends {
    double y;
    const char* low;
    const char* high;
  };
  for (Ends e : {Ends{197, "quiet", "loud"}, Ends{238, "quiet", "loud"},
                 Ends{280, "dark", "bright"}, Ends{320, "", "gore"}}) {
    Rgb ink = Shade(palette::kParchment, 0.7);
    DrawEngraved(cr, 218 - TextWidth(cr, e.low), e.y + 11, e.low, ink, false);
    DrawEngraved(cr, 450, e.y + 11, e.high, ink, false);
  }
  SetFont(cr, Font::Serif, 16);
  DrawEngraved(cr, 470, 377, "changes apply at once", Shade(palette::kParchment, 0.6), false);
  DrawEngraved(cr, 400, 560, "Esc: keep these settings and return", Shade(palette::kParchment, 0.8),
               true);
  Vignette(cr, kW, kH, 0.6);
  return c.Image();
}

RgbaImage ListBoxImage(bool open) {
  const int w = 256, h = open ? 256 : 40;
  Canvas c(w, h);
  cairo_t* cr = c.cr();
  cairo_pattern_t* g = cairo_pattern_create_linear(0, 0, 0, h);
  cairo_pattern_add_color_stop_rgb(g, 0, 0.16, 0.15, 0.17);
  cairo_pattern_add_color_stop_rgb(g, 1, 0.07, 0.07, 0.08);
  cairo_set_source(cr, g);
  cairo_paint(cr);
  cairo_pattern_destroy(g);
  cairo_set_line_width(cr, 3);
  SetColor(cr, Shade(palette::kGold, 0.6));
  cairo_rectangle(cr, 1.5, 1.5, w - 3, h - 3);
  cairo_stroke(cr);
  if (!open) {
    SetColor(cr, palette::kGold);
    cairo_move_to(cr, w - 28, 15);
    cairo_line_to(cr, w - 12, 15);
    cairo_line_to(cr, w - 20, 26);
    cairo_close_path(cr);
    cairo_fill(cr);
  }
  return c.Image();
}

RgbaImage TrackBar() {
  Canvas c(256, 16);
  cairo_t* cr = c.cr();
  RoundedRect(cr, 1, 2, 254, 12, 5);
  cairo_pattern_t* g = cairo_pattern_create_linear(0, 0, 256, 0);
  cairo_pattern_add_color_stop_rgb(g, 0, 0.25, 0.06, 0.04);
  cairo_pattern_add_color_stop_rgb(g, 1, 0.95, 0.55, 0.18);
  cairo_set_source(cr, g);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(g);
  SetColor(cr, {0.05, 0.03, 0.02});
  cairo_set_line_width(cr, 2);
  cairo_stroke(cr);
  return c.Image();
}

RgbaImage Knob() {
  Canvas c(64, 64);
  cairo_t* cr = c.cr();
  Vec centre{32, 32};
  cairo_pattern_t* glow = cairo_pattern_create_radial(32, 32, 8, 32, 32, 31);
  cairo_pattern_add_color_stop_rgba(glow, 0, 1.0, 0.6, 0.2, 0.6);
  cairo_pattern_add_color_stop_rgba(glow, 1, 1.0, 0.5, 0.1, 0.0);
  cairo_set_source(cr, glow);
  cairo_paint(cr);
  cairo_pattern_destroy(glow);
  // A cut gem in a bronze setting.
  cairo_new_path(cr);
  for (int i = 0; i < 8; ++i) {
    double a = i * M_PI / 4 + M_PI / 8;
    cairo_line_to(cr, centre.x + 17 * std::cos(a), centre.y + 17 * std::sin(a));
  }
  cairo_close_path(cr);
  SetColor(cr, Shade(palette::kGold, 0.8));
  cairo_fill_preserve(cr);
  SetColor(cr, {0.1, 0.06, 0.02});
  cairo_set_line_width(cr, 2);
  cairo_stroke(cr);
  cairo_pattern_t* gem = cairo_pattern_create_radial(28, 27, 1, 32, 32, 12);
  cairo_pattern_add_color_stop_rgb(gem, 0, 1.0, 0.9, 0.7);
  cairo_pattern_add_color_stop_rgb(gem, 0.4, 0.9, 0.25, 0.1);
  cairo_pattern_add_color_stop_rgb(gem, 1, 0.35, 0.03, 0.02);
  cairo_set_source(cr, gem);
  cairo_arc(cr, 32, 32, 11, 0, 2 * M_PI);
  cairo_fill(cr);
  return c.Image();
}

void PageFrame(cairo_t* cr, const std::string& title, int page) {
  StoneWall(cr, kW, kH, 41 + static_cast<unsigned>(page));
  Panel(cr, 30, 24, 740, 500);
  SetFont(cr, Font::SerifBold, 38);
  DrawEngraved(cr, 400, 76, title, palette::kGold, true);
  SetFont(cr, Font::Serif, 15);
  // Either side of the Back and Next buttons (x 350 to 460, y 540 to 590), never under them.
  DrawEngraved(cr, 250, 572, std::to_string(page + 1) + " / 3", Shade(palette::kParchment, 0.75),
               true);
  DrawEngraved(cr, 600, 572, "Esc: back to the menu", Shade(palette::kParchment, 0.75), true);
}

void KeyCap(cairo_t* cr, double x, double y, const std::string& key) {
  SetFont(cr, Font::SansBold, 16);
  double w = std::max(34.0, TextWidth(cr, key) + 16);
  RoundedRect(cr, x, y - 22, w, 30, 6);
  SetColor(cr, {0.22, 0.21, 0.23});
  cairo_fill_preserve(cr);
  SetColor(cr, Shade(palette::kGold, 0.7));
  cairo_set_line_width(cr, 2);
  cairo_stroke(cr);
  SetColor(cr, palette::kParchment);
  DrawTextCentred(cr, x + w / 2, y - 1, key);
}

void Line(cairo_t* cr, double x, double y, const std::string& text, double size = 19) {
  SetFont(cr, Font::Serif, size);
  DrawEngraved(cr, x, y, text, palette::kParchment, false);
}

RgbaImage TrainingPage(int page) {
  Canvas c(kW, kH);
  cairo_t* cr = c.cr();
  if (page == 0) {
    PageFrame(cr, "HOW TO MOVE", page);
    struct Row {
      const char* keys;
      const char* text;
    };
    const Row rows[] = {{"\xE2\x86\x90 \xE2\x86\x92", "walk"},
                        {"\xE2\x86\x91", "jump - high and long"},
                        {"\xE2\x86\x93", "crouch until any key is let go"},
                        {"Z", "level slash"},
                        {"X", "overhead cleave"},
                        {"C", "lunge"},
                        {"Ctrl", "rising cut: throws a guard"},
                        {"Space", "unleash a rune: sentinels fall"},
                        {"Esc", "pause"}};
    // Between the key caps and the text the game names a connected controller's buttons.
    double y = 130;
    for (const Row& r : rows) {
      KeyCap(cr, 90, y, r.keys);
      Line(cr, 250, y, r.text);
      y += 42;
    }
    PaintFrameAt(cr, 0, 30, 590, 110, 1.35, false);
  } else if (page == 1) {
    PageFrame(cr, "THE SEVEN-BLOW COMBO", page);
    Line(cr, 70, 130, "Strike in rhythm: each blow a little after the last,");
    Line(cr, 70, 158, "not sooner than a fifth of a second, not later than three tenths.");
    const char* keys[] = {"Z", "C", "Z", "C", "X", "C", "Ctrl"};
    double x = 90;
    for (int i = 0; i < 7; ++i) {
      KeyCap(cr, x, 220, keys[i]);
      SetFont(cr, Font::Sans, 12);
      SetColor(cr, Shade(palette::kParchment, 0.7));
      DrawTextAt(cr, x + 8, 244, std::to_string(i + 1));
      x += i == 6 ? 0 : 78;
    }
    // Kept clear of the raised sword in the picture below.
    Line(cr, 70, 288, "Third blow (Z C Z): a guard in reach loses his head.");
    Line(cr, 70, 318, "Golems shrug off lone blows. From the second blow of a combo");
    Line(cr, 70, 344, "they reel, and from the third your blade bites deeper.");
    Line(cr, 70, 372, "Finish all seven near a golem and the keep will remember it.");
    PaintFrameAt(cr, 0, 47, 470, 380, 1.1, true);
    PaintFrameAt(cr, 2, 33, 580, 380, 1.1, false);
  } else {
    PageFrame(cr, "WHAT WAITS INSIDE", page);
    PaintFrameAt(cr, 1, 9, 60, 100, 1.2, false);
    Line(cr, 190, 140, "Sentinels hover and loose lightning every few seconds.");
    Line(cr, 190, 166, "Crouch as they flare up, jump to strike them down.", 17);
    PaintFrameAt(cr, 2, 56, 55, 215, 1.0, false);
    Line(cr, 190, 260, "Guards march up and swing their axes - strike first,");
    Line(cr, 190, 286, "or crouch under the blow.", 17);
    PaintFrameAt(cr, 3, 30, 40, 300, 0.62, false);
    Line(cr, 190, 380, "Golems are slow, but their fists shake the ground.");
    Line(cr, 190, 406, "Crouching softens a blow. Use the combo.", 17);
    Line(cr, 190, 460, "Red flasks heal. Blue runes charge the Space key.", 17);
  }
  Vignette(cr, kW, kH, 0.55);
  return c.Image();
}

RgbaImage RoundButton(bool next, bool pressed) {
  Canvas c(64, 64);
  cairo_t* cr = c.cr();
  cairo_arc(cr, 32, 32, 29, 0, 2 * M_PI);
  cairo_pattern_t* g = cairo_pattern_create_radial(26, 24, 2, 32, 32, 30);
  Rgb a = pressed ? Rgb{0.6, 0.25, 0.08} : Rgb{0.42, 0.40, 0.43};
  Rgb b = pressed ? Rgb{0.2, 0.05, 0.02} : Rgb{0.12, 0.12, 0.13};
  cairo_pattern_add_color_stop_rgb(g, 0, a.r, a.g, a.b);
  cairo_pattern_add_color_stop_rgb(g, 1, b.r, b.g, b.b);
  cairo_set_source(cr, g);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(g);
  SetColor(cr, pressed ? palette::kEmber : palette::kGold);
  cairo_set_line_width(cr, 3);
  cairo_stroke(cr);
  double d = next ? 1 : -1;
  cairo_move_to(cr, 32 - 9 * d, 18);
  cairo_line_to(cr, 32 + 11 * d, 32);
  cairo_line_to(cr, 32 - 9 * d, 46);
  cairo_close_path(cr);
  SetColor(cr, pressed ? Rgb{1.0, 0.85, 0.55} : palette::kParchment);
  cairo_fill(cr);
  return c.Image();
}

RgbaImage HudFilter() {
  Canvas c(kW, kH);
  cairo_t* cr = c.cr();
  Vignette(cr, kW, kH, 0.85);
  // A faint cold tint at the top, where the sky is.
  cairo_pattern_t* g = cairo_pattern_create_linear(0, 0, 0, 120);
  cairo_pattern_add_color_stop_rgba(g, 0, 0.05, 0.07, 0.15, 0.45);
  cairo_pattern_add_color_stop_rgba(g, 1, 0.05, 0.07, 0.15, 0);
  cairo_set_source(cr, g);
  cairo_paint(cr);
  cairo_pattern_destroy(g);
  return c.Image();
}

RgbaImage LifeBar(bool frame) {
  Canvas c(128, 16);
  cairo_t* cr = c.cr();
  if (frame) {
    SetColor(cr, {0.08, 0.06, 0.05});
    cairo_paint(cr);
    SetColor(cr, palette::kGold);
    cairo_set_line_width(cr, 3);
    cairo_rectangle(cr, 1.5, 1.5, 125, 13);
    cairo_stroke(cr);
  } else {
    cairo_pattern_t* g = cairo_pattern_create_linear(0, 0, 0, 16);
    cairo_pattern_add_color_stop_rgb(g, 0, 1.0, 0.45, 0.35);
    cairo_pattern_add_color_stop_rgb(g, 0.4, 0.78, 0.06, 0.05);
    cairo_pattern_add_color_stop_rgb(g, 1, 0.35, 0.01, 0.02);
    cairo_set_source(cr, g);
    cairo_paint(cr);
    cairo_pattern_destroy(g);
  }
  return c.Image();
}

RgbaImage Statistics() {
  Canvas c(kW, kH);
  cairo_t* cr = c.cr();
  StoneWall(cr, kW, kH, 51);
  Panel(cr, 60, 40, 680, 330);
  SetFont(cr, Font::SerifBold, 30);
  DrawEngraved(cr, 400, 78, "THE KEEP LIES BEHIND YOU", palette::kGold, true);
  PaintFrameAt(cr, 0, 58, 560, 380, 1.5, false);
  SetFont(cr, Font::Serif, 18);
  DrawEngraved(cr, 400, 575, "Esc: return to the menu", Shade(palette::kParchment, 0.8), true);
  Vignette(cr, kW, kH, 0.6);
  return c.Image();
}

RgbaImage FlatSquare(Rgb colour, double edge) {
  Canvas c(64, 64);
  cairo_t* cr = c.cr();
  SetColor(cr, colour);
  cairo_paint(cr);
  if (edge > 0) Vignette(cr, 64, 64, edge);
  return c.Image();
}

}  // namespace

void AddFontJobs(JobList& jobs) {
  jobs.push_back({"fontLV",
                  [](ContentWriter& w) {
                    w.WriteTga("data\\fonts\\fontLV.tga", FontAtlas(Font::MonoBold, 32, 0.78, 1.3));
                  },
                  4});
  jobs.push_back({"listbox font", [](ContentWriter& w) {
                    w.WriteTga("data\\fonts\\listbox.tga", FontAtlas(Font::SansBold, 16, 0.8, 1.0));
                  }});
}

void AddInterfaceJobs(JobList& jobs) {
  for (int i = 0; i < 3; ++i) {
    jobs.push_back({"intro",
                    [i](ContentWriter& w) {
                      w.WriteDxt("data\\intro\\" + std::to_string(i) + ".dxt", IntroSlide(i),
                                 DxtKind::Opaque);
                    },
                    20});
    jobs.push_back({"training page",
                    [i](ContentWriter& w) {
                      w.WriteDxt("data\\trainer\\" + std::to_string(i) + ".dxt", TrainingPage(i),
                                 DxtKind::Opaque);
                    },
                    20});
  }
  jobs.push_back({"title",
                  [](ContentWriter& w) {
                    w.WriteDxt("data\\levels\\level1\\title.dx", LevelTitle(), DxtKind::Opaque);
                  },
                  20});
  jobs.push_back({"menu",
                  [](ContentWriter& w) {
                    w.WriteDxt("data\\menu\\bg.dxt", MenuBackground(), DxtKind::Opaque);
                    const char* names[] = {"bresume", "bStart", "bTraining", "bOptions", "bEXit"};
                    const char* labels[] = {"RESUME", "START", "TRAINING", "OPTIONS", "EXIT"};
                    for (int i = 0; i < 5; ++i) {
                      std::string base = std::string("data\\menu\\") + names[i];
                      w.WriteTga(base + "R.tga", MenuButton(labels[i], false));
                      // The exit button's pressed image is spelt differently.
                      std::string pressed = i == 4 ? "data\\menu\\bExitP.tga" : base + "P.tga";
                      w.WriteTga(pressed, MenuButton(labels[i], true));
                    }
                  },
                  20});
  jobs.push_back({"options",
                  [](ContentWriter& w) {
                    w.WriteJpg("data\\options\\bg.jpg", OptionsBackground(), 92);
                    w.WriteJpg("data\\options\\ListBox_close.jpg", ListBoxImage(false), 92);
                    w.WriteJpg("data\\options\\ListBox_open.JPG", ListBoxImage(true), 92);
                    w.WriteTga("data\\options\\trackBar.tga", TrackBar());
                    w.WriteTga("data\\options\\tracker.tga", Knob());
                  },
                  10});
  jobs.push_back({"training buttons", [](ContentWriter& w) {
                    w.WriteTga("data\\trainer\\bBackP.tga", RoundButton(false, true));
                    w.WriteTga("data\\trainer\\bBackR.tga", RoundButton(false, false));
                    w.WriteTga("data\\trainer\\bnextP.tga", RoundButton(true, true));
                    w.WriteTga("data\\trainer\\bnextR.tga", RoundButton(true, false));
                  }});
  jobs.push_back({"hud",
                  [](ContentWriter& w) {
                    w.WriteDxt("data\\hud\\filter.dxt", HudFilter(), DxtKind::Smooth);
                    w.WriteJpg("data\\hud\\lifeBar.jpg", LifeBar(false), 92);
                    w.WriteJpg("data\\hud\\lifeBarB.jpg", LifeBar(true), 92);
                    w.WriteTga("data\\hud\\rSquare.tga", FlatSquare({0.45, 0.0, 0.02}, 0.6));
                    w.WriteTga("data\\fx\\wSquare.tga", FlatSquare({1, 1, 1}, 0));
                  },
                  10});
  jobs.push_back({"statistics",
                  [](ContentWriter& w) {
                    w.WriteDxt("data\\hud\\statistics.dxt", Statistics(), DxtKind::Opaque);
                  },
                  20});
}
