// What the soak feeds the game: random but valid events and time steps, a wall clock that ends
// the soak and samples resident memory, and a platform wrapper that hands both to the game.
#pragma once

#include <chrono>
#include <cstdint>
#include <deque>
#include <optional>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "app/game_state.hpp"
#include "app/platform.hpp"
#include "soak_input.hpp"

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
  // How much resident memory grew (MiB) from the first sample at or after `seconds` to the last;
  // nothing when no sample came that late or none after it.
  std::optional<double> GrowthAfter(double seconds) const;

 private:
  std::chrono::steady_clock::time_point start_;
  double seconds_;
  double sampleSeconds_;
  double nextSample_;
  std::vector<long> samples_;
  std::vector<double> sampleTimes_;
};

// Random but valid events everywhere: keys, text, mouse moves and clicks, focus changes.
class RandomInput : public SoakInput {
 public:
  explicit RandomInput(uint32_t seed);
  void NextFrame(std::deque<Event>& out, double& stepMs) override;

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
  int clickRelease_ = 0;
  int statsFrames_ = 0;
};

// The game's platform with random input in front of the window system's own events.
template <typename Base>
class SoakPlatform : public Base {
 public:
  template <typename... Args>
  SoakPlatform(SoakClock& clock, SoakInput& input, Args&&... args)
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
  SoakInput& input_;
  std::deque<Event> pending_;
  bool newFrame_ = true;
};
