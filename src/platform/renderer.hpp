// The drawing boundary: the OpenGL back end (gl_renderer.cpp) and the recorder that keeps each
// frame's draw list for headless runs (recorder_renderer.cpp).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/platform.hpp"

// One recorded drawing operation. Fields that do not apply to an operation stay at their
// defaults and are left out of the state dump.
struct DrawRecord {
  std::string op;  // "quad", "text", "anim", "line"
  uint32_t texture = 0;
  std::string texturePath;
  double x = 0;
  double y = 0;
  double depth = 0;
  double w = 0;
  double h = 0;
  double alpha = 1;
  bool mirrored = false;
  std::string text;  // raw bytes of the game's code page
  int size = 0;
};

// A screen capture: tightly packed RGBA rows, top row first.
struct Image {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> rgba;
};

class Renderer {
 public:
  virtual ~Renderer() = default;

  // The fixed state every drawing relies on, set once per context, with the viewport given.
  virtual void SetFixedState(const Viewport& viewport) = 0;
  // Whether the compressed-texture upload is available in the current context.
  virtual bool HasTextureCompression() = 0;
  // Clears colour and depth and loads the orthographic projection with these edges.
  virtual void BeginFrame(double left, double right, double top, double bottom) = 0;
  // Asks for the next presented frame to be kept; LastCapture() then returns it as shown in the
  // logical 800 x 600 space (an empty image where there is no picture, as in headless runs).
  virtual void RequestCapture() = 0;
  virtual const Image& LastCapture() const = 0;
  // Called just before the frame is presented.
  virtual void FrameDone() = 0;
  // The draw list of the current frame (recorder only; empty otherwise).
  virtual const std::vector<DrawRecord>* DrawList() const { return nullptr; }
};
