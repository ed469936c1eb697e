// Other programs the game's tools start: the level compiler, and the game from the editor.
#pragma once

#include <sys/types.h>

#include <optional>
#include <string>
#include <vector>

// Starts the program `args[0]` with the arguments after it and this program's environment; its
// process id, or nothing when it cannot be started.
std::optional<pid_t> StartProgram(std::vector<std::string> args);
// Waits for a started program to end; whether it ended normally with status 0.
bool WaitForProgram(pid_t pid);
