// Three music tracks that loop without a seam, synthesised and encoded to MP3 with LAME.
#include <lame/lame.h>

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <string>

#include "mkcontent/jobs.hpp"
#include "mkcontent/synth.hpp"

namespace {

double Midi(double note) {
  return 440.0 * std::pow(2.0, (note - 69) / 12.0);
}

// A stereo pair of sample runs.
struct Stereo {
  Samples left, right;
};

// One note of an instrument, mono.
Samples Pad(double freq, double seconds) {
  Samples s = Silence(seconds);
  // Detuned saws, softened: a dark choir of strings.
  for (double detune : {-0.006, 0.0, 0.0045}) {
    double phase = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
      phase += freq * (1 + detune) / kRate;
      s[i] += static_cast<float>((phase - std::floor(phase)) * 2 - 1) * 0.33f;
    }
  }
  LowPass(s, [=](double t) { return 500 + 700 * std::sin(M_PI * std::min(1.0, t / seconds)); });
  Envelope(s,
           [=](double t) { return std::min(1.0, t / 1.2) * std::min(1.0, (seconds - t) / 1.5); });
  return s;
}

Samples Pluck(double freq, double seconds, uint64_t seed) {
  // Karplus-Strong: a burst of noise in a damped delay line.
  Rng rng(seed);
  std::size_t period = static_cast<std::size_t>(kRate / freq);
  std::vector<float> line(period);
  for (float& v : line) v = static_cast<float>(rng.Signed());
  // The burst's own average would ring on as an offset (the delay line keeps it for seconds),
  // and the plucks of a track would add up to a steady push off the centre line.
  double mean = 0;
  for (float v : line) mean += v;
  mean /= static_cast<double>(period);
  for (float& v : line) v = static_cast<float>(v - mean);
  Samples s = Silence(seconds);
  std::size_t idx = 0;
  for (float& v : s) {
    std::size_t next = (idx + 1) % period;
    float out = line[idx];
    line[idx] = 0.497f * (line[idx] + line[next]);
    idx = next;
    v = out;
  }
  return s;
}

Samples Bell(double freq, double seconds) {
  Samples s = Silence(seconds);
  const double ratios[] = {1, 2.0, 3.01, 4.2};
  for (int k = 0; k < 4; ++k) {
    MixIn(
        s,
        Tone(
            seconds, [=](double) { return freq * ratios[k]; },
            [=](double t) { return Decay(t, 1.6 / (1 + k)) / (1 + k) * std::min(1.0, t / 0.003); }),
        0);
  }
  return s;
}

Samples Drum(double pitch, double seconds, uint64_t seed) {
  Rng rng(seed);
  Samples s = Tone(
      seconds, [=](double t) { return pitch * (1 + 2.5 * Decay(t, 0.02)); },
      [=](double t) { return Decay(t, seconds * 0.3); });
  Samples skin = WhiteNoise(0.08, rng);
  LowPass(skin, [](double) { return 2500; });
  Envelope(skin, [](double t) { return Decay(t, 0.012); });
  MixIn(s, skin, 0, 0.5);
  return s;
}

Samples Bass(double freq, double seconds) {
  Samples s = Silence(seconds);
  double phase = 0;
  for (std::size_t i = 0; i < s.size(); ++i) {
    phase += freq / kRate;
    s[i] = static_cast<float>((phase - std::floor(phase)) * 2 - 1);
  }
  LowPass(s, [=](double t) { return 200 + 900 * Decay(t, 0.08); });
  Envelope(
      s, [=](double t) { return std::min(1.0, t / 0.005) * std::min(1.0, (seconds - t) / 0.03); });
  return s;
}

// Everything is laid out twice over and the second copy kept, so notes ringing over the end
// of the loop are heard again at its start.
struct Track {
  double length;
  Stereo mix;
  explicit Track(double seconds) : length(seconds) {
    mix.left = Silence(2 * seconds + 6);
    mix.right = Silence(2 * seconds + 6);
  }
  void Add(const Samples& s, double at, double gain, double pan) {
    for (double copy : {0.0, length}) {
      MixIn(mix.left, s, at + copy, gain * (1 - pan) * 0.7);
      MixIn(mix.right, s, at + copy, gain * (1 + pan) * 0.7);
    }
  }
  Stereo Loop(double room) {
    Reverb(mix.left, room, 0.28);
    Reverb(mix.right, room * 1.05, 0.28);
    Stereo out;
    std::size_t from = static_cast<std::size_t>(length * kRate),
                n = static_cast<std::size_t>(length * kRate);
    out.left.assign(mix.left.begin() + static_cast<std::ptrdiff_t>(from),
                    mix.left.begin() + static_cast<std::ptrdiff_t>(from + n));
    out.right.assign(mix.right.begin() + static_cast<std::ptrdiff_t>(from),
                     mix.right.begin() + static_cast<std::ptrdiff_t>(from + n));
    float peak = 0;
    for (std::size_t i = 0; i < n; ++i)
      peak = std::max({peak, std::fabs(out.left[i]), std::fabs(out.right[i])});
    if (peak > 0) {
      for (std::size_t i = 0; i < n; ++i) out.left[i] *= 0.8f / peak, out.right[i] *= 0.8f / peak;
    }
    return out;
  }
};

// The intro: slow chords over a drone, a tolling bell. 36 s, D minor.
Stereo IntroMusic() {
  Track t(36);
  const double chords[4][3] = {{50, 57, 62}, {46, 53, 58}, {43, 50, 55}, {45, 52, 61}};
  for (int bar = 0; bar < 4; ++bar) {
    for (int k = 0; k < 3; ++k)
      t.Add(Pad(Midi(chords[bar][k]), 10.5), bar * 9.0, 0.35, (k - 1) * 0.4);
  }
  t.Add(Pad(Midi(38), 37), 0, 0.3, 0);
  const double melody[] = {74, 72, 69, 70, 69, 65, 67, 69};
  for (int i = 0; i < 8; ++i) t.Add(Bell(Midi(melody[i]), 4.0), 2.0 + i * 4.5, 0.22, 0.3);
  return t.Loop(0.9);
}

// The menu: a slow harp figure over soft strings. 32 s at 90 beats a minute, A minor.
Stereo MenuMusic() {
  Track t(32);
  const double beat = 60.0 / 90;
  const double chords[4][3] = {{57, 60, 64}, {53, 57, 60}, {55, 59, 62}, {52, 56, 59}};
  const int pattern[8] = {0, 1, 2, 1, 0, 2, 1, 2};
  for (int bar = 0; bar < 12; ++bar) {
    const double* chord = chords[bar % 4];
    double at = bar * 4 * beat;
    if (at >= 32) break;
    for (int k = 0; k < 3; ++k)
      t.Add(Pad(Midi(chord[k] - 12), 4 * beat + 1.5), at, 0.18, (k - 1) * 0.5);
    for (int n = 0; n < 8; ++n) {
      double note = chord[pattern[n]] + (n >= 4 ? 12 : 0);
      t.Add(Pluck(Midi(note), 2.0, static_cast<uint64_t>(bar * 8 + n)), at + n * beat / 2, 0.3,
            n % 2 ? 0.3 : -0.3);
    }
  }
  return t.Loop(0.7);
}

// The level: war drums, a driving bass and string stabs. 48 s at 120 beats a minute, D minor.
Stereo GameMusic() {
  Track t(48);
  const double beat = 0.5;
  const double roots[4] = {38, 34, 36, 33};
  for (int bar = 0; bar < 24; ++bar) {
    double at = bar * 4 * beat;
    double root = roots[(bar / 2) % 4];
    // Drums: a heavy first beat, answering toms.
    t.Add(Drum(55, 0.6, static_cast<uint64_t>(bar)), at, 0.9, 0);
    t.Add(Drum(80, 0.35, static_cast<uint64_t>(bar + 100)), at + 1.5 * beat, 0.5, -0.3);
    t.Add(Drum(55, 0.5, static_cast<uint64_t>(bar + 200)), at + 2 * beat, 0.7, 0);
    t.Add(Drum(95, 0.3, static_cast<uint64_t>(bar + 300)), at + 3 * beat, 0.45, 0.3);
    t.Add(Drum(95, 0.3, static_cast<uint64_t>(bar + 400)), at + 3.5 * beat, 0.35, 0.3);
    for (int e = 0; e < 8; ++e) {
      double note = root + ((e == 3 || e == 7) ? 7 : 0);
      t.Add(Bass(Midi(note), beat * 0.45), at + e * beat / 2, 0.35, 0);
    }
    if (bar % 2 == 0) {
      for (double interval : {12.0, 15.0, 19.0})
        t.Add(Pad(Midi(root + interval + 12), 4 * beat * 2), at, 0.12, interval == 15 ? -0.5 : 0.5);
    }
  }
  return t.Loop(0.5);
}

std::vector<uint8_t> EncodeMp3(const Stereo& music) {
  lame_global_flags* lame = lame_init();
  if (!lame) throw std::runtime_error("LAME");
  lame_set_in_samplerate(lame, kRate);
  lame_set_out_samplerate(lame, kRate);
  lame_set_num_channels(lame, 2);
  lame_set_brate(lame, 128);
  lame_set_quality(lame, 5);
  // The Info tag tells the decoder the encoder's delay and padding, so the loop stays seamless.
  lame_set_bWriteVbrTag(lame, 1);
  if (lame_init_params(lame) < 0) throw std::runtime_error("LAME refused its settings");
  std::vector<short> left(music.left.size()), right(music.right.size());
  for (std::size_t i = 0; i < left.size(); ++i) {
    left[i] = static_cast<short>(std::lround(std::clamp(music.left[i], -1.0f, 1.0f) * 32767));
    right[i] = static_cast<short>(std::lround(std::clamp(music.right[i], -1.0f, 1.0f) * 32767));
  }
  std::vector<uint8_t> out(left.size() * 5 / 4 + 7200 * 2);
  int n = lame_encode_buffer(lame, left.data(), right.data(), static_cast<int>(left.size()),
                             out.data(), static_cast<int>(out.size()));
  if (n < 0) throw std::runtime_error("LAME could not encode");
  int m = lame_encode_flush(lame, out.data() + n, static_cast<int>(out.size()) - n);
  if (m < 0) throw std::runtime_error("LAME could not finish");
  out.resize(static_cast<std::size_t>(n + m));
  unsigned char tag[2880];
  std::size_t tagSize = lame_get_lametag_frame(lame, tag, sizeof tag);
  if (tagSize > 0 && tagSize <= out.size()) std::copy(tag, tag + tagSize, out.begin());
  lame_close(lame);
  return out;
}

}  // namespace

void AddMusicJobs(JobList& jobs) {
  jobs.push_back(
      {"intro music",
       [](ContentWriter& w) { w.Write("data\\sounds\\music\\intro.mp3", EncodeMp3(IntroMusic())); },
       200});
  jobs.push_back(
      {"menu music",
       [](ContentWriter& w) { w.Write("data\\sounds\\music\\menu.mp3", EncodeMp3(MenuMusic())); },
       200});
  jobs.push_back(
      {"game music",
       [](ContentWriter& w) { w.Write("data\\sounds\\music\\game.mp3", EncodeMp3(GameMusic())); },
       250});
}
