// Spoken lines through the espeak-ng command.
#pragma once

#include <optional>
#include <string>

#include "mkcontent/synth.hpp"

// The line spoken by espeak-ng at 44100 Hz, or nothing when espeak-ng cannot be run.
std::optional<Samples> Speak(const std::string& text, const std::string& voice, int pitch,
                             int speed);
