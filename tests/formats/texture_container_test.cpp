// The texture container: containers made from ImageMagick's DDS files, the writer, and every
// kind of broken header.
#include <gtest/gtest.h>

#include "formats/texture_container.hpp"
#include "gfx/tool_images.hpp"

using namespace tool_images;

namespace {
std::vector<uint8_t> Header(int32_t dataSize, int32_t format, int32_t width, int32_t height) {
  std::vector<uint8_t> bytes = WriteTextureContainer(format, width, height, {});
  bytes[0] = static_cast<uint8_t>(dataSize);
  bytes[1] = static_cast<uint8_t>(dataSize >> 8);
  bytes[2] = static_cast<uint8_t>(dataSize >> 16);
  bytes[3] = static_cast<uint8_t>(dataSize >> 24);
  return bytes;
}
}  // namespace

TEST(TextureContainer, ReadsWhatImageMagickCompressed) {
  TempDir dir{"container_magick"};
  ASSERT_TRUE(MakeBlocks(dir / "p.png", 64, 32, 4, 2));
  std::vector<uint8_t> dxt1 = MakeContainer(dir / "p.png", dir / "p1.dds", "dxt1");
  std::vector<uint8_t> dxt5 = MakeContainer(dir / "p.png", dir / "p5.dds", "dxt5");
  ContainerParse p1 = ParseTextureContainer(dxt1);
  ASSERT_TRUE(p1.container) << p1.error;
  EXPECT_EQ(p1.container->internalFormat, kFormatDxt1Rgba);
  EXPECT_EQ(p1.container->width, 64);
  EXPECT_EQ(p1.container->height, 32);
  EXPECT_EQ(p1.container->data.size(), 64u * 32u / 2u);
  EXPECT_EQ(p1.container->data.data(), dxt1.data() + 16) << "the data is read in place";
  ContainerParse p5 = ParseTextureContainer(dxt5);
  ASSERT_TRUE(p5.container) << p5.error;
  EXPECT_EQ(p5.container->internalFormat, kFormatDxt5);
  EXPECT_EQ(p5.container->data.size(), 64u * 32u);
}

TEST(TextureContainer, WritesTheHeaderLittleEndianAndReadsBackWithExtraBytesIgnored) {
  std::vector<uint8_t> data(8 * 3, 0xAB);
  std::vector<uint8_t> bytes = WriteTextureContainer(kFormatDxt1Rgba, 12, 4, data);
  ASSERT_EQ(bytes.size(), 16u + data.size());
  std::vector<uint8_t> header(bytes.begin(), bytes.begin() + 16);
  EXPECT_EQ(header, (std::vector<uint8_t>{24, 0, 0, 0, 0xF1, 0x83, 0, 0, 12, 0, 0, 0, 4, 0, 0, 0}));
  bytes.insert(bytes.end(), {1, 2, 3});
  ContainerParse p = ParseTextureContainer(bytes);
  ASSERT_TRUE(p.container) << p.error;
  EXPECT_EQ(p.container->data.size(), 24u);
  EXPECT_EQ(p.container->data.back(), 0xAB);
}

TEST(TextureContainer, UnknownFormatsPassUnchecked) {
  // The GL implementation decides about formats the game does not know.
  std::vector<uint8_t> data(5, 1);
  ContainerParse p = ParseTextureContainer(WriteTextureContainer(0x1234, 3, 3, data));
  ASSERT_TRUE(p.container) << p.error;
  EXPECT_EQ(p.container->internalFormat, 0x1234);
  EXPECT_EQ(p.container->data.size(), 5u);
  // The largest picture the game loads, on both sides.
  EXPECT_TRUE(ParseTextureContainer(WriteTextureContainer(0x1234, 4096, 4096, data)).container);
}

TEST(TextureContainer, CompressedSizesRoundPartialBlocksUp) {
  EXPECT_EQ(CompressedImageSize(kFormatDxt1Rgb, 800, 600), 240000);
  EXPECT_EQ(CompressedImageSize(kFormatDxt5, 800, 600), 480000);
  EXPECT_EQ(CompressedImageSize(kFormatDxt3, 5, 5), 64);
  EXPECT_EQ(CompressedImageSize(kFormatDxt1Rgba, 1, 1), 8);
  EXPECT_EQ(CompressedImageSize(kFormatDxt5, 16384, 16384), int64_t{16384} * 16384);
  EXPECT_FALSE(CompressedImageSize(0x1908, 4, 4).has_value());
}

TEST(TextureContainer, BrokenFilesAreRefusedWithAReason) {
  struct Case {
    std::vector<uint8_t> bytes;
    const char* what;
    const char* reasonHas;
  };
  std::vector<uint8_t> good = WriteTextureContainer(kFormatDxt1Rgb, 4, 4, std::vector<uint8_t>(8));
  std::vector<uint8_t> truncatedData(good.begin(), good.end() - 1);
  std::vector<uint8_t> shortHeader(good.begin(), good.begin() + 15);
  std::vector<uint8_t> lyingSize = Header(1 << 30, kFormatDxt1Rgb, 4, 4);
  lyingSize.resize(16 + 8);
  std::vector<uint8_t> tooLittleForImage = Header(8, kFormatDxt5, 8, 8);
  tooLittleForImage.resize(16 + 8);
  Case cases[] = {
      {{}, "empty file", "header"},
      {shortHeader, "15 bytes", "header"},
      {truncatedData, "data one byte short", "promises"},
      {lyingSize, "data size far beyond the file", "promises"},
      {Header(-8, kFormatDxt1Rgb, 4, 4), "negative data size", "negative data size"},
      {Header(0, -1, 4, 4), "negative format", "negative format"},
      {Header(0, 0x1234, 0, 4), "zero width", "image size 0 x 4"},
      {Header(0, 0x1234, 4, -4), "negative height", "image size 4 x -4"},
      {Header(0, 0x1234, 4097, 4), "width above the largest picture", "above the largest"},
      {Header(0, 0x1234, 4, 4097), "height above the largest picture", "above the largest"},
      {Header(0, 0x1234, 0x7FFFFFFF, 0x7FFFFFFF), "huge sides", "above the largest"},
      {tooLittleForImage, "DXT5 8 x 8 with one block of data", "needs 64"},
  };
  for (const Case& c : cases) {
    ContainerParse p = ParseTextureContainer(c.bytes);
    EXPECT_FALSE(p.container.has_value()) << c.what;
    EXPECT_NE(p.error.find(c.reasonHas), std::string::npos) << c.what << ": " << p.error;
  }
}
