// The recording renderer.
#include "platform/recorder_renderer.hpp"

void RecorderRenderer::SetFixedState(const Viewport& v) {
  viewport = v;
  ++fixedStateSets;
}

void RecorderRenderer::BeginFrame(double left, double right, double top, double bottom) {
  drawList_.clear();
  ++framesBegun;
  projection[0] = left;
  projection[1] = right;
  projection[2] = top;
  projection[3] = bottom;
}
