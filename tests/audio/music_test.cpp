// The music of the game's modes through the real start-up and frame step on the headless device,
// and in a headless run of the game itself.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "app/game_state.hpp"
#include "app/main_loop.hpp"
#include "audio/sound_test_files.hpp"
#include "test_support.hpp"
#include "ui/config.hpp"

namespace fs = std::filesystem;

namespace {

const char* const kIntro = "data\\sounds\\music\\intro.mp3";
const char* const kMenu = "data\\sounds\\music\\menu.mp3";
const char* const kGame = "data\\sounds\\music\\game.mp3";
const char* const kClick = "data\\sounds\\GUI\\button0.WAV";
constexpr uint64_t kStepBytes = 441 * 2 * 2;  // one 10 ms frame of stereo

class MusicTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    content_ = new TempDir(testsound::PerProcess("music_content"));
    fs::path music = content_->path() / "data/sounds/music";
    // The intro is long enough to be streamed, as real music is.
    ASSERT_TRUE(testsound::MakeSineMp3(music / "intro.mp3", 14.0, 220, 2));
    ASSERT_TRUE(testsound::MakeSineMp3(music / "menu.mp3", 0.5, 330, 2));
    ASSERT_TRUE(testsound::MakeSineMp3(music / "game.mp3", 2.0, 440, 2));
    ASSERT_TRUE(testsound::MakeSine(content_->path() / "data/sounds/gui/Button0.wav", 0.1));
  }
  static void TearDownTestSuite() {
    delete content_;
    content_ = nullptr;
  }
  void SetUp() override {
    fake_ = std::make_unique<FakeBackends>(content_->path());
    SetConfigPath(work_ / "config.dat");
    fake_->platform.manualTicks = 1'000'000;
    ASSERT_EQ(FormCreate(), StartResult::Ok);
    PretendLevelLoaded();
  }
  void TearDown() override {
    FormClose();
    fake_.reset();
  }
  // One frame as the program runs it: the device moves on by the raw step, then the frame.
  void Frame(int count = 1) {
    for (int i = 0; i < count; ++i) {
      fake_->audio.Advance(10);
      DXTimer1Timer();
    }
  }
  StreamInfo Track(const std::string& path) {
    for (const StreamInfo& s : fake_->audio.Streams()) {
      if (s.path == path) return s;
    }
    ADD_FAILURE() << path << " was not opened";
    return {};
  }
  void ExpectOnlyPlaying(const char* track, uint64_t position) {
    for (const char* t : {kIntro, kMenu, kGame}) {
      StreamInfo s = Track(t);
      if (t == track) {
        EXPECT_TRUE(s.playing) << t;
        EXPECT_EQ(s.position, position) << t;
      } else {
        EXPECT_FALSE(s.playing) << t;
        EXPECT_EQ(s.position, 0u) << t << " is stopped and rewound";
      }
    }
  }

  static TempDir* content_;
  TempDir work_{testsound::PerProcess("music_work")};
  std::unique_ptr<FakeBackends> fake_;
};
TempDir* MusicTest::content_ = nullptr;

// Start-up opens the intro's track; a first frame showing only the intro goes without the rest,
// which the next frame opens first, before it selects its music.
TEST_F(MusicTest, StartUpOpensTheIntroTrackAndTheSecondFrameTheRestWithTheirLengths) {
  auto paths = [&] {
    std::vector<std::string> out;
    for (const StreamInfo& s : fake_->audio.Streams()) out.push_back(s.path);
    return out;
  };
  EXPECT_EQ(paths(), std::vector<std::string>{kIntro});
  Frame();
  EXPECT_EQ(paths(), std::vector<std::string>{kIntro});
  Frame();
  std::vector<StreamInfo> streams = fake_->audio.Streams();
  ASSERT_EQ(streams.size(), 4u);
  EXPECT_EQ(streams[0].path, kIntro);
  EXPECT_EQ(streams[0].length, 14 * 44100 * 4u);
  EXPECT_EQ(streams[1].path, kMenu);
  EXPECT_EQ(streams[2].path, kGame);
  EXPECT_EQ(streams[3].path, kClick);
  EXPECT_EQ(streams[3].length, 4410 * 2u);
  for (int i = 1; i < 4; ++i) EXPECT_FALSE(streams[i].playing) << streams[i].path;
  Frame(3);
  EXPECT_EQ(fake_->audio.Streams().size(), 4u) << "opened once";
}

// A first frame that shows more than the intro (a key held through it, a screen opened by a
// test or a notice) has everything it may use.
TEST_F(MusicTest, AFirstFrameShowingMoreThanTheIntroOpensEverythingFirst) {
  gameState.flags.introDone = 1;
  Frame();
  EXPECT_EQ(fake_->audio.Streams().size(), 4u);
  ExpectOnlyPlaying(kMenu, 0);
}

TEST_F(MusicTest, TheIntroPlaysFromTheStartThenTheMenuTrackTakesOverFromItsStart) {
  Frame();
  EXPECT_TRUE(Track(kIntro).playing);
  EXPECT_EQ(Track(kIntro).position, 0u);
  Frame(5);
  ExpectOnlyPlaying(kIntro, 5 * kStepBytes);
  EXPECT_EQ(Track(kIntro).volume, gameState.settings.musicVolume);

  // What the intro does when it ends or a key is pressed.
  gameState.flags.introDone = 1;
  Frame();
  ExpectOnlyPlaying(kMenu, 0);
  Frame(3);
  ExpectOnlyPlaying(kMenu, 3 * kStepBytes);
}

TEST_F(MusicTest, PausingSwitchesToTheMenuTrackAndResumingRestartsTheGameTrack) {
  ModeFlags& f = gameState.flags;
  f.introDone = 1;
  Frame(4);
  // Start: the level runs with its own music.
  f.menuShown = 0;
  f.inGame = 1;
  Frame(6);
  ExpectOnlyPlaying(kGame, 5 * kStepBytes);
  // Escape: paused under the menu, which starts its track from the beginning.
  f.paused = 1;
  f.menuShown = 1;
  Frame(2);
  ExpectOnlyPlaying(kMenu, kStepBytes);
  // Resume: the game track starts again from its beginning.
  f.paused = 0;
  f.menuShown = 0;
  Frame();
  ExpectOnlyPlaying(kGame, 0);
}

TEST_F(MusicTest, AfterTheStatisticsScreenTheMenuIsSilent) {
  ModeFlags& f = gameState.flags;
  f.introDone = 1;
  f.inGame = 1;
  f.menuShown = 0;
  Frame(3);
  f.levelFinished = 1;
  f.inGame = 0;
  f.menuShown = 1;
  Frame(3);
  for (const char* t : {kIntro, kMenu, kGame}) {
    EXPECT_FALSE(Track(t).playing) << t;
    EXPECT_EQ(Track(t).position, 0u) << t;
  }
}

TEST_F(MusicTest, AMusicVolumeChangeReachesTheRunningTrackOnTheNextFrame) {
  Frame(3);
  gameState.settings.musicVolume = 77;
  Frame();
  EXPECT_EQ(Track(kIntro).volume, 77);
  EXPECT_EQ(Track(kIntro).position, 3 * kStepBytes) << "the track goes on where it was";
}

TEST_F(MusicTest, ATrackLoopsWithAShortGapWhileItsModeLasts) {
  gameState.flags.introDone = 1;
  // The menu track is 0.5 s: 50 frames of sound, then the rewind and the restart.
  Frame(51);
  EXPECT_EQ(Track(kMenu).position, 0u);
  EXPECT_FALSE(Track(kMenu).playing);
  Frame();
  ExpectOnlyPlaying(kMenu, 0);
  Frame();
  ExpectOnlyPlaying(kMenu, kStepBytes);
}

// The real program, headless: the state dump shows the intro music playing from the start.
TEST_F(MusicTest, AHeadlessRunPlaysTheIntroMusicFromTheStart) {
  RunResult run =
      RunGame({"--headless", "--frames", "30", "--frame-ms", "10", "--root",
               content_->path().string(), "--config", "config.dat", "--dump-state", "state.json"},
              work_.path());
  ASSERT_EQ(run.status, 0) << run.output;
  nlohmann::json state = nlohmann::json::parse(ReadFile(work_ / "state.json"));
  const nlohmann::json& sounds = state["sounds"];
  ASSERT_EQ(sounds.size(), 4u) << state.dump(2);
  EXPECT_EQ(sounds[0]["path"], kIntro);
  EXPECT_EQ(sounds[0]["playing"], true);
  // Started in frame 0; frames 1 to 29 each moved it on by 10 ms.
  EXPECT_EQ(sounds[0]["position"], 29 * kStepBytes);
  EXPECT_EQ(sounds[0]["length"], 14 * 44100 * 4u);
  EXPECT_EQ(sounds[0]["volume"], state["settings"]["musicVolume"]);
  for (int i = 1; i < 4; ++i) {
    EXPECT_EQ(sounds[i]["playing"], false) << sounds[i]["path"];
    EXPECT_EQ(sounds[i]["position"], 0) << sounds[i]["path"];
  }
  EXPECT_EQ(sounds[3]["path"], kClick);
}

// Music players bring: a track without a LAME tag plays with its exact length, and one that is
// no sound at all is silent, named once on stderr and in the dump's messages.
TEST(MusicFiles, AnUntaggedTrackPlaysAndAnUnplayableOneIsNamedInTheDump) {
  TempDir content(testsound::PerProcess("music_untagged"));
  fs::path music = content.path() / "data/sounds/music";
  ASSERT_TRUE(testsound::MakeSine(content.path() / "intro.wav", 14.0, 220, "-b 16", 44100, 2));
  ASSERT_TRUE(
      testsound::MakeMp3(content.path() / "intro.wav", music / "intro.mp3", "-b 160 --nohist -t"));
  uint64_t introFrames =
      testsound::LameDecodedFrames(music / "intro.mp3") + testsound::kUntrimmedDelay;
  WriteFile(music / "menu.mp3", "not music\n");
  ASSERT_TRUE(testsound::MakeSineMp3(music / "game.mp3", 2.0, 440, 2));
  ASSERT_TRUE(testsound::MakeSine(content.path() / "data/sounds/gui/Button0.wav", 0.1));

  TempDir work(testsound::PerProcess("music_untagged_work"));
  RunResult run =
      RunGame({"--headless", "--frames", "30", "--frame-ms", "10", "--root",
               content.path().string(), "--config", "config.dat", "--dump-state", "state.json"},
              work.path());
  ASSERT_EQ(run.status, 0) << run.output;
  nlohmann::json state = nlohmann::json::parse(ReadFile(work / "state.json"));
  const nlohmann::json& sounds = state["sounds"];
  // Handle 0 is no stream: the menu track is not among them.
  ASSERT_EQ(sounds.size(), 3u) << state.dump(2);
  EXPECT_EQ(sounds[0]["path"], kIntro);
  EXPECT_EQ(sounds[0]["length"], introFrames * 4);
  EXPECT_EQ(sounds[0]["playing"], true);
  EXPECT_EQ(sounds[0]["position"], 29 * kStepBytes);
  EXPECT_EQ(sounds[1]["path"], kGame);

  const std::string line = "Couldn't play file \"data\\sounds\\music\\menu.mp3\"";
  int soundMessages = 0;
  for (const auto& m : state["messages"]) {
    if (m["caption"] != "Sound") continue;
    ++soundMessages;
    EXPECT_NE(m["text"].get<std::string>().find(line), std::string::npos) << m;
  }
  EXPECT_EQ(soundMessages, 1) << state["messages"];
  EXPECT_NE(run.output.find("morva: Sound: " + line), std::string::npos) << run.output;
}

}  // namespace
