// Boxes, speeds, life, damage and animation tables of the four kinds.
//
// Frame numbers matter beyond the tables: a guard's blow lands when its strike shows frame 60,
// a golem's when its first blow shows frame 33 or its second frame 62. The strike and the blows
// wind up long enough before those frames for a player to answer.
#include "mkcontent/characters.hpp"

#include <stdexcept>

namespace {

// The animation table slots the game reads, per kind.
struct Slots {
  int idle = 0, walk = 1, jump = 2;
};

CharacterDesign Build(int kind, std::string name, CharacterRecord base,
                      std::vector<std::pair<ClipRun, std::vector<std::pair<int, double>>>> runs) {
  CharacterDesign d;
  d.kind = kind;
  d.name = std::move(name);
  d.record = base;
  d.record.kind = kind;
  // Slots the game never selects show the idle clip.
  const ClipRun& idle = runs.front().first;
  for (AnimEntry& e : d.record.anims)
    e = {idle.firstFrame, idle.frameCount, runs.front().second.front().second};
  int next = 0;
  for (auto& [run, slots] : runs) {
    if (run.firstFrame != next) throw std::logic_error(d.name + ": frame runs must be contiguous");
    next += run.frameCount;
    d.runs.push_back(run);
    for (auto [slot, rate] : slots) d.record.anims[slot] = {run.firstFrame, run.frameCount, rate};
  }
  return d;
}

std::vector<CharacterDesign> BuildAll() {
  std::vector<CharacterDesign> all;

  // The hero: quick on his feet, dies after a dozen guard blows or five golem slams.
  CharacterRecord hero;
  hero.boxLeft = -14, hero.boxTop = -46, hero.boxRight = 14, hero.boxBottom = 56;
  hero.spriteSize = 128;
  hero.speed = 0.24;
  hero.life = 100;
  hero.damage = 10;
  hero.collisionMode = 0;
  all.push_back(Build(0, "ravik", hero,
                      {{{Clip::Idle, 0, 8}, {{0, 0.13}}},
                       {{Clip::Walk, 8, 12}, {{1, 0.055}}},
                       {{Clip::Jump, 20, 8}, {{2, 0.07}}},
                       {{Clip::Attack1, 28, 8}, {{4, 0.025}}},
                       {{Clip::Attack3, 36, 8}, {{5, 0.025}}},
                       {{Clip::Attack2, 44, 8}, {{6, 0.025}}},
                       {{Clip::Attack4, 52, 10}, {{7, 0.025}}},
                       {{Clip::Crouch, 62, 4}, {{8, 0.12}}},
                       {{Clip::Stunned, 66, 6}, {{10, 0.08}}},
                       {{Clip::Death, 72, 12}, {{11, 0.09}}}}));

  // The sentinel: one clean hit or a power-up brings it down; its shot stings.
  CharacterRecord sentinel;
  sentinel.boxLeft = -22, sentinel.boxTop = -22, sentinel.boxRight = 22, sentinel.boxBottom = 24;
  sentinel.spriteSize = 96;
  sentinel.speed = 0.14;
  sentinel.life = 10;
  sentinel.damage = 8;
  sentinel.collisionMode = 1;  // floats until shot down, then falls
  all.push_back(Build(1, "sentinel", sentinel,
                      {{{Clip::Idle, 0, 8}, {{0, 0.08}}},
                       {{Clip::Charging, 8, 8}, {{1, 0.04}}},
                       {{Clip::Death, 16, 8}, {{2, 0.09}}}}));

  // The guard: three blows kill him; his axe needs most of a second to come down.
  CharacterRecord guard;
  guard.boxLeft = -15, guard.boxTop = -48, guard.boxRight = 15, guard.boxBottom = 56;
  guard.spriteSize = 128;
  guard.speed = 0.11;
  guard.life = 30;
  guard.damage = 7;
  guard.collisionMode = 0;
  all.push_back(Build(2, "guard", guard,
                      {{{Clip::Idle, 0, 8}, {{0, 0.14}}},
                       {{Clip::Walk, 8, 12}, {{1, 0.075}}},
                       {{Clip::Jump, 20, 4}, {{2, 0.1}}},
                       {{Clip::Stunned, 24, 8}, {{11, 0.08}}},
                       {{Clip::Death, 32, 20}, {{10, 0.07}}},
                       // Frame 60 is the ninth of the strike: the axe meets its target.
                       {{Clip::Strike, 52, 12}, {{4, 0.09}}}}));

  // The golem: shrugs off single blows, so the combo is what stuns it and bites deeper.
  CharacterRecord golem;
  golem.boxLeft = -34, golem.boxTop = -84, golem.boxRight = 34, golem.boxBottom = 108;
  golem.spriteSize = 256;
  golem.speed = 0.05;
  golem.life = 110;
  golem.damage = 20;
  golem.collisionMode = 0;
  all.push_back(Build(3, "golam", golem,
                      {{{Clip::Idle, 0, 6}, {{0, 0.16}}},
                       {{Clip::Walk, 6, 12}, {{1, 0.1}}},
                       {{Clip::Jump, 18, 6}, {{2, 0.1}}},
                       // Frame 33 is the tenth of the first blow, when the fist lands.
                       {{Clip::Blow1, 24, 14}, {{4, 0.08}}},
                       {{Clip::Stunned, 38, 12}, {{10, 0.08}}},
                       // Frame 62 is the thirteenth of the second blow, the slam.
                       {{Clip::Blow2, 50, 16}, {{5, 0.075}}},
                       {{Clip::Death, 66, 16}, {{17, 0.1}}}}));
  return all;
}

}  // namespace

int CharacterDesign::FrameCount() const {
  int n = 0;
  for (const ClipRun& r : runs) n += r.frameCount;
  return n;
}

const CharacterDesign& Design(int kind) {
  static const std::vector<CharacterDesign> all = BuildAll();
  for (const CharacterDesign& d : all) {
    if (d.kind == kind) return d;
  }
  throw std::logic_error("no character design for kind " + std::to_string(kind));
}

FrameJob FrameAt(const CharacterDesign& design, int frame) {
  for (const ClipRun& r : design.runs) {
    if (frame >= r.firstFrame && frame < r.firstFrame + r.frameCount) {
      return {r.clip, frame - r.firstFrame, r.frameCount};
    }
  }
  throw std::out_of_range(design.name + ": no frame " + std::to_string(frame));
}
