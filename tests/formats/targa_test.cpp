// Targa reading against ImageMagick's own files and decoding, and the writer read back by
// ImageMagick.
#include <gtest/gtest.h>

#include <algorithm>

#include "formats/targa.hpp"
#include "gfx/tool_images.hpp"

using namespace tool_images;

namespace {
// ImageMagick's top-row-first RGBA against the reader's rows, which follow the file: a file stored
// bottom row first gives the picture's bottom row as row 0, one stored top row first its top row.
void ExpectRowsInFileOrder(const RgbaImage& image, const std::vector<uint8_t>& topFirst,
                           bool storedTopFirst, bool opaque) {
  ASSERT_EQ(topFirst.size(), image.rgba.size());
  for (int row = 0; row < image.height; ++row) {
    int pictureRow = storedTopFirst ? row : image.height - 1 - row;
    for (int x = 0; x < image.width; ++x) {
      const uint8_t* expected = &topFirst[(pictureRow * image.width + x) * 4];
      const uint8_t* got = image.Pixel(x, row);
      for (int k = 0; k < 3; ++k) ASSERT_EQ(got[k], expected[k]) << x << "," << row << " " << k;
      ASSERT_EQ(got[3], opaque ? 255 : expected[3]) << x << "," << row;
    }
  }
}

std::vector<uint8_t> Targa(int width, int height, uint8_t descriptor,
                           const std::vector<uint8_t>& bgra) {
  std::vector<uint8_t> bytes(18 + bgra.size(), 0);
  bytes[2] = 2;
  bytes[12] = static_cast<uint8_t>(width);
  bytes[14] = static_cast<uint8_t>(height);
  bytes[16] = 32;
  bytes[17] = descriptor;
  std::copy(bgra.begin(), bgra.end(), bytes.begin() + 18);
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
    ExpectRowsInFileOrder(*p.image, withAlpha, name == std::string("top.tga"), false);
  }
  TargaParse o = ParseTarga(o24);
  ASSERT_TRUE(o.image) << o.detail;
  ExpectRowsInFileOrder(*o.image, DecodedRgba(dir / "o.png"), false, true);
}

TEST(Targa, RowsComeInFileOrderWhateverTheDescriptorSays) {
  // Two rows of one pixel, stored blue first, then green.
  const std::vector<uint8_t> stored = {255, 0, 0, 255, 0, 255, 0, 128};
  const std::vector<uint8_t> fileOrder = {0, 0, 255, 255, 0, 255, 0, 128};
  struct Case {
    uint8_t descriptor;
    const char* what;
  } cases[] = {
      {0x08, "bottom row first, 8 alpha bits"},
      {0x28, "top row first (bit 5), 8 alpha bits"},
      {0x00, "no alpha bits declared"},
      {0x38, "top row first and right to left (bits 5 and 4)"},
  };
  for (const Case& c : cases) {
    TargaParse p = ParseTarga(Targa(1, 2, c.descriptor, stored));
    ASSERT_TRUE(p.image) << c.what << ": " << p.detail;
    EXPECT_EQ(p.image->rgba, fileOrder) << c.what << ": the first stored row is row 0";
  }
  // Wider rows keep their pixels left to right as stored, even with bit 4 set.
  TargaParse wide = ParseTarga(Targa(2, 1, 0x18, {1, 2, 3, 4, 5, 6, 7, 8}));
  ASSERT_TRUE(wide.image) << wide.detail;
  EXPECT_EQ(wide.image->rgba, (std::vector<uint8_t>{3, 2, 1, 4, 7, 6, 5, 8}));
}

TEST(Targa, SkipsAnImageIdAndAColourMapOfEveryEntrySize) {
  // Entries take whole bytes: 15 bits take two, as 16 do.
  struct Case {
    uint8_t idLength;
    uint8_t entryBits;
    std::size_t entryBytes;
  } cases[] = {{0, 24, 3}, {0, 15, 2}, {0, 16, 2}, {0, 32, 4}, {0, 8, 1}, {5, 15, 2}};
  for (const Case& c : cases) {
    std::vector<uint8_t> bytes = Targa(2, 1, 0x08, {1, 2, 3, 4, 5, 6, 7, 8});
    bytes[0] = c.idLength;
    bytes[1] = 1;  // a colour map of three entries, of no use to a true-colour image
    bytes[5] = 3;
    bytes[7] = c.entryBits;
    bytes.insert(bytes.begin() + 18, c.idLength + 3 * c.entryBytes, 9);
    TargaParse p = ParseTarga(bytes);
    ASSERT_TRUE(p.image) << int(c.entryBits) << ": " << p.detail;
    EXPECT_EQ(p.image->rgba, (std::vector<uint8_t>{3, 2, 1, 4, 7, 6, 5, 8}))
        << int(c.idLength) << " bytes of image ID, entries of " << int(c.entryBits) << " bits";
  }
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
      {huge, TargaError::Unsupported, "65535 x 65535 claimed by a header"},
      {WriteTarga(RgbaImage{1, 4097, std::vector<uint8_t>(4097 * 4)}), TargaError::Unsupported,
       "a whole picture one pixel taller than the largest"},
      {idPastEnd, TargaError::Truncated, "image ID longer than the file"},
      {empty, TargaError::Empty, "width 0"},
  };
  for (const Case& c : cases) {
    TargaParse p = ParseTarga(c.bytes);
    EXPECT_FALSE(p.image.has_value()) << c.what;
    EXPECT_EQ(p.error, c.error) << c.what;
    EXPECT_FALSE(p.detail.empty()) << c.what;
  }
  EXPECT_TRUE(ParseTarga(WriteTarga(RgbaImage{1, 4096, std::vector<uint8_t>(4096 * 4)})).image);
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
