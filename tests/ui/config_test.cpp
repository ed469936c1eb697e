// config.dat: defaults, the byte layout, damaged files and failed saves.
#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "base/messages.hpp"
#include "formats/config_record.hpp"
#include "test_support.hpp"
#include "ui/config.hpp"

namespace fs = std::filesystem;

namespace {
struct ConfigTest : ::testing::Test {
  TempDir dir{"config"};
  fs::path file = dir / "config.dat";
  void SetUp() override {
    ResetGameState();
    SetConfigPath(file);
  }
  static std::string Bytes(std::initializer_list<int> values) {
    std::string s;
    for (int v : values) s += static_cast<char>(v);
    return s;
  }
};
}  // namespace

TEST_F(ConfigTest, FirstRunWritesTheDefaults) {
  Settings s;
  LoadConfig(s);
  EXPECT_EQ(s.musicVolume, 30);
  EXPECT_EQ(s.soundVolume, 30);
  EXPECT_EQ(s.gamma, 255);
  EXPECT_EQ(s.displayMode, -1);
  EXPECT_EQ(s.showBlood, 1);
  std::string bytes = ReadFile(file);
  ASSERT_EQ(bytes.size(), 12u);
  EXPECT_EQ(bytes.substr(0, 3), Bytes({0x1E, 0x1E, 0xFF}));
  EXPECT_EQ(bytes.substr(4, 5), Bytes({0xFF, 0xFF, 0xFF, 0xFF, 0x01}));
  EXPECT_FALSE(fs::exists(dir / "config.dat.tmp"));
}

TEST_F(ConfigTest, ValuesRoundTripLittleEndianAndPaddingIsIgnored) {
  WriteFile(file, Bytes({99, 0, 58, 0xAA, 0x07, 0x01, 0x00, 0x00, 0, 0xBB, 0xCC, 0xDD}));
  Settings s;
  LoadConfig(s);
  EXPECT_EQ(s.musicVolume, 99);
  EXPECT_EQ(s.soundVolume, 0);
  EXPECT_EQ(s.gamma, 58);
  EXPECT_EQ(s.displayMode, 0x107);
  EXPECT_EQ(s.showBlood, 0);
  // Any byte values are accepted as they stand.
  WriteFile(file, Bytes({250, 251, 0, 0, 0xFE, 0xFF, 0xFF, 0x7F, 7, 0, 0, 0}));
  LoadConfig(s);
  EXPECT_EQ(s.musicVolume, 250);
  EXPECT_EQ(s.displayMode, 0x7FFFFFFE);
  EXPECT_EQ(s.showBlood, 7);
}

TEST_F(ConfigTest, OnlyTheFirstTwelveBytesCountAndASaveWritesTwelve) {
  WriteFile(file, Bytes({10, 20, 200, 0, 3, 0, 0, 0, 1, 0, 0, 0, 0x55, 0x66, 0x77}));
  Settings s;
  LoadConfig(s);
  EXPECT_EQ(s.gamma, 200);
  EXPECT_EQ(s.displayMode, 3);
  ASSERT_TRUE(SaveConfig(s));
  std::string bytes = ReadFile(file);
  ASSERT_EQ(bytes.size(), 12u);
  EXPECT_EQ(DecodeSettings(
                std::span<const uint8_t, 12>(reinterpret_cast<const uint8_t*>(bytes.data()), 12))
                .gamma,
            200);
}

TEST_F(ConfigTest, ShortEmptyOrDirectoryFilesGiveTheDefaults) {
  for (const std::string& content :
       {std::string(), std::string("\x10\x20\x30", 3), std::string(11, '\x05')}) {
    WriteFile(file, content);
    Settings s;
    s.gamma = 1;
    LoadConfig(s);
    EXPECT_EQ(s.gamma, 255) << content.size() << " bytes";
    EXPECT_EQ(s.displayMode, -1);
    // The damaged file is left alone until the next save replaces it whole.
    EXPECT_EQ(ReadFile(file), content);
    ASSERT_TRUE(SaveConfig(s));
    EXPECT_EQ(ReadFile(file).size(), 12u);
  }

  fs::remove(file);
  fs::create_directory(file);
  Settings s;
  LoadConfig(s);
  EXPECT_EQ(s.gamma, 255);
  EXPECT_FALSE(SaveConfig(s)) << "a directory cannot be replaced by the settings";
  ASSERT_FALSE(shownMessages.empty());
  EXPECT_NE(shownMessages.back().text.find("could not be saved"), std::string::npos);
  EXPECT_FALSE(fs::exists(dir / "config.dat.tmp"));
  EXPECT_TRUE(fs::is_directory(file));
}

// Found by a reviewer: `--config /dev/null` had the machine's /dev/null replaced by a settings
// file at the first options change, a FIFO blocked the start for ever, and a planted
// config.dat.tmp link made the save overwrite the file it led to.
TEST_F(ConfigTest, SpecialFilesAndPlantedTemporariesAreLeftAlone) {
  ASSERT_EQ(mkfifo(file.c_str(), 0600), 0);
  Settings s;
  s.gamma = 1;
  LoadConfig(s);  // would block for ever on an open for reading that waits for a writer
  EXPECT_EQ(s.gamma, 255);
  ASSERT_EQ(shownMessages.size(), 1u);
  EXPECT_EQ(shownMessages[0].text, "Settings file " + file.string() +
                                       " is not a regular file: it is neither read nor written");
  s.musicVolume = 5;
  EXPECT_FALSE(SaveConfig(s));
  EXPECT_FALSE(SaveConfigIfChanged(s));
  EXPECT_TRUE(fs::is_fifo(file)) << "left alone";
  EXPECT_EQ(shownMessages.size(), 1u) << "named once, no box at each save";

  const fs::path text = dir / "settings.ini";
  ASSERT_EQ(mkfifo(text.c_str(), 0600), 0);
  EXPECT_EQ(LoadPlayerSettings(text, true, nullptr), PlayerSettings{});
  EXPECT_FALSE(SavePlayerSettings(text, PlayerSettings{}, nullptr));
  EXPECT_TRUE(fs::is_fifo(text));

  fs::remove(file);
  WriteFile(dir / "victim", "keep me");
  fs::create_symlink(dir / "victim", dir / "config.dat.tmp");
  ASSERT_TRUE(SaveConfig(DefaultSettings()));
  EXPECT_EQ(ReadFile(dir / "victim"), "keep me");
  EXPECT_EQ(ReadFile(file).size(), 12u);
  const mode_t mask = umask(0);
  umask(mask);
  EXPECT_EQ(static_cast<mode_t>(fs::status(file).permissions() & fs::perms::all), 0666 & ~mask)
      << "a first file gets the usual permissions, not the temporary's";
}

TEST_F(ConfigTest, AnUnwritableFolderKeepsTheOldFileWholeAndSaysSo) {
  if (geteuid() == 0) {
    // root writes anywhere; make the folder unwritable the only way root notices: a path
    // through a regular file.
    SetConfigPath(dir / "plain-file" / "config.dat");
    WriteFile(dir / "plain-file", "x");
  } else {
    WriteFile(file, Bytes({1, 2, 3, 0, 0, 0, 0, 0, 1, 0, 0, 0}));
    fs::permissions(dir.path(), fs::perms::owner_write, fs::perm_options::remove);
  }
  Settings s = DefaultSettings();
  EXPECT_FALSE(SaveConfig(s));
  ASSERT_EQ(shownMessages.size(), 1u);
  EXPECT_NE(shownMessages[0].text.find("could not be saved"), std::string::npos);
  fs::permissions(dir.path(), fs::perms::owner_write, fs::perm_options::add);
  if (geteuid() != 0) EXPECT_EQ(ReadFile(file), Bytes({1, 2, 3, 0, 0, 0, 0, 0, 1, 0, 0, 0}));

  // Loading reads what the failed save left: the old file where it stood (an ordinary user's
  // case), the defaults where no file can be (root's path through a regular file).
  Settings loaded;
  LoadConfig(loaded);
  EXPECT_EQ(loaded.musicVolume, geteuid() == 0 ? 30 : 1);
}

// Found in a first round of abuse: a dangling symbolic link as config.dat was replaced by a
// regular file. Saves go through the link, to a target that exists or not, relative or absolute,
// also through a chain of links.
TEST_F(ConfigTest, SettingsAreSavedThroughASymbolicLinkWhichStays) {
  fs::create_directories(dir / "real");
  struct Case {
    const char* name;
    fs::path linkTo;  // as written in the link
    fs::path target;  // where the record must land
    bool existing;
  } cases[] = {
      {"dangling relative", "real/a.dat", dir / "real" / "a.dat", false},
      {"dangling absolute", dir / "real" / "b.dat", dir / "real" / "b.dat", false},
      {"existing", "real/c.dat", dir / "real" / "c.dat", true},
      {"chain", "hop.dat", dir / "real" / "d.dat", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fs::remove(file);
    fs::remove(dir / "hop.dat");
    if (std::string(c.name) == "chain") fs::create_symlink("real/d.dat", dir / "hop.dat");
    if (c.existing) WriteFile(c.target, Bytes({9, 9, 9, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    fs::create_symlink(c.linkTo, file);
    Settings s;
    LoadConfig(s);  // a dangling link reads as no file: the defaults are written
    s.musicVolume = 77;
    ASSERT_TRUE(SaveConfig(s));
    EXPECT_TRUE(fs::is_symlink(file)) << "the link is kept";
    std::string bytes = ReadFile(c.target);
    ASSERT_EQ(bytes.size(), 12u);
    EXPECT_EQ(static_cast<uint8_t>(bytes[0]), 77);
    EXPECT_EQ(static_cast<uint8_t>(bytes[1]), c.existing ? 9 : 30) << "read through the link";
    EXPECT_FALSE(fs::exists(dir / "config.dat.tmp"));
    EXPECT_FALSE(fs::exists(c.target.string() + ".tmp"));
  }
  // A loop of links cannot be written through; it says so and stays as it was.
  fs::remove(file);
  fs::create_symlink("config.dat", file);
  shownMessages.clear();
  EXPECT_FALSE(SaveConfig(DefaultSettings()));
  EXPECT_TRUE(fs::is_symlink(file));
  EXPECT_FALSE(shownMessages.empty());
}

TEST(ConfigPathChoice, APortableInstallKeepsItsFilesAndADesktopStartUsesThePerUserFolders) {
  TempDir dir{"config_user_paths"};
  fs::path old = fs::current_path();
  struct Case {
    const char* what;
    std::vector<std::string> files;  // in the working directory; a trailing / makes a folder
    bool portable;
  };
  const Case cases[] = {
      {"an empty folder (the home folder, say)", {}, false},
      {"other files only", {"notes.txt", "pictures/"}, false},
      {"the game's data folder", {"data/"}, true},
      {"the data folder in capitals", {"DATA/"}, true},
      {"a file called data", {"data"}, false},
      {"a config.dat of an earlier run", {"config.dat"}, true},
  };
  setenv("XDG_CONFIG_HOME", (dir / "xdg-config").c_str(), 1);
  setenv("XDG_DATA_HOME", (dir / "xdg-data").c_str(), 1);
  int n = 0;
  for (const Case& c : cases) {
    fs::path here = dir / std::to_string(n++);
    fs::create_directories(here);
    for (const std::string& f : c.files) {
      if (f.back() == '/') {
        fs::create_directories(here / f);
      } else {
        WriteFile(here / f, "x");
      }
    }
    fs::current_path(here);
    UserPaths paths = ChooseUserPaths(std::nullopt);
    EXPECT_EQ(paths.portable, c.portable) << c.what;
    if (c.portable) {
      EXPECT_EQ(paths.config, fs::path("config.dat")) << c.what;
      EXPECT_EQ(paths.screenshots, here) << c.what;
    } else {
      EXPECT_EQ(paths.config, dir / "xdg-config" / "morva" / "config.dat") << c.what;
      EXPECT_EQ(paths.screenshots, dir / "xdg-data" / "morva" / "screenshots") << c.what;
    }
    // --config wins wherever the program runs; settings.cfg goes beside it.
    EXPECT_EQ(ChooseUserPaths(std::string("/tmp/x/c.dat")).config, fs::path("/tmp/x/c.dat"));
    EXPECT_EQ(paths.settings, paths.config.parent_path() / "settings.cfg") << c.what;
  }
  // Beside a --config file that is there or not yet; a device or a folder has no beside.
  for (auto [config, beside] :
       {std::pair{dir / "cfg" / "c.dat", true}, std::pair{dir / "1" / "notes.txt", true},
        std::pair{fs::path("/dev/null"), false}, std::pair{dir / "1" / "pictures", false}}) {
    fs::path expected = (beside ? config.parent_path() : dir / "xdg-config" / "morva");
    EXPECT_EQ(ChooseUserPaths(config.string()).settings, expected / "settings.cfg") << config;
  }

  // Without the variables (or with a relative one, which the XDG rules ignore): under $HOME.
  fs::current_path(dir / "0");
  setenv("XDG_CONFIG_HOME", "relative", 1);
  unsetenv("XDG_DATA_HOME");
  const char* home = std::getenv("HOME");
  std::string savedHome = home ? home : "";
  setenv("HOME", (dir / "home").c_str(), 1);
  UserPaths fallback = ChooseUserPaths(std::nullopt);
  EXPECT_EQ(fallback.config, dir / "home" / ".config" / "morva" / "config.dat");
  EXPECT_EQ(fallback.screenshots, dir / "home" / ".local/share" / "morva" / "screenshots");
  // Without $HOME: the user database's home, not the working folder.
  unsetenv("HOME");
  EXPECT_EQ(ChooseUserPaths(std::nullopt).config,
            fs::path(getpwuid(getuid())->pw_dir) / ".config" / "morva" / "config.dat");
  setenv("HOME", savedHome.c_str(), 1);
  unsetenv("XDG_CONFIG_HOME");

  // A portable install that cannot be written falls back to the per-user folders.
  if (geteuid() != 0) {
    fs::current_path(dir / "2");
    fs::permissions(dir / "2", fs::perms::owner_write, fs::perm_options::remove);
    EXPECT_FALSE(ChooseUserPaths(std::nullopt).portable);
    fs::permissions(dir / "2", fs::perms::owner_write, fs::perm_options::add);
  }
  fs::current_path(old);
}

TEST_F(ConfigTest, AtTheEndOnlyAChangedSettingIsWritten) {
  Settings s;
  EXPECT_TRUE(SaveConfigIfChanged(s));
  EXPECT_FALSE(fs::exists(file)) << "nothing is known of the file before it has been read";

  // Padding bytes that are not 0 are no setting of their own.
  WriteFile(file, Bytes({40, 50, 200, 7, 1, 0, 0, 0, 1, 9, 9, 9}));
  LoadConfig(s);
  fs::remove(file);
  EXPECT_TRUE(SaveConfigIfChanged(s));
  EXPECT_FALSE(fs::exists(file)) << "unchanged settings are not written again";

  s.soundVolume = 51;
  EXPECT_TRUE(SaveConfigIfChanged(s));
  EXPECT_EQ(ReadFile(file), Bytes({40, 51, 200, 0, 1, 0, 0, 0, 1, 0, 0, 0}));
  // What was just written is what the file holds now.
  fs::remove(file);
  EXPECT_TRUE(SaveConfigIfChanged(s));
  EXPECT_FALSE(fs::exists(file));

  // A damaged file gave the defaults; only a change rewrites it.
  WriteFile(file, "short");
  LoadConfig(s);
  EXPECT_TRUE(SaveConfigIfChanged(s));
  EXPECT_EQ(ReadFile(file), "short");
  s.gamma = 100;
  EXPECT_TRUE(SaveConfigIfChanged(s));
  EXPECT_EQ(ReadFile(file).size(), 12u);
}
