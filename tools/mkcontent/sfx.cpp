// The sound effects: steps, swings, impacts, cries, deaths, the sentinels' hum and zaps, the
// golem's rumble, explosion, thunder, the click and the pick-ups.
#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <string>

#include "content/level_paths.hpp"
#include "game/items.hpp"
#include "game/kinds.hpp"
#include "game/unit_sounds.hpp"
#include "mkcontent/jobs.hpp"
#include "mkcontent/synth.hpp"
#include "mkcontent/voice.hpp"

namespace {

Samples Click() {
  Rng rng(1);
  Samples s = Tone(
      0.07, [](double) { return 1900; }, [](double t) { return 0.5 * Decay(t, 0.012); });
  Samples tick = WhiteNoise(0.004, rng);
  MixIn(s, tick, 0, 0.6);
  HighPass(s, 400);
  return s;
}

Samples Step(int variant, double weight) {
  Rng rng(10 + static_cast<uint64_t>(variant));
  double body = 70 + variant * 9;
  Samples s = Tone(
      0.18, [=](double t) { return body * (1 - t); },
      [=](double t) { return weight * Decay(t, 0.03); });
  Samples crunch = WhiteNoise(0.14, rng);
  LowPass(crunch, [=](double) { return 1400 + variant * 300; });
  Envelope(crunch, [](double t) { return Decay(t, 0.025) * (t < 0.003 ? t / 0.003 : 1); });
  MixIn(s, crunch, 0.002, 0.8);
  return s;
}

Samples Swing(int variant, double low) {
  Rng rng(20 + static_cast<uint64_t>(variant));
  double len = 0.26 + 0.04 * variant;
  Samples s = WhiteNoise(len, rng);
  double top = (1800 + 500 * variant) * low;
  BandPass(
      s,
      [=](double t) {
        double x = t / len;
        return 300 * low + top * std::sin(M_PI * x);
      },
      2.5);
  Envelope(s, [=](double t) {
    double x = t / len;
    return std::pow(std::sin(M_PI * x), 2) * 3;
  });
  return s;
}

Samples Clang() {
  Rng rng(30);
  Samples s = Silence(0.7);
  const double ratios[] = {1.0, 2.76, 5.40, 8.93, 13.3};
  for (int k = 0; k < 5; ++k) {
    double f = 520 * ratios[k];
    MixIn(s,
          Tone(
              0.7, [=](double) { return f; },
              [=](double t) { return Decay(t, 0.28 / (1 + k * 0.6)) / (1 + k); }),
          0);
  }
  Samples hit = WhiteNoise(0.03, rng);
  HighPass(hit, 2000);
  MixIn(s, hit, 0, 0.8);
  return s;
}

Samples Flesh() {
  Rng rng(40);
  Samples s = Tone(
      0.25, [](double t) { return 90 - 120 * t; }, [](double t) { return Decay(t, 0.05); });
  Samples wet = WhiteNoise(0.22, rng);
  BandPass(
      wet, [](double t) { return 900 - 2000 * t; }, 3);
  Envelope(wet, [](double t) { return 2.5 * Decay(t, 0.05); });
  MixIn(s, wet, 0, 1.0);
  return s;
}

Samples Cry(uint64_t seed, double seconds, double startPitch, double endPitch, Vowel a, Vowel b,
            double grit) {
  Rng rng(seed);
  Samples s = Voice(
      seconds, [=](double t) { return startPitch + (endPitch - startPitch) * t / seconds; }, a, b,
      0.15, rng);
  Envelope(s, [=](double t) {
    double attack = std::min(1.0, t / 0.04);
    double release = std::min(1.0, (seconds - t) / (seconds * 0.4));
    return attack * release;
  });
  Drive(s, 1.0 + grit);
  Reverb(s, 0.3, 0.15);
  return s;
}

Samples Gore(uint64_t seed) {
  Rng rng(seed);
  Samples s = Flesh();
  Samples gurgle = WhiteNoise(0.9, rng);
  BandPass(
      gurgle, [&](double t) { return 500 + 250 * std::sin(t * 2 * M_PI * 9); }, 4);
  Envelope(gurgle, [](double t) { return 1.6 * Decay(t - 0.1, 0.3) * (t > 0.1); });
  MixIn(s, gurgle, 0.05, 1.0);
  // The head meets the floor.
  MixIn(s, Step(2, 1.0), 0.7, 0.8);
  return s;
}

Samples Boom(uint64_t seed, double seconds, double low) {
  Rng rng(seed);
  Samples s = Tone(
      seconds, [=](double t) { return low * (1 - 0.4 * t / seconds); },
      [=](double t) { return Decay(t, seconds * 0.25); });
  Samples rumble = WhiteNoise(seconds, rng);
  LowPass(rumble, [=](double t) { return 900 * Decay(t, seconds * 0.3) + 80; });
  Envelope(rumble,
           [=](double t) { return 2.0 * Decay(t, seconds * 0.35) * std::min(1.0, t / 0.005); });
  MixIn(s, rumble, 0, 1.0);
  return s;
}

Samples Rattle(uint64_t seed, double seconds, int pieces) {
  Rng rng(seed);
  Samples s = Silence(seconds);
  for (int i = 0; i < pieces; ++i) {
    Samples k = WhiteNoise(0.04, rng);
    double f = 900 + rng.Unit() * 2500;
    BandPass(
        k, [=](double) { return f; }, 5);
    Envelope(k, [](double t) { return Decay(t, 0.008) * 3; });
    MixIn(s, k, rng.Unit() * seconds * 0.9, 0.3 + rng.Unit() * 0.5);
  }
  return s;
}

Samples Growl(uint64_t seed, double seconds, double pitch) {
  Rng rng(seed);
  Samples s = Voice(
      seconds, [=](double t) { return pitch * (1 + 0.15 * std::sin(t * 3)); }, kVowelO, kVowelU,
      0.5, rng);
  Samples grind = WhiteNoise(seconds, rng);
  LowPass(grind, [](double) { return 300; });
  MixIn(s, grind, 0, 0.7);
  Envelope(s,
           [=](double t) { return std::sin(M_PI * t / seconds) * (0.7 + 0.3 * std::sin(t * 11)); });
  Drive(s, 2.0);
  return s;
}

Samples Zap(uint64_t seed, double seconds, double bright) {
  Rng rng(seed);
  Samples s = Silence(seconds);
  double phase = 0;
  for (std::size_t i = 0; i < s.size(); ++i) {
    double t = static_cast<double>(i) / kRate;
    double f = 90 + 60 * rng.Signed() + 400 * Decay(t, 0.05);
    phase += f / kRate;
    s[i] = static_cast<float>((phase - std::floor(phase)) * 2 - 1);
  }
  Samples crackle = WhiteNoise(seconds, rng);
  for (float& v : crackle) v *= rng.Unit() < 0.05 ? 4.0f : 0.3f;
  MixIn(s, crackle, 0, bright);
  HighPass(s, 150);
  Envelope(s, [=](double t) { return Decay(t, seconds * 0.35) * std::min(1.0, t / 0.003); });
  Drive(s, 2.5);
  return s;
}

// A hum that loops without a seam: every partial fits a whole number of cycles in the length.
Samples Hum() {
  const double len = 1.0;
  Samples s = Silence(len);
  const double partials[][2] = {{110, 0.5}, {111, 0.3}, {220, 0.25}, {330, 0.12}, {887, 0.04}};
  for (auto [f, a] : partials)
    MixIn(s,
          Tone(
              len, [=](double) { return f; }, [=](double) { return a; }),
          0);
  Envelope(s, [](double t) { return 0.8 + 0.2 * std::sin(2 * M_PI * 3 * t); });
  return s;
}

Samples Chime(bool rune) {
  Samples s = Silence(1.2);
  const double notes[] = {523.25, 659.25, 783.99, 1046.5};
  for (int i = 0; i < 4; ++i) {
    double f = notes[i] * (rune ? 0.75 : 1.0);
    MixIn(s,
          Tone(
              0.9, [=](double) { return f; },
              [](double t) { return Decay(t, 0.25) * std::min(1.0, t / 0.004); }, 0.3),
          i * (rune ? 0.09 : 0.07), 0.5);
    if (rune)
      MixIn(
          s,
          Tone(
              0.9, [=](double) { return f * 1.007; }, [](double t) { return 0.4 * Decay(t, 0.3); }),
          i * 0.09 + 0.01, 0.5);
  }
  if (rune) {
    Rng rng(60);
    Samples shimmer = WhiteNoise(1.0, rng);
    BandPass(
        shimmer, [](double t) { return 3000 + 5000 * t; }, 8);
    Envelope(shimmer, [](double t) { return std::sin(M_PI * t) * 0.8; });
    MixIn(s, shimmer, 0, 1.0);
  }
  Reverb(s, 0.5, 0.25);
  return s;
}

Samples Thunder() {
  Rng rng(70);
  Samples s = Silence(4.5);
  Samples crack = WhiteNoise(0.3, rng);
  HighPass(crack, 800);
  Envelope(crack, [](double t) { return Decay(t, 0.06); });
  MixIn(s, crack, 0, 0.6);
  Samples roll = WhiteNoise(4.4, rng);
  LowPass(roll, [](double t) { return 220 + 300 * Decay(t, 0.8); });
  Envelope(roll, [&](double t) {
    return 3.5 * std::min(1.0, t / 0.15) * Decay(t, 1.4) *
           (0.6 + 0.4 * std::sin(t * 5.3) * std::sin(t * 2.1));
  });
  MixIn(s, roll, 0.05, 1.0);
  return s;
}

// A spoken line, or a shout synthesised when espeak-ng is not there.
Samples Line(const std::string& text, const std::string& voice, int pitch, int speed, uint64_t seed,
             double grit, double room) {
  std::optional<Samples> spoken = Speak(text, voice, pitch, speed);
  Samples s = spoken ? *spoken : Cry(seed, 0.6, 150, 110, kVowelA, kVowelO, 1.0);
  Drive(s, 1.0 + grit);
  Reverb(s, room, 0.22);
  return s;
}

struct Sound {
  std::string path;
  std::function<Samples()> make;
};

// The path of a kind's sound in a slot of its table, as the kind's row names it.
std::string KindSound(int kind, int slot) {
  for (const SoundFile& sound : KindOf(kind).sounds) {
    if (sound.slot == slot) return sound.path;
  }
  throw std::logic_error("the row of kind " + std::to_string(kind) + " has no sound in slot " +
                         std::to_string(slot));
}

// Every sound a kind's row names must be made: a row whose sounds no recipe makes is named.
void CheckKindSoundsMade(const std::vector<Sound>& list) {
  for (const KindRow& kind : kKinds) {
    for (const SoundFile& sound : kind.sounds) {
      auto made = [&](const Sound& s) { return s.path == sound.path; };
      if (std::none_of(list.begin(), list.end(), made)) {
        throw std::logic_error(std::string("no recipe makes ") + sound.path + ", a sound of the " +
                               kind.name);
      }
    }
  }
}

std::vector<Sound> Sounds() {
  std::vector<Sound> list = {
      {"data\\sounds\\GUI\\button0.WAV", Click},
      {kExplosionSoundPath,
       [] {
         Samples s = Boom(80, 1.6, 55);
         MixIn(s, Rattle(81, 1.2, 30), 0.1, 0.8);
         return s;
       }},
      {"DATA\\sounds\\fx\\thunder1.wav", Thunder},
      {kItemSoundPaths[kItemLifeKind], [] { return Chime(false); }},
      {kItemSoundPaths[kItemPowerUpKind], [] { return Chime(true); }},
      {KindSound(kSentinel, sentinel_sound::kAttack), [] { return Zap(90, 0.6, 0.8); }},
      {KindSound(kSentinel, sentinel_sound::kMoving), Hum},
      {KindSound(kSentinel, sentinel_sound::kShocked),
       [] {
         Samples s = Zap(91, 0.5, 1.5);
         MixIn(s,
               Tone(
                   0.5, [](double t) { return 900 - 1400 * t; },
                   [](double t) { return 0.3 * Decay(t, 0.2); }),
               0);
         return s;
       }},
      {KindSound(kGuard, guard_sound::kPain),
       [] { return Cry(100, 0.35, 150, 105, kVowelA, kVowelU, 1.5); }},
      {KindSound(kGuard, guard_sound::kHit), [] { return Swing(1, 0.6); }},
      {KindSound(kGuard, guard_sound::kHeadOff), [] { return Gore(110); }},
      {KindSound(kGuard, guard_sound::kHeadOff2),
       [] {
         Samples s = Gore(111);
         MixIn(s, Cry(112, 0.25, 180, 120, kVowelE, kVowelA, 1.0), 0, 0.6);
         return s;
       }},
      {KindSound(kGolem, golem_sound::kStep),
       [] {
         Samples s = Boom(120, 0.6, 42);
         MixIn(s, Rattle(121, 0.5, 10), 0.02, 0.6);
         return s;
       }},
      {KindSound(kGolem, golem_sound::kIdle), [] { return Growl(130, 1.8, 48); }},
      {KindSound(kGolem, golem_sound::kIdle2), [] { return Growl(131, 1.5, 38); }},
      {KindSound(kGolem, golem_sound::kDie),
       [] {
         Samples s = Growl(132, 1.4, 40);
         MixIn(s, Boom(133, 2.4, 35), 0.8, 1.0);
         MixIn(s, Rattle(134, 2.6, 70), 0.9, 0.9);
         return s;
       }},
      {KindSound(kGolem, golem_sound::kShock),
       [] {
         Samples s = Rattle(140, 0.3, 12);
         MixIn(s, Boom(141, 0.4, 70), 0, 0.8);
         return s;
       }},
      {KindSound(kPlayer, player_sound::kImpactSteel), Clang},
      {KindSound(kPlayer, player_sound::kImpactFlesh), Flesh},
      {KindSound(kPlayer, player_sound::kJump),
       [] {
         Samples s = Cry(150, 0.16, 170, 210, kVowelU, kVowelA, 0.5);
         MixIn(s, Swing(0, 0.5), 0.02, 0.5);
         return s;
       }},
      {KindSound(kPlayer, player_sound::kPain),
       [] { return Cry(151, 0.35, 165, 120, kVowelA, kVowelU, 1.2); }},
      {KindSound(kPlayer, player_sound::kDeath),
       [] { return Cry(152, 1.4, 190, 85, kVowelA, kVowelO, 1.5); }},
  };
  for (int i = 1; i <= 4; ++i)
    list.push_back(
        {KindSound(kPlayer, player_sound::kStep1 + i - 1), [i] { return Step(i - 1, 0.7); }});
  for (int i = 1; i <= 4; ++i)
    list.push_back(
        {KindSound(kPlayer, player_sound::kSwing1 + i - 1), [i] { return Swing(i - 1, 1.0); }});
  for (int i = 1; i <= 5; ++i) {
    list.push_back({KindSound(kGuard, guard_sound::kDeath + i - 1), [i] {
                      return Cry(160 + static_cast<uint64_t>(i), 0.8 + 0.15 * i, 160 + 12 * i,
                                 70 + 5 * i, i % 2 ? kVowelA : kVowelO, kVowelU, 1.2 + 0.2 * i);
                    }});
  }
  const char* cries[] = {"Intruder!", "For the keep!", "Halt!", "Cut him down!", "You die here!"};
  for (int i = 0; i < 5; ++i) {
    std::string text = cries[i];
    list.push_back({KindSound(kGuard, guard_sound::kCry0 + i), [text, i] {
                      return Line(text, i % 2 ? "en-us" : "en-gb", 18 + 6 * i, 150,
                                  170 + static_cast<uint64_t>(i), 1.5, 0.4);
                    }});
  }
  const char* comments[] = {"Off with his head!", "Who is next?", "Rest in pieces."};
  for (int i = 0; i < 3; ++i) {
    std::string text = comments[i];
    list.push_back({kCommentSoundPaths[i], [text, i] {
                      return Line(text, "en-gb", 30, 135, 180 + static_cast<uint64_t>(i), 0.4, 0.6);
                    }});
  }
  return list;
}

}  // namespace

void AddSoundJobs(JobList& jobs) {
  std::vector<Sound> sounds = Sounds();
  CheckKindSoundsMade(sounds);
  for (Sound& sound : sounds) {
    jobs.push_back({sound.path, [sound](ContentWriter& w) {
                      Samples s = sound.make();
                      Normalize(s, 0.85);
                      SoftEdges(s);
                      w.WriteWav(sound.path, s);
                    }});
  }
}
