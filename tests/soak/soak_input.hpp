// What drives a soak: the events and the time step of each frame, and the counts it reports.
#pragma once

#include <cstdint>
#include <deque>

#include "app/platform.hpp"
#include "base/mode_flags.hpp"

class SoakInput {
 public:
  virtual ~SoakInput() = default;
  // The events of the next frame, and its time step in milliseconds.
  virtual void NextFrame(std::deque<Event>& out, double& stepMs) = 0;

  int64_t Frames() const { return frames_; }
  int64_t Events() const { return events_; }
  // Frames run with the level on screen, not paused and not yet ended.
  int64_t LevelFrames() const { return levelFrames_; }
  // Times the player reached the level's end.
  int LevelEnds() const { return levelEnds_; }
  // Times the level started again (after its end or the player's death).
  int Restarts() const { return restarts_; }
  // The game sat in a paused level with no screen shown, where no input leads anywhere; the
  // session was ended then.
  bool Stuck() const { return stuck_; }

 protected:
  // Counts the frames of this one, and those in the level; notes a paused level with no way out,
  // then true: the session is to end.
  bool CountFrame(const ModeFlags& f);

  int64_t frames_ = 0;
  int64_t events_ = 0;
  int64_t levelFrames_ = 0;
  int levelEnds_ = 0;
  int restarts_ = 0;
  bool stuck_ = false;

 private:
  int64_t noWayOutFrames_ = 0;
};
