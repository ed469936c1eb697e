// Music decoded ahead: a streamed sound's frames come from a ring buffer that one background
// thread keeps filled, so neither the audio callback nor the game thread ever waits on decoding.
#pragma once

#include <cstdint>
#include <memory>

#include "audio/sound_source.hpp"

class Decoder;

// Frames held ahead of the play position: about 0.74 s at 44100 Hz.
constexpr uint64_t kAheadFrames = 32768;

// The source over an opened decoder that delivers `frames` frames. The decoder is used only by
// the decoding thread from here on.
std::unique_ptr<SoundSource> MakeStreamedSource(std::unique_ptr<Decoder> decoder, uint64_t frames);
