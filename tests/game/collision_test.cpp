// Collision: the map clamp, falling and standing, push-up, walls, collision modes and the
// player's push by enemy bodies, on grids set cell by cell.
#include "game/collision.hpp"
#include "game/gameplay_fixture.hpp"

namespace {

struct Collision : GameplayFixture {
  void SetUp() override { Map(2, 2); }
};

}  // namespace

TEST_F(Collision, FallingSettlingAndStandingFollowTheDistanceToTheGround) {
  // Ground (solid) from row 60 down: its top edge is y 600. Feet are y + 50.
  Fill(0, 60, 159, 119, 1);
  struct Row {
    double feet;
    double dy;
    int airborneAfter;
    int airborneBefore;
  };
  const Row rows[] = {
      {500.0, 5.0, 1, 0},  // 100 px up: free fall, airborne
      {549.9, 5.0, 1, 0},  // ground 50.1 px below: cell at feet + 50 is row 59, empty
      {550.0, 5.0, 0, 0},  // ground exactly 50 px below: not airborne, still falling
      {579.9, 5.0, 1, 1},  // ground 20.1 px below: still free fall
      {580.0, 1.0, 1, 1},  // within 20 px: settling at 0.1 px per ms
      {594.9, 1.0, 1, 1},  // 5.1 px above: settling
      {595.0, 0.0, 0, 1},  // within 5 px: standing, airborne cleared
      {599.0, 0.0, 0, 1},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.feet);
    gameState.map.CharCount = 0;
    Unit& u = Add(kGuard, 100, r.feet - 50);
    u.airborne = static_cast<uint8_t>(r.airborneBefore);
    CollideUnit(Frame(), 0);
    EXPECT_NEAR(u.y, r.feet - 50 + r.dy, 1e-9);
    EXPECT_EQ(u.airborne, r.airborneAfter);
  }
}

TEST_F(Collision, LedgesStopAFallButNeitherLiftNorBlock) {
  // Three rows thick: a fall is tested 20 px below the feet.
  Fill(0, 60, 159, 62, 2);
  Unit& u = Add(kGuard, 100, 596 - 50);
  CollideUnit(Frame(), 0);
  EXPECT_EQ(u.y, 546) << "stands on the ledge";
  EXPECT_EQ(u.airborne, 0);
  u.y = 602 - 50;  // feet inside the ledge row
  CollideUnit(Frame(), 0);
  EXPECT_EQ(u.y, 552) << "a ledge does not push up";
  // A ledge beside the body, at wall height, does not block.
  Fill(12, 40, 12, 59, 2);
  u.x = 115;
  u.y = 546;
  CollideUnit(Frame(), 0);
  EXPECT_EQ(u.x, 115);
}

TEST_F(Collision, FeetInSolidGroundRiseByHowDeepTheyAre) {
  Fill(0, 60, 159, 119, 1);
  struct Row {
    double feet;
    double dy;
  } rows[] = {
      {606.0, -1.5},                // feet - 5 is in the solid row: 0.15 px per ms
      {605.0, -1.5},                // feet - 5 = 600, the row's top edge: still inside it
      {604.9, -1.0},                // feet - 5 above the row, feet - 1 inside: 0.1 px per ms
      {601.0, -1.0}, {600.9, 0.0},  // feet - 1 above the row: standing
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.feet);
    gameState.map.CharCount = 0;
    Unit& u = Add(kGuard, 100, r.feet - 50);
    CollideUnit(Frame(), 0);
    EXPECT_NEAR(u.y, r.feet - 50 + r.dy, 1e-9);
  }
}

TEST_F(Collision, WallsSixtyPixelsAboveTheFeetPushBackOnEitherSide) {
  // Feet at 595 (standing on row 60); walls probed at y 535, row 53.
  Fill(0, 60, 159, 119, 1);
  struct Row {
    int wallLeft, wallRight;  // cell columns, -1 for none
    double dx;
  } rows[] = {
      {9, -1, 2.0},    // wall at x 90..99, probe at x - 10 = 90: pushed right
      {-1, 11, -2.0},  // probe at x + 10 = 110
      {9, 11, 0.0},    // both in one frame
      {8, 12, 0.0},    // out of reach
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(testing::Message() << r.wallLeft << " " << r.wallRight);
    Fill(0, 0, 159, 59, 0);
    if (r.wallLeft >= 0) Fill(r.wallLeft, 40, r.wallLeft, 59, 1);
    if (r.wallRight >= 0) Fill(r.wallRight, 40, r.wallRight, 59, 1);
    gameState.map.CharCount = 0;
    Unit& u = Add(kGuard, 100, 545);
    CollideUnit(Frame(), 0);
    EXPECT_NEAR(u.x, 100 + r.dx, 1e-9);
  }
}

TEST_F(Collision, TheClampAndTheModesDecideWhatAUnitCollidesWith) {
  Unit& u = Add(kGuard, 3, 3);
  CollideUnit(Frame(), 0);
  EXPECT_EQ(u.x, 5);
  EXPECT_EQ(u.y, 5 + 2.5 * 2) << "clamped to 5, then falls from there";
  u.x = 1600;
  u.y = 1300;
  CollideUnit(Frame(), 0);
  EXPECT_EQ(u.x, 1595);
  EXPECT_EQ(u.y, 1300 + 5) << "below the map's bottom edge nothing holds it: it falls on";
  u.life = 10;

  struct Row {
    int mode;
    int life;
    bool falls;
  } rows[] = {{0, 10, true}, {0, 0, true}, {1, 10, false}, {1, 0, true}, {2, 0, false}};
  for (const Row& r : rows) {
    SCOPED_TRACE(testing::Message() << r.mode << " " << r.life);
    u.collisionMode = static_cast<uint8_t>(r.mode);
    u.life = r.life;
    u.x = 400;
    u.y = 100;
    CollideUnit(Frame(), 0);
    EXPECT_EQ(u.y, r.falls ? 105.0 : 100.0);
  }
}

TEST_F(Collision, ThePlayersMovesTakeTheCameraButTheClampDoesNot) {
  Unit& p = Add(kPlayer, 3, 300);
  CollideUnit(Frame(), 0);
  EXPECT_EQ(p.x, 5);
  EXPECT_EQ(gameState.play.cameraX, 0) << "the clamp leaves the camera";
  EXPECT_EQ(gameState.play.cameraY, -5) << "the fall moves it";
  // A probe outside the grid reads as empty: a unit far below falls on.
  EXPECT_EQ(CellAt(gameState.map, -10, 5), 0);
  EXPECT_EQ(CellAt(gameState.map, 20010, 5), 0);
  EXPECT_EQ(CellAt(gameState.map, 5, 10010), 0);
  gameState.map.Cells[2000][1000] = 1;
  EXPECT_EQ(CellAt(gameState.map, 20009.9, 10009.9), 1);
  // The index is truncated toward zero: the 10 px before the first cell read it.
  gameState.map.Cells[0][0] = 1;
  EXPECT_EQ(CellAt(gameState.map, -9.9, -9.9), 1);
  EXPECT_EQ(CellAt(gameState.map, -10, 0), 0);
  EXPECT_EQ(CellAt(gameState.map, 0, -10), 0);
}

TEST_F(Collision, LivingGuardsAndGolemsBlockThePlayerStrictly) {
  Fill(0, 60, 159, 119, 1);
  Unit& p = Add(kPlayer, 100, 545, 100);
  struct Row {
    int kind;
    int life;
    double playerX;
    double dx;
  } rows[] = {
      {kGuard, 10, 285, -2},  // from the left, boxes overlap: pushed back by its own step
      {kGolem, 10, 285, -2},
      {kGuard, 10, 280, 0},  // right edge 290 = the guard's left edge 290: no overlap
      {kGuard, 10, 315, 2},  // from the right
      {kGuard, 10, 300, 0},  // level with it: not pushed
      {kGuard, 0, 285, 0},   // dead
      {kSentinel, 10, 285, 0},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(testing::Message() << r.kind << " " << r.life << " " << r.playerX);
    gameState.map.CharCount = 1;
    Unit& e = Add(r.kind, 300, 545, r.life);
    p.x = r.playerX;
    p.y = 545;
    gameState.play.cameraX = 0;
    CollideUnit(Frame(), 1);
    EXPECT_NEAR(p.x, r.playerX + r.dx, 1e-9);
    EXPECT_NEAR(gameState.play.cameraX, -r.dx, 1e-9);
    EXPECT_EQ(e.x, 300) << "the enemy never moves";
  }
  // Vertical overlap is needed too.
  gameState.map.CharCount = 1;
  Fill(28, 51, 32, 52, 1);  // a step for the guard to stand on
  Add(kGuard, 300, 545 - 90);
  p.x = 285;
  p.y = 545;
  CollideUnit(Frame(), 1);
  EXPECT_EQ(p.x, 285) << "the guard's feet at the player's head: no overlap";
}
