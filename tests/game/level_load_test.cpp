// The level load, the units it creates, the restart, animation selection and the scene's
// background, on the demo content with fake back ends.
#include <gtest/gtest.h>

#include <cmath>

#include "app/game_state.hpp"
#include "app/input.hpp"
#include "base/messages.hpp"
#include "content/characters.hpp"
#include "content/level_load.hpp"
#include "editing/level_source.hpp"
#include "fx/scene.hpp"
#include "game/animation_select.hpp"
#include "game/enemy_kinds.hpp"
#include "game/level.hpp"
#include "game/level_test_support.hpp"

namespace fs = std::filesystem;

namespace {

struct LevelLoadTest : ::testing::Test {
  TempDir dir{::testing::UnitTest::GetInstance()->current_test_info()->name()};
  ContentCopy content{dir / "content"};
  std::unique_ptr<FakeBackends> fake;

  void Load() {
    fake = std::make_unique<FakeBackends>(content.root());
    gameState.morva.frameTime = 10;
    LoadLevel();
  }
  const std::vector<DrawRecord>& Draws() { return *fake->renderer.DrawList(); }
};

}  // namespace

TEST_F(LevelLoadTest, TheTitleIsShownFirstAndGoneAfterTheLoad) {
  Load();
  const auto& draws = Draws();
  ASSERT_GE(draws.size(), 2u);
  EXPECT_EQ(draws[0].op, "quad");
  EXPECT_EQ(draws[0].texturePath, "data\\levels\\level1\\title.dx");
  EXPECT_EQ(draws[0].depth, -1);
  EXPECT_EQ(draws[0].w, 800);
  EXPECT_EQ(draws[1].op, "present") << "presented before anything else loads";
  const Texture title = draws[0].texture;
  EXPECT_EQ(fake->renderer.Textures().count(title), 0u) << "the title texture is deleted";
  EXPECT_TRUE(shownMessages.empty()) << shownMessages.front().text;
  // The attacks get Z, X, C, Control, the unread button S, the power-up Space.
  const std::pair<InputState, uint8_t> keys[] = {{AttackButton(1), 'Z'}, {AttackButton(2), 'X'},
                                                 {AttackButton(3), 'C'}, {AttackButton(4), 0x11},
                                                 {kUnreadButton, 'S'},   {kPowerUpButton, 0x20}};
  for (auto [button, key] : keys) EXPECT_EQ(DXInput1.Keyboard.Assigns[button][0], key);
}

TEST_F(LevelLoadTest, AMissingScreenIsAGapAndTheNextNumberIsLookedFor) {
  content.Remove("data/levels/level1/1.dxt");
  Load();
  ASSERT_EQ(shownMessages.size(), 1u) << "a line names the missing screen";
  EXPECT_NE(shownMessages[0].text.find("data\\levels\\level1\\1.dxt"), std::string::npos);
  const LevelAssets& level = gameState.level;
  const int screens = gameState.map.Width * gameState.map.Height;
  ASSERT_GT(screens, 2);
  EXPECT_EQ(level.levelFrames[1], frameGap);
  for (int i = 0; i < screens; ++i) {
    if (i != 1) EXPECT_NE(level.levelFrames[i], 0u) << i;
  }
  EXPECT_EQ(level.levelFrames[screens], 0u) << "nothing past the level's screens";
  fake->renderer.BeginFrame(0, 800, 0, 600);
  DrawLevelBackground(Scene());
  int pictures = 0;
  for (const DrawRecord& d : Draws()) pictures += d.depth == -3.0;
  EXPECT_EQ(pictures, screens - 1) << "the missing screen is not drawn";
}

TEST_F(LevelLoadTest, UnitsGetTheirDefinitionsOwnAnimationsAndTheCameraFollowsThePlayer) {
  LevelMapFile map = FloorMap(2, 1);
  AddCharacter(map, kPlayer, 0, 1000, 0);
  AddCharacter(map, kGuard, 5, 500, 300);
  AddCharacter(map, kGuard, 1, 600, 300);
  content.SetLevelMap(map);
  Load();
  ASSERT_EQ(gameState.map.CharCount, 3);
  const Unit& g1 = UnitAt(1);
  const Unit& g2 = UnitAt(2);
  EXPECT_EQ(g1.activation, 5) << "the level's rule, not the definition's placeholder";
  EXPECT_EQ(g1.x, 500.0);
  EXPECT_EQ(g1.life, gameState.charDefs[kGuard].life);
  ASSERT_TRUE(g1.anim && g2.anim);
  EXPECT_NE(g1.anim.get(), g2.anim.get());
  EXPECT_EQ(g1.anim->textures, g2.anim->textures);
  EXPECT_EQ(g1.anim->width, g1.spriteSize);
  EXPECT_NE(g1.anim->textures, UnitAt(0).anim->textures) << "each kind its own frames";
  EXPECT_EQ(gameState.play.cameraX, -600.0);
  EXPECT_EQ(gameState.play.cameraY, 400.0);

  UnitAt(0).x = 1000.9;
  UnitAt(0).y = 300;
  PlaceCameraOnPlayer(gameState.play);
  EXPECT_EQ(gameState.play.cameraX, -600.0);
  EXPECT_EQ(gameState.play.cameraY, 100.0);
}

TEST_F(LevelLoadTest, ABrokenDefinitionFileEndsTheProgramNamingIt) {
  for (std::size_t size : {std::size_t{0}, std::size_t{407}}) {
    SCOPED_TRACE(size);
    fs::path pud = content.root() / "data" / "chars" / "guard.pud";
    fs::remove(pud);
    WriteFile(pud, std::string(size, '\0'));
    fake.reset();
    int status = 0;
    try {
      Load();
    } catch (const ProgramExit& e) {
      status = e.status;
    }
    EXPECT_EQ(status, 3);
    ASSERT_FALSE(shownMessages.empty());
    EXPECT_NE(shownMessages.back().text.find("guard.pud"), std::string::npos);
  }
  // Longer than a record: the rest is ignored.
  fs::path pud = content.root() / "data" / "chars" / "guard.pud";
  std::string good = ReadFile(fs::path(MORVA_TEST_CONTENT) / "data" / "chars" / "guard.pud");
  fs::remove(pud);
  WriteFile(pud, good + "trailing bytes");
  fake.reset();
  Load();
  CharacterRecordParse expected =
      ParseCharacterRecord(std::span(reinterpret_cast<const uint8_t*>(good.data()), good.size()));
  ASSERT_TRUE(expected.record);
  EXPECT_EQ(gameState.charDefs[kGuard], *expected.record);
}

TEST_F(LevelLoadTest, AKindAboveNineIsARangeError) {
  LevelMapFile map = FloorMap(1, 1);
  AddCharacter(map, kPlayer, 0, 100, 100);
  AddCharacter(map, 10, 0, 200, 100);
  content.SetLevelMap(map);
  int status = 0;
  try {
    Load();
  } catch (const ProgramExit& e) {
    status = e.status;
  }
  EXPECT_EQ(status, 3);
  EXPECT_NE(shownMessages.back().text.find("Range check error"), std::string::npos);
}

// Found by the content fault sweep: the last pictures of a frame folder could go missing without
// a word, as they leave no gap behind them. What uses the folder (a definition's animations, the
// map's screens, the blood spray, the explosion) says how far it must reach.
TEST_F(LevelLoadTest, FramesMissingAtAFoldersEndAreNamedWhenTheyAreShown) {
  struct Case {
    const char* folder;  // under the root, with "/"
    const char* named;   // as the game names it
    const char* user;
  } cases[] = {{"data/chars/golam", "data\\chars\\golam\\", "golam.pud"},
               {"data/levels/level1", "data\\levels\\level1\\", "the level map"},
               {"data/fx/bloodspray", "DATA\\fx\\bloodSpray\\", "the blood spray"},
               {"data/fx/blow1", "DATA\\fx\\blow1\\", "the explosion"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.folder);
    int frames = 0;
    for (const auto& e : fs::directory_iterator(content.root() / c.folder)) {
      frames += e.path().extension() == ".dxt" ? 1 : 0;
    }
    ASSERT_GT(frames, 2);
    auto linesNaming = [&] {
      std::vector<std::string> lines;
      for (const auto& m : shownMessages) {
        if (m.text.find(c.named) != std::string::npos) lines.push_back(m.text);
      }
      return lines;
    };
    fake.reset();
    shownMessages.clear();
    Load();
    EXPECT_TRUE(linesNaming().empty()) << "the whole folder: no line";
    // The demo content shows every frame; each taken from the end is named in turn.
    for (int last = frames - 1; last >= frames - 2; --last) {
      SCOPED_TRACE(last);
      content.Remove(std::string(c.folder) + "/" + std::to_string(last) + ".dxt");
      fake.reset();
      shownMessages.clear();
      Load();
      std::vector<std::string> lines = linesNaming();
      ASSERT_EQ(lines.size(), 1u);
      EXPECT_NE(lines[0].find(c.named + std::to_string(last) + ".dxt"), std::string::npos)
          << lines[0];
      EXPECT_NE(lines[0].find("up to " + std::to_string(frames - 1)), std::string::npos)
          << lines[0];
      EXPECT_NE(lines[0].find(c.user), std::string::npos) << lines[0];
    }
  }
}

// Found by the content fault sweep: a definition file of random bytes ended the program with a
// range error that did not say which file was wrong.
TEST_F(LevelLoadTest, ADefinitionWhoseOwnKindIsOutOfRangeIsNamedInTheRangeError) {
  fs::path pud = content.root() / "data" / "chars" / "golam.pud";
  std::string bytes = ReadFile(fs::path(MORVA_TEST_CONTENT) / "data" / "chars" / "golam.pud");
  for (int32_t kind : {9, 10, 255, -1}) {
    SCOPED_TRACE(kind);
    for (int i = 0; i < 4; ++i) bytes[i] = static_cast<char>(static_cast<uint32_t>(kind) >> 8 * i);
    fs::remove(pud);
    WriteFile(pud, bytes);
    fake.reset();
    shownMessages.clear();
    int status = 0;
    try {
      Load();
    } catch (const ProgramExit& e) {
      status = e.status;
    }
    if (kind == 9) {
      EXPECT_EQ(status, 0) << "a kind of 9 still has its frame set slot";
      continue;
    }
    EXPECT_EQ(status, 3);
    ASSERT_FALSE(shownMessages.empty());
    EXPECT_NE(shownMessages.back().text.find("Range check error"), std::string::npos);
    EXPECT_NE(shownMessages.back().text.find("data\\chars\\golam.pud"), std::string::npos)
        << shownMessages.back().text;
    EXPECT_NE(shownMessages.back().text.find("index " + std::to_string(kind)), std::string::npos)
        << "the kind as the file holds it, signed: " << shownMessages.back().text;
  }
}

TEST_F(LevelLoadTest, RestartHealsAndReplacesEveryUnitAndZeroesTheStatistics) {
  LevelMapFile map = FloorMap(3, 1);
  AddCharacter(map, kPlayer, 0, 300, 200);
  AddCharacter(map, kGuard, 0, 700, 200);
  content.SetLevelMap(map);
  Load();
  Unit& player = UnitAt(0);
  Unit& guard = UnitAt(1);
  const cAnim* guardAnim = guard.anim.get();
  player.x = 900;
  player.life = 3;
  guard.life = -4;
  guard.deathTime = 2.5;
  guard.headOff = 1;
  guard.inRange = guard.activated = 1;
  guard.anim->current = 12;
  guard.pushDir = -1;  // not reset
  guard.stunLength = 0.7;
  KindStateOf<GuardKeptState>(guard).launchPhase = 0.4;  // not reset
  GuardPlayState& own = KindStateOf<GuardPlayState>(guard);
  own.cryTime = 1.5;
  own.launched = own.swingArmed = 1;
  gameState.play.powerUpCharges = 4;
  gameState.play.levelStats.points = 70;
  gameState.play.levelStats.timeTaken = 12;
  gameState.play.levelStats.combo7Counted = 1;

  RestartLevel(Frame());
  EXPECT_EQ(player.x, 300.0);
  EXPECT_EQ(player.life, gameState.charDefs[kPlayer].life);
  EXPECT_EQ(guard.life, gameState.charDefs[kGuard].life);
  EXPECT_EQ(guard.deathTime, 0.0);
  EXPECT_EQ(guard.headOff, 0);
  EXPECT_EQ(guard.inRange, 0);
  EXPECT_EQ(guard.activated, 0);
  EXPECT_EQ(guard.anim.get(), guardAnim) << "the animation object is reused";
  EXPECT_EQ(guard.anim->current, 0);
  EXPECT_EQ(guard.pushDir, -1);
  EXPECT_EQ(guard.stunLength, 0.7);
  EXPECT_EQ(KindStateOf<GuardKeptState>(guard).launchPhase, 0.4);
  EXPECT_EQ(own.cryTime, 0.0);
  EXPECT_EQ(own.launched + own.swingArmed, 0);
  EXPECT_EQ(gameState.play.cameraX, 100.0);
  EXPECT_EQ(gameState.play.powerUpCharges, 0);
  EXPECT_EQ(gameState.play.levelStats.points, 0);
  EXPECT_EQ(gameState.play.levelStats.timeTaken, 0.0);
  EXPECT_EQ(gameState.play.levelStats.combo7Counted, 1) << "the combo-7 latch survives";
}

TEST_F(LevelLoadTest, TheBackgroundFollowsThePlayerAtATenth) {
  LevelMapFile map = FloorMap(2, 1);
  AddCharacter(map, kPlayer, 0, 0, 0);
  content.SetLevelMap(map);
  Load();
  struct Row {
    double px, py, x, y;
  } rows[] = {{0, 0, -400, -600}, {1000, 500, -500, -650}};
  for (const Row& r : rows) {
    UnitAt(0).x = r.px;
    UnitAt(0).y = r.py;
    fake->renderer.BeginFrame(0, 800, 0, 600);
    DrawLevelBackground(Scene());
    const DrawRecord& bg = Draws().front();
    EXPECT_EQ(bg.depth, -3.2);
    EXPECT_EQ(bg.x, r.x);
    EXPECT_EQ(bg.y, r.y);
    EXPECT_EQ(bg.w, 3200);
    EXPECT_EQ(bg.h, 1600);
  }
}

TEST_F(LevelLoadTest, AnimationSelectionFollowsTheTable) {
  LevelMapFile map = FloorMap(1, 1);
  AddCharacter(map, kPlayer, 0, 100, 100);
  AddCharacter(map, kSentinel, 0, 200, 100);
  AddCharacter(map, kGuard, 0, 300, 100);
  AddCharacter(map, kGolem, 0, 400, 100);
  content.SetLevelMap(map);
  Load();
  struct Row {
    const char* what;
    int unit;
    void (*set)(Unit&);
    int animIndex;
  };
  const Row rows[] = {
      {"player idle", 0, [](Unit& u) { u.idle = 1; }, 0},
      {"player walking over idle", 0, [](Unit& u) { u.idle = u.moving = 1; }, 1},
      {"player jumping", 0, [](Unit& u) { u.moving = u.jumping = 1; }, 2},
      {"player attack 1", 0, [](Unit& u) { u.attack = 1; }, 4},
      {"player attack 2 shows entry 6", 0, [](Unit& u) { u.attack = 2; }, 6},
      {"player attack 3 shows entry 5", 0, [](Unit& u) { u.attack = 3; }, 5},
      {"player attack 4", 0, [](Unit& u) { u.attack = 4; }, 7},
      {"player crouching over an attack", 0, [](Unit& u) { u.attack = 1, u.crouching = 1; }, 8},
      {"player stunned over all", 0, [](Unit& u) { u.crouching = u.stunned = 1; }, 10},
      {"player dead", 0, [](Unit& u) { u.stunned = 1, u.life = 0; }, 11},
      {"sentinel", 1, [](Unit&) {}, 0},
      {"sentinel charging", 1, [](Unit& u) { KindStateOf<SentinelPlayState>(u).charging = 1; }, 1},
      {"sentinel dead", 1,
       [](Unit& u) { KindStateOf<SentinelPlayState>(u).charging = 1, u.life = 0; }, 2},
      {"guard attack", 2, [](Unit& u) { u.moving = u.attack = 1; }, 4},
      {"guard stunned", 2, [](Unit& u) { u.attack = u.stunned = 1; }, 11},
      {"guard attack 2 is no row", 2, [](Unit& u) { u.idle = 1, u.attack = 2; }, 0},
      {"guard dead", 2, [](Unit& u) { u.stunned = 1, u.life = 0; }, 10},
      {"golem blow 2", 3, [](Unit& u) { u.attack = 2; }, 5},
      {"golem stunned", 3, [](Unit& u) { u.attack = 1, u.stunned = 1; }, 10},
      {"golem dead", 3, [](Unit& u) { u.life = -3; }, 17},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    RestartLevel(Frame());
    Unit& u = UnitAt(r.unit);
    r.set(u);
    SelectAnimation(UnitAt(r.unit));
    EXPECT_EQ(u.animIndex, r.animIndex);
  }
}

TEST_F(LevelLoadTest, AnimationFlagsFollowFacingLifeAndTheGuardsDeath) {
  LevelMapFile map = FloorMap(1, 1);
  AddCharacter(map, kPlayer, 0, 100, 100);
  AddCharacter(map, kGuard, 0, 300, 100);
  AddCharacter(map, kGolem, 0, 400, 100);
  content.SetLevelMap(map);
  Load();
  Unit& player = UnitAt(0);
  // The art faces left: facing right draws mirrored.
  player.facingLeft = 0;
  SelectAnimation(UnitAt(0));
  EXPECT_EQ(player.anim->mirrored, 1);
  player.facingLeft = 1;
  SelectAnimation(UnitAt(0));
  EXPECT_EQ(player.anim->mirrored, 0);

  // The attack ends on the last picture of the entry shown.
  player.attack = 3;
  const AnimEntry& e5 = player.anims[5];
  player.anim->current = static_cast<uint16_t>(e5.firstFrame + e5.frameCount - 2);
  SelectAnimation(UnitAt(0));
  EXPECT_EQ(player.attack, 3);
  player.anim->current = static_cast<uint16_t>(e5.firstFrame + e5.frameCount - 1);
  SelectAnimation(UnitAt(0));
  EXPECT_EQ(player.attack, 0);

  // A dead player and golem play once; a living one plays.
  player.anim->playing = 0;
  SelectAnimation(UnitAt(0));
  EXPECT_EQ(player.anim->playing, 1);
  player.life = 0;
  player.anim->playing = 0;
  SelectAnimation(UnitAt(0));
  EXPECT_EQ(player.anim->playing, 0) << "a dead player's animation is not restarted";
  EXPECT_EQ(player.anim->oneShot, 1);

  Unit& guard = UnitAt(1);
  guard.life = 0;
  const AnimEntry& e10 = guard.anims[10];
  const uint16_t last = static_cast<uint16_t>(e10.firstFrame + e10.frameCount - 1);
  struct Row {
    double deathTime;
    uint16_t current;
    int playing;
    uint16_t currentAfter;
  } rows[] = {
      {0.0, last, 0, static_cast<uint16_t>(e10.firstFrame)},  // held on the first picture
      {1.99, last, 0, static_cast<uint16_t>(e10.firstFrame)},
      {2.0, 5, 1, 5},   // exactly 2.0: neither held nor started
      {2.05, 5, 1, 5},  // plays
      {2.1, last, 1, last},
      {2.2, static_cast<uint16_t>(last - 1), 1, static_cast<uint16_t>(last - 1)},
      {2.2, last, 0, last},  // stops on the last picture
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.deathTime);
    guard.deathTime = r.deathTime;
    guard.anim->current = r.current;
    SelectAnimation(UnitAt(1));
    EXPECT_EQ(guard.animIndex, 10);
    EXPECT_EQ(guard.anim->playing, r.playing);
    EXPECT_EQ(guard.anim->current, r.currentAfter);
  }
}

TEST_F(LevelLoadTest, DrawUnitCopiesTheSelectedEntryIntoTheAnimation) {
  LevelMapFile map = FloorMap(1, 1);
  AddCharacter(map, kPlayer, 0, 100, 150);
  content.SetLevelMap(map);
  Load();
  Unit& player = UnitAt(0);
  player.anims[1] = {7, 3, 0.25};
  player.moving = 1;
  fake->renderer.BeginFrame(0, 800, 0, 600);
  SelectAnimation(UnitAt(0));
  StepAnimation(UnitAt(0), 10);
  DrawUnit(Frame(), 0);
  EXPECT_EQ(player.anim->firstFrame, 7);
  EXPECT_EQ(player.anim->frameCount, 3);
  EXPECT_FLOAT_EQ(player.anim->frameDuration, 0.25f);
  const DrawRecord& d = Draws().back();
  EXPECT_EQ(d.op, "anim");
  EXPECT_EQ(d.x, 100 + gameState.play.cameraX);
  EXPECT_EQ(d.y, 150 + gameState.play.cameraY);
  EXPECT_EQ(d.depth, -2.0);

  player.anims[1] = {70000, 3, 0.25};
  int status = 0;
  try {
    StepAnimation(UnitAt(0), 10);
  } catch (const ProgramExit& e) {
    status = e.status;
  }
  EXPECT_EQ(status, 3) << "a first frame beyond 16 bits is a range error";
}

TEST_F(LevelLoadTest, ADyingUnitStaysProcessedWhereverItIs) {
  LevelMapFile map = FloorMap(4, 1);
  AddCharacter(map, kPlayer, 0, 100, 300);
  AddCharacter(map, kGuard, 0, 2000, 300);
  content.SetLevelMap(map);
  Load();
  Unit& guard = UnitAt(1);
  UpdateUnitStates(Frame());
  EXPECT_EQ(guard.inRange, 0);
  guard.life = 0;
  UpdateUnitStates(Frame());
  EXPECT_EQ(guard.inRange, 1) << "dead with its death unfinished";
  guard.deathDone = 1;
  UpdateUnitStates(Frame());
  EXPECT_EQ(guard.inRange, 0);
  guard.activation = 1;
  guard.activated = 0;
  UpdateUnitStates(Frame());
  EXPECT_EQ(guard.activated, 0) << "the player is to its left";
}
