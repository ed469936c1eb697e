// Items: the pick-up square, what each kind gives, the flight after a pick-up, the restart, and
// the limits of the item table.
#include "game/items.hpp"
#include "audio/sound.hpp"
#include "base/messages.hpp"
#include "game/gameplay_fixture.hpp"
#include "game/level.hpp"

namespace {

struct Items : GameplayFixture {
  Unit* player = nullptr;
  void SetUp() override {
    Map(2, 1);
    player = &Add(kPlayer, 400, 300, 50);
  }
  cItem& Item(int kind, int x, int y) {
    int k = gameState.map.ItemCount++;
    gameState.map.ItemType[k] = static_cast<uint8_t>(kind);
    gameState.map.ItemPos[k] = {x, y};
    auto& slot = gameState.play.items.items[k];
    slot = std::make_unique<cItem>();
    slot->kind = static_cast<uint8_t>(kind);
    return *slot;
  }
};

}  // namespace

TEST_F(Items, ThePickUpSquareIsStrictOnEverySide) {
  struct Row {
    double dx, dy;
    bool taken;
  } rows[] = {{0, 0, true},    {31.9, 0, true},    {32, 0, false}, {-31.9, 0, true},
              {-32, 0, false}, {0, 31.9, true},    {0, 32, false}, {0, -31.9, true},
              {0, -32, false}, {31.9, -31.9, true}};
  for (const Row& r : rows) {
    SCOPED_TRACE(testing::Message() << r.dx << ", " << r.dy);
    gameState.map.ItemCount = 0;
    cItem& item = Item(kItemPowerUpKind, 400, 300);
    gameState.play.powerUpCharges = 0;
    player->x = 400 + r.dx;
    player->y = 300 + r.dy;
    RunItems(Scene());
    EXPECT_EQ(item.picked, r.taken);
    EXPECT_EQ(gameState.play.powerUpCharges, r.taken ? 1 : 0);
  }
}

TEST_F(Items, LifeIsCappedAtAHundredAndChargesAccumulate) {
  // A dying player (life below 1) takes nothing: it would be revived into an endless slow motion.
  struct Row {
    int lifeBefore, lifeAfter;
    uint8_t taken;
  } rows[] = {{50, 80, 1}, {70, 100, 1}, {85, 100, 1}, {100, 100, 1},
              {1, 31, 1},  {0, 0, 0},    {-5, -5, 0}};
  for (const Row& r : rows) {
    gameState.map.ItemCount = 0;
    cItem& item = Item(kItemLifeKind, 400, 300);
    cItem& power = Item(kItemPowerUpKind, 400, 300);
    player->life = r.lifeBefore;
    gameState.play.powerUpCharges = 0;
    RunItems(Scene());
    EXPECT_EQ(player->life, r.lifeAfter) << r.lifeBefore;
    EXPECT_EQ(item.picked, r.taken) << "consumed also at full life";
    EXPECT_EQ(power.picked, r.taken) << r.lifeBefore;
  }
  player->life = 10;
  gameState.play.powerUpCharges = 0;
  gameState.map.ItemCount = 0;
  for (int i = 0; i < 3; ++i) Item(kItemPowerUpKind, 400, 300);
  RunItems(Scene());
  EXPECT_EQ(gameState.play.powerUpCharges, 3);
  // A kind without an effect lies there and is never taken.
  cItem& other = Item(5, 400, 300);
  RunItems(Scene());
  EXPECT_EQ(other.picked, 0);
}

TEST_F(Items, APickedItemFliesUpForASecondWithItsSoundAndIsNotTakenAgain) {
  cSND::Open("data\\sounds\\items\\life.wav", gameState.play.items.sounds[kItemLifeKind]);
  cItem& item = Item(kItemLifeKind, 400, 300);
  player->life = 10;
  gameState.play.cameraX = 7;
  RunItems(Scene());
  EXPECT_EQ(player->life, 40);
  const DrawRecord& first = fake->renderer.DrawList()->back();
  EXPECT_EQ(first.x, 407) << "drawn at the item's position plus the camera";
  EXPECT_EQ(first.y, 300);
  EXPECT_EQ(first.depth, -1.0);
  EXPECT_EQ(first.w, 50);
  // 100 frames of 10 ms: the item rises 1 px per ms.
  int frames = 1;
  while (!item.gone && frames < 200) {
    RunItems(Scene());
    ++frames;
  }
  EXPECT_EQ(frames, 101);
  EXPECT_EQ(player->life, 40) << "taken once, though the player stood in its square";
  EXPECT_EQ(item.rise, 0);
  EXPECT_EQ(item.pickTime, 0);
  std::size_t draws = fake->renderer.DrawList()->size();
  RunItems(Scene());
  EXPECT_EQ(fake->renderer.DrawList()->size(), draws) << "a gone item is not drawn";
}

TEST_F(Items, RestartBringsEveryItemBackToItsPlace) {
  cItem& item = Item(kItemPowerUpKind, 400, 300);
  for (int f = 0; f < 30; ++f) RunItems(Scene());
  ASSERT_EQ(item.picked, 1);
  ASSERT_LT(item.rise, 0);
  gameState.map.CharType[0] = kPlayer;
  gameState.map.CharPos[0] = {400, 300};
  RestartLevel(Frame());
  EXPECT_EQ(item.picked, 0);
  EXPECT_EQ(item.gone, 0);
  EXPECT_EQ(item.rise, 0) << "an item caught mid-flight lies where it lay";
  EXPECT_EQ(item.pickTime, 0);
  EXPECT_EQ(gameState.play.powerUpCharges, 0);
}

TEST_F(Items, LoadingGivesEachItemItsKindsPictureAndRefusesTooManyOrUnknownKinds) {
  gameState.map.ItemCount = 2;
  gameState.map.ItemType[0] = kItemPowerUpKind;
  gameState.map.ItemType[1] = kItemLifeKind;
  LoadItems(gameState.play.items, gameState.map);
  ItemState& state = gameState.play.items;
  ASSERT_TRUE(state.items[1]);
  EXPECT_EQ(state.items[0]->texture, state.textures[kItemPowerUpKind]);
  EXPECT_EQ(state.items[1]->width, 50);
  EXPECT_EQ(state.items[1]->kind, kItemLifeKind);

  for (auto [count, kind] : {std::pair{101, 0}, std::pair{1, 8}}) {
    SCOPED_TRACE(count);
    gameState.map.ItemCount = static_cast<uint16_t>(count);
    gameState.map.ItemType[count - 1] = static_cast<uint8_t>(kind);
    int status = 0;
    try {
      LoadItems(gameState.play.items, gameState.map);
    } catch (const ProgramExit& e) {
      status = e.status;
    }
    EXPECT_EQ(status, 3);
  }
  gameState.map.ItemCount = 100;
  gameState.map.ItemType[0] = 0;
  gameState.map.ItemType[99] = 7;
  LoadItems(gameState.play.items, gameState.map);
  EXPECT_EQ(state.items[99]->texture, 0u) << "kinds 2..7 have empty slots";
}
