// The video-driver check that tells a real display from one that shows nothing.
#include "app/video_driver.hpp"

#include <gtest/gtest.h>

#include <string>

TEST(VideoDriver, DriversThatShowNothingCountOnlyWhenAskedFor) {
  struct Case {
    const char* driver;
    const char* requested;
    bool unseen;
  };
  const Case cases[] = {
      {"x11", nullptr, false},
      {"wayland", "wayland", false},
      {"offscreen", nullptr, true},
      {"dummy", nullptr, true},
      {"offscreen", "offscreen", false},
      {"offscreen", "OffScreen", false},
      {"offscreen", "x11,offscreen", false},
      {"offscreen", " x11 , offscreen ", false},
      {"offscreen", "x11", true},
      {"offscreen", "offscreenx", true},
      {"dummy", "offscreen", true},
      {"offscreen", "", true},
  };
  for (const Case& c : cases) {
    std::optional<std::string> reason = UnseenDriverReason(c.driver, c.requested);
    EXPECT_EQ(reason.has_value(), c.unseen)
        << c.driver << " asked for " << (c.requested ? c.requested : "(nothing)");
    if (reason) EXPECT_NE(reason->find(c.driver), std::string::npos) << *reason;
  }
}
