// The demo content as built: every path the game opens is there and parses, files are found
// through the game's own spellings, the music loops, and the checker catches broken files.
#include <gtest/gtest.h>
#include <sndfile.h>
#include <sys/stat.h>

#include <cmath>
#include <filesystem>
#include <fstream>

#include "base/content_paths.hpp"
#include "check/content_check.hpp"
#include "content/content_manifest.hpp"
#include "formats/character_record.hpp"
#include "formats/targa.hpp"
#include "formats/texture_container.hpp"
#include "mkcontent/output.hpp"

namespace fs = std::filesystem;

namespace {

const fs::path kContent = MORVA_TEST_CONTENT;

std::vector<CheckResult> Failures(const fs::path& root) {
  std::vector<CheckResult> bad;
  for (const CheckResult& r : CheckContent(root)) {
    if (!r.ok) bad.push_back(r);
  }
  return bad;
}

const CheckResult* Find(const std::vector<CheckResult>& results, const std::string& path) {
  for (const CheckResult& r : results) {
    if (r.gamePath == path) return &r;
  }
  return nullptr;
}

}  // namespace

TEST(ContentPack, EveryPathTheGameOpensResolvesAndParses) {
  std::vector<CheckResult> bad = Failures(kContent);
  for (const CheckResult& r : bad) ADD_FAILURE() << r.gamePath << ": " << r.note;
  EXPECT_EQ(CheckContent(kContent).size(), GameAssets().size());
}

TEST(ContentPack, FilesLieInOneSpellingAndAreFoundThroughTheGamesOwn) {
  ContentPaths paths(kContent);
  int mixedCase = 0;
  for (const Asset& asset : GameAssets()) {
    std::optional<std::string> found = paths.Resolve(asset.gamePath);
    ASSERT_TRUE(found.has_value()) << asset.gamePath;
    std::string relative = fs::relative(*found, kContent).generic_string();
    EXPECT_EQ(relative + (asset.kind == AssetKind::FrameFolder ? "/" : ""),
              DiskPath(asset.gamePath));
    for (char c : relative) EXPECT_FALSE(c >= 'A' && c <= 'Z') << relative;
    mixedCase += DiskPath(asset.gamePath) != asset.gamePath;
  }
  EXPECT_GT(mixedCase, 50);
}

TEST(ContentPack, MusicIsLongEnoughAndLoopsWithoutAJump) {
  for (const char* name : {"intro", "menu", "game"}) {
    fs::path path = kContent / "data/sounds/music" / (std::string(name) + ".mp3");
    SF_INFO info{};
    SNDFILE* f = sf_open(path.c_str(), SFM_READ, &info);
    ASSERT_NE(f, nullptr) << path;
    std::vector<float> pcm(static_cast<std::size_t>(info.frames * info.channels));
    sf_count_t got = sf_readf_float(f, pcm.data(), info.frames);
    sf_close(f);
    ASSERT_EQ(got, info.frames);
    double seconds = static_cast<double>(info.frames) / info.samplerate;
    EXPECT_GE(seconds, 30.0) << name;
    EXPECT_LE(seconds, 60.5) << name;
    // Across the seam (last sample to first) the wave moves no more than it does anywhere else.
    const int ch = info.channels;
    double largestStep = 0;
    for (std::size_t i = ch; i < pcm.size(); ++i)
      largestStep = std::max<double>(largestStep, std::fabs(pcm[i] - pcm[i - ch]));
    for (int c = 0; c < ch; ++c) {
      double seam = std::fabs(pcm[static_cast<std::size_t>(c)] - pcm[pcm.size() - ch + c]);
      EXPECT_LE(seam, largestStep * 0.5 + 0.02) << name;
    }
  }
}

class BrokenContent : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = fs::path(MORVA_TOOL_TEST_TMP) / "broken";
    fs::remove_all(root_);
    fs::create_directories(root_);
    fs::copy(kContent / "data", root_ / "data", fs::copy_options::recursive);
  }
  void TearDown() override { fs::remove_all(root_); }
  fs::path root_;
};

TEST_F(BrokenContent, EachFaultIsNamedAtItsPath) {
  // A map cut short, a missing sound, a guard whose blow never lands, a slow WAV, a frame gap,
  // a Targa of the wrong depth, one stored top row first.
  fs::resize_file(root_ / "data/levels/level1/level.mrv", 1000);
  fs::remove(root_ / "data/sounds/units/guard/cry3.wav");
  CharacterRecord guard = DecodeCharacterRecord([&] {
    std::ifstream in(root_ / "data/chars/guard.pud", std::ios::binary);
    CharacterRecordBytes b{};
    in.read(reinterpret_cast<char*>(b.data()), b.size());
    return b;
  }());
  guard.anims[4] = {0, 8, 0.1};
  CharacterRecordBytes bytes = EncodeCharacterRecord(guard);
  std::ofstream(root_ / "data/chars/guard.pud", std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  std::vector<uint8_t> slow = EncodeWav(std::vector<float>(1000, 0.1f), 22050);
  std::ofstream(root_ / "data/sounds/items/life.wav", std::ios::binary)
      .write(reinterpret_cast<const char*>(slow.data()), slow.size());
  fs::remove(root_ / "data/fx/blow1/4.dxt");
  std::ofstream(root_ / "data/fx/blow1/40.dxt") << "x";
  std::vector<uint8_t> tga(18 + 4 * 3, 0);
  tga[2] = 2, tga[12] = 2, tga[14] = 2, tga[16] = 24;
  std::ofstream(root_ / "data/fx/wsquare.tga", std::ios::binary)
      .write(reinterpret_cast<const char*>(tga.data()), tga.size());
  // A good Targa of the right depth, but stored top row first.
  std::vector<uint8_t> topFirst = WriteTarga(RgbaImage{2, 2, std::vector<uint8_t>(16, 200)});
  topFirst[17] |= 0x20;
  std::ofstream(root_ / "data/hud/rsquare.tga", std::ios::binary)
      .write(reinterpret_cast<const char*>(topFirst.data()), topFirst.size());

  // A JPEG cut short (the game would make up the rest), a frame folder of sparse frames holding
  // more than 256 MiB.
  fs::resize_file(root_ / "data/options/bg.jpg", fs::file_size(root_ / "data/options/bg.jpg") / 2);
  std::vector<uint8_t> largest = WriteTextureContainer(kFormatDxt5, 4096, 4096, {});
  largest[3] = 1;  // 16 MiB of data follow
  for (int frame = 0; frame <= 16; ++frame) {
    const fs::path file = root_ / "data/chars/sentinel" / (std::to_string(frame) + ".dxt");
    std::ofstream(file, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(largest.data()), 16);
    fs::resize_file(file, 16 + (16 << 20));
  }

  // A FIFO in a picture's place (the check once waited at its open for ever).
  fs::remove(root_ / "data/fx/lightning.dxt");
  ASSERT_EQ(mkfifo((root_ / "data/fx/lightning.dxt").c_str(), 0600), 0);

  std::vector<CheckResult> results = CheckContent(root_);
  auto failed = [&](const std::string& path) {
    const CheckResult* r = Find(results, path);
    return r && !r->ok;
  };
  EXPECT_TRUE(failed("data\\levels\\level1\\level.mrv"));
  EXPECT_TRUE(failed("DATA\\sounds\\units\\guard\\cry3.wav"));
  EXPECT_EQ(Find(results, "DATA\\sounds\\units\\guard\\cry3.wav")->note, "missing");
  EXPECT_TRUE(failed("data\\chars\\guard.pud"));
  EXPECT_NE(Find(results, "data\\chars\\guard.pud")->note.find("60"), std::string::npos);
  EXPECT_TRUE(failed("data\\sounds\\items\\life.wav"));
  EXPECT_TRUE(failed("DATA\\fx\\blow1\\"));
  EXPECT_TRUE(failed("data\\fx\\wSquare.tga"));
  EXPECT_TRUE(failed("data\\hud\\rSquare.tga"));
  EXPECT_NE(Find(results, "data\\hud\\rSquare.tga")->note.find("upside down"), std::string::npos);
  EXPECT_EQ(Find(results, "data\\fx\\lightning.dxt")->note, "not a regular file");
  EXPECT_TRUE(failed("data\\options\\bg.jpg"));
  EXPECT_NE(Find(results, "data\\options\\bg.jpg")->note.find("damaged"), std::string::npos);
  EXPECT_TRUE(failed("data\\chars\\Sentinel\\"));
  EXPECT_NE(Find(results, "data\\chars\\Sentinel\\")->note.find("256 MiB"), std::string::npos);
  // Everything else is still in order.
  int others = 0;
  for (const CheckResult& r : results) others += !r.ok;
  EXPECT_EQ(others, 10);
}
