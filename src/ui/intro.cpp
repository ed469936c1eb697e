// The intro slide show.
#include "ui/intro.hpp"

#include "base/messages.hpp"
#include "gfx/draw.hpp"
#include "gfx/load.hpp"

IntroState introState;

namespace {
constexpr double kFadeInSeconds = 3;
constexpr double kFadeOutSeconds = 2;
constexpr double kSlideDepth = -1;

void LoadImages(const std::string& folder, int slides) {
  for (int i = 0; i < slides; ++i) {
    At(introState.images, static_cast<size_t>(i), "intro image") =
        cLoad::LoadDXT(folder + std::to_string(i) + ".dxt");
  }
  introState.imagesLoaded = true;
}
}  // namespace

bool AdvanceIntro(IntroState& intro, double secondsPerImage, double frameTime) {
  if (intro.imageTime < secondsPerImage) {
    intro.imageTime += frameTime / 1000;
    if (intro.imageTime < kFadeInSeconds) intro.opacity += frameTime / (kFadeInSeconds * 1000);
    if (intro.imageTime > secondsPerImage - kFadeOutSeconds) {
      intro.opacity -= frameTime / (kFadeOutSeconds * 1000);
    }
    return true;
  }
  intro.imageTime = 0;
  ++intro.imageIndex;
  return false;
}

bool RunIntro(const std::string& folder, int slides, double secondsPerSlide, uint8_t& done,
              double frameTime) {
  if (done == 1) return false;
  if (!introState.imagesLoaded) LoadImages(folder, slides);
  if (AdvanceIntro(introState, secondsPerSlide, frameTime)) {
    Texture image = At(introState.images, introState.imageIndex, "intro image");
    DrawQuad(image, 0, 0, kSlideDepth, 800, 600, introState.opacity);
  }
  if (introState.imageIndex == slides || gameState.keyHeld == 1) {
    done = 1;
    // Not shown again in this run.
    for (Texture image : introState.images) SetAside(image);
    return true;
  }
  return false;
}

void ResetIntro() {
  introState = IntroState{};
}
