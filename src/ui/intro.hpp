// The intro slide show: full-screen pictures faded in from black and out again.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "app/game_state.hpp"

constexpr int kMaxIntroImages = 6;

struct IntroState {
  std::array<Texture, kMaxIntroImages> images{};
  bool imagesLoaded = false;
  uint8_t imageIndex = 0;
  // Seconds spent on the current picture.
  double imageTime = 0;
  // Carried over from one picture to the next and never clamped.
  double opacity = 0;
};
extern IntroState introState;

// One frame of the slide show without loading or drawing: moves the clock and the fade on.
// True when the current picture is to be drawn; false in the frame in which a picture's time runs
// out (that frame stays black and the next picture starts in the following one).
bool AdvanceIntro(IntroState& intro, double secondsPerImage, double frameTime);

// Called every frame until `done` is set: draws the slide show and ends it when the last picture
// is over or a key is held. True on the call that ends it.
bool RunIntro(const std::string& folder, int slides, double secondsPerSlide, uint8_t& done,
              double frameTime);

void ResetIntro();
