// JPEG decoding against cjpeg/djpeg, the encoder read back by djpeg, and broken streams.
#include <gtest/gtest.h>

#include <algorithm>

#include "formats/jpeg.hpp"
#include "gfx/tool_images.hpp"

using namespace tool_images;

namespace {
// The three bytes of a binary PPM's pixels, top row first.
std::vector<uint8_t> PpmPixels(const std::vector<uint8_t>& ppm, int& width, int& height) {
  std::string text(ppm.begin(), ppm.end());
  int maxValue = 0;
  int consumed = 0;
  if (std::sscanf(text.c_str(), "P6 %d %d %d%n", &width, &height, &maxValue, &consumed) != 3) {
    return {};
  }
  return std::vector<uint8_t>(ppm.begin() + consumed + 1, ppm.end());
}

// The offset of the frame header's height field in a baseline JPEG.
std::size_t FrameSizeOffset(const std::vector<uint8_t>& jpeg) {
  for (std::size_t i = 0; i + 8 < jpeg.size(); ++i) {
    if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xC0) return i + 5;
  }
  return 0;
}
}  // namespace

TEST(Jpeg, DecodesWhatCjpegMadeExactlyAsDjpegDoesBottomRowFirstAndOpaque) {
  TempDir dir{"jpeg_cjpeg"};
  ASSERT_TRUE(MakeBlocks(dir / "p.png", 50, 30, 5, 3));
  ASSERT_TRUE(RunTool("convert " + Quoted(dir / "p.png") + " " + Quoted(dir / "p.ppm")));
  ASSERT_TRUE(
      RunTool("cjpeg -quality 90 -outfile " + Quoted(dir / "p.jpg") + " " + Quoted(dir / "p.ppm")));
  ASSERT_TRUE(RunTool("djpeg -outfile " + Quoted(dir / "d.ppm") + " " + Quoted(dir / "p.jpg")));
  int width = 0;
  int height = 0;
  std::vector<uint8_t> reference = PpmPixels(Bytes(dir / "d.ppm"), width, height);
  ASSERT_EQ(reference.size(), 50u * 30u * 3u);

  JpegDecode d = DecodeJpeg(Bytes(dir / "p.jpg"));
  ASSERT_TRUE(d.image) << d.error;
  ASSERT_EQ(d.image->width, 50);
  ASSERT_EQ(d.image->height, 30);
  for (int row = 0; row < height; ++row) {
    for (int x = 0; x < width; ++x) {
      const uint8_t* want = &reference[((height - 1 - row) * width + x) * 3];
      const uint8_t* got = d.image->Pixel(x, row);
      ASSERT_EQ(got[0], want[0]) << x << "," << row;
      ASSERT_EQ(got[1], want[1]) << x << "," << row;
      ASSERT_EQ(got[2], want[2]) << x << "," << row;
      ASSERT_EQ(got[3], 255) << x << "," << row;
    }
  }
}

TEST(Jpeg, GreyPicturesComeOutAsGreyRgb) {
  TempDir dir{"jpeg_grey"};
  ASSERT_TRUE(RunTool("convert -size 8x8 gradient:white-black " + Quoted(dir / "g.pgm")));
  ASSERT_TRUE(
      RunTool("cjpeg -grayscale -outfile " + Quoted(dir / "g.jpg") + " " + Quoted(dir / "g.pgm")));
  JpegDecode d = DecodeJpeg(Bytes(dir / "g.jpg"));
  ASSERT_TRUE(d.image) << d.error;
  const uint8_t* top = d.image->Pixel(3, 7);
  const uint8_t* bottom = d.image->Pixel(3, 0);
  EXPECT_EQ(top[0], top[1]);
  EXPECT_EQ(top[1], top[2]);
  EXPECT_GT(top[0], 200) << "the white end is at the top";
  EXPECT_LT(bottom[0], 50);
}

TEST(Jpeg, TheEncoderIsReadByDjpeg) {
  TempDir dir{"jpeg_encoder"};
  RgbaImage image{16, 16, std::vector<uint8_t>(16 * 16 * 4, 255)};
  // Bottom half dark blue, top half light yellow.
  for (int row = 0; row < 8; ++row) {
    for (int x = 0; x < 16; ++x) {
      uint8_t* p = image.Pixel(x, row);
      p[0] = 10;
      p[1] = 20;
      p[2] = 160;
    }
  }
  std::vector<uint8_t> jpeg = EncodeJpeg(image, 95);
  ASSERT_FALSE(jpeg.empty());
  WriteFile(dir / "e.jpg", AsString(jpeg));
  ASSERT_TRUE(RunTool("djpeg -outfile " + Quoted(dir / "e.ppm") + " " + Quoted(dir / "e.jpg")));
  int width = 0;
  int height = 0;
  std::vector<uint8_t> px = PpmPixels(Bytes(dir / "e.ppm"), width, height);
  ASSERT_EQ(width, 16);
  ASSERT_EQ(height, 16);
  const uint8_t* topLeft = &px[0];
  const uint8_t* bottomLeft = &px[(15 * 16) * 3];
  EXPECT_NEAR(topLeft[2], 255, 6);
  EXPECT_NEAR(bottomLeft[0], 10, 6);
  EXPECT_NEAR(bottomLeft[2], 160, 6);
  EXPECT_TRUE(EncodeJpeg(RgbaImage{}, 90).empty()) << "no pixels, no file";
}

TEST(Jpeg, BrokenStreamsAreRefusedAndHugeClaimsTakeNoMemory) {
  TempDir dir{"jpeg_broken"};
  ASSERT_TRUE(MakeBlocks(dir / "p.png", 32, 32, 2, 2));
  ASSERT_TRUE(RunTool("convert " + Quoted(dir / "p.png") + " " + Quoted(dir / "p.ppm")));
  ASSERT_TRUE(
      RunTool("cjpeg -baseline -outfile " + Quoted(dir / "p.jpg") + " " + Quoted(dir / "p.ppm")));
  std::vector<uint8_t> good = Bytes(dir / "p.jpg");
  std::size_t sof = FrameSizeOffset(good);
  ASSERT_GT(sof, 0u);
  std::vector<uint8_t> huge = good;
  huge[sof] = huge[sof + 1] = huge[sof + 2] = huge[sof + 3] = 0xFD;  // 65021 x 65021
  std::vector<uint8_t> zeroWidth = good;
  zeroWidth[sof + 2] = zeroWidth[sof + 3] = 0;
  struct Case {
    std::vector<uint8_t> bytes;
    const char* what;
  } cases[] = {
      {{}, "empty"},
      {std::vector<uint8_t>(good.begin(), good.begin() + 2), "only the start marker"},
      {std::vector<uint8_t>(good.begin(), good.begin() + sof), "cut inside the headers"},
      {{'n', 'o', 't', ' ', 'a', ' ', 'j', 'p', 'e', 'g'}, "text"},
      {Bytes(dir / "p.ppm"), "a PPM"},
      {huge, "65021 x 65021 claimed"},
      {zeroWidth, "width 0"},
  };
  for (const Case& c : cases) {
    JpegDecode d = DecodeJpeg(c.bytes);
    EXPECT_FALSE(d.image.has_value()) << c.what;
    EXPECT_FALSE(d.error.empty()) << c.what;
  }
  // The pixel limit on both sides: 32 x 32 is 1024 pixels.
  EXPECT_TRUE(DecodeJpeg(good, 1024).image);
  JpegDecode over = DecodeJpeg(good, 1023);
  EXPECT_FALSE(over.image);
  EXPECT_EQ(over.error, "the picture is too large (32 x 32)");
  // The largest side the game loads, on both sides of it (a few hundred bytes may claim more).
  for (auto [size, loads] : {std::pair{"4096x2", true}, std::pair{"2x4097", false}}) {
    ASSERT_TRUE(RunTool(std::string("convert -size ") + size + " xc:red " + Quoted(dir / "s.jpg")));
    JpegDecode side = DecodeJpeg(Bytes(dir / "s.jpg"));
    EXPECT_EQ(side.image.has_value(), loads) << size;
    if (!loads) EXPECT_NE(side.error.find("above the largest"), std::string::npos) << side.error;
  }
  // A stream cut inside the picture data still gives the whole picture, as far as it goes.
  ASSERT_TRUE(RunTool("convert -size 96x96 -seed 3 plasma: " + Quoted(dir / "n.ppm")));
  ASSERT_TRUE(RunTool("cjpeg -outfile " + Quoted(dir / "n.jpg") + " " + Quoted(dir / "n.ppm")));
  std::vector<uint8_t> noisy = Bytes(dir / "n.jpg");
  JpegDecode cut =
      DecodeJpeg(std::vector<uint8_t>(noisy.begin(), noisy.begin() + noisy.size() * 3 / 4));
  ASSERT_TRUE(cut.image) << cut.error;
  EXPECT_EQ(cut.image->width, 96);
  EXPECT_EQ(cut.image->height, 96);
  // Found by the content fault sweep: a JPEG cut in half loaded without a word. The early end
  // is told (the loader names the file); the whole stream is not cut.
  EXPECT_TRUE(cut.endedEarly);
  JpegDecode whole = DecodeJpeg(noisy);
  ASSERT_TRUE(whole.image);
  EXPECT_FALSE(whole.endedEarly);
  JpegDecode noEnd = DecodeJpeg(std::vector<uint8_t>(noisy.begin(), noisy.end() - 2));
  ASSERT_TRUE(noEnd.image);
  EXPECT_TRUE(noEnd.endedEarly) << "libjpeg counts a missing end marker as an early end";
  // A header claiming more rows than the data holds: the data ends at the end marker.
  std::vector<uint8_t> taller = noisy;
  const uint8_t startOfFrame[] = {0xFF, 0xC0};
  auto frame = std::search(taller.begin(), taller.end(), startOfFrame, startOfFrame + 2);
  ASSERT_NE(frame, taller.end());
  frame[5] = 1;  // 256 + 96 rows
  JpegDecode claimed = DecodeJpeg(taller);
  ASSERT_TRUE(claimed.image);
  EXPECT_EQ(claimed.image->height, 352);
  EXPECT_TRUE(claimed.endedEarly);
  // Other damage libjpeg decodes past is named, and the picture kept.
  std::vector<uint8_t> extra = noisy;
  const uint8_t startOfScan[] = {0xFF, 0xDA};
  extra.insert(std::search(extra.begin(), extra.end(), startOfScan, startOfScan + 2), {1, 2, 3});
  JpegDecode extraneous = DecodeJpeg(extra);
  ASSERT_TRUE(extraneous.image);
  EXPECT_FALSE(extraneous.endedEarly);
  EXPECT_NE(extraneous.warning.find("extraneous bytes"), std::string::npos) << extraneous.warning;
  EXPECT_EQ(whole.warning, "");
}

TEST(Jpeg, PrintJpegsInCmykComeOutInTheirColours) {
  TempDir dir{"jpeg_cmyk"};
  ASSERT_TRUE(
      RunTool("convert -size 16x16 xc:'rgb(200,60,30)' -colorspace CMYK " + Quoted(dir / "c.jpg")));
  JpegDecode d = DecodeJpeg(Bytes(dir / "c.jpg"));
  ASSERT_TRUE(d.image) << d.error;
  const uint8_t* p = d.image->Pixel(8, 8);
  EXPECT_NEAR(p[0], 200, 12);
  EXPECT_NEAR(p[1], 60, 12);
  EXPECT_NEAR(p[2], 30, 12);
  EXPECT_EQ(p[3], 255);
}
