// The real program with scripted keys: the player walks with the camera, jumps onto a ledge and
// falls off it, picks up both kinds of item with their sounds, and fires the power-up.
#include <gtest/gtest.h>

#include "editing/level_source.hpp"
#include "game/level_test_support.hpp"

using nlohmann::json;

namespace {

const json* Sound(const json& state, const std::string& pathPart) {
  for (const json& s : state["sounds"]) {
    if (std::string(s["path"]).find(pathPart) != std::string::npos) return &s;
  }
  return nullptr;
}

}  // namespace

TEST(PlayerRun, WalksJumpsOntoALedgePicksUpItemsAndFiresThePowerUp) {
  TempDir dir("player-run");
  ContentCopy content(dir / "content");
  // 3 screens; the floor's top is y 570, a ledge 3 rows thick at y 450..480 over x 500..700.
  LevelMapFile map = FloorMap(3, 1);
  for (int cx = 50; cx < 70; ++cx) {
    for (int cy = 45; cy < 48; ++cy) map.SetCell(cx, cy, 2);
  }
  AddCharacter(map, kPlayer, 0, 300, 514);  // feet (y + 56) on the floor
  // Awake and in range when the power-up fires, but too far off to have come near and shot.
  AddCharacter(map, kSentinel, 0, 1750, 300);
  AddItem(map, kItemLife, 900, 530);
  AddItem(map, kItemPower, 1100, 520);
  content.SetLevelMap(map);

  const std::string script =
      StartLevelScript() + At(50, "key down Right") + At(112, "key down Up") +
      At(114, "key up Up") + At(162, "key up Right") + At(270, "key down Right") +
      At(500, "key up Right") + At(520, "key down Space") + At(522, "key up Space");
  auto run = [&](int frames) {
    LevelRun r = RunLevelGame(dir.path(), content.root(), script, frames);
    EXPECT_EQ(r.status, 0) << r.output;
    return r.state;
  };

  json standing = run(kLevelFirstFrame + 5);
  const double startY = standing["units"][0]["y"];
  EXPECT_EQ(standing["units"][0]["airborne"], 0);
  EXPECT_EQ(standing["camera"]["cameraX"], 100.0);

  json midJump = run(150);
  const json& p1 = midJump["units"][0];
  EXPECT_EQ(p1["jumping"], 1);
  // Rising 1.2 px per ms against gravity's 0.5.
  EXPECT_LT(p1["y"], startY - 200.0);
  EXPECT_GT(p1["x"], 450.0);
  // The camera keeps the player where it stood on the screen.
  EXPECT_NEAR(double(p1["x"]) + double(midJump["camera"]["cameraX"]), 400.0, 1e-6);
  EXPECT_NEAR(double(p1["y"]) + double(midJump["camera"]["cameraY"]), 400.0, 1e-6);

  json onLedge = run(260);
  const json& p2 = onLedge["units"][0];
  EXPECT_EQ(p2["jumping"], 0);
  EXPECT_EQ(p2["airborne"], 0);
  EXPECT_GT(p2["x"], 500.0);
  EXPECT_LT(p2["x"], 700.0);
  EXPECT_NEAR(double(p2["y"]) + 56, 450.0, 5.0) << "feet on the ledge";

  json fallenOff = run(420);
  const json& p3 = fallenOff["units"][0];
  EXPECT_GT(p3["x"], 700.0);
  EXPECT_NEAR(double(p3["y"]), startY, 5.0) << "back on the floor";

  json end = run(540);
  EXPECT_EQ(end["items"][0]["picked"], 1);
  EXPECT_EQ(end["items"][1]["picked"], 1);
  EXPECT_EQ(end["units"][0]["life"], 100) << "a life item at full life is still consumed";
  const json* lifeSound = Sound(end, "items\\life.wav");
  const json* powerSound = Sound(end, "items\\MFL.wav");
  ASSERT_TRUE(lifeSound && powerSound);
  EXPECT_GT((*lifeSound)["position"], 0);
  EXPECT_GT((*powerSound)["position"], 0);
  EXPECT_EQ(end["powerUp"]["powerUpCharges"], 0) << "the one charge was fired";
  EXPECT_EQ(end["powerUp"]["powerUpActive"], 1);
  EXPECT_LT(end["units"][1]["life"], 1) << "the sentinel in range was killed";
}

// A recording of a machine that fell below ten frames a second: the level does not stand still,
// each frame taking its own step up to 100 ms, and the measured step comes back with the rate.
TEST(PlayerRun, BelowTenFramesASecondThePlayerStillWalks) {
  TempDir dir("player-run-slow");
  ContentCopy content(dir / "content");
  LevelMapFile map = FloorMap(4, 1);
  AddCharacter(map, kPlayer, 0, 300, 514);
  content.SetLevelMap(map);
  const std::string script = "0 clock measured\n0 measure 1\n5 measure 100\n" + StartLevelScript() +
                             At(50, "key down Right") + At(100, "step 200") + At(100, "measure 5") +
                             At(130, "step 10") + At(130, "measure 100");
  auto x = [&](int frames) {
    LevelRun r = RunLevelGame(dir.path(), content.root(), script, frames);
    EXPECT_EQ(r.status, 0) << r.output;
    return r.state["units"][0]["x"].get<double>();
  };
  const double slow = x(121) - x(111);
  const double normal = x(151) - x(141);
  EXPECT_GT(normal, 0);
  EXPECT_NEAR(slow, 10 * normal, 1e-6) << "ten frames of 100 ms against ten of 10 ms";
}
