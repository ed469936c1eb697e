// The keyboard of a scripted player: keys held by the policy and taps at given frames, turned into
// the input events the program takes between frames.
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <set>
#include <string>

#include "app/platform.hpp"

class ScriptedKeys {
 public:
  // The keys to hold from this frame on (by script key name); any other held key is released,
  // except those a tap holds.
  void Hold(const std::set<std::string>& keys);
  // Presses a key now and releases it two frames later.
  void Tap(const std::string& key);
  // The events for the frame about to run, in order.
  std::deque<Event> TakeEvents(int64_t frame);
  bool Held(const std::string& key) const { return down_.count(key) != 0; }

 private:
  void Change(const std::string& key, bool down);

  std::set<std::string> wanted_;
  std::set<std::string> down_;
  std::map<std::string, int64_t> tapEnds_;  // key -> frame of its release
  std::deque<Event> out_;
  // Keys already changed in the frame being planned: a second change waits a frame, so that every
  // press is seen by a frame.
  std::set<std::string> changedNow_;
};

// An input event in the words of an input script ("key down Z", "mouse move 385 207", "quit").
Event ScriptEvent(const std::string& words);
