// Fuzz target: input scripts, and every event they hold written back as a script line.
#include <sstream>

#include "fuzz_check.hpp"
#include "harness/input_script.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::istringstream in(FuzzText(data, size));
  ScriptParse parse = ParseInputScript(in);
  if (!parse.error.empty()) return 0;
  int64_t last = 0;
  for (const ScriptLine& line : parse.lines) {
    FuzzCheck(line.frame >= last, "lines in frame order");
    last = line.frame;
    if (line.kind == ScriptLine::Kind::Step) FuzzCheck(ValidFixedStep(line.stepMs), "valid step");
    if (line.kind != ScriptLine::Kind::Input) continue;
    std::string text = FormatScriptEvent(line.frame, line.event);
    if (text.empty()) continue;
    std::istringstream again(text + "\n");
    ScriptParse reparse = ParseInputScript(again);
    FuzzCheck(reparse.error.empty() && reparse.lines.size() == 1, "a written event reads back");
    FuzzCheck(reparse.lines[0].event.type == line.event.type, "same event type");
  }
  return 0;
}
