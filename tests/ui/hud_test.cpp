// The HUD's pictures.
#include "ui/hud.hpp"

#include <gtest/gtest.h>

#include "base/messages.hpp"
#include "test_support.hpp"
#include "ui/front_end.hpp"
#include "ui/ui_content.hpp"

TEST(Hud, LoadsItsThreePicturesAndEachLoadReplacesThem) {
  TempDir dir{"hud"};
  FakeBackends fake{dir.path()};
  ResetFrontEnd();
  uicontent::WriteFrontEndContent(dir.path());
  LoadHud();
  EXPECT_EQ(fake.renderer.PathOf(hudTextures.lifeBar), "data\\hud\\lifeBar.jpg");
  EXPECT_EQ(fake.renderer.PathOf(hudTextures.lifeBarFrame), "data\\hud\\lifeBarB.jpg");
  EXPECT_EQ(fake.renderer.PathOf(hudTextures.filter), "data\\hud\\filter.dxt");
  Texture first = hudTextures.lifeBar;
  LoadHud();
  EXPECT_NE(hudTextures.lifeBar, first);
  EXPECT_TRUE(shownMessages.empty());

  // A missing picture is reported; the name loaded before stays.
  std::filesystem::remove(dir / "data" / "hud" / "lifeBar.jpg");
  Texture kept = hudTextures.lifeBar;
  LoadHud();
  EXPECT_EQ(hudTextures.lifeBar, kept);
  EXPECT_EQ(shownMessages.size(), 1u);
}
