// The corner notice.
#include "ui/notice.hpp"

#include "app/game_state.hpp"
#include "base/backends.hpp"
#include "gfx/draw.hpp"
#include "gfx/renderer.hpp"
#include "ui/outline.hpp"

namespace {
constexpr uint16_t kNoticeSize = 10;
constexpr float kNoticeX = 8;
constexpr float kNoticeY = 600 - 8 - kNoticeSize;
// A dark band keeps the one-coloured font readable on the light parts of any screen.
constexpr LineColour kBandColour{0.0f, 0.0f, 0.0f, 0.6f};

std::string noticeText;
double noticeLeftMs = 0;
}  // namespace

void ShowNotice(const std::string& text, double milliseconds) {
  noticeText = text;
  noticeLeftMs = milliseconds;
}

void AgeNotice(double stepMs) {
  if (noticeText.empty()) return;
  noticeLeftMs -= stepMs;
  if (noticeLeftMs <= 0) noticeText.clear();
}

void DrawNotice() {
  if (noticeText.empty()) return;
  double width = static_cast<double>(noticeText.size()) * kNoticeSize + 8;
  DrawBand(kNoticeX - 4, kNoticeY - 4, width, kNoticeSize + 8, kBandColour);
  backends.renderer->SetState(RenderState::DepthTest, false);
  DrawText(kNoticeSize, noticeText, kNoticeX, kNoticeY, gameState.fontTexture);
  backends.renderer->SetState(RenderState::DepthTest, true);
}

const std::string& NoticeText() {
  return noticeText;
}

void ResetNotice() {
  noticeText.clear();
  noticeLeftMs = 0;
}
