// The scripted keyboard: held keys, taps and the events between them.
#include "keys.hpp"

#include <sstream>
#include <stdexcept>

#include "harness/input_script.hpp"

Event ScriptEvent(const std::string& words) {
  std::istringstream in("0 " + words + "\n");
  ScriptParse parsed = ParseInputScript(in);
  if (!parsed.error.empty() || parsed.lines.size() != 1) {
    throw std::runtime_error("not an input event: " + words);
  }
  return parsed.lines[0].event;
}

void ScriptedKeys::Hold(const std::set<std::string>& keys) {
  wanted_ = keys;
}

void ScriptedKeys::Tap(const std::string& key) {
  if (tapEnds_.count(key) || down_.count(key)) return;
  tapEnds_[key] = -1;  // its release frame is set when the press goes out
}

void ScriptedKeys::Change(const std::string& key, bool down) {
  if (changedNow_.count(key)) return;
  changedNow_.insert(key);
  if (down) {
    down_.insert(key);
  } else {
    down_.erase(key);
  }
  out_.push_back(ScriptEvent(std::string("key ") + (down ? "down " : "up ") + key));
}

std::deque<Event> ScriptedKeys::TakeEvents(int64_t frame) {
  changedNow_.clear();
  // Releases first: a key let go and another pressed in one frame read as a change of keys.
  for (auto it = tapEnds_.begin(); it != tapEnds_.end();) {
    if (it->second >= 0 && it->second <= frame && !wanted_.count(it->first)) {
      Change(it->first, false);
      it = tapEnds_.erase(it);
    } else {
      ++it;
    }
  }
  for (const std::string& key : std::set<std::string>(down_)) {
    if (!wanted_.count(key) && !tapEnds_.count(key)) Change(key, false);
  }
  for (const std::string& key : wanted_) {
    if (!down_.count(key)) Change(key, true);
  }
  for (auto& [key, end] : tapEnds_) {
    if (end < 0 && !down_.count(key) && !changedNow_.count(key)) {
      Change(key, true);
      end = frame + 2;
    }
  }
  std::deque<Event> events;
  events.swap(out_);
  return events;
}
