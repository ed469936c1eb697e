// config.dat: defaults, the byte layout, damaged files and failed saves.
#include <gtest/gtest.h>
#include <unistd.h>

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

  // Loading where nothing can be created still gives the defaults.
  Settings loaded;
  LoadConfig(loaded);
  EXPECT_EQ(loaded.musicVolume, 30);
}

TEST(ConfigPathChoice, OptionWinsThenWorkingDirectoryThenXdg) {
  EXPECT_EQ(ChooseConfigPath(std::string("/tmp/x/config.dat")), fs::path("/tmp/x/config.dat"));
  TempDir dir{"config_xdg"};
  fs::path old = fs::current_path();
  fs::create_directories(dir / "ro");
  fs::current_path(dir / "ro");
  EXPECT_EQ(ChooseConfigPath(std::nullopt), fs::path("config.dat"));
  if (geteuid() != 0) {
    fs::permissions(dir / "ro", fs::perms::owner_write, fs::perm_options::remove);
    setenv("XDG_CONFIG_HOME", (dir / "xdg").c_str(), 1);
    EXPECT_EQ(ChooseConfigPath(std::nullopt), dir / "xdg" / "morva" / "config.dat");
    unsetenv("XDG_CONFIG_HOME");
    fs::permissions(dir / "ro", fs::perms::owner_write, fs::perm_options::add);
  }
  fs::current_path(old);
}
