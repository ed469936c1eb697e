// cParticle: the blood fountain, particles on fixed arcs spawned on a repeating schedule.
#pragma once

#include <array>
#include <cstdint>

#include "base/types.hpp"

constexpr int kParticleSlots = 501;

struct Particle {
  double sx = 0;  // screen position at the last step
  double sy = 0;
  double spreadX = 0;  // horizontal extent of the arc, signed
  double rise = 0;     // vertical extent of the arc
  double originX = 0;  // emitter's world position when spawned
  double originY = 0;
  double angle = 0;  // arc parameter: -1.5 at spawn, +2 per second
  double due = 0;    // time in the emission cycle at which it spawns
  uint8_t pending = 0;
  // In flight in the last step, at this angle (one recycled in that step is shown once more).
  uint8_t shown = 0;
  double shownAngle = 0;
};

class cParticle {
 public:
  double clock = 0;  // seconds into the current emission cycle
  std::array<Particle, kParticleSlots> particles{};
  Texture texture = 0;
  int32_t count = 0;
  double rate = 0;  // particles per second

  // Lays the particles out (random sides, heights and due times).
  void ParticleInit(int32_t spread, int32_t height, int32_t particleCount,
                    int32_t particlesPerSecond);
  // Advances one frame: spawns what is due at world (x, y), moves the particles and notes where
  // each one in flight shows (with the camera at camX, camY).
  void ParticleStep(double x, double y, double camX, double camY, double frameTime);
  // Draws the particles the last step left in flight, the depth test off.
  void ParticleShow() const;
};
