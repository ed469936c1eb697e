// Editing the line of one of the editor's questions.
#include "editor/prompt_line.hpp"

#include <algorithm>
#include <utility>

#include "app/key_names.hpp"

namespace {
bool Continues(char byte) {
  return (static_cast<unsigned char>(byte) & 0xC0) == 0x80;
}
}  // namespace

PromptLine::PromptLine(std::string text, std::size_t selectFrom)
    : text_(std::move(text)), caret_(text_.size()), anchor_(std::min(selectFrom, text_.size())) {}

std::size_t PromptLine::Previous(std::size_t at) const {
  if (at == 0) return 0;
  do {
    --at;
  } while (at > 0 && Continues(text_[at]));
  return at;
}

std::size_t PromptLine::Next(std::size_t at) const {
  if (at >= text_.size()) return text_.size();
  do {
    ++at;
  } while (at < text_.size() && Continues(text_[at]));
  return at;
}

bool PromptLine::EraseSelection() {
  const std::size_t start = SelectionStart();
  const std::size_t end = SelectionEnd();
  if (start == end) return false;
  text_.erase(start, end - start);
  MoveTo(start);
  return true;
}

void PromptLine::Type(char byte) {
  EraseSelection();
  text_.insert(caret_, 1, byte);
  MoveTo(caret_ + 1);
}

bool PromptLine::Key(int key) {
  switch (key) {
    case vk::LeftArrow:
      // A selection is left at its start, as in every text field.
      MoveTo(SelectionStart() != SelectionEnd() ? SelectionStart() : Previous(caret_));
      return true;
    case vk::RightArrow:
      MoveTo(SelectionStart() != SelectionEnd() ? SelectionEnd() : Next(caret_));
      return true;
    case vk::Home:
      MoveTo(0);
      return true;
    case vk::End:
      MoveTo(text_.size());
      return true;
    case vk::Backspace:
      if (!EraseSelection() && caret_ > 0) {
        const std::size_t from = Previous(caret_);
        text_.erase(from, caret_ - from);
        MoveTo(from);
      }
      return true;
    case vk::Delete:
      if (!EraseSelection()) text_.erase(caret_, Next(caret_) - caret_);
      return true;
    default:
      return false;
  }
}
