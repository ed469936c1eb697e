// Targa reading against ImageMagick's own files and decoding, and the writer read back by
// ImageMagick.
#include <gtest/gtest.h>

#include <algorithm>

#include "formats/targa.hpp"
#include "gfx/tool_images.hpp"

using namespace tool_images;

namespace {
// ImageMagick's top-row-first RGBA against the reader's bottom-row-first picture.
void ExpectSamePicture(const RgbaImage& image, const std::vector<uint8_t>& topFirst, bool opaque) {
  ASSERT_EQ(topFirst.size(), image.rgba.size());
  for (int row = 0; row < image.height; ++row) {
    for (int x = 0; x < image.width; ++x) {
      const uint8_t* expected = &topFirst[((image.height - 1 - row) * image.width + x) * 4];
      const uint8_t* got = image.Pixel(x, row);
      for (int k = 0; k < 3; ++k) ASSERT_EQ(got[k], expected[k]) << x << "," << row << " " << k;
      ASSERT_EQ(got[3], opaque ? 255 : expected[3]) << x << "," << row;
    }
  }
}

std::vector<uint8_t> TopFirstTarga(int width, int height,
                                   const std::vector<uint8_t>& bgraTopFirst) {
  std::vector<uint8_t> bytes(18 + bgraTopFirst.size(), 0);
  bytes[2] = 2;
  bytes[12] = static_cast<uint8_t>(width);
  bytes[14] = static_cast<uint8_t>(height);
  bytes[16] = 32;
  bytes[17] = 0x28;
  std::copy(bgraTopFirst.begin(), bgraTopFirst.end(), bytes.begin() + 18);
  return bytes;
}
}  // namespace

TEST(Targa, ReadsImageMagicksFilesOf32And24BitsWithAndWithoutImageId) {
  TempDir dir{"targa_magick"};
  ASSERT_TRUE(MakeBlocks(dir / "a.png", 40, 30, 4, 3, true));
  ASSERT_TRUE(MakeBlocks(dir / "o.png", 40, 30, 4, 3));
  ASSERT_TRUE(MakeTarga(dir / "a.png", dir / "a32.tga"));
  ASSERT_TRUE(MakeTarga(dir / "a.png", dir / "id.tga", "-set comment 'made for a test'"));
  ASSERT_TRUE(MakeTarga(dir / "o.png", dir / "o24.tga", "-alpha off -type TrueColor"));
  ASSERT_TRUE(
      RunTool("convert " + Quoted(dir / "a.png") + " -orient topleft " + Quoted(dir / "top.tga")));
  std::vector<uint8_t> withId = Bytes(dir / "id.tga");
  ASSERT_GT(withId[0], 0) << "ImageMagick should have written an image-ID field";
  std::vector<uint8_t> o24 = Bytes(dir / "o24.tga");
  ASSERT_EQ(o24[16], 24);
  std::vector<uint8_t> top = Bytes(dir / "top.tga");
  ASSERT_EQ(top[17] & 0x20, 0x20) << "stored top row first";

  std::vector<uint8_t> withAlpha = DecodedRgba(dir / "a.png");
  for (const char* name : {"a32.tga", "id.tga", "top.tga"}) {
    TargaParse p = ParseTarga(Bytes(dir / name));
    ASSERT_TRUE(p.image) << name << ": " << p.detail;
    ExpectSamePicture(*p.image, withAlpha, false);
  }
  TargaParse o = ParseTarga(o24);
  ASSERT_TRUE(o.image) << o.detail;
  ExpectSamePicture(*o.image, DecodedRgba(dir / "o.png"), true);
}

TEST(Targa, AFileStoredTopRowFirstComesOutUpright) {
  // Two rows: blue on top, green below, stored top first (descriptor bit 5).
  std::vector<uint8_t> bgra = {255, 0, 0, 255, 0, 255, 0, 128};
  TargaParse p = ParseTarga(TopFirstTarga(1, 2, bgra));
  ASSERT_TRUE(p.image) << p.detail;
  EXPECT_EQ(p.image->rgba, (std::vector<uint8_t>{0, 255, 0, 128, 0, 0, 255, 255}))
      << "row 0 is the bottom row, green";
}

TEST(Targa, SkipsAColourMapOfATrueColourImage) {
  std::vector<uint8_t> bytes = TopFirstTarga(1, 1, {1, 2, 3, 4});
  bytes[17] = 0x08;
  bytes[1] = 1;  // colour map present: 2 entries of 24 bits
  bytes[5] = 2;
  bytes[7] = 24;
  bytes.insert(bytes.begin() + 18, {9, 9, 9, 9, 9, 9});
  TargaParse p = ParseTarga(bytes);
  ASSERT_TRUE(p.image) << p.detail;
  EXPECT_EQ(p.image->rgba, (std::vector<uint8_t>{3, 2, 1, 4}));
}

TEST(Targa, RefusesOtherKindsAndBrokenFiles) {
  TempDir dir{"targa_refused"};
  ASSERT_TRUE(MakeBlocks(dir / "a.png", 16, 8, 2, 1, true));
  ASSERT_TRUE(
      RunTool("convert " + Quoted(dir / "a.png") + " -compress RLE " + Quoted(dir / "rle.tga")));
  ASSERT_TRUE(
      RunTool("convert " + Quoted(dir / "a.png") + " -type Grayscale " + Quoted(dir / "g.tga")));
  ASSERT_TRUE(MakeTarga(dir / "a.png", dir / "a.tga"));
  std::vector<uint8_t> good = Bytes(dir / "a.tga");
  std::vector<uint8_t> truncated(good.begin(), good.end() - 1);
  std::vector<uint8_t> header(good.begin(), good.begin() + 18);
  std::vector<uint8_t> huge = header;
  huge[12] = huge[13] = huge[14] = huge[15] = 0xFF;
  std::vector<uint8_t> empty = header;
  empty[12] = empty[13] = 0;
  std::vector<uint8_t> sixteen = good;
  sixteen[16] = 16;
  std::vector<uint8_t> idPastEnd = header;
  idPastEnd[0] = 200;
  struct Case {
    std::vector<uint8_t> bytes;
    TargaError error;
    const char* what;
  } cases[] = {
      {Bytes(dir / "rle.tga"), TargaError::Unsupported, "run-length encoded"},
      {Bytes(dir / "g.tga"), TargaError::Unsupported, "grey"},
      {sixteen, TargaError::Unsupported, "16 bits per pixel"},
      {{}, TargaError::Truncated, "empty file"},
      {std::vector<uint8_t>(good.begin(), good.begin() + 17), TargaError::Truncated, "17 bytes"},
      {truncated, TargaError::Truncated, "last byte missing"},
      {header, TargaError::Truncated, "header only"},
      {huge, TargaError::Truncated, "65535 x 65535 claimed by a header"},
      {idPastEnd, TargaError::Truncated, "image ID longer than the file"},
      {empty, TargaError::Empty, "width 0"},
  };
  for (const Case& c : cases) {
    TargaParse p = ParseTarga(c.bytes);
    EXPECT_FALSE(p.image.has_value()) << c.what;
    EXPECT_EQ(p.error, c.error) << c.what;
    EXPECT_FALSE(p.detail.empty()) << c.what;
  }
}

TEST(Targa, TheWriterIsReadUprightByImageMagick) {
  TempDir dir{"targa_writer"};
  RgbaImage image{3, 2, {}};
  // Bottom row: red, green, blue; top row: half-transparent grey, black, white.
  image.rgba = {255, 0,   0,   255, 0, 255, 0, 255, 0,   0,   255, 255,
                128, 128, 128, 128, 0, 0,   0, 255, 255, 255, 255, 255};
  std::vector<uint8_t> bytes = WriteTarga(image);
  EXPECT_EQ(bytes.size(), 18u + 24u);
  WriteFile(dir / "w.tga", AsString(bytes));
  // ImageMagick keeps a Targa's rows in stored order and notes the origin as the orientation;
  // -auto-orient puts the picture upright, top row first.
  ASSERT_TRUE(RunTool("convert " + Quoted(dir / "w.tga") +
                      " -auto-orient -depth 8 rgba:" + Quoted(dir / "w.rgba")));
  EXPECT_EQ(Bytes(dir / "w.rgba"),
            (std::vector<uint8_t>{128, 128, 128, 128, 0, 0,   0, 255, 255, 255, 255, 255,  // top
                                  255, 0,   0,   255, 0, 255, 0, 255, 0,   0,   255, 255}));
  TargaParse back = ParseTarga(bytes);
  ASSERT_TRUE(back.image) << back.detail;
  EXPECT_EQ(back.image->rgba, image.rgba);
}
