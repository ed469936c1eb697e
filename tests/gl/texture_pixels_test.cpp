// Each loader's texture drawn over the whole screen and read back through the screenshot path:
// the picture comes out upright and in the colours the independent tools decode.
#include <GL/gl.h>
#include <malloc.h>

#include "formats/texture_container.hpp"
#include "gfx/draw.hpp"
#include "gfx/load.hpp"
#include "gfx/tool_images.hpp"
#include "gl_fixture.hpp"
#include "harness/png_file.hpp"

using namespace tool_images;
namespace fs = std::filesystem;

namespace {
constexpr int kSide = 256;
constexpr int kBlocks = 4;

struct TexturePixels : GlFixture {
  fs::path png;
  std::vector<uint8_t> source;  // what ImageMagick decodes the picture to, top row first

  void SetUp() override {
    GlFixture::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    png = dir / "blocks.png";
    ASSERT_TRUE(MakeBlocks(png, kSide, kSide, kBlocks, kBlocks));
    source = DecodedRgba(png);
    ASSERT_EQ(source.size(), std::size_t{kSide} * kSide * 4);
    fs::create_directories(dir / "data");
  }

  // The full-screen quad shows block (c, r) around the middle of its screen rectangle.
  void ExpectBlocks(const Image& shot, const std::vector<uint8_t>& reference, int tolerance) {
    ASSERT_EQ(shot.width, 800);
    ASSERT_EQ(shot.height, 600);
    for (int r = 0; r < kBlocks; ++r) {
      for (int c = 0; c < kBlocks; ++c) {
        int sx = (2 * c + 1) * kSide / (2 * kBlocks);
        int sy = (2 * r + 1) * kSide / (2 * kBlocks);
        const uint8_t* want = &reference[(static_cast<std::size_t>(sy) * kSide + sx) * 4];
        int x = (2 * c + 1) * 800 / (2 * kBlocks);
        int y = (2 * r + 1) * 600 / (2 * kBlocks);
        EXPECT_TRUE(Near(shot, x, y, want[0], want[1], want[2], tolerance))
            << "block " << c << "," << r;
      }
    }
  }
  const Image& DrawFullScreen(Texture t) {
    DrawQuad(t, 0, 0, -2, 800, 600, 1);
    return Capture();
  }
};
}  // namespace

TEST_F(TexturePixels, TargaStandsUpright) {
  ASSERT_TRUE(MakeTarga(png, dir / "data" / "blocks.tga"));
  Texture t = 0;
  ASSERT_NE(cLoad::LoadTGA("data\\blocks.tga", t), 0u);
  const Image& shot = DrawFullScreen(t);
  ASSERT_TRUE(Near(shot, 100, 75, 255, 0, 0, 2)) << "the red block is top left";
  ExpectBlocks(shot, source, 2);
}

TEST_F(TexturePixels, JpegStandsUprightInDjpegsColours) {
  ASSERT_TRUE(RunTool("convert " + Quoted(png) + " " + Quoted(dir / "b.ppm")));
  ASSERT_TRUE(RunTool("cjpeg -quality 95 -outfile " + Quoted(dir / "data" / "blocks.jpg") + " " +
                      Quoted(dir / "b.ppm")));
  Texture t = 0;
  ASSERT_NE(cLoad::LoadJPG("data\\blocks.jpg", t), 0u);
  const Image& shot = DrawFullScreen(t);
  ExpectBlocks(shot, DecodedRgba(dir / "data" / "blocks.jpg"), 3);
}

TEST_F(TexturePixels, Dxt1AndDxt5ContainersStandUprightInTheirDecodedColours) {
  for (const char* compression : {"dxt1", "dxt5"}) {
    SCOPED_TRACE(compression);
    NewFrame();
    fs::path dds = dir / (std::string(compression) + ".dds");
    std::vector<uint8_t> container = MakeContainer(png, dds, compression);
    ASSERT_FALSE(container.empty());
    std::string name = std::string(compression) + ".dxt";
    WriteFile(dir / "data" / name, AsString(container));
    ForgetListings();
    Texture t = cLoad::LoadDXT("data\\" + name);
    ASSERT_NE(t, 0u);
    // The DDS holds the picture turned over; ImageMagick's decoding of it, turned back, is the
    // reference.
    ASSERT_TRUE(RunTool("convert " + Quoted(dds) + " -flip " + Quoted(dir / "back.png")));
    const Image& shot = DrawFullScreen(t);
    ExpectBlocks(shot, DecodedRgba(dir / "back.png"), 2);
    ExpectBlocks(shot, source, 8);
  }
}

// Pictures read through the content are uploaded when first drawn in view, dropped after going
// undrawn, and read again when drawn next; a file that changed meanwhile is left out.
TEST_F(TexturePixels, ACompressedPictureIsInTheDriverOnlyWhileItIsDrawn) {
  renderer->SetPictureSource(ContentPictures());
  fs::path dds = dir / "p.dds";
  std::vector<uint8_t> container = MakeContainer(png, dds, "dxt5");
  ASSERT_FALSE(container.empty());
  WriteFile(dir / "data" / "p.dxt", AsString(container));
  ForgetListings();
  Texture t = cLoad::LoadDXT("data\\p.dxt");
  ASSERT_NE(t, 0u);
  const std::size_t bytes = container.size() - 16;
  EXPECT_EQ(renderer->UploadedPictureBytes(), 0u) << "loaded, not drawn yet";
  // Touching the view's edge from outside draws nothing; one pixel in draws.
  for (double x : {-800.0, 800.0}) DrawQuad(t, x, 0, -2, 800, 600, 1);
  DrawQuad(t, 0, -600, -2, 800, 600, 1);
  EXPECT_EQ(renderer->UploadedPictureBytes(), 0u) << "only out of view";
  DrawQuad(t, -799, 0, -2, 800, 600, 1);
  EXPECT_EQ(renderer->UploadedPictureBytes(), bytes);
  EXPECT_FALSE(Near(Capture(), 0, 300, 0, 0, 0, 8)) << "the picture's last column shows";

  auto undrawnFor = [&](uint64_t frames) {
    for (uint64_t i = 0; i < frames; ++i) {
      NewFrame();
      renderer->FrameDone();
    }
  };
  NewFrame();
  undrawnFor(TextureResidency::kKeepFrames / 2);
  EXPECT_EQ(renderer->UploadedPictureBytes(), bytes) << "not long enough to be dropped";
  undrawnFor(TextureResidency::kKeepFrames);
  EXPECT_EQ(renderer->UploadedPictureBytes(), 0u) << "dropped";
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
  NewFrame();
  ExpectBlocks(DrawFullScreen(t), source, 8);
  EXPECT_EQ(renderer->UploadedPictureBytes(), bytes) << "read again";

  // The file now holds a picture of another format: once dropped, it is drawn no more.
  WriteFile(dir / "data" / "p.dxt", AsString(MakeContainer(png, dds, "dxt1")));
  undrawnFor(2 * TextureResidency::kKeepFrames);
  NewFrame();
  ::testing::internal::CaptureStderr();
  const Image& shot = DrawFullScreen(t);
  EXPECT_NE(::testing::internal::GetCapturedStderr().find("p.dxt could not be read again"),
            std::string::npos);
  EXPECT_TRUE(Near(shot, 100, 75, 0, 0, 0, 0)) << "left out, not drawn blank";
  EXPECT_EQ(renderer->UploadedPictureBytes(), 0u);
}

// A picture set aside (or dropped) gives the driver's memory back, which a software driver keeps
// in the game's own heap; drawn again, it is read again from its file. Both kinds: compressed,
// and the mipmapped pixels of a Targa.
TEST_F(TexturePixels, ASetAsidePictureGivesItsMemoryBack) {
  renderer->SetPictureSource(ContentPictures());
  constexpr int kBig = 2048;
  ASSERT_TRUE(MakeBlocks(dir / "big.png", kBig, kBig, kBlocks, kBlocks));
  ASSERT_TRUE(MakeTarga(dir / "big.png", dir / "data" / "big.tga"));
  WriteFile(dir / "data" / "big.dxt",
            AsString(MakeContainer(dir / "big.png", dir / "big.dds", "dxt5")));
  ForgetListings();
  auto inUse = [] {
    const struct mallinfo2 m = mallinfo2();
    return static_cast<double>(m.uordblks + m.hblkhd);
  };
  Texture tga = 0;
  ASSERT_NE(cLoad::LoadTGA("data\\big.tga", tga), 0u);
  const Texture dxt = cLoad::LoadDXT("data\\big.dxt");
  ASSERT_NE(dxt, 0u);
  EXPECT_EQ(renderer->UploadedPictureBytes(), 0u) << "loaded, not drawn yet";
  for (auto [t, bytes] : {std::pair{tga, kBig * kBig * 4.0}, std::pair{dxt, kBig * kBig * 1.0}}) {
    SCOPED_TRACE(t == tga ? "targa" : "compressed");
    NewFrame();
    DrawFullScreen(t);
    const double drawn = inUse();
    SetAside(t);
    EXPECT_EQ(renderer->UploadedPictureBytes(), 0u);
    NewFrame();
    renderer->FrameDone();
    DrawQuad(0, 0, 0, -2, 800, 600, 1);
    Capture();
    EXPECT_LT(inUse(), drawn - 0.6 * bytes) << "the driver's copy is given back";
    NewFrame();
    ExpectBlocks(DrawFullScreen(t), source, t == tga ? 2 : 8);
    SetAside(t);
  }
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

// A picture made in memory has no file behind it, whatever it is named (the editor names its
// swatches "editor:stone"): it is drawn at once and still drawn after going undrawn long enough
// for a file's picture to be dropped. Both kinds: pixels, and compressed data handed over.
TEST_F(TexturePixels, APictureMadeInMemoryIsDrawnAndKeptWhateverItIsNamed) {
  renderer->SetPictureSource(ContentPictures());
  const uint8_t stone[4] = {128, 128, 136, 255};
  const Texture swatch = renderer->CreatePixelTexture({1, 1, true, stone, true}, "editor:stone");
  // One DXT1 block of its first colour, pure red in 5-6-5.
  const uint8_t red[8] = {0x00, 0xF8, 0, 0, 0, 0, 0, 0};
  const Texture block =
      renderer->CreateCompressedTexture(kFormatDxt1Rgb, 4, 4, red, 8, "editor:block");
  ::testing::internal::CaptureStderr();
  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE(round == 0 ? "first drawn" : "drawn after going undrawn");
    NewFrame();
    DrawQuad(swatch, 0, 0, -2, 400, 600, 1);
    DrawQuad(block, 400, 0, -2, 400, 600, 1);
    const Image& shot = Capture();
    EXPECT_TRUE(Near(shot, 200, 300, 128, 128, 136, 2));
    EXPECT_TRUE(Near(shot, 600, 300, 255, 0, 0, 2));
    for (uint64_t i = 0; i < 2 * TextureResidency::kKeepFrames; ++i) {
      NewFrame();
      renderer->FrameDone();
    }
  }
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "") << "nothing was read from a file";
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(TexturePixels, PicturesOfOtherSidesAreScaledToPowersOfTwo) {
  ASSERT_TRUE(MakeBlocks(dir / "odd.png", 100, 60, 2, 2));
  ASSERT_TRUE(MakeTarga(dir / "odd.png", dir / "data" / "odd.tga"));
  ASSERT_TRUE(RunTool("convert " + Quoted(dir / "odd.png") + " " + Quoted(dir / "odd.ppm")));
  ASSERT_TRUE(RunTool("cjpeg -outfile " + Quoted(dir / "data" / "odd.jpg") + " " +
                      Quoted(dir / "odd.ppm")));
  Texture tga = 0;
  Texture jpg = 0;
  ASSERT_NE(cLoad::LoadTGA("data\\odd.tga", tga), 0u);
  ASSERT_NE(cLoad::LoadJPG("data\\odd.jpg", jpg), 0u);
  for (Texture t : {tga, jpg}) {
    glBindTexture(GL_TEXTURE_2D, t);
    GLint width = 0;
    GLint height = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
    EXPECT_EQ(width, 128);
    EXPECT_EQ(height, 64);
  }
  const Image& shot = DrawFullScreen(tga);
  EXPECT_TRUE(Near(shot, 200, 150, 255, 0, 0, 2)) << "still upright after scaling";
}

TEST_F(TexturePixels, AlphaBlendsOverWhatIsBehind) {
  ASSERT_TRUE(MakeBlocks(dir / "a.png", kSide, kSide, kBlocks, kBlocks, true));
  ASSERT_TRUE(MakeTarga(dir / "a.png", dir / "data" / "a.tga"));
  ForgetListings();
  Texture t = 0;
  ASSERT_NE(cLoad::LoadTGA("data\\a.tga", t), 0u);
  const Image& shot = DrawFullScreen(t);
  // Over the black of the cleared frame each block shows its colour times its opacity; the first
  // column is fully transparent.
  std::vector<uint8_t> a = DecodedRgba(dir / "a.png");
  for (int c = 0; c < kBlocks; ++c) {
    int sx = (2 * c + 1) * kSide / (2 * kBlocks);
    int sy = kSide / (2 * kBlocks);
    const uint8_t* p = &a[(static_cast<std::size_t>(sy) * kSide + sx) * 4];
    EXPECT_TRUE(Near(shot, (2 * c + 1) * 800 / (2 * kBlocks), 75, p[0] * p[3] / 255,
                     p[1] * p[3] / 255, p[2] * p[3] / 255, 3))
        << "column " << c;
  }
}

TEST_F(TexturePixels, TextureZeroDrawsAnUntexturedRectangle) {
  DrawQuad(0, 100, 100, -1, 200, 100, 1);
  const Image& shot = Capture();
  EXPECT_TRUE(Near(shot, 150, 150, 255, 255, 255, 0));
  EXPECT_TRUE(Near(shot, 99, 150, 0, 0, 0, 0));
  EXPECT_TRUE(Near(shot, 150, 200, 0, 0, 0, 0)) << "the rectangle ends above y 200";
}

TEST_F(TexturePixels, TheScreenshotFileHoldsTheSamePicture) {
  ASSERT_TRUE(MakeTarga(png, dir / "data" / "blocks.tga"));
  Texture t = 0;
  ASSERT_NE(cLoad::LoadTGA("data\\blocks.tga", t), 0u);
  const Image& shot = DrawFullScreen(t);
  ASSERT_TRUE(WritePng((dir / "shot.png").string(), shot));
  Image back = ReadPng((dir / "shot.png").string());
  ASSERT_EQ(back.rgba.size(), shot.rgba.size());
  ExpectBlocks(back, source, 2);
}
