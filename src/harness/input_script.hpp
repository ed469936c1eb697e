// Scripted input: one event a line, applied just before the frame of its number runs.
//   <frame> key down|up <name>     <frame> text <char>|<byte 0..255>
//   <frame> key up unnamed         (a key without a name, which only types a character)
//   <frame> mouse move <x> <y>     <frame> mouse down|up left|right|middle
//   <frame> joy axis x|y <v>       <frame> joy button <1..32> down|up
//   <frame> pad axis x|y <v>       <frame> pad button <1..32> down|up   (game controller)
//   <frame> pad press <name> down|up   a controller button by name (a, b, dpleft, ...), before
//                                  what it feeds; a recording writes both
//   <frame> focus lost|gained      <frame> quit
//   <frame> step <ms>              0 seed <n>
//   0 clock measured               the time step follows the recorded measurements:
//   <frame> measure <fps>          at the end of this frame <fps> frames were counted
//   0 bind <action> = <keys> | <buttons>   the recording's bindings, over the defaults
#pragma once

#include <cstdint>
#include <istream>
#include <optional>
#include <string>
#include <vector>

#include "app/platform.hpp"

struct ScriptLine {
  int64_t frame = 0;
  enum class Kind { Input, Step, Seed, Clock, Measure, Bind } kind = Kind::Input;
  Event event;
  double stepMs = 0;
  uint32_t seed = 0;
  int measuredFps = 0;
  std::string binding;  // "attack1 = A | x", as settings.cfg writes it
};

struct ScriptParse {
  std::vector<ScriptLine> lines;  // in frame order (stable for equal frames)
  std::string error;              // "line N: ..." on the first bad line
};

// A fixed time step (--frame-ms, a script's step line): 0, or 0.1 .. 10000 ms.
bool ValidFixedStep(double ms);

ScriptParse ParseInputScript(std::istream& in);

// The script line of an event at a frame; empty for events a script cannot express.
std::string FormatScriptEvent(int64_t frame, const Event& event);
