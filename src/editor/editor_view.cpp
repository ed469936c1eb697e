// The editor's view of the level.
#include "editor/editor_view.hpp"

#include <algorithm>

void EditorView::SetLevel(double worldWidth, double worldHeight) {
  worldWidth_ = worldWidth;
  worldHeight_ = worldHeight;
  Clamp();
}

double EditorView::FitScale() const {
  return std::min(kMapWidth / worldWidth_, kMapHeight / worldHeight_);
}

void EditorView::Fit() {
  scale_ = FitScale();
  Clamp();
}

void EditorView::OneToOne(double wx, double wy) {
  scale_ = 1;
  CentreOn(wx, wy);
}

void EditorView::ZoomAt(double factor, double sx, double sy) {
  const double wx = WorldX(sx);
  const double wy = WorldY(sy);
  scale_ = std::clamp(scale_ * factor, FitScale(), std::max(FitScale(), kLargest));
  left_ = wx - sx / scale_;
  top_ = wy - sy / scale_;
  Clamp();
}

void EditorView::Scroll(double dx, double dy) {
  left_ += dx / scale_;
  top_ += dy / scale_;
  Clamp();
}

void EditorView::CentreOn(double wx, double wy) {
  left_ = wx - kMapWidth / 2 / scale_;
  top_ = wy - kMapHeight / 2 / scale_;
  Clamp();
}

void EditorView::Clamp() {
  scale_ = std::max(scale_, FitScale());
  auto clampAxis = [](double& origin, double world, double shown) {
    origin = world <= shown ? (world - shown) / 2 : std::clamp(origin, 0.0, world - shown);
  };
  clampAxis(left_, worldWidth_, kMapWidth / scale_);
  clampAxis(top_, worldHeight_, kMapHeight / scale_);
}
