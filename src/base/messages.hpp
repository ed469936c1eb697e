// Message boxes and the fatal-error path. Texts are bytes of the game's code page (Windows-1257).
#pragma once

#include <cstddef>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

struct ShownMessage {
  std::string caption;  // UTF-8
  std::string text;     // UTF-8
};

// Every message shown in this run, in order (the state dump lists them).
extern std::vector<ShownMessage> shownMessages;

// Converts Windows-1257 bytes to UTF-8.
std::string Cp1257ToUtf8(const std::string& bytes);
// UTF-8 text in the game's code page; what it cannot hold becomes "?".
std::string Utf8ToCp1257(const std::string& text);

// Puts a message box on the screen; the shell installs one while a window system is there.
using MessageBoxShower = std::function<void(const std::string& caption, const std::string& text)>;
void SetMessageBoxShower(MessageBoxShower shower);

// Shows a message box with an OK button and no owner: recorded, printed on stderr and, in an
// interactive run, put on the screen by the installed shower.
void ShowMessage(const std::string& caption, const std::string& text);
// The same for texts the program composes itself in UTF-8 (file names from the disk, say).
void ShowMessageUtf8(const std::string& caption, const std::string& text);
// Recorded and printed on stderr like a message, but never put on the screen: for faults the
// program carries on past without the player (a sound file that stays silent).
void NoteMessageUtf8(const std::string& caption, const std::string& text);

// "Ask the application to terminate": set by the per-frame step when Exit was chosen and by
// loaders that cannot go on; the main window closes after this frame.
extern bool windowCloseRequested;
// The status the program then ends with: 3 when a loader stopped the run, else 0.
extern int closeStatus;

// Thrown to end the program cleanly from deep inside a frame; the frame loop catches it, runs the
// normal shutdown and exits with `status`.
struct ProgramExit {
  int status;
};

// Called for an index outside its table. The default shows "Range check error" and throws
// ProgramExit{3}; tests install their own.
using FatalHandler = std::function<void(const std::string& what)>;
void SetFatalHandler(FatalHandler handler);
[[noreturn]] void FatalRangeError(const std::string& what);

// The range error of a checked index; kept out of line so that the check itself stays small
// enough to be inlined in the per-unit loops.
[[noreturn]] void IndexOutOfRange(const char* what, std::size_t index, std::size_t size);

// A checked index into a fixed-size table.
template <typename Table>
auto& At(Table& table, std::size_t index, const char* what) {
  if (index >= std::size(table)) [[unlikely]]
    IndexOutOfRange(what, index, std::size(table));
  return table[index];
}
