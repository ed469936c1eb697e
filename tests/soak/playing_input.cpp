#include "playing_input.hpp"

#include "app/game_state.hpp"
#include "ui/menu.hpp"

namespace {
// Keys a player mashes in the level, Escape aside.
const char* const kMashed[] = {"Left", "Right", "Up", "Down", "Z", "X", "C", "Left Ctrl", "Space"};
// How long a screen is looked at before the way on is taken.
constexpr int64_t kScreenLooked = 30;
// A level the player has not finished or lost in this many frames (ten minutes at the steady
// step) is given up: the session ends, and the next starts afresh.
constexpr int64_t kGiveUpFrames = 60000;

// Which screen is shown, as far as the way back into the level goes.
enum Screen { kIntro, kMenu, kOtherPage, kStatistics, kLevel, kBetween };

int ShownScreen(const ModeFlags& f) {
  if (f.introDone == 0) return kIntro;
  if (f.statsShown == 1) return kStatistics;
  if (f.optionsShown == 1 || f.trainerShown == 1) return kOtherPage;
  if (f.menuShown == 1) return kMenu;
  if (f.levelFinished == 1) return kStatistics;
  if (f.inGame == 1 && f.paused == 0) return kLevel;
  return kBetween;
}
}  // namespace

PlayingInput::PlayingInput(uint32_t seed) : random_(seed) {}

void PlayingInput::Press(const std::string& key, int frames, std::deque<Event>& out) {
  out.push_back(ScriptEvent("key down " + key));
  releases_.emplace_back(frames_ + frames, ScriptEvent("key up " + key));
}

void PlayingInput::ReleaseDue(std::deque<Event>& out) {
  for (auto it = releases_.begin(); it != releases_.end();) {
    if (it->first > frames_) {
      ++it;
      continue;
    }
    out.push_back(it->second);
    it = releases_.erase(it);
  }
}

// A new level (its start, a restart after its end or a death) gets a fresh policy; an end is
// counted once.
void PlayingInput::NoteLevelChanges() {
  const ModeFlags& f = gameState.flags;
  restarts_ += f.restartRequested;
  if (f.restartRequested == 1 || (f.inGame == 1 && !inGame_)) {
    policy_ = LevelPolicy{};
    policyFrom_ = frames_;
  }
  inGame_ = f.inGame == 1;
  if (f.levelFinished == 1 && !finished_) ++levelEnds_;
  finished_ = f.levelFinished == 1;
}

void PlayingInput::Noise(std::deque<Event>& out) {
  if (Chance(0.01)) Press(kMashed[Between(0, std::size(kMashed) - 1)], Between(1, 3), out);
  if (Chance(0.001)) Press(kMashed[Between(0, std::size(kMashed) - 1)], Between(10, 120), out);
  // A pause now and then: the menu's Resume brings the level back.
  if (Chance(0.0005)) Press("Escape", 2, out);
  if (Chance(0.0003)) {
    out.push_back(Event{EventType::FocusLost});
    focusBackFrame_ = frames_ + Between(5, 100);
  }
}

void PlayingInput::Play(std::deque<Event>& out) {
  if (frames_ - policyFrom_ > kGiveUpFrames) {
    out.push_back(Event{EventType::Quit});
    return;
  }
  // The policy counts frames from the level's start.
  policy_.Act(frames_ - policyFrom_, keys_);
  for (const Event& e : keys_.TakeEvents(frames_)) out.push_back(e);
  Noise(out);
}

void PlayingInput::FrontEnd(std::deque<Event>& out) {
  keys_.Hold({});
  for (const Event& e : keys_.TakeEvents(frames_)) out.push_back(e);
  const ModeFlags& f = gameState.flags;
  const int64_t since = frames_ - screenFrame_;
  if (clickFrame_ >= 0) {
    // Start or Resume, clicked at its middle: down two frames after the move, held a little more
    // than the tenth of a second a click needs at the steady step.
    if (frames_ == clickFrame_ + 2) out.push_back(ScriptEvent("mouse down left"));
    if (frames_ == clickFrame_ + 14) {
      out.push_back(ScriptEvent("mouse up left"));
      clickFrame_ = -1;
      screenFrame_ = frames_;  // the click acts a tenth of a second after the release
    }
    return;
  }
  if (since < kScreenLooked) return;
  switch (screen_) {
    case kIntro:
    case kOtherPage:
    case kStatistics:
      if (since % kScreenLooked == 0) Press(screen_ == kIntro ? "Space" : "Escape", 2, out);
      break;
    case kMenu: {
      MenuPoint middle = MenuButtonMiddle(f.inGame == 1 ? MenuButton::Resume : MenuButton::Start);
      out.push_back(
          ScriptEvent("mouse move " + std::to_string(middle.x) + " " + std::to_string(middle.y)));
      clickFrame_ = frames_;
      break;
    }
    default:
      break;
  }
}

void PlayingInput::NextFrame(std::deque<Event>& out, double& stepMs) {
  std::size_t before = out.size();
  if (CountFrame(gameState.flags)) {
    out.push_back(Event{EventType::Quit});
    return;
  }
  NoteLevelChanges();
  int screen = ShownScreen(gameState.flags);
  if (screen != screen_) {
    screen_ = screen;
    screenFrame_ = frames_;
    clickFrame_ = -1;
  }
  ReleaseDue(out);
  if (focusBackFrame_ >= 0) {
    if (frames_ >= focusBackFrame_) {
      out.push_back(Event{EventType::FocusGained});
      focusBackFrame_ = -1;
    }
  } else if (screen_ == kLevel) {
    Play(out);
  } else {
    FrontEnd(out);
  }
  events_ += static_cast<int64_t>(out.size() - before);
  // Mostly the steady step the player was made for; now and then anything from 0 to 100 ms.
  stepMs = Chance(0.03) ? Between(0, 1000) / 10.0 : 10.0;
}
