// The four character kinds: their definition records and the layout of their frame folders.
#pragma once

#include <string>
#include <vector>

#include "formats/character_record.hpp"

// What a run of frames shows; the painter draws each frame from its clip and its place in it.
enum class Clip {
  Idle,
  Walk,
  Jump,
  Attack1,  // player: level slash
  Attack2,  // player: overhead cleave
  Attack3,  // player: lunge
  Attack4,  // player: rising cut that throws guards
  Crouch,
  Stunned,
  Death,
  Strike,    // guard: axe blow
  Blow1,     // golem: sweeping punch
  Blow2,     // golem: two-fisted slam
  Charging,  // sentinel
};

struct ClipRun {
  Clip clip;
  int firstFrame;
  int frameCount;
};

struct CharacterDesign {
  int kind;
  std::string name;
  CharacterRecord record;
  std::vector<ClipRun> runs;  // every frame of the folder belongs to exactly one run
  int FrameCount() const;
};

// Kinds 0..3: player, sentinel, guard, golem.
const CharacterDesign& Design(int kind);

// The frame a clip shows at `frame`, for the painter: which clip and how far through it (0..1).
struct FrameJob {
  Clip clip;
  int index;  // within the clip
  int count;
};
FrameJob FrameAt(const CharacterDesign& design, int frame);
