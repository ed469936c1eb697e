// What the HUD draws: its seven items in order, where, how large and how opaque, and when.
#include <gtest/gtest.h>

#include "app/game_state.hpp"
#include "test_support.hpp"
#include "ui/hud.hpp"

namespace {

struct HudDrawTest : ::testing::Test {
  FakeBackends fake{MORVA_TEST_CONTENT};
  void SetUp() override {
    LoadHud();
    gameState.fontTexture = 500;
    gameState.play.items.textures[kItemPowerUpKind] = 600;
    PlayerUnit().life = 100;
  }
  const std::vector<DrawRecord>& Draw() {
    fake.renderer.BeginFrame(0, 800, 0, 600);
    DrawHud(CurrentSceneFrame());
    return *fake.renderer.DrawList();
  }
};

}  // namespace

TEST_F(HudDrawTest, SevenItemsInOrderAtTheirPlacesSizesOpacitiesAndDepths) {
  GamePlay& play = gameState.play;
  play.levelStats.points = 1250;
  play.levelStats.timeTaken = 75.4;
  play.powerUpCharges = 2;
  play.powerUpActive = 1;
  const auto& d = Draw();
  ASSERT_EQ(d.size(), 7u);
  struct Quad {
    const char* path;
    double x, y, w, h, alpha, depth;
  };
  const std::pair<std::size_t, Quad> quads[] = {
      {0, {"data\\hud\\filter.dxt", 0, 0, 800, 600, 0.8, -0.7}},
      {1, {"data\\hud\\lifeBarB.jpg", 30, 20, 106, 16, 0.5, -0.6}},
      {2, {"data\\hud\\lifeBar.jpg", 33, 23, 100, 10, 1, -0.5}},
      {4, {"", 27, 70, 35, 35, 1, -0.5}},
  };
  for (const auto& [i, q] : quads) {
    SCOPED_TRACE(i);
    EXPECT_EQ(d[i].op, "quad");
    if (*q.path) EXPECT_EQ(d[i].texturePath, q.path);
    EXPECT_EQ(d[i].x, q.x);
    EXPECT_EQ(d[i].y, q.y);
    EXPECT_EQ(d[i].w, q.w);
    EXPECT_EQ(d[i].h, q.h);
    EXPECT_EQ(d[i].alpha, q.alpha);
    EXPECT_EQ(d[i].depth, q.depth);
  }
  EXPECT_EQ(d[4].texture, 600u) << "the power-up item's picture";
  struct Text {
    std::size_t i;
    const char* text;
    float x, y;
  };
  const Text texts[] = {{3, "1250", 30, 50}, {5, "MFL active", 30, 70}, {6, "1 : 15", 360, 20}};
  for (const Text& t : texts) {
    SCOPED_TRACE(t.text);
    EXPECT_EQ(d[t.i].op, "text");
    EXPECT_EQ(d[t.i].text, t.text);
    EXPECT_EQ(d[t.i].x, t.x);
    EXPECT_EQ(d[t.i].y, t.y);
    EXPECT_EQ(d[t.i].size, 16);
    EXPECT_EQ(d[t.i].texture, 500u);
  }
}

TEST_F(HudDrawTest, TheOptionalItemsEachNeedTheirOwnCondition) {
  struct Row {
    int32_t charges;
    uint8_t active;
    double time;
    bool image, activeText, timeText;
  };
  const Row rows[] = {
      {0, 0, 0, false, false, false},  // the first frame of a level
      {1, 0, 0, true, false, false},     {-1, 0, 0, false, false, false},
      {0, 1, 0, false, true, false},     {0, 2, 0, false, false, false},
      {0, 0, 0.001, false, false, true},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(std::to_string(r.charges) + " " + std::to_string(r.active) + " " +
                 std::to_string(r.time));
    gameState.play.powerUpCharges = r.charges;
    gameState.play.powerUpActive = r.active;
    gameState.play.levelStats.timeTaken = r.time;
    const auto& d = Draw();
    EXPECT_EQ(d.size(), 4u + r.image + r.activeText + r.timeText);
    int images = 0, actives = 0, times = 0;
    for (const DrawRecord& x : d) {
      images += x.op == "quad" && x.texture == 600u;
      actives += x.text == "MFL active";
      times += x.op == "text" && x.x == 360;
    }
    EXPECT_EQ(images, r.image);
    EXPECT_EQ(actives, r.activeText);
    EXPECT_EQ(times, r.timeText);
  }
}

TEST_F(HudDrawTest, TheLifeBarIsAsWideAsTheLifeWithoutClamping) {
  for (int32_t life : {100, 37, 0, 130, -15}) {
    PlayerUnit().life = life;
    const auto& d = Draw();
    EXPECT_EQ(d[2].w, life) << life;
    EXPECT_EQ(d[1].w, 106) << "the frame stays";
  }
}

TEST(HudTime, MinutesThenWholeSecondsWithoutLeadingZeros) {
  const std::pair<double, const char*> rows[] = {
      {75.4, "1 : 15"}, {9.2, "0 : 9"},  {59.9, "0 : 59"},     {60, "1 : 0"},
      {0.5, "0 : 0"},   {600, "10 : 0"}, {3599.99, "59 : 59"}, {3600, "60 : 0"},
  };
  for (const auto& [t, text] : rows) EXPECT_EQ(MinutesSeconds(t), text) << t;
}
