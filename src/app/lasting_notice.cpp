// The lasting notice.
#include "app/lasting_notice.hpp"

#include <sstream>

#include "base/backends.hpp"
#include "gfx/draw.hpp"
#include "gfx/renderer.hpp"
#include "ui/outline.hpp"

namespace {
// The lasting notice: a box over the lower part of the menu, below its buttons as far as the
// lines allow.
constexpr uint16_t kLastingSize = 10;
constexpr float kLastingLineHeight = 14;
constexpr float kLastingX = 30;
constexpr float kLastingBottom = 580;
constexpr auto kLastingColumns = static_cast<std::size_t>((800 - 2 * kLastingX) / kLastingSize);
constexpr LineColour kLastingBand{0.0f, 0.0f, 0.0f, 0.8f};
const std::string kDismissLine = "Press any key to go on.";
// Lines beyond these would leave the picture: the rest is counted instead.
constexpr std::size_t kMostLines = 36;

std::vector<std::string> lastingLines;
bool lastingSeen = false;  // drawn in the last frame

// Folds a line at spaces (or anywhere, for a word too long) into lines of at most `columns`.
void FoldInto(std::vector<std::string>& out, const std::string& line, std::size_t columns) {
  std::string rest = line;
  while (rest.size() > columns) {
    std::size_t cut = rest.rfind(' ', columns);
    if (cut == std::string::npos || cut == 0) cut = columns;
    out.push_back(rest.substr(0, cut));
    rest = rest.substr(cut + (rest[cut] == ' ' ? 1 : 0));
  }
  out.push_back(rest);
}

bool IsPress(const Event& e) {
  switch (e.type) {
    case EventType::KeyDown:
    case EventType::Text:
    case EventType::MouseDown:
      return true;
    case EventType::JoyButton:
    case EventType::PadButton:
    case EventType::PadPress:
      return e.down;
    default:
      return false;
  }
}
}  // namespace

void PostLastingNotice(const std::string& heading, const std::vector<std::string>& lines) {
  lastingLines.clear();
  FoldInto(lastingLines, heading, kLastingColumns);
  for (const std::string& line : lines) FoldInto(lastingLines, "  " + line, kLastingColumns);
  if (lastingLines.size() > kMostLines) {
    const std::size_t more = lastingLines.size() - (kMostLines - 1);
    lastingLines.resize(kMostLines - 1);
    lastingLines.push_back("  and " + std::to_string(more) + " more lines");
  }
  lastingLines.push_back("");
  lastingLines.push_back(kDismissLine);
  lastingSeen = false;
}

void PostLastingNotice(const std::string& heading, const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  PostLastingNotice(heading, lines);
}

void DrawLastingNotice(bool shown, Texture font) {
  lastingSeen = shown && !lastingLines.empty();
  if (!lastingSeen) return;
  const float height = static_cast<float>(lastingLines.size()) * kLastingLineHeight;
  const float top = kLastingBottom - height;
  DrawBand(kLastingX - 10, top - 10, 800 - 2 * (kLastingX - 10), height + 16, kLastingBand);
  backends.renderer->SetState(RenderState::DepthTest, false);
  for (std::size_t k = 0; k < lastingLines.size(); ++k) {
    DrawText(kLastingSize, lastingLines[k], kLastingX,
             top + static_cast<float>(k) * kLastingLineHeight, font);
  }
  backends.renderer->SetState(RenderState::DepthTest, true);
}

bool TakenByLastingNotice(const Event& event) {
  if (!lastingSeen || !IsPress(event)) return false;
  lastingLines.clear();
  lastingSeen = false;
  return true;
}

const std::vector<std::string>& LastingNoticeLines() {
  return lastingLines;
}

void ResetLastingNotice() {
  lastingLines.clear();
  lastingSeen = false;
}
