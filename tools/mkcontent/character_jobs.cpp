// Character definitions and frame folders.
#include <string>

#include "common/content_manifest.hpp"
#include "mkcontent/character_art.hpp"
#include "mkcontent/jobs.hpp"

RgbaImage PaintCharacterFrame(int kind, int frame) {
  const CharacterDesign& d = Design(kind);
  FrameJob job = FrameAt(d, frame);
  switch (kind) {
    case 0:
      return PaintHero(job.clip, job.index, job.count);
    case 1:
      return PaintSentinel(job.clip, job.index, job.count);
    case 2:
      return PaintGuard(job.clip, job.index, job.count);
    default:
      return PaintGolem(job.clip, job.index, job.count);
  }
}

void AddCharacterJobs(JobList& jobs) {
  for (int kind = 0; kind < 4; ++kind) {
    const CharacterDesign& d = Design(kind);
    jobs.push_back({d.name + ".pud", [kind](ContentWriter& w) {
                      CharacterRecordBytes bytes = EncodeCharacterRecord(Design(kind).record);
                      w.Write(kCharacterFiles[kind].definition, bytes);
                    }});
    // Frames in small batches so both cores stay busy.
    const int count = d.FrameCount();
    const int batch = 8;
    const int weight = d.record.spriteSize * d.record.spriteSize * batch / 4096;
    for (int first = 0; first < count; first += batch) {
      jobs.push_back({d.name + " frames",
                      [kind, first, count, batch](ContentWriter& w) {
                        for (int f = first; f < std::min(count, first + batch); ++f) {
                          w.WriteDxt(std::string(kCharacterFiles[kind].frames) + std::to_string(f) +
                                         ".dxt",
                                     PaintCharacterFrame(kind, f), DxtKind::Smooth);
                        }
                      },
                      weight});
    }
  }
}
