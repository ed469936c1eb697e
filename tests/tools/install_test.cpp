// The install as a packager makes it: `cmake --install` into a staging folder (DESTDIR) under a
// prefix other than the configured one, every file desktops and distributions look for, each one
// checked by its own validator, and the installed game finding its content beside itself. The
// programs' and the content's folders are the build's own (bin and share/morva by default; games
// and share/games/morva as Debian keeps games).
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace fs = std::filesystem;

namespace {
struct Result {
  int status = -1;
  std::string output;
};

Result Shell(const std::string& command) {
  Result r;
  FILE* pipe = popen((command + " 2>&1").c_str(), "r");
  if (!pipe) return r;
  std::array<char, 4096> buffer;
  size_t n;
  while ((n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0) r.output.append(buffer.data(), n);
  int status = pclose(pipe);
  r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return r;
}

// Width and height from a PNG's header.
std::pair<int, int> PngSize(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::array<unsigned char, 24> head{};
  in.read(reinterpret_cast<char*>(head.data()), head.size());
  if (!in) return {0, 0};
  auto be32 = [&](int at) {
    return head[at] << 24 | head[at + 1] << 16 | head[at + 2] << 8 | head[at + 3];
  };
  return {be32(16), be32(20)};
}

struct InstallTest : ::testing::Test {
  // Installed once for all the cases: copying the content takes a moment.
  static fs::path stage;
  static Result install;
  static void SetUpTestSuite() {
    // One stage per process: ctest runs each case in a process of its own, side by side.
    stage = fs::path(MORVA_TOOL_TEST_TMP) / ("install-stage-" + std::to_string(getpid()));
    fs::remove_all(stage);
    // /usr is not the prefix the build was configured with: the program must not rely on it.
    install = Shell("DESTDIR='" + stage.string() +
                    "' cmake --install '" MORVA_BUILD_DIR "' --prefix /usr");
  }
  static void TearDownTestSuite() { fs::remove_all(stage); }
  static fs::path Usr(const std::string& rest) { return stage / "usr" / rest; }
  // A folder the build was configured with (under the prefix unless absolute), in the stage.
  static fs::path Installed(const fs::path& dir) {
    return dir.is_absolute() ? stage / dir.relative_path() : Usr(dir);
  }
  static fs::path Program(const std::string& name) {
    return Installed(MORVA_INSTALL_BINDIR) / name;
  }
  static fs::path Content() { return Installed(MORVA_INSTALL_CONTENTDIR); }
};
fs::path InstallTest::stage;
Result InstallTest::install;
}  // namespace

TEST_F(InstallTest, EveryFileIsWhereDistributionsLookForIt) {
  ASSERT_EQ(install.status, 0) << install.output;
  for (const fs::path& file :
       {Program("morva"), Program("morva-check"), Program("morva-edit"),
        Installed(MORVA_INSTALL_LIBEXECDIR) / "morva/mkcontent",
        Usr("share/applications/morva.desktop"), Usr("share/applications/morva-edit.desktop"),
        Usr("share/metainfo/io.github.morva.morva.metainfo.xml"), Usr("share/man/man6/morva.6"),
        Usr("share/man/man6/morva-check.6"), Usr("share/man/man6/morva-edit.6"),
        Usr("share/icons/hicolor/scalable/apps/morva.svg"), Usr("share/doc/morva/LICENSE"),
        Usr("share/doc/morva/README.md"), Content() / "data/fonts/fontlv.tga",
        Content() / "data/fonts/dejavu-license.txt"}) {
    EXPECT_TRUE(fs::is_regular_file(file)) << file;
  }
  for (int size : {16, 22, 24, 32, 48, 64, 128, 256, 512}) {
    std::string dims = std::to_string(size) + "x" + std::to_string(size);
    fs::path icon = Usr("share/icons/hicolor/" + dims + "/apps/morva.png");
    EXPECT_EQ(PngSize(icon), std::make_pair(size, size)) << icon;
  }
  std::ifstream licence(Content() / "data/fonts/dejavu-license.txt");
  std::string text((std::istreambuf_iterator<char>(licence)), std::istreambuf_iterator<char>());
  EXPECT_NE(text.find("Bitstream"), std::string::npos);
  EXPECT_NE(text.find("fontLV.tga"), std::string::npos) << "it says which files it covers";
}

TEST_F(InstallTest, TheValidatorsAcceptTheDesktopEntryTheMetainfoAndTheManualPage) {
  ASSERT_EQ(install.status, 0) << install.output;
  Result desktop =
      Shell("desktop-file-validate '" + Usr("share/applications/morva.desktop").string() + "' '" +
            Usr("share/applications/morva-edit.desktop").string() + "'");
  EXPECT_EQ(desktop.status, 0) << desktop.output;
  EXPECT_EQ(desktop.output, "") << "no hints either";
  Result appstream = Shell("appstreamcli validate --no-net --pedantic '" +
                           Usr("share/metainfo/io.github.morva.morva.metainfo.xml").string() + "'");
  EXPECT_EQ(appstream.status, 0) << appstream.output;
  EXPECT_EQ(appstream.output.find("P:"), std::string::npos) << appstream.output;
  EXPECT_NE(appstream.output.find("successful"), std::string::npos) << appstream.output;
  // The game shows blood: the content rating says so.
  std::ifstream metainfo(Usr("share/metainfo/io.github.morva.morva.metainfo.xml"));
  std::string xml((std::istreambuf_iterator<char>(metainfo)), std::istreambuf_iterator<char>());
  EXPECT_NE(xml.find("<content_attribute id=\"violence-bloodshed\">intense"), std::string::npos);
  for (const char* page : {"morva.6", "morva-check.6", "morva-edit.6"}) {
    Result man =
        Shell("groff -t -man -ww -z '" + Usr(std::string("share/man/man6/") + page).string() + "'");
    EXPECT_EQ(man.status, 0) << page << man.output;
    EXPECT_EQ(man.output, "") << page << ": groff warns of nothing";
  }
}

TEST_F(InstallTest, AnInstallUnderAnotherPrefixFindsItsContentBesideTheProgram) {
  ASSERT_EQ(install.status, 0) << install.output;
  fs::path work = stage / "somewhere";
  fs::create_directories(work);
  std::string env = "cd '" + work.string() + "' && env -u MORVA_ROOT XDG_CONFIG_HOME='" +
                    (work / "config").string() + "' XDG_DATA_HOME='" +
                    (work / "data-home").string() + "' SDL_AUDIODRIVER=dummy ";
  Result run = Shell(env + "timeout 60 '" + Program("morva").string() +
                     "' --headless --frames 3 --frame-ms 10");
  EXPECT_EQ(run.status, 0) << run.output;
  EXPECT_EQ(run.output.find("No game content"), std::string::npos) << run.output;
  Result paths = Shell(env + "'" + Program("morva").string() + "' --print-paths");
  EXPECT_NE(paths.output.find("content: " + Content().string()), std::string::npos) << paths.output;
  Result check = Shell("'" + Program("morva-check").string() + "' '" + Content().string() + "'");
  EXPECT_EQ(check.status, 0) << check.output;
  // A level file is compiled by the installed level compiler into the per-user cache.
  std::string grid;
  for (int row = 0; row < 6; ++row) grid += std::string(8, row < 5 ? '.' : '#') + "\n";
  std::ofstream(work / "my.lvl") << "screens 1 1\ncell 100\ngrid\n" + grid +
                                        "end\nplayer awake 120 444\n";
  Result level = Shell(env + "XDG_CACHE_HOME='" + (work / "cache").string() + "' timeout 60 '" +
                       Program("morva").string() + "' --headless --frames 3 --level my.lvl");
  EXPECT_EQ(level.status, 0) << level.output;
  EXPECT_NE(level.output.find("mkcontent: wrote 2 files"), std::string::npos) << level.output;
}
