// The texture loaders on the recording renderer: what reaches the renderer, the messages, and
// that nothing is created from a broken file.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cctype>
#include <functional>
#include <nlohmann/json.hpp>

#include "base/messages.hpp"
#include "formats/jpeg.hpp"
#include "formats/targa.hpp"
#include "formats/texture_container.hpp"
#include "gfx/load.hpp"
#include "gfx/tool_images.hpp"

using namespace tool_images;
namespace fs = std::filesystem;

namespace {
struct LoadTest : ::testing::Test {
  TempDir dir{::testing::UnitTest::GetInstance()->current_test_info()->name()};
  FakeBackends fake{dir.path()};
  void SetUp() override { fake.renderer.keepTextureData = true; }

  // Writes a file under the content root (data\...) and forgets cached listings.
  void Put(const std::string& relative, const std::vector<uint8_t>& bytes) {
    WriteFile(dir / relative, AsString(bytes));
    fake.content.ClearCache();
  }
  const RecordedTexture& Recorded(Texture t) { return fake.renderer.Textures().at(t); }
  void ExpectOneMessage(const std::string& caption, const std::string& text) {
    ASSERT_EQ(shownMessages.size(), 1u);
    EXPECT_EQ(shownMessages[0].caption, caption);
    EXPECT_EQ(shownMessages[0].text, text);
  }
};

std::vector<uint8_t> SmallContainer() {
  return WriteTextureContainer(kFormatDxt1Rgb, 4, 4, std::vector<uint8_t>{1, 2, 3, 4, 5, 6, 7, 8});
}
}  // namespace

TEST_F(LoadTest, LoadDXTHandsTheCompressedImageOverUnchangedWhateverTheCase) {
  ASSERT_TRUE(MakeBlocks(dir / "p.png", 64, 32, 4, 2));
  std::vector<uint8_t> container = MakeContainer(dir / "p.png", dir / "p.dds", "dxt5");
  ASSERT_FALSE(container.empty());
  container.insert(container.end(), {0xEE, 0xEE});  // ignored
  Put("data/menu/bg.dxt", container);
  Texture t = cLoad::LoadDXT("DATA\\Menu\\BG.DXT");
  ASSERT_NE(t, 0u);
  const RecordedTexture& r = Recorded(t);
  EXPECT_TRUE(r.compressed);
  EXPECT_EQ(r.internalFormat, kFormatDxt5);
  EXPECT_EQ(r.width, 64);
  EXPECT_EQ(r.height, 32);
  EXPECT_EQ(r.dataSize, 2048);
  EXPECT_EQ(r.data, std::vector<uint8_t>(container.begin() + 16, container.end() - 2));
  EXPECT_EQ(r.path, "DATA\\Menu\\BG.DXT") << "the path as the program gave it";
  EXPECT_TRUE(shownMessages.empty());
  Texture again = cLoad::LoadDXT("data\\menu\\bg.dxt");
  EXPECT_NE(again, t) << "every load makes a new texture";
}

TEST_F(LoadTest, APictureThatCannotBeReadIsNamedWithTheReason) {
  fs::create_directories(dir / "data" / "x.dxt");
  ASSERT_EQ(mkfifo((dir / "data" / "fifo.dxt").c_str(), 0600), 0);
  TempDir outside{"load_outside"};
  WriteFile(outside / "out.dxt", tool_images::AsString(SmallContainer()));
  fs::create_symlink(outside / "out.dxt", dir / "data" / "out.dxt");
  const std::pair<const char*, const char*> cases[] = {
      {"data\\intro\\0.dxt", "Nevar ielādēt data\\intro\\0.dxt"},
      {"data\\x.dxt", "Nevar ielādēt data\\x.dxt (is a folder)"},
      {"data\\fifo.dxt", "Nevar ielādēt data\\fifo.dxt (not a regular file)"},
      {"data\\out.dxt", "Nevar ielādēt data\\out.dxt (leads outside the content folder)"},
  };
  for (auto [path, says] : cases) {
    shownMessages.clear();
    EXPECT_EQ(cLoad::LoadDXT(path), 0u) << path;
    ASSERT_EQ(shownMessages.size(), 1u) << path;
    EXPECT_EQ(shownMessages[0].caption, "Load unit");
    EXPECT_EQ(shownMessages[0].text, says) << path;
  }
  EXPECT_TRUE(fake.renderer.Textures().empty());
}

TEST_F(LoadTest, BrokenContainersAreReportedAndCreateNothing) {
  std::vector<uint8_t> good = SmallContainer();
  std::vector<uint8_t> lying = good;
  lying[2] = 0x10;  // a million bytes promised
  std::vector<uint8_t> huge = good;
  huge[11] = huge[15] = 0x40;
  const std::vector<uint8_t> broken[] = {{},
                                         std::vector<uint8_t>(good.begin(), good.begin() + 10),
                                         std::vector<uint8_t>(good.begin(), good.end() - 1),
                                         lying,
                                         huge};
  for (const auto& bytes : broken) {
    shownMessages.clear();
    Put("data/b.dxt", bytes);
    EXPECT_EQ(cLoad::LoadDXT("data\\b.dxt"), 0u);
    ASSERT_EQ(shownMessages.size(), 1u);
    EXPECT_EQ(shownMessages[0].caption, "Load unit");
    EXPECT_EQ(shownMessages[0].text.rfind("Nevar ielādēt data\\b.dxt (", 0), 0u)
        << shownMessages[0].text;
  }
  EXPECT_TRUE(fake.renderer.Textures().empty());
}

TEST_F(LoadTest, LoadTGAStoresTheNameAndHandsOverUprightRgba) {
  ASSERT_TRUE(MakeBlocks(dir / "a.png", 8, 4, 2, 2, true));
  ASSERT_TRUE(MakeTarga(dir / "a.png", dir / "data" / "fonts" / "fontLV.tga"));
  Texture font = 0;
  Texture returned = cLoad::LoadTGA("data\\fonts\\fontLV.tga", font);
  ASSERT_NE(font, 0u);
  EXPECT_EQ(returned, font);
  const RecordedTexture& r = Recorded(font);
  EXPECT_FALSE(r.compressed);
  EXPECT_TRUE(r.rgba);
  EXPECT_FALSE(r.nearestMin);
  EXPECT_EQ(r.width, 8);
  EXPECT_EQ(r.height, 4);
  EXPECT_EQ(r.path, "data\\fonts\\fontLV.tga");
  // Row 0 is the bottom of the picture.
  std::vector<uint8_t> top = DecodedRgba(dir / "a.png");
  ASSERT_EQ(r.data.size(), top.size());
  for (int row = 0; row < 4; ++row) {
    EXPECT_TRUE(std::equal(r.data.begin() + row * 32, r.data.begin() + row * 32 + 32,
                           top.begin() + (3 - row) * 32))
        << "row " << row;
  }
  EXPECT_EQ(r.data[3 * 32 + 3], 0) << "the first column of the test picture is transparent";
}

TEST_F(LoadTest, LoadTGAFailuresKeepTheCallersTexture) {
  ASSERT_TRUE(MakeBlocks(dir / "a.png", 8, 4, 2, 2, true));
  ASSERT_TRUE(MakeTarga(dir / "a.png", dir / "good.tga"));
  fs::create_directories(dir / "data");
  ASSERT_TRUE(RunTool("convert " + Quoted(dir / "a.png") + " -compress RLE " +
                      Quoted(dir / "data" / "rle.tga")));
  std::vector<uint8_t> good = Bytes(dir / "good.tga");
  Put("data/short.tga", std::vector<uint8_t>(good.begin(), good.end() - 3));
  std::vector<uint8_t> empty = good;
  empty[14] = empty[15] = 0;
  Put("data/empty.tga", empty);
  struct Case {
    const char* path;
    const char* caption;
    const char* text;
  } cases[] = {
      {"data\\none.tga", "Load unit", "Nevar ielādēt data\\none.tga"},
      {"data\\short.tga", "TGA File Error", "Couldn't read file \"data\\short.tga\"."},
      {"data\\rle.tga", "TGA File Error",
       "Unsupported Targa file \"data\\rle.tga\": image type 10 (only uncompressed true-colour "
       "images, type 2, are read)."},
      {"data\\empty.tga", "TGA File Error",
       "Couldn't read file \"data\\empty.tga\": the image is 8 x 0."},
  };
  for (const Case& c : cases) {
    shownMessages.clear();
    Texture kept = 41;
    EXPECT_EQ(cLoad::LoadTGA(c.path, kept), 41u) << c.path;
    EXPECT_EQ(kept, 41u) << c.path;
    ExpectOneMessage(c.caption, c.text);
  }
  EXPECT_TRUE(fake.renderer.Textures().empty());
}

TEST_F(LoadTest, LoadJPGIsOpaqueBottomRowFirstWithNearestMinification) {
  ASSERT_TRUE(MakeBlocks(dir / "p.png", 16, 16, 2, 2));
  ASSERT_TRUE(RunTool("convert " + Quoted(dir / "p.png") + " " + Quoted(dir / "p.ppm")));
  fs::create_directories(dir / "data" / "hud");
  ASSERT_TRUE(RunTool("cjpeg -quality 100 -outfile " +
                      Quoted(dir / "data" / "hud" / "lifeBar.jpg") + " " + Quoted(dir / "p.ppm")));
  Texture bar = 0;
  ASSERT_NE(cLoad::LoadJPG("data\\HUD\\lifebar.JPG", bar), 0u);
  const RecordedTexture& r = Recorded(bar);
  EXPECT_TRUE(r.rgba);
  EXPECT_TRUE(r.nearestMin);
  ASSERT_EQ(r.data.size(), 16u * 16u * 4u);
  for (std::size_t i = 3; i < r.data.size(); i += 4) ASSERT_EQ(r.data[i], 255);
  const uint8_t* topLeft = &r.data[15 * 64];
  EXPECT_NEAR(topLeft[0], 255, 4);
  EXPECT_NEAR(topLeft[1], 0, 4);
  EXPECT_TRUE(shownMessages.empty());
}

TEST_F(LoadTest, LoadJPGFailuresSayBmpUnitAndKeepTheTexture) {
  Put("data/options/bg.jpg", {'n', 'o', 't', ' ', 'j', 'p', 'g'});
  for (auto [path, why] :
       {std::pair{"data\\options\\bg.jpg", " (Not a JPEG file: starts with 0x6e 0x6f)"},
        std::pair{"data\\options\\missing.jpg", ""}}) {
    shownMessages.clear();
    Texture kept = 7;
    EXPECT_EQ(cLoad::LoadJPG(path, kept), 7u);
    EXPECT_EQ(kept, 7u);
    ExpectOneMessage("BMP Unit", std::string("Nevar ielādēt JPG - \"") + path + "\"" + why);
  }
  EXPECT_TRUE(fake.renderer.Textures().empty());
}

TEST_F(LoadTest, APictureFileLargerThanAnyPictureIsRefusedWithoutReadingIt) {
  // Sparse files: 64 GB and 4 GB take no disk, but a loader that sized its buffer from the file
  // would abort or sit on gigabytes.
  struct Row {
    const char* name;
    std::uintmax_t size;
  } rows[] = {{"data/hud/huge.dxt", std::uintmax_t{64} << 30},
              {"data/hud/huge.tga", std::uintmax_t{4} << 30},
              {"data/hud/huge.jpg", std::uintmax_t{300} << 20}};
  for (const Row& r : rows) {
    WriteFile(dir / r.name, "");
    std::filesystem::resize_file(dir / r.name, r.size);
  }
  EXPECT_EQ(cLoad::LoadDXT("data\\hud\\huge.dxt"), 0u);
  Texture kept = 77;
  EXPECT_EQ(cLoad::LoadTGA("data\\hud\\huge.tga", kept), 77u);
  EXPECT_EQ(cLoad::LoadJPG("data\\hud\\huge.jpg", kept), 77u);
  ASSERT_EQ(shownMessages.size(), 3u);
  EXPECT_NE(shownMessages[0].text.find("huge.dxt (68719476736 bytes, larger than any picture)"),
            std::string::npos)
      << shownMessages[0].text;
  EXPECT_NE(shownMessages[2].text.find("huge.jpg"), std::string::npos);
  EXPECT_TRUE(fake.renderer.Textures().empty());
}

// Found in a first round of abuse: of two files spelt alike in different case the first in sort
// order was loaded even when it was the broken one. Each loader now keeps the first that decodes
// and names the picture only when none does.
TEST_F(LoadTest, OfFilesSpeltAlikeTheFirstThatDecodesIsKept) {
  RgbaImage red;
  red.width = 2;
  red.height = 1;
  red.rgba = {255, 0, 0, 255, 255, 0, 0, 255};
  RgbaImage jpegSource = red;
  jpegSource.width = 8;
  jpegSource.height = 8;
  jpegSource.rgba.assign(8 * 8 * 4, 200);
  const std::vector<uint8_t> broken = {1, 2, 3};
  struct Row {
    const char* name;
    std::vector<uint8_t> good;
    std::function<bool()> loads;  // true when a texture was made
  } rows[] = {{"a.dxt", SmallContainer(), [] { return cLoad::LoadDXT("data\\x\\a.dxt") != 0; }},
              {"b.tga", WriteTarga(red),
               [] {
                 Texture t = 0;
                 return cLoad::LoadTGA("data\\x\\b.tga", t) != 0;
               }},
              {"c.jpg", EncodeJpeg(jpegSource, 90), [] {
                 Texture t = 0;
                 return cLoad::LoadJPG("data\\x\\c.jpg", t) != 0;
               }}};
  for (Row& r : rows) {
    SCOPED_TRACE(r.name);
    std::string upper = r.name;
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    // The spelling asked for is tried first, then the upper-case one.
    Put(std::string("data/x/") + upper, broken);
    Put(std::string("data/x/") + r.name, broken);
    shownMessages.clear();
    EXPECT_FALSE(r.loads()) << "both broken";
    EXPECT_EQ(shownMessages.size(), 1u);
    Put(std::string("data/x/") + r.name, r.good);
    shownMessages.clear();
    EXPECT_TRUE(r.loads()) << "the exact spelling is good";
    Put(std::string("data/x/") + r.name, broken);
    Put(std::string("data/x/") + upper, r.good);
    shownMessages.clear();
    EXPECT_TRUE(r.loads()) << "only the other spelling is good";
    EXPECT_TRUE(shownMessages.empty());
  }
}

TEST_F(LoadTest, CreateTextureTakesRgbaOrElseRgbAndHasNoPath) {
  uint8_t rgba[2 * 1 * 4] = {1, 2, 3, 4, 5, 6, 7, 8};
  uint8_t rgb[3 * 1 * 3] = {1, 2, 3, 4, 5, 6, 7, 8, 9};
  Texture a = cLoad::CreateTexture(2, 1, kFormatRgba, rgba);
  Texture b = cLoad::CreateTexture(3, 1, 0x1907, rgb);
  EXPECT_TRUE(Recorded(a).rgba);
  EXPECT_EQ(Recorded(a).data, std::vector<uint8_t>(rgba, rgba + 8));
  EXPECT_FALSE(Recorded(b).rgba);
  EXPECT_EQ(Recorded(b).data, std::vector<uint8_t>(rgb, rgb + 9));
  EXPECT_EQ(fake.renderer.PathOf(a), "");
}

TEST(RecorderNames, NeverHandOutZeroOrTheFrameGapMarker) {
  TempDir dir{"recorder_names"};
  FakeBackends fake{dir.path()};
  uint8_t pixel[4] = {0, 0, 0, 0};
  for (int i = 0; i < 5600; ++i) {
    Texture t = cLoad::CreateTexture(1, 1, kFormatRgba, pixel);
    ASSERT_NE(t, 0u);
    ASSERT_NE(t, 5555u);
  }
}

TEST(FontAtStartUp, AMissingFontIsReportedInTheStateDump) {
  TempDir dir{"font_missing"};
  fs::create_directories(dir / "content" / "data");
  // The font is loaded before the second frame; the first shows only the intro.
  RunResult r = RunGame({"--headless", "--frames", "2", "--frame-ms", "10", "--root", "content",
                         "--dump-state", "state.json"},
                        dir.path());
  ASSERT_EQ(r.status, 0) << r.output;
  auto state = nlohmann::json::parse(ReadFile(dir / "state.json"));
  bool found = false;
  for (const auto& m : state["messages"]) {
    if (m["caption"] == "Load unit" && m["text"] == "Nevar ielādēt data\\fonts\\fontLV.tga") {
      found = true;
    }
  }
  EXPECT_TRUE(found) << state["messages"];
}

TEST(FontAtStartUp, AFontWrittenByTheToolsWriterLoadsSilently) {
  TempDir dir{"font_present"};
  RgbaImage font{256, 256, std::vector<uint8_t>(256 * 256 * 4, 255)};
  WriteFile(dir / "content" / "data" / "Fonts" / "FONTLV.TGA", AsString(WriteTarga(font)));
  RunResult r = RunGame({"--headless", "--frames", "2", "--frame-ms", "10", "--root", "content",
                         "--dump-state", "state.json"},
                        dir.path());
  ASSERT_EQ(r.status, 0) << r.output;
  auto state = nlohmann::json::parse(ReadFile(dir / "state.json"));
  for (const auto& m : state["messages"]) {
    EXPECT_EQ(m["text"].get<std::string>().find("font"), std::string::npos) << m;
  }
}
