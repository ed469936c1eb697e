// The scripted session, phase by phase.
#include "session.hpp"

#include <cstdio>
#include <cstdlib>
#include <sstream>

#include <nlohmann/json.hpp>

#include "app/game_state.hpp"
#include "game/kinds.hpp"
#include "ui/menu.hpp"

namespace {
// How long each screen is left on show before the next input: the statistics screen for a second
// (so a screenshot can be taken of it), the menu and the restarted level for half a second.
constexpr int64_t kStatisticsShown = 100;
constexpr int64_t kMenuShown = 50;
constexpr int64_t kAgainShown = 50;

std::string OverStart() {
  MenuPoint middle = MenuButtonMiddle(MenuButton::Start);
  return "mouse move " + std::to_string(middle.x) + " " + std::to_string(middle.y);
}
}  // namespace

void PlaythroughSession::Script(int64_t frame, int64_t at, const std::string& words) {
  if (frame == at) out_.push_back(ScriptEvent(words));
}

void PlaythroughSession::StepPhase(int64_t frame) {
  const ModeFlags& f = gameState.flags;
  Phase next = phase_;
  if (phase_ == Phase::Start && f.inGame == 1) next = Phase::Level;
  if (phase_ == Phase::Level && f.statsShown == 1) {
    next = Phase::Statistics;
    stats_ = gameState.play.levelStats;
    statsFrame_ = frame;
  }
  if (phase_ == Phase::Statistics && f.inGame == 0 && f.menuShown == 1) {
    next = Phase::Menu;
    menuFrame_ = frame;
  }
  if (phase_ == Phase::Menu && f.inGame == 1) {
    next = Phase::Again;
    againFrame_ = frame;
  }
  if (next != phase_) {
    phase_ = next;
    phaseFrame_ = frame;
  }
}

std::deque<Event> PlaythroughSession::Plan(int64_t frame) {
  StepPhase(frame);
  const int64_t since = frame - phaseFrame_;
  switch (phase_) {
    case Phase::Start:
      // A key ends the intro; Start is the menu's second button, clicked at its middle.
      Script(frame, 10, "key down Space");
      Script(frame, 12, "key up Space");
      Script(frame, 20, OverStart());
      Script(frame, 22, "mouse down left");
      Script(frame, 24, "mouse up left");
      break;
    case Phase::Level:
      policy_.Act(frame, keys_);
      if (trace_ > 0 && frame % trace_ == 0) Trace(frame);
      break;
    case Phase::Statistics:
      keys_.Hold({});
      if (since == kStatisticsShown) keys_.Tap("Escape");
      break;
    case Phase::Menu:
      Script(frame, phaseFrame_ + kMenuShown, OverStart());
      Script(frame, phaseFrame_ + kMenuShown + 2, "mouse down left");
      Script(frame, phaseFrame_ + kMenuShown + 4, "mouse up left");
      break;
    case Phase::Again:
      restarted_ = gameState.flags.levelFinished == 0 && PlayerUnit().life > 0 &&
                   gameState.play.levelStats.points == 0;
      if (since == kAgainShown) {
        phase_ = Phase::Done;
        out_.push_back(ScriptEvent("quit"));
      }
      break;
    case Phase::Done:
      break;
  }
  std::deque<Event> events = keys_.TakeEvents(frame);
  for (const Event& e : out_) events.push_back(e);
  out_.clear();
  return events;
}

PlaythroughSession::PlaythroughSession() {
  if (const char* every = std::getenv("PLAYTHROUGH_TRACE")) trace_ = std::atoi(every);
}

void PlaythroughSession::Trace(int64_t frame) const {
  const Unit& p = PlayerUnit();
  std::printf("%lld: x %.0f y %.0f life %d stun %d crouch %d jump %d combo %d pts %d |",
              (long long)frame, p.x, p.y, p.life, p.stunned, p.crouching, p.jumping,
              gameState.play.combo.comboLevel, gameState.play.levelStats.points);
  for (int i = 1; i < UnitCount(); ++i) {
    const Unit& u = UnitAt(i);
    if (u.inRange && u.activated)
      std::printf(" %d:k%d x%.0f y%.0f l%d", i, u.kind, u.x, u.y, u.life);
  }
  std::printf("\n");
}

bool PlaythroughSession::Succeeded() const {
  const std::vector<bool>& met = policy_.Met();
  for (size_t i = 1; i < met.size(); ++i) {
    if (!met[i]) return false;
  }
  return phase_ == Phase::Done && restarted_ && stats_.headsRemoved > 0 && met.size() > 1;
}

std::string PlaythroughSession::Report() const {
  std::ostringstream r;
  r << "statistics at frame " << statsFrame_ << ": points " << stats_.points << ", time "
    << stats_.timeTaken << " s, kills:";
  for (std::size_t kind = 0; kind < kKinds.size(); ++kind) {
    if (kKinds[kind].statistics.label) r << " " << kKinds[kind].name << " " << stats_.kills[kind];
  }
  r << ", heads " << stats_.headsRemoved << ", combo 7 " << stats_.combo7Count << "\n";
  r << "menu at frame " << menuFrame_ << ", level again at frame " << againFrame_
    << (restarted_ ? " (restarted)" : " (not restarted)") << "\n";
  r << "enemies met:";
  const std::vector<bool>& met = policy_.Met();
  int missed = 0;
  for (size_t i = 1; i < met.size(); ++i) {
    if (!met[i]) ++missed;
    r << " " << i << (met[i] ? "" : "(not met)");
  }
  r << "\n" << (missed == 0 ? "every enemy met" : "some enemies not met") << "\n";
  return r.str();
}

std::string PlaythroughSession::Expectation() const {
  nlohmann::json e = {{"points", stats_.points},
                      {"timeTaken", stats_.timeTaken},
                      {"headsRemoved", stats_.headsRemoved}};
  for (std::size_t kind = 0; kind < kKinds.size(); ++kind) {
    if (const char* name = kKinds[kind].statistics.dumpName) e[name] = stats_.kills[kind];
  }
  return e.dump(2) + "\n";
}
