// Pacing input changes to one per key or button per frame.
#include "app/event_gate.hpp"

#include "app/input.hpp"

namespace {
// Each thing that can be pressed gets its own number range.
constexpr int kMouse = 1;
constexpr int kKeys = 1000;
constexpr int kJoyButtons = 2000;
constexpr int kPadButtons = 3000;
constexpr int kJoyAxes = 4000;
constexpr int kPadAxes = 5000;
constexpr int kPadPresses = 6000;
}  // namespace

void EventGate::Push(const Event& event) {
  queue_.push_back(event);
}

int EventGate::ChangeOf(const Event& e) const {
  switch (e.type) {
    case EventType::MouseDown:
    case EventType::MouseUp:
      // The window's mouse flags are one pair for all buttons: another button's press releases
      // the left one, so the mouse changes as a whole.
      return kMouse;
    case EventType::KeyDown:
    case EventType::KeyUp:
      return kKeys + (e.keyId != 0 ? e.keyId : e.key);
    case EventType::JoyButton:
      return kJoyButtons + e.key;
    case EventType::PadButton:
      return kPadButtons + e.key;
    case EventType::PadPress:
      return kPadPresses + e.key;
    case EventType::JoyAxis:
    case EventType::PadAxis: {
      int axis = (e.type == EventType::JoyAxis ? kJoyAxes : kPadAxes) + e.axis;
      auto it = axisDirection_.find(axis);
      int before = it == axisDirection_.end() ? 0 : it->second;
      // Movement within the same direction is no press or release.
      return AxisDirection(e.value) == before ? 0 : axis;
    }
    default:
      return 0;
  }
}

bool EventGate::Next(Event& event) {
  if (queue_.empty()) return false;
  const Event& front = queue_.front();
  int change = ChangeOf(front);
  if (change != 0 && changed_.count(change) != 0) return false;
  if (change != 0) changed_.insert(change);
  // Losing the focus forgets every stick position.
  if (front.type == EventType::FocusLost) axisDirection_.clear();
  if (front.type == EventType::JoyAxis || front.type == EventType::PadAxis) {
    int axis = (front.type == EventType::JoyAxis ? kJoyAxes : kPadAxes) + front.axis;
    axisDirection_[axis] = AxisDirection(front.value);
  }
  event = front;
  queue_.pop_front();
  return true;
}
