// The screen shake: the world jolts against the player, who stays where it is on the screen.
#include "game/screen_shake.hpp"

#include "base/measures.hpp"
#include "base/random.hpp"

namespace {
constexpr double kShakeLength = 0.5;
// Jolts of -5..4 px across and 0..9 px down: the world drifts downwards while it shakes.
constexpr int32_t kShakeSpread = 10;
constexpr int32_t kShakeLeft = 5;
}  // namespace

void ShakeScreen(GamePlay& play, uint8_t& flag, double frameMs) {
  if (flag == 0) return;
  double& timer = play.shakeTimer;
  if (timer >= kShakeLength) {
    timer = 0;
    flag = 0;
  } else {
    timer += Seconds(frameMs);
  }
  // The call that ends the shake still jolts.
  const int32_t dx = Random(kShakeSpread) - kShakeLeft;
  const int32_t dy = Random(kShakeSpread);
  Unit& p = play.units[0];
  play.cameraX += dx;
  play.cameraY += dy;
  p.x -= dx;
  p.y -= dy;
}
