// A whole run of the program on the given back ends: start-up, the frame loop with its pacing and
// scripted input, shutdown. Returns the exit status.
#pragma once

#include "harness/options.hpp"

class Platform;
class Renderer;
class AudioDevice;

int RunProgram(const ProgramOptions& options, Platform& platform, Renderer& renderer,
               AudioDevice& audio);

// The interval of the frame timer, in milliseconds.
constexpr unsigned kFrameIntervalMs = 10;
