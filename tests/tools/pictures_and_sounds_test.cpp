// Writers of the content tools: compressed pictures keep their alpha as the game will see it,
// the font covers the Latvian letters, WAV files carry the game's rate.
#include <gtest/gtest.h>
#include <squish.h>

#include <cmath>
#include <cstring>
#include <memory>

#include "audio/sound_source.hpp"
#include "formats/texture_container.hpp"
#include "mkcontent/font_atlas.hpp"
#include "mkcontent/output.hpp"
#include "mkcontent/synth.hpp"

namespace {

// Left half clear, right half opaque red, one soft column in between.
RgbaImage HalfClear() {
  RgbaImage image;
  image.width = 16;
  image.height = 8;
  image.rgba.assign(16 * 8 * 4, 0);
  for (int row = 0; row < 8; ++row) {
    for (int x = 8; x < 16; ++x) {
      uint8_t* p = image.Pixel(x, row);
      p[0] = 200, p[3] = x == 8 ? 140 : 255;
    }
  }
  return image;
}

RgbaImage Decode(const std::vector<uint8_t>& blocks, int w, int h, int flags) {
  RgbaImage out;
  out.width = w;
  out.height = h;
  out.rgba.resize(static_cast<std::size_t>(w) * h * 4);
  squish::DecompressImage(out.rgba.data(), w, h, blocks.data(), flags);
  return out;
}

}  // namespace

TEST(ContentPictures, CompressionKeepsWhatTheGameNeedsOfAlpha) {
  RgbaImage image = HalfClear();
  EXPECT_EQ(DxtFormat(DxtKind::Opaque), kFormatDxt1Rgb);
  EXPECT_EQ(DxtFormat(DxtKind::Cutout), kFormatDxt1Rgba);
  EXPECT_EQ(DxtFormat(DxtKind::Smooth), kFormatDxt5);

  std::vector<uint8_t> cutout = CompressDxt(image, DxtKind::Cutout);
  EXPECT_EQ(cutout.size(), static_cast<std::size_t>(*CompressedImageSize(kFormatDxt1Rgba, 16, 8)));
  RgbaImage c = Decode(cutout, 16, 8, squish::kDxt1);
  EXPECT_EQ(c.Pixel(2, 3)[3], 0);
  EXPECT_EQ(c.Pixel(12, 3)[3], 255);
  EXPECT_GT(c.Pixel(12, 3)[0], 150);

  std::vector<uint8_t> smooth = CompressDxt(image, DxtKind::Smooth);
  RgbaImage s = Decode(smooth, 16, 8, squish::kDxt5);
  EXPECT_EQ(s.Pixel(2, 3)[3], 0);
  EXPECT_NEAR(s.Pixel(8, 3)[3], 140, 12);  // soft edges stay soft

  // Opaque pictures lose nothing to transparency, even where the drawing was clear.
  RgbaImage o = Decode(CompressDxt(image, DxtKind::Opaque), 16, 8, squish::kDxt1);
  EXPECT_EQ(o.Pixel(2, 3)[3], 255);
}

TEST(ContentPictures, TheFontFollowsTheBalticCodePage) {
  EXPECT_EQ(Cp1257ToUnicode('A'), U'A');
  EXPECT_EQ(Cp1257ToUnicode(0xE2), U'\u0101');  // ā
  EXPECT_EQ(Cp1257ToUnicode(0xE7), U'\u0113');  // ē
  EXPECT_EQ(Cp1257ToUnicode(0xD0), U'\u0160');  // Š
  EXPECT_EQ(Cp1257ToUnicode(0xFE), U'\u017E');  // ž
  EXPECT_FALSE(Cp1257ToUnicode(0x81).has_value());
  EXPECT_FALSE(Cp1257ToUnicode(0x0A).has_value());

  const int cell = 16;
  RgbaImage atlas = FontAtlas(Font::SansBold, cell, 0.8, 1.0);
  ASSERT_EQ(atlas.width, 256);
  auto coverage = [&](int byte) {
    int sum = 0;
    int cx = (byte % 16) * cell, top = (byte / 16) * cell;
    for (int y = top; y < top + cell; ++y) {
      // Row 0 of the grid is the top of the picture; the image is stored bottom row first.
      for (int x = cx; x < cx + cell; ++x) sum += atlas.Pixel(x, atlas.height - 1 - y)[3];
    }
    return sum;
  };
  EXPECT_GT(coverage('A'), 1000);
  EXPECT_GT(coverage(0xE2), 1000);
  EXPECT_GT(coverage(0xD0), 1000);
  EXPECT_EQ(coverage(' '), 0);
  EXPECT_EQ(coverage(0x81), 0);
  // A glyph is sampled a little beyond its right edge: that strip of every cell stays clear.
  for (int byte = 0; byte < 256; ++byte) {
    int x = (byte % 16) * cell;
    for (int y = (byte / 16) * cell; y < (byte / 16 + 1) * cell; ++y) {
      ASSERT_EQ(atlas.Pixel(x, atlas.height - 1 - y)[3], 0) << byte;
      ASSERT_EQ(atlas.Pixel(x + cell - 1, atlas.height - 1 - y)[3], 0) << byte;
    }
  }
}

TEST(ContentSounds, WavFilesCarryTheGamesRate) {
  Samples s = {0.0f, 0.5f, -0.5f, 2.0f, -2.0f};
  std::vector<uint8_t> wav = EncodeWav(s);
  ASSERT_EQ(wav.size(), 44u + 10u);
  EXPECT_EQ(std::memcmp(wav.data(), "RIFF", 4), 0);
  uint32_t riff, rate, data;
  std::memcpy(&riff, &wav[4], 4);
  std::memcpy(&rate, &wav[24], 4);
  std::memcpy(&data, &wav[40], 4);
  EXPECT_EQ(riff, wav.size() - 8);
  EXPECT_EQ(rate, 44100u);
  EXPECT_EQ(data, 10u);
  int16_t v[5];
  std::memcpy(v, &wav[44], 10);
  EXPECT_EQ(v[1], 16384);
  EXPECT_EQ(v[3], 32767);  // clipped, not wrapped
  EXPECT_EQ(v[4], -32767);

  Samples fromSlow = Resample(Samples(22050, 0.25f), 22050);
  EXPECT_EQ(fromSlow.size(), 44100u);
}

// The demo's music keeps to the centre line: a steady offset would push every mix it is in off it.
TEST(ContentSounds, TheMusicTracksCarryNoOffset) {
  for (const char* track : {"intro.mp3", "menu.mp3", "game.mp3"}) {
    SCOPED_TRACE(track);
    std::unique_ptr<SoundSource> source =
        OpenSoundSource(std::string(MORVA_TEST_CONTENT) + "/data/sounds/music/" + track);
    ASSERT_TRUE(source);
    double sum = 0;
    uint64_t samples = 0;
    for (uint64_t at = 0; at < source->Frames();) {
      size_t count = static_cast<size_t>(source->Frames() - at);
      const int16_t* p = source->Peek(at, count);
      ASSERT_TRUE(p && count > 0);
      for (size_t i = 0; i < count * static_cast<size_t>(source->Channels()); ++i) sum += p[i];
      samples += count * static_cast<uint64_t>(source->Channels());
      at += count;
    }
    const double offset = sum / static_cast<double>(samples) / 32768.0;
    EXPECT_LT(std::abs(offset), 0.002) << "of full scale, over " << samples << " samples";
  }
}
