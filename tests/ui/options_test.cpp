// The options screen: the slider and list rules, the screen through the real program, and the
// display-mode list on a platform with several modes.
#include "ui/options.hpp"

#include <gtest/gtest.h>

#include "app/display.hpp"
#include "app/game_state.hpp"
#include "app/input.hpp"
#include "base/messages.hpp"
#include "ui/config.hpp"
#include "ui/front_end.hpp"
#include "ui/ui_run.hpp"

namespace fs = std::filesystem;

TEST(TrackBarRules, ValuesCoverTheRangesTheScreenOffers) {
  // The zone is strictly between the ends: d runs from 1 to 199 on a 200-pixel bar.
  EXPECT_EQ(TrackBarValue(1, 0, 100, 200), 0);
  EXPECT_EQ(TrackBarValue(199, 0, 100, 200), 99);
  EXPECT_EQ(TrackBarValue(1, 58, 255, 200), 58);
  EXPECT_EQ(TrackBarValue(199, 58, 255, 200), 253);
  EXPECT_EQ(TrackBarPosition(100, 100, 200), 50);
  EXPECT_EQ(TrackBarPosition(199, 255, 200), 253);
  EXPECT_EQ(TrackKnobX(230, 50, 200, 100, 32), 230 + 100 - 16);
  EXPECT_EQ(TrackKnobX(230, 7, 200, 0, 32), 230 - 16) << "a bar without range";
  EXPECT_EQ(TrackBarValue(199, 0, 100000000, 200), 99500000) << "no overflow on the way";
}

TEST(TrackBarRules, TheZoneIsTheBarsLengthAndAThirtyTwoPixelBand) {
  EXPECT_TRUE(InTrackBarZone(230, 197, 200, 32, 231, 197));
  EXPECT_TRUE(InTrackBarZone(230, 197, 200, 32, 429, 182));
  EXPECT_TRUE(InTrackBarZone(230, 197, 200, 32, 429, 212));
  EXPECT_FALSE(InTrackBarZone(230, 197, 200, 32, 230, 197));
  EXPECT_FALSE(InTrackBarZone(230, 197, 200, 32, 430, 197));
  EXPECT_FALSE(InTrackBarZone(230, 197, 200, 32, 300, 181));
  EXPECT_FALSE(InTrackBarZone(230, 197, 200, 32, 300, 213));
  EXPECT_FALSE(InTrackBarZone(230, 197, 0, 32, 230, 197)) << "no length, no zone";
}

TEST(OptionsTexts, ModeEntriesAndTheBloodSwitch) {
  EXPECT_EQ(ModeEntryText(60), "800x600x32 60Hz");
  EXPECT_EQ(ModeEntryText(144), "800x600x32 144Hz");
  EXPECT_FALSE(BloodOn(49));
  EXPECT_TRUE(BloodOn(50));
}

namespace {
// The options screen opened from the menu at frame 10; it runs from about frame 23 on.
std::string OpenOptions() {
  return SkipIntro() + Click(10, 385, 305);
}
std::string Line(int frame, const std::string& what) {
  return std::to_string(frame) + " " + what + "\n";
}
}  // namespace

TEST(OptionsRun, DraggingSetsEachBarWithinItsRange) {
  UiGame game;
  auto state =
      game.Run(OpenOptions() + Line(30, "mouse move 231 197") + Line(30, "mouse down left") +
                   Line(32, "mouse move 429 238") + Line(34, "mouse move 231 280"),
               36);
  ASSERT_EQ(state["flags"]["optionsShown"], 1);
  EXPECT_EQ(state["settings"]["musicVolume"], 0);
  EXPECT_EQ(state["settings"]["soundVolume"], 99);
  EXPECT_EQ(state["settings"]["gamma"], 58);

  state = game.Run(OpenOptions() + Line(30, "mouse move 429 197") + Line(30, "mouse down left") +
                       Line(32, "mouse move 231 238") + Line(34, "mouse move 429 280"),
                   36);
  EXPECT_EQ(state["settings"]["musicVolume"], 99);
  EXPECT_EQ(state["settings"]["soundVolume"], 0);
  EXPECT_EQ(state["settings"]["gamma"], 253);
}

TEST(OptionsRun, PastTheEndKeepsTheLastValueAndLeavingTheBandStopsTheDrag) {
  UiGame game;
  auto state =
      game.Run(OpenOptions() + Line(30, "mouse move 429 197") + Line(30, "mouse down left") +
                   Line(32, "mouse move 430 197") + Line(34, "mouse move 700 197"),
               36);
  EXPECT_EQ(state["settings"]["musicVolume"], 99);

  state = game.Run(OpenOptions() + Line(30, "mouse move 300 197") + Line(30, "mouse down left") +
                       Line(32, "mouse move 400 213") + Line(34, "mouse move 420 181"),
                   36);
  EXPECT_EQ(state["settings"]["musicVolume"], 35) << "the drag stopped at the band's edge";
  state = game.Run(OpenOptions() + Line(30, "mouse move 300 197") + Line(30, "mouse down left") +
                       Line(32, "mouse move 400 212"),
                   36);
  EXPECT_EQ(state["settings"]["musicVolume"], 85) << "just inside the band";
}

TEST(OptionsRun, TheBloodSwitchReadsOnFromTheMiddle) {
  UiGame game;
  auto text = [](const nlohmann::json& state) -> nlohmann::json {
    for (const auto& d : state["drawList"]) {
      // The blood switch's word, left of the Controls button's label.
      if (d["op"] == "text" && d["size"] == 16 && d["x"] < 500) return d;
    }
    return {};
  };
  auto state =
      game.Run(OpenOptions() + Line(30, "mouse move 330 320") + Line(30, "mouse down left"), 32);
  EXPECT_EQ(state["settings"]["showBlood"], 1);
  EXPECT_EQ(text(state)["text"], "ON");
  EXPECT_EQ(text(state)["x"], 180);
  EXPECT_EQ(text(state)["y"], 316);

  state =
      game.Run(OpenOptions() + Line(30, "mouse move 329 320") + Line(30, "mouse down left"), 32);
  EXPECT_EQ(state["settings"]["showBlood"], 0);
  EXPECT_EQ(text(state)["text"], "OFF");
  EXPECT_EQ(text(state)["x"], 150);
}

TEST(OptionsRun, EscapeSavesTheSettingsAndGoesBackToTheMenu) {
  UiGame game;
  std::string drag = OpenOptions() + Line(30, "mouse move 231 197") + Line(30, "mouse down left") +
                     Line(32, "mouse move 429 238") + Line(34, "mouse move 231 280") +
                     Line(36, "mouse move 329 320") + Line(38, "mouse up left");
  const std::string dragged("\x00\x63\x3A\x00\xFF\xFF\xFF\xFF\x00\x00\x00\x00", 12);
  auto state = game.Run(drag + Line(40, "key down Escape") + Line(42, "key up Escape"), 45);
  EXPECT_EQ(state["flags"]["optionsShown"], 0);
  EXPECT_EQ(state["flags"]["menuShown"], 1);
  EXPECT_TRUE(Drew(state, "data\\menu\\bg.dxt"));
  EXPECT_EQ(ReadFile(UserConfigFile(game.dir.path())), dragged);

  // A run that ends in the options screen, without Escape, keeps the change all the same.
  game.Run(drag, 40);
  EXPECT_EQ(ReadFile(UserConfigFile(game.dir.path())), dragged);
}

namespace {
struct OptionsTest : ::testing::Test {
  TempDir dir{"options"};
  FakeBackends fake{dir.path()};

  void SetUp() override {
    ResetFrontEnd();
    uicontent::WriteFrontEndContent(dir.path());
    SetConfigPath(dir / "config.dat");
    fake.platform.modes = {{800, 600, 32, 60},
                           {1024, 768, 32, 60},
                           {800, 600, 32, 75},
                           {800, 600, 16, 60},
                           {800, 600, 32, 85}};
    fake.platform.hasContext = true;
    gameState.settings = Settings{30, 30, 255, 2, 1};
    gameState.flags.optionsShown = 1;
    gameState.morva.frameTime = 10;
  }
  void Frame(int x, int y, bool held) {
    fake.renderer.BeginFrame(0, 800, 0, 600);
    gameState.cursorX = x;
    gameState.cursorY = y;
    gameState.flags.mouseLeftDown = held ? 1 : 0;
    RunOptions();
  }
  std::vector<std::string> Texts(uint16_t size) const {
    std::vector<std::string> texts;
    for (const DrawRecord& d : *fake.renderer.DrawList()) {
      if (d.op == "text" && d.size == size) texts.push_back(d.text);
    }
    return texts;
  }
  // Opens the list with a press on the closed box, then lets go.
  void OpenList() {
    Frame(300, 370, false);
    Frame(300, 370, true);
    Frame(300, 370, false);
    ASSERT_TRUE(optionsScreen.listBox.open);
  }
  static int RowY(int row) { return kModeListY + 30 * row + 15; }
};
}  // namespace

TEST_F(OptionsTest, TheListOffersEvery800x600x32ModeWithItsIndex) {
  Frame(0, 0, false);
  const cListBox& list = optionsScreen.listBox;
  ASSERT_EQ(list.itemCount, 3);
  EXPECT_EQ(list.items[0].text, "800x600x32 60Hz");
  EXPECT_EQ(list.items[1].text, "800x600x32 75Hz");
  EXPECT_EQ(list.items[2].text, "800x600x32 85Hz");
  EXPECT_EQ(list.items[0].value, 0);
  EXPECT_EQ(list.items[1].value, 2);
  EXPECT_EQ(list.items[2].value, 4);
  EXPECT_EQ(list.selected, 1) << "the configured mode";
  EXPECT_EQ(Texts(11), std::vector<std::string>{"800x600x32 75Hz"});

  OpenList();
  EXPECT_EQ(Texts(11).size(), 3u);
  Frame(300, RowY(2), false);
  EXPECT_EQ(list.selected, 2) << "the selection follows the cursor";
  EXPECT_TRUE(shownMessages.empty());
}

TEST_F(OptionsTest, AChoiceSetsTheModeUpOnTheSameContextAndReloadsTheScreens) {
  gameState.flags.menuLoaded = 1;
  OpenList();
  Texture background = optionsScreen.background;
  Frame(300, RowY(2), true);
  EXPECT_EQ(gameState.settings.displayMode, 4);
  EXPECT_EQ(fake.platform.modeChanges.back(), 4);
  EXPECT_TRUE(fake.platform.hasContext) << "the context, and every texture in it, is kept";
  EXPECT_EQ(gameState.flags.menuLoaded, 0);
  // Still holding the button where the closed box lies: the new list must not open.
  Frame(300, 370, true);
  EXPECT_NE(optionsScreen.background, background) << "the screen loaded its pictures again";
  EXPECT_FALSE(optionsScreen.listBox.open);
  EXPECT_EQ(optionsScreen.listBox.selected, 2);
}

TEST_F(OptionsTest, HoldingTheButtonAfterOpeningDoesNotChoose) {
  Frame(0, 0, false);
  Frame(300, 370, true);
  ASSERT_TRUE(optionsScreen.listBox.open);
  Frame(300, RowY(2), true);
  EXPECT_TRUE(optionsScreen.listBox.open);
  EXPECT_EQ(gameState.settings.displayMode, 2);
  // A press outside the open list does nothing either.
  Frame(300, 370, false);
  Frame(600, 100, true);
  EXPECT_TRUE(optionsScreen.listBox.open);
}

TEST_F(OptionsTest, WhileALevelIsPausedAChoiceIsShownButNeitherKeptNorApplied) {
  gameState.flags.inGame = 1;
  gameState.flags.paused = 1;
  OpenList();
  Frame(300, RowY(0), true);
  EXPECT_EQ(gameState.settings.displayMode, 2);
  EXPECT_TRUE(fake.platform.modeChanges.empty());
  EXPECT_EQ(Texts(11), std::vector<std::string>{"800x600x32 60Hz"});
}

TEST_F(OptionsTest, GammaIsAppliedAtOnceAndTheOtherBarsChangeOnlyTheSettings) {
  int writes = fake.platform.gammaWrites;
  Frame(330, 280, true);
  int gamma = TrackBarValue(100, 58, 255, 200);
  EXPECT_EQ(gameState.settings.gamma, gamma);
  EXPECT_EQ(fake.platform.gamma, BuildGammaRamp(static_cast<uint8_t>(gamma)));
  EXPECT_EQ(fake.platform.gammaWrites, writes + 1);
  Frame(330, 197, true);
  EXPECT_EQ(gameState.settings.musicVolume, 50);
  EXPECT_EQ(fake.platform.gammaWrites, writes + 1);
}

TEST_F(OptionsTest, WithNoMatchingModeTheListShowsTheModeInUse) {
  fake.platform.modes = {{1024, 768, 32, 60}, {1280, 1024, 24, 75}};
  fake.platform.desktop = {1280, 1024, 24, 75};
  Frame(0, 0, false);
  ASSERT_EQ(optionsScreen.listBox.itemCount, 1) << "the configured mode 2 does not exist";
  EXPECT_EQ(optionsScreen.listBox.items[0].value, 1);
  EXPECT_EQ(Texts(11), std::vector<std::string>{"1280x1024x24 75Hz"});
}

// The gamma bar's values start at 58: its knob stands where the stored gamma puts it, also when
// the screen opens again in the next run.
TEST_F(OptionsTest, TheGammaKnobStaysWhereItWasLeft) {
  for (int gamma : {58, 128}) {
    SCOPED_TRACE(gamma);
    int d = 1;
    while (TrackBarValue(d, 58, 255, 200) < gamma) ++d;
    Frame(kOptionsBarX + d, OptionsBarY(OptionsBar::Gamma), true);
    ASSERT_EQ(gameState.settings.gamma, gamma);
    const int32_t left = optionsScreen[OptionsBar::Gamma].position;
    ResetOptions();
    Frame(0, 0, false);
    EXPECT_EQ(optionsScreen[OptionsBar::Gamma].position, left);
  }
  gameState.settings.gamma = 255;
  ResetOptions();
  Frame(0, 0, false);
  EXPECT_EQ(optionsScreen[OptionsBar::Gamma].position, 255) << "at the end of the bar";
}

TEST_F(OptionsTest, EscapeSavesTheSettingsInMemory) {
  Frame(231, 238, true);
  EXPECT_FALSE(fs::exists(dir / "config.dat")) << "while the screen is used, only memory changes";
  DXInput1.Keyboard.keysDown.set(0x1B);
  DXInput1.Assign(kPauseButton, 0, 0x1B);
  DXInput1.Update();
  Frame(0, 0, false);
  EXPECT_EQ(gameState.flags.optionsShown, 0);
  EXPECT_EQ(gameState.flags.menuShown, 1);
  EXPECT_TRUE(DXInput1.Has(kPauseButton)) << "the Escape state is left in place";
  std::string bytes = ReadFile(dir / "config.dat");
  ASSERT_EQ(bytes.size(), 12u);
  EXPECT_EQ(bytes[1], 0);
  EXPECT_EQ(bytes[4], 2);
}
