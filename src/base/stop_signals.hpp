// Ctrl+C, SIGTERM and a closed terminal (SIGHUP) ask the program to end. The frame loop takes the
// request as the window system's close request; a long load stops at its next piece. A second
// signal ends the program at once, as soon as its changed settings are written: by the shutdown,
// or, when that has not got there within a second (a message box waiting for its OK), by the
// settings saver.
#pragma once

#include <functional>

// Installs the handlers for SIGINT, SIGTERM and SIGHUP. Without SA_RESTART: a call that waits
// (a read from a pipe, a sleep) returns at the signal instead of waiting on.
void InstallStopHandlers();

// What writes the changed settings when a second signal finds the shutdown held up; it runs on a
// thread of its own while the program's thread is held up. Nothing (the default) writes nothing.
void SetSettingsSaver(std::function<void()> saver);

// Whether a signal has asked the program to end.
bool StopRequested();

// True once for each signal that came since the last call: the close request a window system
// hands on.
bool TakeStopRequest();

// Between the pieces of a long load: when a signal asked the program to end, throws
// ProgramExit, which ends the run through its shutdown.
void StopLoadAtSignal();

// The shutdown has written the settings: from now on a second signal ends the program at once,
// and one that already came ends it here.
void SettingsWrittenForExit();

// For tests: forget the signals that came.
void ResetStopRequests();
