// Signals asking the program to end: the first is a request, a second ends it at once once the
// settings are safe.
#include <gtest/gtest.h>

#include <csignal>

#include "base/messages.hpp"
#include "base/stop_signals.hpp"

namespace {
// Each case runs in a child process of its own (a death test), with the handlers installed.
void SignalsThenSettings(int before, bool written, int after) {
  InstallStopHandlers();
  for (int i = 0; i < before; ++i) std::raise(SIGINT);
  if (written) SettingsWrittenForExit();
  for (int i = 0; i < after; ++i) std::raise(SIGTERM);
  std::_Exit(StopRequested() ? 7 : 8);
}
}  // namespace

TEST(StopSignals, ASecondSignalEndsTheProgramOnlyOnceTheSettingsAreWritten) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  struct Case {
    int before;
    bool written;
    int after;
    int status;  // 7: still running with the request noted
  } cases[] = {
      {1, false, 0, 7},             // one signal: a request the run acts on
      {2, false, 0, 7},             // two before the settings are written: still a request
      {2, true, 0, 128 + SIGINT},   // ... ended as soon as they are
      {1, true, 0, 7},              // the settings written after one signal
      {1, true, 1, 128 + SIGTERM},  // ... and the second ends it at once
      {0, true, 1, 7},              // a first signal after the settings are written
  };
  for (const Case& c : cases) {
    EXPECT_EXIT(SignalsThenSettings(c.before, c.written, c.after),
                ::testing::ExitedWithCode(c.status), "")
        << c.before << " " << c.written << " " << c.after;
  }
}

TEST(StopSignals, ALoadStopsAtTheRequestAndTheNextRunStartsAfresh) {
  ResetStopRequests();
  EXPECT_NO_THROW(StopLoadAtSignal());
  InstallStopHandlers();
  std::raise(SIGHUP);
  EXPECT_TRUE(TakeStopRequest());
  EXPECT_FALSE(TakeStopRequest()) << "one close request per signal";
  EXPECT_THROW(StopLoadAtSignal(), ProgramExit) << "the request stays for the loads";
  ResetStopRequests();
  EXPECT_NO_THROW(StopLoadAtSignal());
  std::signal(SIGINT, SIG_DFL);
  std::signal(SIGTERM, SIG_DFL);
  std::signal(SIGHUP, SIG_DFL);
}
