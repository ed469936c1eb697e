// The one table between the game's virtual-key codes and the key names of the window system
// (SDL's names), which the input scripts use too.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace vk {
constexpr uint8_t Backspace = 0x08;
constexpr uint8_t Return = 0x0D;
constexpr uint8_t Shift = 0x10;
constexpr uint8_t Control = 0x11;
constexpr uint8_t Escape = 0x1B;
constexpr uint8_t Space = 0x20;
constexpr uint8_t End = 0x23;
constexpr uint8_t Home = 0x24;
constexpr uint8_t LeftArrow = 0x25;
constexpr uint8_t UpArrow = 0x26;
constexpr uint8_t RightArrow = 0x27;
constexpr uint8_t DownArrow = 0x28;
constexpr uint8_t Delete = 0x2E;
constexpr uint8_t Numpad2 = 0x62;
constexpr uint8_t Numpad4 = 0x64;
constexpr uint8_t Numpad6 = 0x66;
constexpr uint8_t Numpad8 = 0x68;
constexpr uint8_t F1 = 0x70;
constexpr uint8_t F2 = 0x71;
constexpr uint8_t F5 = 0x74;
constexpr uint8_t F12 = 0x7B;
}  // namespace vk

// The virtual-key code of a key name ("Left Ctrl", "Z", "Escape", "Keypad 8"); case-insensitive.
std::optional<uint8_t> KeyCodeFromName(const std::string& name);
// The first name of a virtual-key code ("" when it has none).
std::string KeyNameFromCode(uint8_t code);
// Keys that share a code (left and right Ctrl, Return and Keypad Enter) are told apart by a key
// id: the code itself for letters and digits, 256 + the table row for the rest. Ids are below
// kKeyIdCount.
constexpr int kKeyIdCount = 512;
std::optional<int> KeyIdFromName(const std::string& name);
uint8_t KeyCodeOfId(int id);
std::string KeyNameOfId(int id);

// Whether the key produces a character (letters, digits, punctuation, Space, Return, Escape,
// Backspace, Tab), and so raises the window's key-press event.
bool IsCharacterKey(uint8_t code);
