// Every reader on damaged copies of good files: bytes changed at random and files cut short. Under
// the sanitizers this finds any read past the end; here it checks the answers stay consistent.
#include <gtest/gtest.h>

#include <random>

#include "formats/jpeg.hpp"
#include "formats/targa.hpp"
#include "formats/texture_container.hpp"
#include "gfx/tool_images.hpp"

using namespace tool_images;

namespace {
std::vector<uint8_t> Damaged(const std::vector<uint8_t>& good, std::mt19937& random,
                             std::size_t from) {
  std::vector<uint8_t> bytes = good;
  int changes = 1 + static_cast<int>(random() % 8);
  for (int i = 0; i < changes && bytes.size() > from; ++i) {
    bytes[from + random() % (bytes.size() - from)] = static_cast<uint8_t>(random());
  }
  if (random() % 2) bytes.resize(random() % (bytes.size() + 1));
  return bytes;
}
}  // namespace

TEST(DamagedFiles, ContainersAreEitherWholeOrRefused) {
  std::mt19937 random(1);
  std::vector<uint8_t> good =
      WriteTextureContainer(kFormatDxt5, 16, 8, std::vector<uint8_t>(128, 0x5A));
  for (int i = 0; i < 3000; ++i) {
    std::vector<uint8_t> bytes = Damaged(good, random, 0);
    ContainerParse p = ParseTextureContainer(bytes);
    if (!p.container) continue;
    const TextureContainer& c = *p.container;
    ASSERT_LE(c.data.data() + c.data.size(), bytes.data() + bytes.size());
    ASSERT_GE(c.width, 1);
    ASSERT_GE(c.height, 1);
    auto needed = CompressedImageSize(c.internalFormat, c.width, c.height);
    if (needed) ASSERT_GE(static_cast<int64_t>(c.data.size()), *needed);
  }
}

TEST(DamagedFiles, TargasAreEitherWholeOrRefused) {
  std::mt19937 random(2);
  RgbaImage image{7, 5, std::vector<uint8_t>(7 * 5 * 4, 0x80)};
  std::vector<uint8_t> good = WriteTarga(image);
  for (int i = 0; i < 3000; ++i) {
    // Damage mostly the header, where the sizes are.
    std::vector<uint8_t> bytes = Damaged(good, random, 0);
    if (bytes.size() >= 18) bytes[random() % 18] = static_cast<uint8_t>(random());
    TargaParse p = ParseTarga(bytes);
    if (!p.image) continue;
    ASSERT_EQ(p.image->rgba.size(), static_cast<std::size_t>(p.image->width) * p.image->height * 4);
  }
}

TEST(DamagedFiles, JpegsDecodeOrAreRefused) {
  TempDir dir{"damaged_jpeg"};
  ASSERT_TRUE(RunTool("convert -size 48x32 -seed 5 plasma: " + Quoted(dir / "p.ppm")));
  ASSERT_TRUE(RunTool("cjpeg -outfile " + Quoted(dir / "p.jpg") + " " + Quoted(dir / "p.ppm")));
  std::vector<uint8_t> good = Bytes(dir / "p.jpg");
  // Past the headers: damage in the picture data and cuts anywhere. (A damaged frame header may
  // claim pictures of millions of pixels, which decode slowly but are tested elsewhere.)
  std::size_t data = 0;
  for (std::size_t i = 0; i + 1 < good.size(); ++i) {
    if (good[i] == 0xFF && good[i + 1] == 0xDA) data = i + 14;
  }
  ASSERT_GT(data, 0u);
  std::mt19937 random(3);
  for (int i = 0; i < 400; ++i) {
    JpegDecode d = DecodeJpeg(Damaged(good, random, data));
    if (!d.image) {
      ASSERT_FALSE(d.error.empty());
      continue;
    }
    ASSERT_EQ(d.image->width, 48);
    ASSERT_EQ(d.image->height, 32);
  }
}
