#include "base/stop_signals.hpp"

#include <unistd.h>

#include <atomic>
#include <csignal>

#include "base/messages.hpp"

namespace {
std::atomic<int> signalsReceived{0};
std::atomic<int> lastSignal{0};
std::atomic<bool> requestPending{false};
std::atomic<bool> settingsWritten{false};

static_assert(std::atomic<int>::is_always_lock_free && std::atomic<bool>::is_always_lock_free,
              "signal handlers may only touch lock-free atomics");

[[noreturn]] void EndNow(int signal) {
  // The status a shell reports for a program a signal ended.
  _exit(128 + signal);
}

void OnStopSignal(int signal) {
  lastSignal = signal;
  requestPending = true;
  if (signalsReceived.fetch_add(1) >= 1 && settingsWritten) EndNow(signal);
}
}  // namespace

void InstallStopHandlers() {
  struct sigaction action {};
  action.sa_handler = OnStopSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = 0;
  for (int signal : {SIGINT, SIGTERM, SIGHUP}) sigaction(signal, &action, nullptr);
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
