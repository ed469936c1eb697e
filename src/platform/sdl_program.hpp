// A run of the game in the SDL window, on the GL renderer and the sound card (or silently when
// there is none).
#pragma once

#include "harness/options.hpp"
#include "platform/sdl_platform.hpp"

int RunInWindow(const ProgramOptions& options, SdlPlatform& platform);
