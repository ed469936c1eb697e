#include "base/stop_signals.hpp"

#include <semaphore.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <mutex>
#include <thread>
#include <utility>

#include "base/messages.hpp"

namespace {
std::atomic<int> signalsReceived{0};
std::atomic<int> lastSignal{0};
std::atomic<bool> requestPending{false};
std::atomic<bool> settingsWritten{false};

static_assert(std::atomic<int>::is_always_lock_free && std::atomic<bool>::is_always_lock_free,
              "signal handlers may only touch lock-free atomics");

// The second signal wakes the watcher (sem_post may be called in a handler).
sem_t secondSignal;
std::once_flag watcherStarted;
std::mutex saverMutex;
std::function<void()> settingsSaver;

// How long the watcher lets the program's own shutdown get to its settings.
constexpr auto kShutdownGrace = std::chrono::seconds(1);

[[noreturn]] void EndNow(int signal) {
  // The status a shell reports for a program a signal ended.
  _exit(128 + signal);
}

// The program ends by itself once its settings are written; one held up on the way (a message
// box waiting for its OK, a long step) is not waited for beyond the grace: the watcher writes
// the settings itself and ends it.
void WatchForSecondSignal() {
  while (sem_wait(&secondSignal) != 0) {
  }
  const auto until = std::chrono::steady_clock::now() + kShutdownGrace;
  while (!settingsWritten && std::chrono::steady_clock::now() < until) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  if (!settingsWritten) {
    std::lock_guard lock(saverMutex);
    if (settingsSaver) settingsSaver();
  }
  EndNow(lastSignal);
}

void OnStopSignal(int signal) {
  lastSignal = signal;
  requestPending = true;
  if (signalsReceived.fetch_add(1) != 1) return;
  if (settingsWritten) EndNow(signal);
  sem_post(&secondSignal);
}
}  // namespace

void InstallStopHandlers() {
  std::call_once(watcherStarted, [] {
    sem_init(&secondSignal, 0, 0);
    std::thread(WatchForSecondSignal).detach();
  });
  struct sigaction action {};
  action.sa_handler = OnStopSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = 0;
  for (int signal : {SIGINT, SIGTERM, SIGHUP}) sigaction(signal, &action, nullptr);
}

void SetSettingsSaver(std::function<void()> saver) {
  std::lock_guard lock(saverMutex);
  settingsSaver = std::move(saver);
}

bool StopRequested() {
  return signalsReceived > 0;
}

bool TakeStopRequest() {
  return requestPending.exchange(false);
}

void StopLoadAtSignal() {
  // The same status as when the request reaches the frame loop: the player asked to close.
  if (StopRequested()) throw ProgramExit{0};
}

void SettingsWrittenForExit() {
  settingsWritten = true;
  if (signalsReceived >= 2) EndNow(lastSignal);
}

void ResetStopRequests() {
  signalsReceived = 0;
  requestPending = false;
  settingsWritten = false;
}
