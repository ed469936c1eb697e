// Text, depth order, the alpha test of animations and mirroring, on the real GL back end.
#include "app/game_state.hpp"
#include "formats/targa.hpp"
#include "gfx/anim.hpp"
#include "gfx/draw.hpp"
#include "gfx/load.hpp"
#include "gfx/tool_images.hpp"
#include "gl_fixture.hpp"

namespace {
// A Targa font picture in which only the cells for which `lit` says so are opaque white.
template <typename Lit>
void WriteFont(const std::filesystem::path& path, int side, Lit lit) {
  RgbaImage font{side, side, std::vector<uint8_t>(static_cast<std::size_t>(side) * side * 4, 0)};
  int cell = side / 16;
  for (int row = 0; row < side; ++row) {
    for (int x = 0; x < side; ++x) {
      // Rows are stored bottom first; glyph row 0 is the top of the picture.
      int b = ((side - 1 - row) / cell) * 16 + x / cell;
      if (lit(b)) std::fill(font.Pixel(x, row), font.Pixel(x, row) + 4, 255);
    }
  }
  WriteFile(path, tool_images::AsString(WriteTarga(font)));
}

// A 64 x 64 animation picture: left half transparent, then a faint column (alpha 13 of 255),
// then opaque blue with a yellow top-left quarter of the opaque part, to tell mirroring.
void WriteSprite(const std::filesystem::path& path) {
  RgbaImage sprite{64, 64, std::vector<uint8_t>(64 * 64 * 4, 0)};
  for (int row = 0; row < 64; ++row) {
    for (int x = 32; x < 64; ++x) {
      uint8_t* p = sprite.Pixel(x, row);
      bool faint = x < 40;
      bool yellow = !faint && x < 52 && row >= 48;
      p[0] = yellow ? 255 : 0;
      p[1] = yellow ? 255 : 0;
      p[2] = yellow ? 0 : 255;
      p[3] = faint ? 13 : 255;
    }
  }
  WriteFile(path, tool_images::AsString(WriteTarga(sprite)));
}

bool Lit(const Image& shot, int x, int y) {
  return At(shot, x, y)[0] > 128;
}
}  // namespace

using DrawPixels = GlFixture;

TEST_F(DrawPixels, VersionTextAtSizeTenCoversExactlyItsSixGlyphCells) {
  WriteFont(dir / "data" / "fonts" / "fontLV.tga", 256, [](int) { return true; });
  ASSERT_NE(cLoad::LoadTGA("data\\fonts\\fontLV.tga", gameState.fontTexture), 0u);
  DrawText(10, "V 1.12", 720, 20, gameState.fontTexture);
  const Image& shot = Capture();
  for (int y = 15; y < 35; ++y) {
    for (int x = 710; x < 790; ++x) {
      bool inside = x >= 720 && x < 780 && y >= 20 && y < 30;
      ASSERT_EQ(Lit(shot, x, y), inside) << x << "," << y;
    }
  }
}

TEST_F(DrawPixels, GlyphsComeFromTheirCellAndSampleAStripOfTheNext) {
  // Only the cell of "A" is lit. At size 100 on a 1024-pixel font, the 0.00275 of texture that a
  // glyph reads beyond its own cell is about four screen pixels wide.
  WriteFont(dir / "data" / "fonts" / "a.tga", 1024, [](int b) { return b == 'A'; });
  Texture font = 0;
  ASSERT_NE(cLoad::LoadTGA("data\\fonts\\a.tga", font), 0u);
  DrawText(100, "@AB", 100, 200, font);
  const Image& shot = Capture();
  int y = 250;
  EXPECT_FALSE(Lit(shot, 150, y)) << "@ itself is dark";
  EXPECT_FALSE(Lit(shot, 190, y));
  EXPECT_TRUE(Lit(shot, 198, y)) << "the right edge of @ shows the start of A";
  EXPECT_TRUE(Lit(shot, 202, y)) << "A";
  EXPECT_TRUE(Lit(shot, 290, y)) << "A";
  EXPECT_FALSE(Lit(shot, 298, y)) << "the right edge of A shows the start of B";
  EXPECT_FALSE(Lit(shot, 350, y)) << "B";
  EXPECT_TRUE(Lit(shot, 250, 201));
  EXPECT_TRUE(Lit(shot, 250, 298));
  EXPECT_FALSE(Lit(shot, 250, 199));
  EXPECT_FALSE(Lit(shot, 250, 301));
}

TEST_F(DrawPixels, LargerDepthsAreInFrontWhateverTheOrderOfDrawing) {
  uint8_t red[4] = {255, 0, 0, 255};
  uint8_t green[4] = {0, 255, 0, 255};
  Texture r = cLoad::CreateTexture(1, 1, kFormatRgba, red);
  Texture g = cLoad::CreateTexture(1, 1, kFormatRgba, green);
  DrawQuad(r, 0, 0, -1, 400, 600, 1);
  DrawQuad(g, 0, 0, -2, 800, 600, 1);  // behind, drawn later
  DrawQuad(g, 400, 0, -0.5, 400, 600, 1);
  DrawQuad(r, 0, 0, -1.5, 800, 600, 1);  // behind the green on the right
  const Image& shot = Capture();
  EXPECT_TRUE(Near(shot, 200, 300, 255, 0, 0, 0));
  EXPECT_TRUE(Near(shot, 600, 300, 0, 255, 0, 0));
}

TEST_F(DrawPixels, AnInvisibleQuadStillHidesWhatIsDrawnBehindIt) {
  uint8_t red[4] = {255, 0, 0, 255};
  Texture r = cLoad::CreateTexture(1, 1, kFormatRgba, red);
  DrawQuad(r, 0, 0, -0.5, 400, 600, 0);
  DrawQuad(r, 0, 0, -1, 800, 600, 1);
  const Image& shot = Capture();
  EXPECT_TRUE(Near(shot, 200, 300, 0, 0, 0, 0)) << "alpha 0 wrote depth";
  EXPECT_TRUE(Near(shot, 600, 300, 255, 0, 0, 0));
}

TEST_F(DrawPixels, AnimationsDropOnlyFullyTransparentTexels) {
  WriteSprite(dir / "data" / "s.tga");
  uint8_t red[4] = {255, 0, 0, 255};
  Texture back = cLoad::CreateTexture(1, 1, kFormatRgba, red);
  cAnim anim;
  ASSERT_NE(cLoad::LoadTGA("data\\s.tga", anim.textures[0]), 0u);
  anim.width = 640;
  anim.height = 640;
  anim.frameCount = 1;
  anim.playing = 1;
  anim.Show(400, 300, -0.5);  // covers x 80..720
  DrawQuad(back, 0, 0, -1, 800, 600, 1);
  const Image& shot = Capture();
  EXPECT_TRUE(Near(shot, 200, 300, 255, 0, 0, 0)) << "alpha 0: dropped, the quad behind shows";
  EXPECT_TRUE(Near(shot, 440, 300, 0, 0, 13, 2))
      << "alpha 13/255 passes the test, writes depth and blends over the black";
  EXPECT_TRUE(Near(shot, 650, 300, 0, 0, 255, 0)) << "opaque";
  EXPECT_TRUE(Near(shot, 40, 300, 255, 0, 0, 0)) << "outside the sprite";
}

TEST_F(DrawPixels, AMirroredAnimationIsTheMirrorImage) {
  WriteSprite(dir / "data" / "s.tga");
  cAnim anim;
  ASSERT_NE(cLoad::LoadTGA("data\\s.tga", anim.textures[0]), 0u);
  anim.width = 300;
  anim.height = 200;
  anim.frameCount = 1;
  anim.Show(400, 300, -0.5);
  Image plain = Capture();
  NewFrame();
  anim.mirrored = 1;
  anim.Show(400, 300, -0.5);
  const Image& mirrored = Capture();
  EXPECT_TRUE(Near(plain, 465, 230, 255, 255, 0, 0)) << "yellow at the top of the right half";
  EXPECT_TRUE(Near(mirrored, 334, 230, 255, 255, 0, 0));
  int differences = 0;
  for (int y = 195; y < 405; ++y) {
    for (int x = 240; x < 560; ++x) {
      const uint8_t* a = At(plain, x, y);
      const uint8_t* b = At(mirrored, 799 - x, y);
      for (int k = 0; k < 3; ++k) differences += std::abs(a[k] - b[k]) > 2;
    }
  }
  EXPECT_EQ(differences, 0);
}
