// Sound building blocks: noise, tones, envelopes, filters, a formant voice and a small reverb.
#pragma once

#include <functional>
#include <vector>

#include "mkcontent/rng.hpp"

constexpr int kRate = 44100;
using Samples = std::vector<float>;

Samples Silence(double seconds);
// Adds `src` into `dst` starting at `at` seconds, growing `dst` when needed.
void MixIn(Samples& dst, const Samples& src, double at, double gain = 1.0);
void Normalize(Samples& s, double peak);
// Short fades so a sound starts and ends without a click.
void SoftEdges(Samples& s, double inMs = 2, double outMs = 8);

Samples WhiteNoise(double seconds, Rng& rng);
// A tone whose frequency (Hz) and loudness follow functions of time (s).
Samples Tone(double seconds, const std::function<double(double)>& freq,
             const std::function<double(double)>& amp, double harmonics = 0.0);
// Shapes loudness over time.
void Envelope(Samples& s, const std::function<double(double)>& amp);
// Exponential decay: 1 at 0, 1/e after `tau` seconds.
double Decay(double t, double tau);

void LowPass(Samples& s, const std::function<double(double)>& cutoff);
void HighPass(Samples& s, double cutoff);
// Resonant band-pass; centre may move with time.
void BandPass(Samples& s, const std::function<double(double)>& centre, double q);
// Soft saturation, for grit.
void Drive(Samples& s, double amount);
// A cheap hall: a few combs and all-passes; `wet` is the reverb's share.
void Reverb(Samples& s, double size, double wet);

// A vowel sung by a pulse voice through three formants; pitch in Hz over time.
struct Vowel {
  double f1, f2, f3;
};
constexpr Vowel kVowelA{800, 1150, 2900};
constexpr Vowel kVowelO{450, 800, 2830};
constexpr Vowel kVowelU{325, 700, 2530};
constexpr Vowel kVowelE{400, 1700, 2600};
Samples Voice(double seconds, const std::function<double(double)>& pitch, Vowel from, Vowel to,
              double breath, Rng& rng);

// Linear resampling to the game's rate.
Samples Resample(const Samples& in, int fromRate);
