// Virtual-key codes and key names.
#include "app/key_names.hpp"

#include <algorithm>
#include <array>
#include <cctype>
#include <string_view>

namespace {
struct KeyName {
  uint8_t code;
  std::string_view name;
  bool character;
};

// Letters and digits are added by the lookups below; this table holds everything else. Where two
// keys share one code (left and right Ctrl), the first name is the one written in recordings.
constexpr std::array kKeys = {
    KeyName{0x08, "Backspace", true},   KeyName{0x09, "Tab", true},
    KeyName{0x0D, "Return", true},      KeyName{0x0D, "Keypad Enter", true},
    KeyName{0x10, "Left Shift", false}, KeyName{0x10, "Right Shift", false},
    KeyName{0x11, "Left Ctrl", false},  KeyName{0x11, "Right Ctrl", false},
    KeyName{0x12, "Left Alt", false},   KeyName{0x12, "Right Alt", false},
    KeyName{0x13, "Pause", false},      KeyName{0x14, "CapsLock", false},
    KeyName{0x1B, "Escape", true},      KeyName{0x20, "Space", true},
    KeyName{0x21, "PageUp", false},     KeyName{0x22, "PageDown", false},
    KeyName{0x23, "End", false},        KeyName{0x24, "Home", false},
    KeyName{0x25, "Left", false},       KeyName{0x26, "Up", false},
    KeyName{0x27, "Right", false},      KeyName{0x28, "Down", false},
    KeyName{0x2D, "Insert", false},     KeyName{0x2E, "Delete", false},
    KeyName{0x60, "Keypad 0", true},    KeyName{0x61, "Keypad 1", true},
    KeyName{0x62, "Keypad 2", true},    KeyName{0x63, "Keypad 3", true},
    KeyName{0x64, "Keypad 4", true},    KeyName{0x65, "Keypad 5", true},
    KeyName{0x66, "Keypad 6", true},    KeyName{0x67, "Keypad 7", true},
    KeyName{0x68, "Keypad 8", true},    KeyName{0x69, "Keypad 9", true},
    KeyName{0x6A, "Keypad *", true},    KeyName{0x6B, "Keypad +", true},
    KeyName{0x6D, "Keypad -", true},    KeyName{0x6E, "Keypad .", true},
    KeyName{0x6F, "Keypad /", true},    KeyName{0x70, "F1", false},
    KeyName{0x71, "F2", false},         KeyName{0x72, "F3", false},
    KeyName{0x73, "F4", false},         KeyName{0x74, "F5", false},
    KeyName{0x75, "F6", false},         KeyName{0x76, "F7", false},
    KeyName{0x77, "F8", false},         KeyName{0x78, "F9", false},
    KeyName{0x79, "F10", false},        KeyName{0x7A, "F11", false},
    KeyName{0x7B, "F12", false},        KeyName{0xBA, ";", true},
    KeyName{0xBB, "=", true},           KeyName{0xBC, ",", true},
    KeyName{0xBD, "-", true},           KeyName{0xBE, ".", true},
    KeyName{0xBF, "/", true},           KeyName{0xC0, "`", true},
    KeyName{0xDB, "[", true},           KeyName{0xDC, "\\", true},
    KeyName{0xDD, "]", true},           KeyName{0xDE, "'", true},
};

bool IsLetterOrDigit(uint8_t code) {
  return (code >= '0' && code <= '9') || (code >= 'A' && code <= 'Z');
}

std::string Lower(std::string_view s) {
  std::string out(s);
  std::transform(out.begin(), out.end(), out.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return out;
}
}  // namespace

std::optional<uint8_t> KeyCodeFromName(const std::string& name) {
  if (name.size() == 1) {
    auto c = static_cast<uint8_t>(std::toupper(static_cast<unsigned char>(name[0])));
    if (IsLetterOrDigit(c)) return c;
  }
  std::string wanted = Lower(name);
  for (const KeyName& k : kKeys) {
    if (Lower(k.name) == wanted) return k.code;
  }
  return std::nullopt;
}

std::string KeyNameFromCode(uint8_t code) {
  if (IsLetterOrDigit(code)) return std::string(1, static_cast<char>(code));
  for (const KeyName& k : kKeys) {
    if (k.code == code) return std::string(k.name);
  }
  return {};
}

bool IsCharacterKey(uint8_t code) {
  if (IsLetterOrDigit(code)) return true;
  return std::any_of(kKeys.begin(), kKeys.end(),
                     [code](const KeyName& k) { return k.code == code && k.character; });
}

std::optional<int> KeyIdFromName(const std::string& name) {
  if (name.size() == 1) {
    auto c = static_cast<uint8_t>(std::toupper(static_cast<unsigned char>(name[0])));
    if (IsLetterOrDigit(c)) return c;
  }
  std::string wanted = Lower(name);
  for (size_t row = 0; row < kKeys.size(); ++row) {
    if (Lower(kKeys[row].name) == wanted) return static_cast<int>(256 + row);
  }
  return std::nullopt;
}

uint8_t KeyCodeOfId(int id) {
  if (id >= 0 && id < 256) return static_cast<uint8_t>(id);
  size_t row = static_cast<size_t>(id - 256);
  return id >= 256 && row < kKeys.size() ? kKeys[row].code : 0;
}

std::string KeyNameOfId(int id) {
  if (id >= 0 && id < 256) return KeyNameFromCode(static_cast<uint8_t>(id));
  size_t row = static_cast<size_t>(id - 256);
  return id >= 256 && row < kKeys.size() ? std::string(kKeys[row].name) : std::string();
}
