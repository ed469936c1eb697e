// The OpenGL 2.1 (compatibility) renderer.
#pragma once

#include "platform/renderer.hpp"

class GlRenderer : public Renderer {
 public:
  explicit GlRenderer(Platform& platform) : platform_(platform) {}

  void SetFixedState(const Viewport& viewport) override;
  bool HasTextureCompression() override;
  void BeginFrame(double left, double right, double top, double bottom) override;
  void RequestCapture() override { captureRequested_ = true; }
  const Image& LastCapture() const override { return capture_; }
  void FrameDone() override;

 private:
  Image ReadViewport() const;

  Platform& platform_;
  Viewport viewport_;
  bool captureRequested_ = false;
  Image capture_;
};
