// Quads, text and their geometry: corner order, glyph cells, depth, the state left behind, and
// the draw list in the state dump.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "app/game_state.hpp"
#include "gfx/draw.hpp"
#include "gfx/load.hpp"
#include "gfx/quad_geometry.hpp"
#include "harness/state_dump.hpp"
#include "test_support.hpp"

namespace {
struct DrawTest : ::testing::Test {
  TempDir dir{::testing::UnitTest::GetInstance()->current_test_info()->name()};
  FakeBackends fake{dir.path()};
  RecorderRenderer& r = fake.renderer;
  void SetUp() override {
    r.SetFixedState(Viewport{});
    r.BeginFrame(0, 800, 0, 600);
  }
};

void ExpectCorner(const QuadCorner& c, float s, float t, double x, double y, const char* what) {
  EXPECT_FLOAT_EQ(c.s, s) << what;
  EXPECT_FLOAT_EQ(c.t, t) << what;
  EXPECT_DOUBLE_EQ(c.x, x) << what;
  EXPECT_DOUBLE_EQ(c.y, y) << what;
}
}  // namespace

TEST(QuadGeometry, TextureRowZeroLandsOnTheBottomEdge) {
  QuadCorners q = QuadCornersFor(800, 600);
  ExpectCorner(q[0], 0, 0, 0, 600, "first: bottom left");
  ExpectCorner(q[1], 1, 0, 800, 600, "second: bottom right");
  ExpectCorner(q[2], 1, 1, 800, 0, "third: top right");
  ExpectCorner(q[3], 0, 1, 0, 0, "fourth: top left");
}

TEST(QuadGeometry, GlyphsSampleTheirCellAndAStripOfTheNextOne) {
  // "A" is byte 65: column 1, row 4 from the top.
  QuadCorners a = GlyphCorners('A', 0, 16);
  ExpectCorner(a[0], 0.0625f, 0.6875f, 0, 16, "A bottom left");
  ExpectCorner(a[1], 0.12775f, 0.6875f, 16, 16, "A bottom right");
  ExpectCorner(a[2], 0.12775f, 0.75f, 16, 0, "A top right");
  ExpectCorner(a[3], 0.0625f, 0.75f, 0, 0, "A top left");
  // Byte 0 is the top-left cell; byte 255 the bottom-right one, in the upper half of the code page.
  QuadCorners zero = GlyphCorners(0, 0, 10);
  EXPECT_FLOAT_EQ(zero[0].t, 0.9375f);
  EXPECT_FLOAT_EQ(zero[2].t, 1.0f);
  QuadCorners last = GlyphCorners(0xFF, 5, 10);
  EXPECT_FLOAT_EQ(last[0].s, 0.9375f);
  EXPECT_FLOAT_EQ(last[0].t, 0.0f);
  // Glyph 5 of a size-10 text spans 50..60: "V 1.12" at x 720 ends at 780.
  EXPECT_DOUBLE_EQ(last[0].x, 50);
  EXPECT_DOUBLE_EQ(last[1].x, 60);
}

TEST(QuadGeometry, AnimationsAreCentredAndMirroredAboutTheVerticalAxis) {
  QuadCorners plain = AnimCorners(200, 100, false);
  QuadCorners mirror = AnimCorners(200, 100, true);
  ExpectCorner(plain[0], 0, 0, -100, 50, "plain bottom left");
  ExpectCorner(plain[2], 1, 1, 100, -50, "plain top right");
  for (int i = 0; i < 4; ++i) {
    EXPECT_DOUBLE_EQ(mirror[i].x, plain[i].x) << "same corners, in the same order";
    EXPECT_DOUBLE_EQ(mirror[i].y, plain[i].y);
    EXPECT_FLOAT_EQ(mirror[i].s, 1 - plain[i].s) << "texture flipped left-right";
    EXPECT_FLOAT_EQ(mirror[i].t, plain[i].t);
  }
  QuadCorners odd = AnimCorners(5, 3, false);
  EXPECT_DOUBLE_EQ(odd[1].x, 2.5);
  EXPECT_DOUBLE_EQ(odd[1].y, 1.5);
}

TEST_F(DrawTest, EachOperationLeavesItsOwnBlendAndAlphaTestState) {
  EXPECT_TRUE(r.alphaTest) << "the fixed state has the alpha test on";
  EXPECT_FLOAT_EQ(r.alphaReference, 0.1f);
  DrawText(10, "V 1.12", 720, 20, 3);
  EXPECT_TRUE(r.blend);
  EXPECT_TRUE(r.alphaTest);
  EXPECT_FLOAT_EQ(r.alphaReference, 0.0f) << "text lowers the reference to 0";
  DrawQuad(3, 0, 0, -2, 800, 600, 1);
  EXPECT_FALSE(r.blend);
  EXPECT_FALSE(r.alphaTest);
  EXPECT_DOUBLE_EQ(r.modelView[2], 2.0) << "depth -2 lies at z = 2";
  DrawText(10, "", 5, 6, 3);
  EXPECT_FALSE(r.blend) << "an empty text sets no state";
  EXPECT_DOUBLE_EQ(r.modelView[0], 5) << "but leaves the model-view translated";
  EXPECT_DOUBLE_EQ(r.modelView[1], 6);
  EXPECT_DOUBLE_EQ(r.modelView[2], 0.2);
  EXPECT_EQ(r.DrawList()->size(), 2u) << "an empty text is no drawing";
}

TEST_F(DrawTest, QuadsSetTheirTexturesWrapToClampToEdge) {
  uint8_t pixel[4] = {};
  Texture t = cLoad::CreateTexture(1, 1, kFormatRgba, pixel);
  EXPECT_FALSE(r.Textures().at(t).clampedToEdge);
  DrawQuad(t, 0, 0, -1, 10, 10, 0.5);
  EXPECT_TRUE(r.Textures().at(t).clampedToEdge);
  EXPECT_EQ(r.boundTexture, t);
}

TEST_F(DrawTest, TheDrawListInTheStateDumpNamesTexturesByTheirPaths) {
  WriteFile(dir / "data" / "fonts" / "fontLV.tga",
            std::string("\0\0\2\0\0\0\0\0\0\0\0\0\1\0\1\0\x20\x08\1\2\3\4", 22));
  cLoad::LoadTGA("data\\fonts\\fontLV.tga", gameState.fontTexture);
  ASSERT_NE(gameState.fontTexture, 0u);
  DrawQuad(0, 0, 0, -2, 800, 600, 1);
  // "Līmenis" in the game's code page: ī is byte EE.
  DrawText(16, "L\xEEmenis", 100.5f, 20, gameState.fontTexture);
  auto draws = DumpState(1)["drawList"];
  ASSERT_EQ(draws.size(), 2u);
  EXPECT_EQ(draws[0]["op"], "quad");
  EXPECT_EQ(draws[0]["texture"], 0);
  EXPECT_EQ(draws[0]["texturePath"], "");
  EXPECT_EQ(draws[0]["depth"], -2);
  EXPECT_EQ(draws[0]["w"], 800);
  EXPECT_EQ(draws[0]["alpha"], 1);
  EXPECT_EQ(draws[1]["op"], "text");
  EXPECT_EQ(draws[1]["texturePath"], "data\\fonts\\fontLV.tga");
  EXPECT_EQ(draws[1]["text"], "Līmenis");
  EXPECT_EQ(draws[1]["size"], 16);
  EXPECT_EQ(draws[1]["x"], 100.5);
  EXPECT_FALSE(draws[1].contains("depth"));
}

TEST_F(DrawTest, TextBeyond255BytesIsCut) {
  DrawText(8, std::string(300, 'x'), 0, 0, 1);
  EXPECT_EQ(r.DrawList()->back().text.size(), 255u);
}

TEST_F(DrawTest, LinesAndStateSwitchesAreRecorded) {
  float colour[4] = {0.5f, 0.5f, 1, 0.5f};
  r.SetLineWidth(2);
  r.SetState(RenderState::Texturing, false);
  r.SetState(RenderState::DepthTest, false);
  r.DrawLine(10, 20, 40, 10, -1, colour);
  EXPECT_FALSE(r.texturing);
  EXPECT_FALSE(r.depthTest);
  EXPECT_FLOAT_EQ(r.lineWidth, 2);
  const DrawRecord& line = r.DrawList()->back();
  EXPECT_EQ(line.op, "line");
  EXPECT_DOUBLE_EQ(line.w, 30);
  EXPECT_DOUBLE_EQ(line.h, -10);
  EXPECT_DOUBLE_EQ(r.modelView[2], 1);
}
