// Parsing of the command line, and its help text.
#include "harness/options.hpp"

#include "harness/input_script.hpp"

#include <string_view>

#include "base/parse_number.hpp"

namespace {
// Options that take a file or folder name, and where each one goes.
struct TextOption {
  std::string_view name;
  std::optional<std::string> ProgramOptions::*field;
};
constexpr TextOption kTextOptions[] = {
    {"--root", &ProgramOptions::root},
    {"--config", &ProgramOptions::config},
    {"--input", &ProgramOptions::input},
    {"--dump-state", &ProgramOptions::dumpState},
    {"--screenshot", &ProgramOptions::screenshot},
    {"--record", &ProgramOptions::record},
    {"--level", &ProgramOptions::level},
};

// Options that take no value; false for a name that is none of them.
bool ApplyFlag(std::string_view arg, ProgramOptions& o) {
  if (arg == "--help" || arg == "-h") {
    o.help = true;
  } else if (arg == "--version" || arg == "-V") {
    o.version = true;
  } else if (arg == "--print-paths") {
    o.printPaths = true;
  } else if (arg == "--play") {
    o.play = true;
  } else if (arg == "--headless") {
    o.headless = true;
  } else if (arg == "--no-draw") {
    o.noDraw = true;
  } else if (arg == "--windowed") {
    o.windowed = true;
  } else if (arg == "--fullscreen") {
    o.windowed = false;
  } else {
    return false;
  }
  return true;
}

// An option with its value; returns an error text, or "" when it is in order.
std::string ApplyValue(std::string_view name, const std::string& v, ProgramOptions& o) {
  for (const TextOption& t : kTextOptions) {
    if (name != t.name) continue;
    if (v.empty()) return std::string(name) + " needs a name, not an empty text";
    o.*t.field = v;
    return "";
  }
  if (name == "--frames") {
    if (!ParseNumber(v, o.frames) || o.frames < 0)
      return "--frames needs a whole number of 0 or more";
  } else if (name == "--frame-ms") {
    double ms = 0;
    if (!ParseNumber(v, ms) || !ValidFixedStep(ms)) {
      return "--frame-ms needs 0, or a number of milliseconds from 0.1 to 10000";
    }
    o.frameMs = ms;
  } else if (name == "--seed") {
    uint32_t seed = 0;
    if (!ParseNumber(v, seed)) return "--seed needs a whole number from 0 to 4294967295";
    o.seed = seed;
  }
  return "";
}

bool TakesValue(std::string_view name) {
  for (const TextOption& t : kTextOptions) {
    if (name == t.name) return true;
  }
  return name == "--frames" || name == "--frame-ms" || name == "--seed";
}
}  // namespace

const char* UsageText() {
  return "usage: morva [--root DIR] [--level FILE.lvl] [--play] [--config FILE]\n"
         "             [--windowed | --fullscreen] [--headless] [--no-draw] [--frames N]\n"
         "             [--frame-ms MS] [--seed N] [--input FILE] [--record FILE]\n"
         "             [--dump-state FILE] [--screenshot FILE] [--print-paths]\n"
         "             [-h | --help] [-V | --version]\n";
}

ParseResult ParseCommandLine(int argc, const char* const* argv) {
  ProgramOptions o;
  auto fail = [](std::string message) { return ParseResult{std::nullopt, std::move(message)}; };
  for (int i = 1; i < argc; ++i) {
    std::string_view arg = argv[i];
    // --option=value is the same as --option value.
    std::optional<std::string> joined;
    if (size_t eq = arg.find('='); arg.rfind("--", 0) == 0 && eq != std::string_view::npos) {
      joined = std::string(arg.substr(eq + 1));
      arg = arg.substr(0, eq);
    }
    if (!TakesValue(arg)) {
      if (joined) return fail(std::string(arg) + " takes no value");
      if (!ApplyFlag(arg, o)) return fail("unknown option " + std::string(argv[i]));
      continue;
    }
    if (!joined && i + 1 >= argc) return fail(std::string(arg) + " needs a value");
    std::string error = ApplyValue(arg, joined ? *joined : argv[++i], o);
    if (!error.empty()) return fail(error);
  }
  // Only a window has a picture to write.
  if (o.headless && o.screenshot) return fail("--screenshot needs a window, not --headless");
  return ParseResult{o, {}};
}
