// The line typed in answer to one of the editor's questions: a caret that the arrows, Home and
// End move, and a selection (what the editor filled in for the player) that the first character
// typed replaces.
#pragma once

#include <cstddef>
#include <string>

class PromptLine {
 public:
  PromptLine() = default;
  // `text` with the part from byte `selectFrom` to its end selected, the caret at the end.
  PromptLine(std::string text, std::size_t selectFrom);

  const std::string& Text() const { return text_; }
  // Byte offsets into Text(): the caret, and the selection's ends (equal when none).
  std::size_t Caret() const { return caret_; }
  std::size_t SelectionStart() const { return anchor_ < caret_ ? anchor_ : caret_; }
  std::size_t SelectionEnd() const { return anchor_ < caret_ ? caret_ : anchor_; }

  // One byte of a typed character: a character of several bytes arrives byte by byte.
  void Type(char byte);
  // Left, Right, Home, End, Backspace or Delete; false for any other key.
  bool Key(int key);

 private:
  bool EraseSelection();
  // The byte offset of the character before or after `at` (whole UTF-8 characters).
  std::size_t Previous(std::size_t at) const;
  std::size_t Next(std::size_t at) const;
  void MoveTo(std::size_t at) { caret_ = anchor_ = at; }

  std::string text_;
  std::size_t caret_ = 0;
  std::size_t anchor_ = 0;  // the selection's other end
};
