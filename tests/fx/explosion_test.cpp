// The explosion: its one shared animation, how many calls an explosion lasts, and the sound with
// its gate.
#include <gtest/gtest.h>

#include "audio/sound.hpp"
#include "fx/explosion.hpp"
#include "fx/fx_test_support.hpp"

namespace {

struct ExplosionTest : FxTest {
  cBlow blow;
  uint8_t active = 0;
  double gate = 1.0;

  void SetUp() override {
    FxTest::SetUp();
    blow.frameFolder = "DATA\\fx\\blow1\\";
    blow.soundFile = "data\\sounds\\fx\\explode0.wav";
    blow.frameCount = 11;
    BlowInit(blow, gameState.fx.explosionPlayer);
  }
  cAnim& Anim() { return *gameState.fx.explosionPlayer.anim; }
  // One call's step and show.
  void Play(uint8_t& flag, double& soundGate, int volume = 200) {
    ExplosionPlayer& player = gameState.fx.explosionPlayer;
    BlowStep(blow, player, gameState.morva.frameTime, volume, flag, soundGate);
    BlowShow(player, 128, 128, 300, 200, -0.1);
  }
  // Calls until the explosion clears its flag.
  int Explode() {
    active = 1;
    int calls = 0;
    while (active != 0 && calls < 100) {
      Play(active, gate);
      ++calls;
    }
    return calls;
  }
  StreamInfo Sound() const {
    for (const StreamInfo& s : fake.audio.Streams()) {
      if (s.path == blow.soundFile) return s;
    }
    return {};
  }
};

}  // namespace

TEST_F(ExplosionTest, InitLoadsTheElevenFramesIntoTheSharedAnimationAndOpensTheSound) {
  ASSERT_NE(gameState.fx.explosionPlayer.anim, nullptr);
  for (int f = 0; f < 11; ++f) {
    EXPECT_EQ(renderer.PathOf(Anim().textures[f]),
              "DATA\\fx\\blow1\\" + std::to_string(f) + ".dxt");
  }
  EXPECT_EQ(Anim().textures[11], 0u);
  EXPECT_EQ(Anim().firstFrame, 0);
  EXPECT_EQ(Anim().frameCount, 11);
  EXPECT_EQ(Anim().frameDuration, 0.0f);
  EXPECT_EQ(Anim().playing, 1);
  EXPECT_NE(blow.soundHandle, 0u);
  EXPECT_GT(Sound().length, 0u);
  EXPECT_TRUE(shownMessages.empty());
}

TEST_F(ExplosionTest, TheFirstExplosionLastsTenCallsAndLaterOnesEleven) {
  EXPECT_EQ(Explode(), 10) << "the animation starts one picture in";
  EXPECT_EQ(Anim().current, 0);
  EXPECT_EQ(Explode(), 11);
  EXPECT_EQ(Explode(), 11);
}

TEST_F(ExplosionTest, EachCallDrawsTheNextPictureAtTheGivenPlaceAndSize) {
  active = 1;
  for (int call = 1; call <= 10; ++call) {
    NewFrame();
    Play(active, gate);
    ASSERT_EQ(Draws().size(), 1u);
    const DrawRecord& d = Draws()[0];
    EXPECT_EQ(d.op, "anim");
    EXPECT_EQ(d.texturePath, "DATA\\fx\\blow1\\" + std::to_string(call) + ".dxt");
    EXPECT_EQ(d.x, 300);
    EXPECT_EQ(d.y, 200);
    EXPECT_EQ(d.w, 128);
    EXPECT_EQ(d.h, 128);
    EXPECT_EQ(d.depth, -0.1);
  }
  EXPECT_EQ(active, 0);
  NewFrame();
  Play(active, gate);
  EXPECT_TRUE(Draws().empty()) << "an idle explosion draws nothing";
}

TEST_F(ExplosionTest, TwoExplosionsAtOnceShareTheAnimationAndAdvanceItTwicePerFrame) {
  uint8_t other = 1;
  double otherGate = 1.0;
  active = 1;
  for (int frame = 1; frame <= 5; ++frame) {
    NewFrame();
    Play(active, gate);
    Play(other, otherGate);
    ASSERT_EQ(DrawsOf("anim").size(), 2u);
    EXPECT_EQ(DrawsOf("anim")[1].texturePath,
              "DATA\\fx\\blow1\\" + std::to_string(2 * frame) + ".dxt");
    EXPECT_EQ(other, frame == 5 ? 0 : 1) << frame;
  }
  // The second caller saw the last picture; the first goes on into a new round.
  EXPECT_EQ(active, 1);
  EXPECT_EQ(Anim().current, 0);
}

TEST_F(ExplosionTest, TheSoundPlaysAndIsRewoundOnTheCallAfterItEnds) {
  active = 1;
  Play(active, gate, 70);
  EXPECT_TRUE(Sound().playing);
  EXPECT_EQ(Sound().volume, 70);
  // Let it play to its end while the explosion is idle.
  while (active != 0) Play(active, gate);
  const StreamInfo s = Sound();
  fake.audio.Advance(10000);
  ASSERT_EQ(Sound().position, s.length);
  Play(active, gate);
  EXPECT_EQ(Sound().position, 0u) << "rewound for the next explosion";
  EXPECT_FALSE(Sound().playing);
}

TEST_F(ExplosionTest, AGateOfZeroStopsAPlayingSoundOnceAndIsThenOne) {
  active = 1;
  Play(active, gate);
  fake.audio.Advance(100);
  ASSERT_TRUE(Sound().playing);
  ASSERT_GT(Sound().position, 0u);
  gate = 0.0;
  uint8_t idle = 0;
  Play(idle, gate);
  EXPECT_FALSE(Sound().playing);
  EXPECT_EQ(Sound().position, 0u);
  EXPECT_EQ(gate, 1.0);
  Play(active, gate);
  fake.audio.Advance(100);
  Play(idle, gate);
  EXPECT_TRUE(Sound().playing) << "with the gate at 1 a playing sound goes on";
}

TEST_F(ExplosionTest, AVolumeAbove255IsARangeError) {
  active = 1;
  Play(active, gate, 255);
  EXPECT_TRUE(Sound().playing);
  std::string reported;
  SetFatalHandler([&](const std::string& what) { reported = what; });
  EXPECT_THROW(Play(active, gate, 256), ProgramExit);
  EXPECT_NE(reported.find("256"), std::string::npos) << reported;
}
