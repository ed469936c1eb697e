// Sound synthesis.
#include "mkcontent/synth.hpp"

#include <algorithm>
#include <cmath>

namespace {
constexpr double kTwoPi = 2 * M_PI;
}

Samples Silence(double seconds) {
  return Samples(static_cast<std::size_t>(seconds * kRate), 0.0f);
}

void MixIn(Samples& dst, const Samples& src, double at, double gain) {
  std::size_t start = static_cast<std::size_t>(std::max(0.0, at) * kRate);
  if (dst.size() < start + src.size()) dst.resize(start + src.size(), 0.0f);
  for (std::size_t i = 0; i < src.size(); ++i) dst[start + i] += static_cast<float>(src[i] * gain);
}

void Normalize(Samples& s, double peak) {
  float top = 0;
  for (float v : s) top = std::max(top, std::fabs(v));
  if (top <= 0) return;
  float k = static_cast<float>(peak / top);
  for (float& v : s) v *= k;
}

void SoftEdges(Samples& s, double inMs, double outMs) {
  std::size_t in = static_cast<std::size_t>(inMs * kRate / 1000),
              out = static_cast<std::size_t>(outMs * kRate / 1000);
  for (std::size_t i = 0; i < std::min(in, s.size()); ++i) s[i] *= static_cast<float>(i) / in;
  for (std::size_t i = 0; i < std::min(out, s.size()); ++i)
    s[s.size() - 1 - i] *= static_cast<float>(i) / out;
}

Samples WhiteNoise(double seconds, Rng& rng) {
  Samples s = Silence(seconds);
  for (float& v : s) v = static_cast<float>(rng.Signed());
  return s;
}

Samples Tone(double seconds, const std::function<double(double)>& freq,
             const std::function<double(double)>& amp, double harmonics) {
  Samples s = Silence(seconds);
  double phase = 0;
  for (std::size_t i = 0; i < s.size(); ++i) {
    double t = static_cast<double>(i) / kRate;
    phase += kTwoPi * freq(t) / kRate;
    double v = std::sin(phase);
    if (harmonics > 0)
      v += harmonics *
           (0.5 * std::sin(2 * phase) + 0.33 * std::sin(3 * phase) + 0.2 * std::sin(5 * phase));
    s[i] = static_cast<float>(v * amp(t));
  }
  return s;
}

void Envelope(Samples& s, const std::function<double(double)>& amp) {
  for (std::size_t i = 0; i < s.size(); ++i)
    s[i] *= static_cast<float>(amp(static_cast<double>(i) / kRate));
}

double Decay(double t, double tau) {
  return t < 0 ? 0 : std::exp(-t / tau);
}

void LowPass(Samples& s, const std::function<double(double)>& cutoff) {
  double y = 0;
  for (std::size_t i = 0; i < s.size(); ++i) {
    double c = std::clamp(cutoff(static_cast<double>(i) / kRate), 10.0, kRate * 0.45);
    double a = 1 - std::exp(-kTwoPi * c / kRate);
    y += a * (s[i] - y);
    s[i] = static_cast<float>(y);
  }
}

void HighPass(Samples& s, double cutoff) {
  double a = std::exp(-kTwoPi * cutoff / kRate);
  double prevX = 0, y = 0;
  for (float& v : s) {
    y = a * (y + v - prevX);
    prevX = v;
    v = static_cast<float>(y);
  }
}

void BandPass(Samples& s, const std::function<double(double)>& centre, double q) {
  double x1 = 0, x2 = 0, y1 = 0, y2 = 0;
  for (std::size_t i = 0; i < s.size(); ++i) {
    double f = std::clamp(centre(static_cast<double>(i) / kRate), 20.0, kRate * 0.45);
    double w = kTwoPi * f / kRate, alpha = std::sin(w) / (2 * q);
    double b0 = alpha, b2 = -alpha, a0 = 1 + alpha, a1 = -2 * std::cos(w), a2 = 1 - alpha;
    double x = s[i];
    double y = (b0 * x + b2 * x2 - a1 * y1 - a2 * y2) / a0;
    x2 = x1, x1 = x, y2 = y1, y1 = y;
    s[i] = static_cast<float>(y);
  }
}

void Drive(Samples& s, double amount) {
  for (float& v : s) v = static_cast<float>(std::tanh(v * amount) / std::tanh(amount));
}

void Reverb(Samples& s, double size, double wet) {
  const int combs[4] = {1557, 1617, 1491, 1422};
  const int passes[2] = {225, 556};
  std::size_t tail = static_cast<std::size_t>(size * 1.2 * kRate);
  Samples out(s.size() + tail, 0.0f);
  Samples dry = s;
  dry.resize(out.size(), 0.0f);
  for (int c : combs) {
    std::size_t d = static_cast<std::size_t>(c * (0.6 + size));
    std::vector<float> buf(d, 0.0f);
    std::size_t idx = 0;
    double feedback = 0.78, damp = 0.3, store = 0;
    for (std::size_t i = 0; i < out.size(); ++i) {
      float y = buf[idx];
      store = y * (1 - damp) + store * damp;
      buf[idx] = static_cast<float>(dry[i] + store * feedback);
      idx = (idx + 1) % d;
      out[i] += y * 0.25f;
    }
  }
  for (int p : passes) {
    std::vector<float> buf(static_cast<std::size_t>(p), 0.0f);
    std::size_t idx = 0;
    for (float& v : out) {
      float b = buf[idx];
      float y = -v + b;
      buf[idx] = v + b * 0.5f;
      idx = (idx + 1) % buf.size();
      v = y;
    }
  }
  for (std::size_t i = 0; i < out.size(); ++i)
    out[i] = static_cast<float>(dry[i] * (1 - wet) + out[i] * wet);
  s = std::move(out);
}

Samples Voice(double seconds, const std::function<double(double)>& pitch, Vowel from, Vowel to,
              double breath, Rng& rng) {
  Samples src = Silence(seconds);
  double phase = 0;
  for (std::size_t i = 0; i < src.size(); ++i) {
    double t = static_cast<double>(i) / kRate;
    double f = pitch(t) * (1 + 0.012 * std::sin(kTwoPi * 5.5 * t));
    phase += f / kRate;
    phase -= std::floor(phase);
    // A glottal pulse: a falling ramp, rich in harmonics, with breath noise.
    double pulse = 1 - 2 * phase;
    src[i] = static_cast<float>(pulse * (1 - breath) + rng.Signed() * breath);
  }
  Samples out = Silence(seconds);
  const double gains[3] = {1.0, 0.6, 0.25};
  for (int k = 0; k < 3; ++k) {
    Samples band = src;
    double a = k == 0 ? from.f1 : k == 1 ? from.f2 : from.f3;
    double b = k == 0 ? to.f1 : k == 1 ? to.f2 : to.f3;
    BandPass(
        band, [=](double t) { return a + (b - a) * std::min(1.0, t / seconds); }, 6 + 4 * k);
    MixIn(out, band, 0, gains[k]);
  }
  return out;
}

Samples Resample(const Samples& in, int fromRate) {
  if (fromRate == kRate || in.empty()) return in;
  std::size_t n = static_cast<std::size_t>(static_cast<double>(in.size()) * kRate / fromRate);
  Samples out(n);
  for (std::size_t i = 0; i < n; ++i) {
    double pos = static_cast<double>(i) * fromRate / kRate;
    std::size_t k = static_cast<std::size_t>(pos);
    double f = pos - k;
    float a = in[std::min(k, in.size() - 1)], b = in[std::min(k + 1, in.size() - 1)];
    out[i] = static_cast<float>(a + (b - a) * f);
  }
  return out;
}
