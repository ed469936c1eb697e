// Player control: combo timing, the attack cool-down, walking, jumping, crouching, the power-up
// and the idle flag, on states built by hand.
#include <vector>

#include "game/gameplay_fixture.hpp"
#include "game/player_control.hpp"

namespace {

struct PlayerControl : GameplayFixture {
  ComboState& combo = gameState.play.combo;
  Unit* player = nullptr;
  void SetUp() override {
    Map(2, 1);
    player = &Add(kPlayer, 400, 300, 100);
  }
  void Press(int attack) { Hold(AttackButton(attack)); }
};

}  // namespace

TEST_F(PlayerControl, TheComboLevelFollowsKindsAndStrictTimingWindows) {
  struct Row {
    const char* what;
    std::vector<double> kinds;
    std::vector<double> times;
    int level;
  };
  const Row rows[] = {
      {"1, 3 a quarter second apart", {1, 3}, {0, 0.25}, 2},
      {"exactly 0.2 s is too soon", {1, 3}, {0, 0.2}, 0},
      {"exactly 0.3 s is too late", {1, 3}, {0, 0.3}, 0},
      {"just inside both ends", {1, 3}, {1.0, 1.2000001}, 2},
      {"just inside the late end", {1, 3}, {1.0, 1.2999999}, 2},
      {"3 first does not start it", {3, 1}, {0, 0.25}, 0},
      {"1, 3, 1", {1, 3, 1}, {0, 0.25, 0.5}, 3},
      {"a late third press stops at 2", {1, 3, 1}, {0, 0.25, 0.55}, 2},
      {"a wrong third kind stops at 2", {1, 3, 3}, {0, 0.25, 0.5}, 2},
      {"the whole combo", {1, 3, 1, 3, 2, 3, 4}, {0, .25, .5, .75, 1, 1.25, 1.5}, 7},
      {"all but the last", {1, 3, 1, 3, 2, 3, 1}, {0, .25, .5, .75, 1, 1.25, 1.5}, 6},
      {"an eighth press changes nothing",
       {1, 3, 1, 3, 2, 3, 4, 4},
       {0, .25, .5, .75, 1, 1.25, 1.5, 1.75},
       7},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    combo = ComboState{};
    for (std::size_t e = 0; e < r.kinds.size(); ++e)
      combo.comboBuffer[e] = {r.kinds[e], r.times[e]};
    combo.comboCount = static_cast<int32_t>(r.kinds.size());
    EvaluateCombo(gameState.play.combo);
    EXPECT_EQ(combo.comboLevel, r.level);
  }
  ClearCombo(gameState.play.combo);
  EXPECT_EQ(combo.comboLevel, 0);
  EXPECT_EQ(combo.comboBuffer[7].kind, 0.0);
}

TEST_F(PlayerControl, PressesInTheCoolDownAreRecordedButStartNoAttack) {
  // 62.5 ms frames: every clock value is exact in binary.
  gameState.morva.frameTime = 62.5;
  Press(1);
  AttackInput(Frame());
  EXPECT_EQ(combo.attackKind, 1);
  EXPECT_EQ(player->attack, 1);
  EXPECT_EQ(player->anim->current, player->anims[4].firstFrame);
  combo.attackKind = 0;
  player->attack = 0;
  AttackInput(Frame());  // 0.0625 s
  Press(1);
  AttackInput(Frame());  // still inside the 0.2 s cool-down
  EXPECT_EQ(combo.comboCount, 2) << "both presses are in the buffer";
  EXPECT_EQ(combo.attackKind, 0);
  EXPECT_EQ(player->attack, 0);

  // Attack 2 starts at the first frame of entry 5, attack 3 of entry 6: the other one's.
  for (int b : {2, 3, 4}) {
    combo = ComboState{};
    Press(b);
    AttackInput(Frame());
    EXPECT_EQ(player->attack, b);
    EXPECT_EQ(player->anim->current, player->anims[3 + b].firstFrame) << b;
  }
}

TEST_F(PlayerControl, TheCoolDownEndsAfterItsFifthTwentiethOfASecond) {
  gameState.morva.frameTime = 50;
  Press(1);
  AttackInput(Frame());
  int framesUntilNextAttack = 0;
  do {
    ++framesUntilNextAttack;
    combo.attackKind = 0;
    combo.comboActive = 0;  // keep the combo from ending the latch's story
    Press(2);
    AttackInput(Frame());
  } while (combo.attackKind == 0 && framesUntilNextAttack < 20);
  // The latch counts 0.05 .. 0.2 while pressed every frame, then lets the next press through.
  EXPECT_EQ(framesUntilNextAttack, 5);
}

TEST_F(PlayerControl, ACombosEndsAfterAPauseOrTwentyPresses) {
  gameState.morva.frameTime = 62.5;
  Press(1);
  AttackInput(Frame());
  for (int f = 0; f < 3; ++f) AttackInput(Frame());  // 0.25 s later
  Press(3);
  AttackInput(Frame());
  EXPECT_EQ(combo.comboLevel, 2);
  for (int f = 0; f < 4; ++f) AttackInput(Frame());
  EXPECT_EQ(combo.comboLevel, 2) << "kept until the combo ends";
  AttackInput(Frame());  // 0.3125 s after the last press
  EXPECT_EQ(combo.comboLevel, 0);
  EXPECT_EQ(combo.comboActive, 0);
  EXPECT_EQ(combo.comboCount, 0);

  for (int press = 1; press <= 20; ++press) {
    Press(press % 2 ? 1 : 3);
    AttackInput(Frame());
    if (press < 20) EXPECT_EQ(combo.comboActive, 1) << press;
    for (int f = 0; f < 3; ++f) AttackInput(Frame());
  }
  EXPECT_EQ(combo.comboActive, 0) << "the twentieth press ends it";
}

TEST_F(PlayerControl, AGolemsTakingOfACombo7LastsOneFrame) {
  // Set when a golem counted the combo 7 of this frame; the next frame's input starts afresh,
  // with or without a press.
  for (bool press : {false, true}) {
    SCOPED_TRACE(press);
    combo.fullComboTaken = 1;
    if (press) Press(1);
    AttackInput(Frame());
    EXPECT_EQ(combo.fullComboTaken, 0);
  }
}

TEST_F(PlayerControl, WalkingMovesPlayerAndCameraTogether) {
  struct Row {
    bool left, right;
    double dx;
    int facingLeft, moving;
    int attack, stunned, crouching;
  };
  const Row rows[] = {
      {false, true, 2.0, 0, 1, 0, 0, 0}, {true, false, -2.0, 1, 1, 0, 0, 0},
      {true, true, 0.0, 0, 1, 0, 0, 0},  {false, true, 0.0, 1, 0, 1, 0, 0},
      {false, true, 0.0, 1, 0, 0, 1, 0}, {false, true, 0.0, 1, 0, 0, 0, 1},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(testing::Message() << r.left << r.right << r.attack << r.stunned << r.crouching);
    player->x = 400;
    player->facingLeft = 1;
    player->attack = static_cast<uint8_t>(r.attack);
    player->stunned = static_cast<uint8_t>(r.stunned);
    player->crouching = static_cast<uint8_t>(r.crouching);
    gameState.play.cameraX = 0;
    Hold(Left, r.left);
    Hold(Right, r.right);
    MoveInput(Frame());
    EXPECT_DOUBLE_EQ(player->x, 400 + r.dx);
    EXPECT_DOUBLE_EQ(gameState.play.cameraX, -r.dx);
    EXPECT_EQ(player->facingLeft, r.facingLeft);
    EXPECT_EQ(player->moving, r.moving);
  }
}

TEST_F(PlayerControl, AJumpRisesFourHundredMillisecondsAndEndsOnlyOnTheGround) {
  Map(2, 2);
  player->y = 1000;
  Hold(Up);
  player->airborne = 0;
  int frames = 0;
  const double startY = player->y;
  while (frames < 100 && player->jumpTime < 400) {
    MoveInput(Frame());
    ++frames;
  }
  EXPECT_EQ(frames, 40);
  EXPECT_DOUBLE_EQ(player->y, startY - 480);
  EXPECT_DOUBLE_EQ(gameState.play.cameraY, 480);
  EXPECT_EQ(player->animIndex, 2);
  EXPECT_EQ(player->moving, 0);
  Hold(Up, false);
  player->airborne = 1;
  MoveInput(Frame());
  EXPECT_EQ(player->jumping, 1) << "still in the air";
  EXPECT_DOUBLE_EQ(player->y, startY - 480) << "no more rise";
  player->airborne = 0;
  MoveInput(Frame());
  EXPECT_EQ(player->jumping, 0);
  EXPECT_EQ(player->jumpTime, 0);

  // Falling off a ledge, Up starts a jump in mid-air; at y 0 it does not rise.
  player->airborne = 1;
  Hold(Up);
  MoveInput(Frame());
  EXPECT_EQ(player->jumping, 1);
  player->jumping = 0;
  player->jumpTime = 0;
  player->y = 0;
  MoveInput(Frame());
  EXPECT_EQ(player->y, 0);
  EXPECT_EQ(player->jumping, 1);
}

TEST_F(PlayerControl, ACrouchCancelsTheAttackAndHoldsUntilAKeyIsReleased) {
  player->airborne = 0;
  Hold(Down);
  combo.attackKind = 2;
  player->attack = 2;
  MoveInput(Frame());
  EXPECT_EQ(player->crouching, 1);
  EXPECT_EQ(player->attack, 0);
  EXPECT_EQ(combo.attackKind, 0);
  Hold(Down, false);
  MoveInput(Frame());
  EXPECT_EQ(player->crouching, 1) << "Down let go without a key-up event yet";
  gameState.keyReleased = 1;
  MoveInput(Frame());
  EXPECT_EQ(player->crouching, 0);
  gameState.keyReleased = 0;

  // No crouch in the air or during a jump.
  Hold(Down);
  player->airborne = 1;
  MoveInput(Frame());
  EXPECT_EQ(player->crouching, 0);
  player->airborne = 0;
  player->jumping = 1;
  player->jumpTime = 400;
  player->y = 300;
  MoveInput(Frame());  // the jump ends on the ground first, then the crouch may start
  EXPECT_EQ(player->jumping, 0);
  EXPECT_EQ(player->crouching, 1);
}

TEST_F(PlayerControl, ThePowerUpKillsOnlyAwakeSentinelsInRange) {
  Unit& near = Add(kSentinel, 500, 300);
  Unit& asleep = Add(kSentinel, 500, 300);
  asleep.activated = 0;
  Unit& far = Add(kSentinel, 1500, 300);
  far.inRange = 0;
  Unit& guard = Add(kGuard, 450, 300);
  Hold(kPowerUpButton);
  MoveInput(Frame());
  EXPECT_EQ(near.life, 10) << "no charge: nothing happens";
  EXPECT_FALSE(DXInput1.Has(kPowerUpButton)) << "the press is used up either way";
  gameState.play.powerUpCharges = 1;
  Hold(kPowerUpButton);
  MoveInput(Frame());
  EXPECT_EQ(gameState.play.powerUpCharges, 0);
  EXPECT_EQ(gameState.play.powerUpActive, 1);
  EXPECT_EQ(near.life, -1);
  EXPECT_EQ(asleep.life, 10);
  EXPECT_EQ(far.life, 10);
  EXPECT_EQ(guard.life, 10);
}

TEST_F(PlayerControl, TheIdleRuleHoldsWheneverAnyOfItsFourConditionsHolds) {
  struct Row {
    int life, jumping, moving, stunned, deathDone, crouching;
    bool holds;
  };
  const Row rows[] = {
      {1, 0, 1, 1, 1, 1, true},   // alive and not jumping
      {0, 0, 1, 1, 1, 1, false},  // dead (not jumping), moving, stunned, done, crouching
      {1, 1, 1, 1, 1, 1, false},  // alive but jumping
      {0, 1, 0, 1, 1, 1, true},   // not moving
      {0, 1, 1, 0, 1, 1, true},   // not stunned
      {0, 1, 1, 1, 0, 0, true},   // death not done and not crouching
      {0, 1, 1, 1, 0, 1, false},  // death not done but crouching
      {0, 1, 1, 1, 1, 0, false},  // not crouching but death done
  };
  for (const Row& r : rows) {
    Unit u;
    u.life = r.life;
    u.jumping = static_cast<uint8_t>(r.jumping);
    u.moving = static_cast<uint8_t>(r.moving);
    u.stunned = static_cast<uint8_t>(r.stunned);
    u.deathDone = static_cast<uint8_t>(r.deathDone);
    u.crouching = static_cast<uint8_t>(r.crouching);
    EXPECT_EQ(IdleRuleHolds(u), r.holds)
        << r.life << r.jumping << r.moving << r.stunned << r.deathDone << r.crouching;
  }
  // Through MoveInput: a stunned player walking into a wall of keys keeps its old flag.
  player->idle = 0;
  player->life = 0;
  player->stunned = 1;
  player->deathDone = 1;
  player->crouching = 0;
  MoveInput(Frame());
  EXPECT_EQ(player->idle, 1) << "not moving this frame";
}
