// The push button: strict hit test, the shared release timer and the delayed click.
#include "ui/button.hpp"

#include "gfx/draw.hpp"

double buttonReleaseTimer = 0;
int32_t buttonCursorX = 0;
int32_t buttonCursorY = 0;

namespace {
// Buttons lie in front of every screen's background.
constexpr double kButtonDepth = 0;
}  // namespace

bool PointStrictlyInside(int32_t left, int32_t top, int32_t width, int32_t height, int32_t px,
                         int32_t py) {
  // In 64 bits: a rectangle near the end of the 32-bit range must not wrap round.
  int64_t right = int64_t{left} + width;
  int64_t bottom = int64_t{top} + height;
  return left < px && px < right && top < py && py < bottom;
}

bool ReleaseTimerPassed(double& timer, double frameMs, double delaySeconds) {
  timer += frameMs / 1000;
  return timer > delaySeconds;
}

void ResetButtons() {
  buttonReleaseTimer = 0;
  buttonCursorX = 0;
  buttonCursorY = 0;
}

bool cButton::Update(int32_t x, int32_t y, double frameMs, double delaySeconds, bool mouseHeld) {
  if (!visible) return false;
  buttonCursorX = gameState.cursorX;
  buttonCursorY = gameState.cursorY;
  bool inside = PointStrictlyInside(x, y, width, height, buttonCursorX, buttonCursorY);

  if (!mouseHeld) {
    pressBeganHere = false;
  } else if (!mouseWasHeld) {
    pressBeganHere = active && inside;
  }
  mouseWasHeld = mouseHeld;

  if (mouseHeld && active && inside && pressBeganHere) {
    DrawQuad(pressedTexture, x, y, kButtonDepth, width, height, 1);
    showsPressed = true;
    justPressed = pressed == 0;
    pressed = 1;
    buttonReleaseTimer = 0;
  } else {
    DrawQuad(releasedTexture, x, y, kButtonDepth, width, height, 1);
    showsPressed = false;
    // A press lasts one flag-raising frame only: left set, it would ask for the click sound
    // again every time the sound ends.
    justPressed = false;
  }

  if (pressed == 1 && !mouseHeld) {
    showsPressed = false;
    DrawQuad(releasedTexture, x, y, kButtonDepth, width, height, 1);
    if (ReleaseTimerPassed(buttonReleaseTimer, frameMs, delaySeconds)) {
      pressed = 0;
      // A button that turned inactive while its click waited (Start once the level is in play)
      // drops the click: fired then, it would hide the menu of a paused level for good.
      return active;
    }
  }
  return false;
}
