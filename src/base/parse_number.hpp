// Numbers read from text: the whole text must be the number, with nothing before or after it.
#pragma once

#include <charconv>
#include <optional>
#include <string_view>

// The number `text` spells ("12", "-3", "2.5" for a floating type), or nothing.
template <typename T>
std::optional<T> ParseNumber(std::string_view text) {
  T value{};
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

// The same into `out`, which is left as it was when `text` is no number; true when it is.
template <typename T>
bool ParseNumber(std::string_view text, T& out) {
  std::optional<T> value = ParseNumber<T>(text);
  if (value) out = *value;
  return value.has_value();
}
