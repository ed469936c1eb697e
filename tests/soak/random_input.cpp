// Random events for the soak, built from script lines so that each is one a player could make.
#include "random_input.hpp"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "harness/input_script.hpp"
#include "ui/menu.hpp"

namespace {
// Every key the game reacts to, and a few it does not.
const char* const kKeys[] = {"Left",      "Right", "Up",     "Down",   "Z",        "X", "C",
                             "Left Ctrl", "Space", "Escape", "Return", "Keypad 8", "A", "F2"};
constexpr int kEscapeIndex = 9;
constexpr int kStatsFrames = 1000;
}  // namespace

long ResidentKib() {
  std::ifstream statm("/proc/self/statm");
  long pages = 0, resident = 0;
  statm >> pages >> resident;
  return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

SoakClock::SoakClock(double seconds, double sampleSeconds)
    : start_(std::chrono::steady_clock::now()),
      seconds_(seconds),
      sampleSeconds_(sampleSeconds),
      nextSample_(0) {}

double SoakClock::Elapsed() const {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
}

void SoakClock::MaybeSample(int64_t frames) {
  if (Elapsed() >= nextSample_) Sample(frames);
}

void SoakClock::Sample(int64_t frames) {
  long kib = ResidentKib();
  samples_.push_back(kib);
  sampleTimes_.push_back(Elapsed());
  std::printf("t=%6.0f s  frames=%lld  rss=%.1f MiB\n", Elapsed(), static_cast<long long>(frames),
              kib / 1024.0);
  std::fflush(stdout);
  nextSample_ += sampleSeconds_;
}

std::string SoakClock::Summary() const {
  if (samples_.empty()) return "not sampled";
  char text[200];
  if (samples_.size() < 3) {
    std::snprintf(text, sizeof text, "%.1f to %.1f MiB", samples_.front() / 1024.0,
                  samples_.back() / 1024.0);
    return text;
  }
  // The first sample is taken at the start, the second after one period: the spread counts from
  // there.
  auto [low, high] = std::minmax_element(samples_.begin() + 1, samples_.end());
  std::snprintf(text, sizeof text,
                "%.1f MiB at the start, %.1f MiB after one period, %.1f MiB at the end; "
                "after the first period between %.1f and %.1f MiB (spread %.2f MiB)",
                samples_.front() / 1024.0, samples_[1] / 1024.0, samples_.back() / 1024.0,
                *low / 1024.0, *high / 1024.0, (*high - *low) / 1024.0);
  return text;
}

std::optional<double> SoakClock::GrowthAfter(double seconds) const {
  auto from = std::lower_bound(sampleTimes_.begin(), sampleTimes_.end(), seconds);
  if (from == sampleTimes_.end() || from + 1 == sampleTimes_.end()) return std::nullopt;
  return (samples_.back() - samples_[from - sampleTimes_.begin()]) / 1024.0;
}

RandomInput::RandomInput(uint32_t seed) : random_(seed) {
  for (const char* name : kKeys) {
    keys_.emplace_back(Parsed(std::string("0 key down ") + name),
                       Parsed(std::string("0 key up ") + name));
  }
}

Event RandomInput::Parsed(const std::string& line) {
  std::istringstream in(line + "\n");
  ScriptParse parse = ParseInputScript(in);
  if (!parse.error.empty() || parse.lines.size() != 1) {
    std::fprintf(stderr, "morva_soak: bad event line \"%s\": %s\n", line.c_str(),
                 parse.error.c_str());
    std::abort();
  }
  return parse.lines[0].event;
}

void RandomInput::AddKey(std::deque<Event>& out) {
  int k = static_cast<int>(random_() % keys_.size());
  // Escape pauses the level; pressed as often as the other keys it would keep the level paused.
  if (k == kEscapeIndex && random_() % 8 != 0) return;
  if (std::find(heldKeys_.begin(), heldKeys_.end(), k) != heldKeys_.end()) return;
  out.push_back(keys_[k].first);
  // Character keys also raise a text event, as the window system does.
  const Event& down = keys_[k].first;
  if (down.key >= 'A' && down.key <= 'Z') {
    out.push_back(Parsed("0 text " + std::string(1, static_cast<char>(down.key + 32))));
  }
  heldKeys_.push_back(k);
  holdLeft_.push_back(1 + static_cast<int>(random_() % 60));
}

void RandomInput::AddMouse(std::deque<Event>& out) {
  switch (random_() % 3) {
    case 0: {
      int x = static_cast<int>(random_() % 800), y = static_cast<int>(random_() % 600);
      // Everything but Exit in the menu: a soak that quit every few seconds would spend its
      // time starting up.
      int exitY = MenuButtonY(MenuButton::Exit);
      if (x >= kMenuButtonX - 10 && x <= kMenuButtonX + 110 && y >= exitY - 10 && y <= exitY + 45) {
        y = exitY - 60;
      }
      out.push_back(Parsed("0 mouse move " + std::to_string(x) + " " + std::to_string(y)));
      break;
    }
    case 1:
      out.push_back(Parsed(random_() % 4 ? "0 mouse down left" : "0 mouse down right"));
      break;
    default:
      out.push_back(Parsed(random_() % 4 ? "0 mouse up left" : "0 mouse up right"));
      break;
  }
}

// In the menu Start (or Resume) is clicked now and then (held 0.1 s or more, as a click
// needs), so that most of the soak is spent in the level rather than in the front end.
void RandomInput::ClickStart(std::deque<Event>& out) {
  if (clickRelease_ > 0) {
    if (--clickRelease_ == 0) out.push_back(Parsed("0 mouse up left"));
    return;
  }
  const ModeFlags& f = gameState.flags;
  if (f.menuShown == 0 || f.optionsShown == 1 || random_() % 50 != 0) return;
  // Start, or Resume when the level is paused.
  MenuButton button = f.inGame == 1 ? MenuButton::Resume : MenuButton::Start;
  MenuPoint middle = MenuButtonMiddle(button);
  out.push_back(
      Parsed("0 mouse move " + std::to_string(middle.x) + " " + std::to_string(middle.y)));
  out.push_back(Parsed("0 mouse down left"));
  clickRelease_ = 2 + static_cast<int>(random_() % 5);
}

void RandomInput::NextFrame(std::deque<Event>& out, double& stepMs) {
  const ModeFlags& f = gameState.flags;
  if (CountFrame(f)) {
    out.push_back(Event{EventType::Quit});
    return;
  }
  std::size_t before = out.size();
  // The statistics screen at the level's end is left only by closing the window: so does the
  // soak after a while there, and a new session starts.
  statsFrames_ = f.levelFinished == 1 ? statsFrames_ + 1 : 0;
  if (statsFrames_ > kStatsFrames) {
    statsFrames_ = 0;
    ++levelEnds_;
    out.push_back(Event{EventType::Quit});
    return;
  }
  ClickStart(out);
  for (std::size_t i = 0; i < heldKeys_.size();) {
    if (--holdLeft_[i] > 0) {
      ++i;
      continue;
    }
    out.push_back(keys_[heldKeys_[i]].second);
    heldKeys_.erase(heldKeys_.begin() + static_cast<long>(i));
    holdLeft_.erase(holdLeft_.begin() + static_cast<long>(i));
  }
  uint32_t roll = random_() % 100;
  if (roll < 20) AddKey(out);
  if (roll >= 20 && roll < 30) AddMouse(out);
  if (roll == 99 || (!focused_ && roll < 10)) {
    out.push_back(Event{focused_ ? EventType::FocusLost : EventType::FocusGained});
    focused_ = !focused_;
  }
  events_ += static_cast<int64_t>(out.size() - before);
  stepMs = static_cast<double>(random_() % 1001) / 10.0;
}
