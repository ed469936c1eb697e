// Keeps every press and release visible to the frames: input that arrives between two frames is
// applied in order, but a key, button or stick that has already changed since the last frame
// waits, with everything behind it, for the next frame. A tap shorter than a frame (a touchpad
// click, a quick key stroke) is thus seen held by one frame and released in a later one.
#pragma once

#include <deque>
#include <map>
#include <set>

#include "app/platform.hpp"

class EventGate {
 public:
  // Queues an input event behind those still waiting.
  void Push(const Event& event);
  // The next event that may be applied before the coming frame; false when none may (the queue is
  // empty, or its first event would undo a change this frame has not seen yet).
  bool Next(Event& event);
  // A frame has run and seen every change applied so far.
  void FrameRan() { changed_.clear(); }
  bool Empty() const { return queue_.empty(); }

 private:
  // What the event changes (a mouse, a key, a button, a stick's direction), or 0 for events that
  // hold no state (moves, characters, focus).
  int ChangeOf(const Event& event) const;

  std::deque<Event> queue_;
  std::set<int> changed_;
  // The direction (-1, 0, 1) of each stick axis as last applied.
  std::map<int, int> axisDirection_;
};
