// Signals asking the program to end: the first is a request, a second ends it at once with the
// settings written.
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <string>
#include <thread>

#include "base/messages.hpp"
#include "base/stop_signals.hpp"

namespace {
// Runs `steps` in a child process of its own (a death test), with the handlers installed and a
// settings saver that says it ran: I and T raise SIGINT and SIGTERM, W is the shutdown having
// written the settings, H is the program held up for a second and a half (a message box waiting for
// its OK). A child still running after its steps ends with status 7.
void RunSteps(const std::string& steps) {
  InstallStopHandlers();
  SetSettingsSaver([] { std::fprintf(stderr, "settings saved\n"); });
  for (char step : steps) {
    if (step == 'I') std::raise(SIGINT);
    if (step == 'T') std::raise(SIGTERM);
    if (step == 'W') SettingsWrittenForExit();
    if (step == 'H') std::this_thread::sleep_for(std::chrono::milliseconds(1500));
  }
  std::_Exit(StopRequested() ? 7 : 8);
}
}  // namespace

TEST(StopSignals, ASecondSignalEndsTheProgramWithItsSettingsWritten) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  const struct {
    const char* steps;
    int status;
    const char* says;
  } cases[] = {
      {"IH", 7, ""},                            // one signal: a request the run acts on
      {"IIW", 128 + SIGINT, ""},                // two: ended as the shutdown writes settings
      {"IIH", 128 + SIGINT, "settings saved"},  // held up: the saver writes them, within 1 s
      {"IW", 7, ""},                            // written after one signal: going on
      {"IWT", 128 + SIGTERM, ""},               // ... the second ends it at once
      {"WTH", 7, ""},                           // a first signal after the settings
  };
  for (const auto& c : cases) {
    EXPECT_EXIT(RunSteps(c.steps), ::testing::ExitedWithCode(c.status), c.says) << c.steps;
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
