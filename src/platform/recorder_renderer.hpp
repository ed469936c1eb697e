// The renderer of headless runs: draws nothing, keeps the frame's draw list and hands out texture
// names, so every loader and screen runs without a window.
#pragma once

#include "platform/renderer.hpp"

class RecorderRenderer : public Renderer {
 public:
  void SetFixedState(const Viewport& viewport) override;
  bool HasTextureCompression() override { return textureCompression; }
  void BeginFrame(double left, double right, double top, double bottom) override;
  void RequestCapture() override {}
  const Image& LastCapture() const override { return noPicture_; }
  void FrameDone() override {}
  const std::vector<DrawRecord>* DrawList() const override { return &drawList_; }

  // What a test sets up.
  bool textureCompression = true;

  // What the program did.
  int fixedStateSets = 0;
  Viewport viewport;
  int framesBegun = 0;
  double projection[4] = {0, 0, 0, 0};  // left, right, top, bottom

 protected:
  std::vector<DrawRecord> drawList_;

 private:
  Image noPicture_;
};
