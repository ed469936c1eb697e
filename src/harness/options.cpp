// Parsing of the command line.
#include "harness/options.hpp"

#include "harness/input_script.hpp"

#include <charconv>
#include <cstring>
#include <string_view>

namespace {
template <typename T>
bool ParseNumber(std::string_view text, T& out) {
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), out);
  return ec == std::errc() && end == text.data() + text.size();
}
}  // namespace

const char* UsageText() {
  return "usage: morva [--root DIR] [--config FILE] [--windowed | --fullscreen] [--headless]\n"
         "             [--frames N] [--frame-ms MS] [--seed N] [--input FILE]\n"
         "             [--dump-state FILE] [--screenshot FILE] [--record FILE] [--help] "
         "[--version]\n";
}

ParseResult ParseCommandLine(int argc, const char* const* argv) {
  ProgramOptions o;
  auto fail = [](std::string message) { return ParseResult{std::nullopt, std::move(message)}; };
  for (int i = 1; i < argc; ++i) {
    std::string_view arg = argv[i];
    auto value = [&](std::string& out) -> bool {
      if (i + 1 >= argc) return false;
      out = argv[++i];
      return true;
    };
    std::string v;
    if (arg == "--help" || arg == "-h") {
      o.help = true;
    } else if (arg == "--version") {
      o.version = true;
    } else if (arg == "--windowed") {
      o.windowed = true;
    } else if (arg == "--fullscreen") {
      o.windowed = false;
    } else if (arg == "--headless") {
      o.headless = true;
    } else if (arg == "--root" || arg == "--config" || arg == "--input" || arg == "--dump-state" ||
               arg == "--screenshot" || arg == "--record") {
      if (!value(v)) return fail(std::string(arg) + " needs a value");
      if (arg == "--root") o.root = v;
      if (arg == "--config") o.config = v;
      if (arg == "--input") o.input = v;
      if (arg == "--dump-state") o.dumpState = v;
      if (arg == "--screenshot") o.screenshot = v;
      if (arg == "--record") o.record = v;
    } else if (arg == "--frames") {
      if (!value(v) || !ParseNumber(v, o.frames) || o.frames < 0) {
        return fail("--frames needs a whole number of 0 or more");
      }
    } else if (arg == "--frame-ms") {
      double ms = 0;
      if (!value(v) || !ParseNumber(v, ms) || !ValidFixedStep(ms)) {
        return fail("--frame-ms needs 0, or a number of milliseconds from 0.1 to 10000");
      }
      o.frameMs = ms;
    } else if (arg == "--seed") {
      uint32_t seed = 0;
      if (!value(v) || !ParseNumber(v, seed)) return fail("--seed needs a whole number");
      o.seed = seed;
    } else {
      return fail("unknown option " + std::string(arg));
    }
  }
  return ParseResult{o, {}};
}
