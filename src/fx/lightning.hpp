// The sentinel's lightning bolt: a jagged line from the player to the sentinel that fades out.
#pragma once

#include <cstdint>
#include <span>

#include "fx/effects_state.hpp"

// `trigger` is a sentinel's fire byte; px, py the player's and ux, uy the sentinel's world
// position. Every call fades the shared bolt by a frame of `frameTime` ms and notes whether it
// shows; a fresh bolt is made once the last one has faded.
void StepLightningBolt(EffectsState& fx, uint8_t trigger, double px, double py, double ux,
                       double uy, double frameTime);
// The bolt as the last step left it, with the camera at camX, camY; nothing when it showed none.
void ShowLightningBolt(const EffectsState& fx, double camX, double camY);
// Lays out `n` segments from (px, py) to (ux, uy) in points[0..n]: evenly stepped heights pushed
// about at random, each vertex sideways of the straight line by -50..49 px. An n that does not
// fit the points is a fatal range error.
void MakeLightningBolt(int n, std::span<BoltPoint> points, double px, double py, double ux,
                       double uy);
