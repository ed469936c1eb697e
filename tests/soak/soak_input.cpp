#include "soak_input.hpp"

namespace {
// A paused level always shows the menu or one of its screens; a moment without one is a change
// of screen, far shorter than this.
constexpr int64_t kNoWayOutFrames = 1000;
}  // namespace

bool SoakInput::CountFrame(const ModeFlags& f) {
  ++frames_;
  if (f.inGame == 1 && f.paused == 0 && f.levelLoaded == 1 && f.levelFinished == 0) {
    ++levelFrames_;
  }
  bool noWayOut = f.inGame == 1 && f.paused == 1 && f.menuShown == 0 && f.optionsShown == 0 &&
                  f.trainerShown == 0 && f.statsShown == 0;
  noWayOutFrames_ = noWayOut ? noWayOutFrames_ + 1 : 0;
  stuck_ = stuck_ || noWayOutFrames_ > kNoWayOutFrames;
  return stuck_;
}
