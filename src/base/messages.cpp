// The message path: every box the game shows goes through here.
#include "base/messages.hpp"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>

std::vector<ShownMessage> shownMessages;
bool windowCloseRequested = false;
int closeStatus = 0;

namespace {
FatalHandler& Handler() {
  static FatalHandler handler;
  return handler;
}
MessageBoxShower& Shower() {
  static MessageBoxShower shower;
  return shower;
}

bool IsProgramName(const std::string& caption) {
  const char* name = "morva";
  if (caption.size() != 5) return false;
  for (size_t i = 0; i < caption.size(); ++i) {
    char c = caption[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
    if (c != name[i]) return false;
  }
  return true;
}
}  // namespace

namespace {
// `bytes` from one encoding into another; a byte sequence the target cannot hold becomes
// `replacement` and the rest goes on.
std::string Recode(const char* to, const char* from, const std::string& bytes,
                   const char* replacement) {
  // Both encodings agree on ASCII, which most texts are (key names are read every frame the
  // Controls page shows): no converter is opened for them.
  if (std::all_of(bytes.begin(), bytes.end(), [](char c) { return (c & 0x80) == 0; })) return bytes;
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return bytes;
  std::string out;
  std::string in = bytes;
  char* inPtr = in.data();
  size_t inLeft = in.size();
  char buffer[256];
  while (inLeft > 0) {
    char* outPtr = buffer;
    size_t outLeft = sizeof buffer;
    size_t r = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
    out.append(buffer, static_cast<size_t>(outPtr - buffer));
    if (r == static_cast<size_t>(-1) && errno != E2BIG) {
      out += replacement;
      ++inPtr;
      --inLeft;
    }
  }
  iconv_close(cd);
  return out;
}
}  // namespace

std::string Cp1257ToUtf8(const std::string& bytes) {
  // A byte the code page leaves undefined shows as a replacement mark.
  return Recode("UTF-8", "WINDOWS-1257", bytes, "\xEF\xBF\xBD");
}

std::string Utf8ToCp1257(const std::string& text) {
  return Recode("WINDOWS-1257", "UTF-8", text, "?");
}

void ShowMessage(const std::string& caption, const std::string& text) {
  ShowMessageUtf8(Cp1257ToUtf8(caption), Cp1257ToUtf8(text));
}

void ShowMessageUtf8(const std::string& caption, const std::string& text) {
  NoteMessageUtf8(caption, text);
  if (Shower()) Shower()(caption, text);
}

void NoteMessageUtf8(const std::string& caption, const std::string& text) {
  // The program's own boxes carry its name as their caption; on stderr the name is said once.
  if (IsProgramName(caption)) {
    std::fprintf(stderr, "morva: %s\n", text.c_str());
  } else {
    std::fprintf(stderr, "morva: %s: %s\n", caption.c_str(), text.c_str());
  }
  shownMessages.push_back(ShownMessage{caption, text});
}

void SetMessageBoxShower(MessageBoxShower shower) {
  Shower() = std::move(shower);
}

void SetFatalHandler(FatalHandler handler) {
  Handler() = std::move(handler);
}

void IndexOutOfRange(const char* what, std::size_t index, std::size_t size) {
  FatalRangeError(std::string(what) + " index " + std::to_string(index) + " outside 0.." +
                  std::to_string(size - 1));
}

void FatalRangeError(const std::string& what) {
  if (Handler()) Handler()(what);
  ShowMessage("Error", "Range check error: " + what);
  throw ProgramExit{3};
}
