// The training pages: turning and clamping, the short click, and Escape back to the menu with
// the page kept.
#include "ui/training.hpp"

#include <gtest/gtest.h>

#include "app/game_state.hpp"
#include "app/input.hpp"
#include "audio/sound.hpp"
#include "base/messages.hpp"
#include "ui/click_sound.hpp"
#include "ui/front_end.hpp"
#include "ui/menu.hpp"
#include "ui/ui_run.hpp"

TEST(TrainingPages, TurnWithinTheThreePages) {
  EXPECT_EQ(TurnTrainingPage(0, true, false), 0) << "Back on the first page";
  EXPECT_EQ(TurnTrainingPage(2, false, true), 2) << "Next on the last page";
  EXPECT_EQ(TurnTrainingPage(0, false, true), 1);
  EXPECT_EQ(TurnTrainingPage(2, true, false), 1);
  EXPECT_EQ(TurnTrainingPage(1, true, true), 1) << "both in one frame";
  EXPECT_EQ(TurnTrainingPage(INT32_MAX, false, true), 2);
  EXPECT_EQ(TurnTrainingPage(INT32_MIN, true, false), 0);
}

TEST(ClickEnd, TheMenuWaitsForTheEndTheTrainingPagesCutFiveHundredBytesBefore) {
  EXPECT_FALSE(MenuClickEnded(43901, 44400));
  EXPECT_TRUE(MenuClickEnded(44400, 44400));
  EXPECT_FALSE(TrainingClickEnded(43900, 44400));
  EXPECT_TRUE(TrainingClickEnded(43901, 44400));
  // Shorter than the cut: played to its end, neither cut at once nor left running for ever.
  EXPECT_FALSE(TrainingClickEnded(0, 400));
  EXPECT_FALSE(TrainingClickEnded(399, 400));
  EXPECT_TRUE(TrainingClickEnded(400, 400));
  EXPECT_TRUE(TrainingClickEnded(0, 0)) << "a sound that could not be opened has ended";
}

namespace {
struct TrainingTest : ::testing::Test {
  TempDir dir{"training"};
  FakeBackends fake{dir.path()};

  void SetUp() override {
    ResetFrontEnd();
    // 50 frames of 10 ms and 300 bytes more.
    uicontent::WriteFrontEndContent(dir.path(), 882 * 50 + 300);
    BASS_Init();
    cSND::Open("data\\sounds\\GUI\\button0.WAV", gameState.clickSound);
    gameState.flags.trainerShown = 1;
    gameState.morva.frameTime = 10;
    gameState.settings.soundVolume = 90;
  }
  void Frame(int x, int y, bool held) {
    fake.audio.Advance(10);
    fake.renderer.BeginFrame(0, 800, 0, 600);
    gameState.cursorX = x;
    gameState.cursorY = y;
    gameState.flags.mouseLeftDown = held ? 1 : 0;
    RunTraining();
  }
  StreamInfo Click() const { return fake.audio.Streams().at(0); }
};
}  // namespace

TEST_F(TrainingTest, TheClickPlaysAtAFixedVolumeAndStopsFiveHundredBytesBeforeItsEnd) {
  Frame(435, 565, true);
  EXPECT_TRUE(Click().playing);
  EXPECT_EQ(Click().volume, 30) << "not the effects volume";
  Frame(435, 565, false);
  for (int i = 0; i < 48; ++i) Frame(0, 0, false);
  EXPECT_TRUE(Click().playing);
  EXPECT_EQ(Click().position, 882u * 49);
  Frame(0, 0, false);
  EXPECT_FALSE(Click().playing) << "44100 of 44400 bytes played: cut";
  EXPECT_EQ(Click().position, 0u);
  for (int i = 0; i < 20; ++i) Frame(0, 0, false);
  EXPECT_FALSE(Click().playing) << "and not started again";
  EXPECT_EQ(trainingScreen.page, 1);
}

TEST_F(TrainingTest, AMenuClickCutByThePagesDoesNotSoundAgainBackInTheMenu) {
  // The menu's click on Training is still playing when the pages take over and cut it.
  gameState.flags.trainerShown = 0;
  gameState.flags.introDone = 1;
  gameState.flags.menuShown = 1;
  auto menuFrame = [&](bool held) {
    fake.audio.Advance(10);
    gameState.cursorX = 385;
    gameState.cursorY = 255;
    gameState.flags.mouseLeftDown = held ? 1 : 0;
    RunMenu();
  };
  menuFrame(true);
  menuFrame(false);
  while (gameState.flags.trainerShown == 0) menuFrame(false);
  ASSERT_TRUE(Click().playing);
  while (Click().playing) Frame(0, 0, false);
  EXPECT_EQ(Click().position, 0u) << "cut and rewound by the pages";

  gameState.flags.trainerShown = 0;
  for (int i = 0; i < 10; ++i) {
    menuFrame(false);
    EXPECT_FALSE(Click().playing) << "frame " << i << " back in the menu";
  }
}

TEST_F(TrainingTest, EscapeGoesBackToTheMenuAndLeavesTheStateInPlace) {
  Frame(0, 0, false);
  EXPECT_EQ(gameState.flags.trainerLoaded, 1);
  EXPECT_EQ(fake.renderer.DrawList()->front().texturePath, "data\\trainer\\0.dxt");
  DXInput1.Assign(kPauseButton, 0, 0x1B);
  DXInput1.Keyboard.keysDown.set(0x1B);
  DXInput1.Update();
  Frame(0, 0, false);
  EXPECT_EQ(gameState.flags.trainerShown, 0);
  EXPECT_EQ(gameState.flags.menuShown, 1);
  EXPECT_TRUE(DXInput1.Has(kPauseButton));
  EXPECT_TRUE(shownMessages.empty());
}

namespace {
std::string Line(int frame, const std::string& what) {
  return std::to_string(frame) + " " + what + "\n";
}
// The page drawn in a dump's last frame.
std::string Page(const nlohmann::json& state) {
  for (const auto& d : state["drawList"]) {
    std::string path = d.value("texturePath", "");
    if (path.rfind("data\\trainer\\", 0) == 0 && path.size() == 18) return path.substr(13, 1);
  }
  return "";
}
}  // namespace

TEST(TrainingRun, BackAndNextStayWithinThePagesAndThePageIsKeptBetweenVisits) {
  UiGame game;
  // Training opens at about frame 23; Back and Next lie side by side at the bottom.
  std::string script = SkipIntro() + Click(10, 385, 255) + Click(30, 375, 565);
  auto state = game.Run(script, 50);
  ASSERT_EQ(state["flags"]["trainerShown"], 1);
  EXPECT_EQ(Page(state), "0") << "Back on the first page";

  script += Click(50, 435, 565) + Click(70, 435, 565) + Click(90, 435, 565);
  state = game.Run(script, 110);
  EXPECT_EQ(Page(state), "2") << "Next on the last page";

  script += Line(110, "key down Escape") + Line(112, "key up Escape");
  state = game.Run(script, 115);
  EXPECT_EQ(state["flags"]["trainerShown"], 0);
  EXPECT_EQ(state["flags"]["menuShown"], 1);
  EXPECT_TRUE(Drew(state, "data\\menu\\bg.dxt"));

  script += Click(120, 385, 255);
  state = game.Run(script, 140);
  ASSERT_EQ(state["flags"]["trainerShown"], 1);
  EXPECT_EQ(Page(state), "2") << "the next visit opens on the page last shown";
}
