// Test levels through the level compiler and the content's unit creation.
#include "game/test_level.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "base/measures.hpp"
#include "content/characters.hpp"
#include "content/level_map.hpp"
#include "game/demo_bodies.hpp"

namespace {

constexpr TestBody kPlainBody = {-10, -40, 10, 50, 0.2, 10, 5};

CharacterRecord Definition(Bodies bodies, int kind) {
  CharacterRecord d =
      DefinitionWithBody(kind, bodies == Bodies::Demo ? kDemoBodies[kind] : kPlainBody);
  if (bodies == Bodies::Plain) {
    for (int e = 0; e < kAnimCount; ++e) d.anims[e] = {e * 10, 5, 0.1};
  } else if (kind == kGuard) {
    // The demo's strike and blows, so that a blow can end by going back to its first picture.
    d.anims[4] = {52, 12, 0.09};
  } else if (kind == kGolem) {
    d.anims[4] = {24, 14, 0.08};
    d.anims[5] = {50, 16, 0.075};
  }
  return d;
}

char GlyphOf(uint8_t value) {
  switch (value) {
    case 1:
      return level_glyphs::kMasonry;
    case 2:
      return level_glyphs::kLedge;
    default:
      return level_glyphs::kEmpty;
  }
}

}  // namespace

TestLevel::TestLevel(Bodies bodies, std::optional<std::filesystem::path> root) {
  if (!root) {
    emptyRoot_ =
        std::make_unique<TempDir>(::testing::UnitTest::GetInstance()->current_test_info()->name());
    root = emptyRoot_->path();
  }
  fake = std::make_unique<FakeBackends>(*root);
  for (int kind = kPlayer; kind <= kGolem; ++kind)
    gameState.charDefs[kind] = Definition(bodies, kind);
  gameState.morva.timeScale = 1000;
  Map(4, 2);
}

TestLevel::~TestLevel() = default;

void TestLevel::Map(int width, int height, double frameMs) {
  source_.width = width;
  source_.height = height;
  source_.cellPx = kCellPx;
  source_.grid.assign(
      static_cast<std::size_t>(source_.GridRows()),
      std::string(static_cast<std::size_t>(source_.GridColumns()), level_glyphs::kEmpty));
  gameState.morva.frameTime = frameMs;
  Compile();
}

void TestLevel::Fill(int cx0, int cy0, int cx1, int cy1, uint8_t value) {
  for (int cy = cy0; cy <= cy1; ++cy) {
    for (int cx = cx0; cx <= cx1; ++cx) {
      source_.grid.at(static_cast<std::size_t>(cy)).at(static_cast<std::size_t>(cx)) =
          GlyphOf(value);
    }
  }
  Compile();
}

Unit& TestLevel::Player(double x, double y) {
  gameState.map.CharCount = 0;
  return Add(kPlayer, x, y);
}

Unit& TestLevel::Add(int kind, double x, double y) {
  // A test may have taken characters off the end of the map's list.
  source_.characters.resize(gameState.map.CharCount);
  // The map holds whole pixels at 0 or beyond; the unit starts exactly where the test puts it.
  source_.characters.push_back({static_cast<uint8_t>(kind), kWakeAwake,
                                static_cast<int32_t>(std::max(0.0, std::trunc(x))),
                                static_cast<int32_t>(std::max(0.0, std::trunc(y)))});
  Compile();
  const int k = static_cast<int>(source_.characters.size()) - 1;
  UnitAt(k) = Unit{};
  Unit& u = CreateUnit(k, FrameSets{});
  u.x = x;
  u.y = y;
  u.activated = 1;
  u.inRange = 1;
  return u;
}

void TestLevel::Compile() {
  LevelCompile compiled = CompileLevel(source_);
  if (!compiled.map) {
    ADD_FAILURE() << "the test level does not compile: " << compiled.error;
    return;
  }
  StoreLevelMap(*compiled.map, gameState.map);
}
