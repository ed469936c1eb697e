// Character definitions and frame folders: for every row of the table of kinds, its design and
// its painter make the definition and the frames at the paths the row names.
#include <stdexcept>
#include <string>

#include "game/kinds.hpp"
#include "mkcontent/character_art.hpp"
#include "mkcontent/jobs.hpp"

namespace {

// Each kind's painter, by the name of its row.
struct Painter {
  const char* kind;
  RgbaImage (*paint)(Clip clip, int index, int count);
};
constexpr Painter kPainters[] = {
    {"player", PaintHero},
    {"sentinel", PaintSentinel},
    {"guard", PaintGuard},
    {"golem", PaintGolem},
};

const Painter& PainterOf(int kind) {
  const std::string name = KindOf(kind).name;
  for (const Painter& p : kPainters) {
    if (name == p.kind) return p;
  }
  throw std::logic_error("no painter for the kind " + name);
}

}  // namespace

RgbaImage PaintCharacterFrame(int kind, int frame) {
  FrameJob job = FrameAt(Design(kind), frame);
  return PainterOf(kind).paint(job.clip, job.index, job.count);
}

void AddCharacterJobs(JobList& jobs) {
  for (int kind = 0; kind < static_cast<int>(kKinds.size()); ++kind) {
    const CharacterDesign& d = Design(kind);
    PainterOf(kind);  // a kind without one stops the generator before any job runs
    const KindRow& row = KindOf(kind);
    jobs.push_back({d.name + ".pud", [kind, &row](ContentWriter& w) {
                      CharacterRecordBytes bytes = EncodeCharacterRecord(Design(kind).record);
                      w.Write(row.definition, bytes);
                    }});
    // Frames in small batches so both cores stay busy.
    const int count = d.FrameCount();
    const int batch = 8;
    const int weight = d.record.spriteSize * d.record.spriteSize * batch / 4096;
    for (int first = 0; first < count; first += batch) {
      jobs.push_back({d.name + " frames",
                      [kind, first, count, batch, &row](ContentWriter& w) {
                        for (int f = first; f < std::min(count, first + batch); ++f) {
                          w.WriteDxt(std::string(row.frames) + std::to_string(f) + ".dxt",
                                     PaintCharacterFrame(kind, f), DxtKind::Smooth);
                        }
                      },
                      weight});
    }
  }
}
