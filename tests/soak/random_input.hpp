// What the soak feeds the game: random but valid events and time steps, a wall clock that ends
// the soak and samples resident memory, and a platform wrapper that hands both to the game.
#pragma once

#include <chrono>
#include <cstdint>
#include <deque>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "app/game_state.hpp"
#include "app/platform.hpp"

// Resident memory of this process in KiB.
long ResidentKib();

class SoakClock {
 public:
  SoakClock(double seconds, double sampleSeconds);
  bool Over() const { return Elapsed() >= seconds_; }
  double Elapsed() const;
  // Prints and keeps a sample when one is due.
  void MaybeSample(int64_t frames);
  void Sample(int64_t frames);
  // The first and last sample, and the spread of those after the first period.
  std::string Summary() const;

 private:
  std::chrono::steady_clock::time_point start_;
  double seconds_;
  double sampleSeconds_;
  double nextSample_;
  std::vector<long> samples_;
};

class RandomInput {
 public:
  explicit RandomInput(uint32_t seed);
  // The events of the next frame, and its time step in milliseconds.
  void NextFrame(std::deque<Event>& out, double& stepMs);
  int64_t Frames() const { return frames_; }
  int64_t Events() const { return events_; }
  // Frames run with the level on screen and not paused.
  int64_t LevelFrames() const { return levelFrames_; }
  // Times the player reached the level's end.
  int LevelEnds() const { return levelEnds_; }
  // The game sat in a paused level with no screen shown, where no input leads anywhere; the
  // session was ended then.
  bool Stuck() const { return stuck_; }

 private:
  void AddKey(std::deque<Event>& out);
  void AddMouse(std::deque<Event>& out);
  void ClickStart(std::deque<Event>& out);
  Event Parsed(const std::string& line);

  std::mt19937 random_;
  std::vector<std::pair<Event, Event>> keys_;  // down and up of each key
  std::vector<int> heldKeys_;
  std::vector<int> holdLeft_;
  bool focused_ = true;
  int64_t frames_ = 0;
  int64_t events_ = 0;
  int64_t levelFrames_ = 0;
  int clickRelease_ = 0;
  int statsFrames_ = 0;
  int levelEnds_ = 0;
  int64_t noWayOutFrames_ = 0;
  bool stuck_ = false;
};

// The game's platform with random input in front of the window system's own events.
template <typename Base>
class SoakPlatform : public Base {
 public:
  template <typename... Args>
  SoakPlatform(SoakClock& clock, RandomInput& input, Args&&... args)
      : Base(std::forward<Args>(args)...), clock_(clock), input_(input) {}

  bool PollEvent(Event& event) override {
    if (Base::PollEvent(event)) return true;
    if (!newFrame_ && pending_.empty()) {
      newFrame_ = true;
      return false;
    }
    if (newFrame_) {
      newFrame_ = false;
      clock_.MaybeSample(input_.Frames());
      if (clock_.Over()) {
        pending_.push_back(Event{EventType::Quit});
      } else {
        double step = 0;
        input_.NextFrame(pending_, step);
        gameState.morva.fixedStepMs = step;
      }
    }
    if (pending_.empty()) {
      newFrame_ = true;
      return false;
    }
    event = pending_.front();
    pending_.pop_front();
    return true;
  }

 private:
  SoakClock& clock_;
  RandomInput& input_;
  std::deque<Event> pending_;
  bool newFrame_ = true;
};
