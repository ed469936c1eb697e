// The drawing boundary: the OpenGL back end (gl_renderer.cpp) and the recorder that keeps each
// frame's draw list for headless runs (recorder_renderer.cpp).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/types.hpp"

// One recorded drawing operation. Fields that do not apply to an operation stay at their
// defaults and are left out of the state dump.
struct DrawRecord {
  std::string_view op;  // "quad", "text", "anim", "line", "present"
  uint32_t texture = 0;
  // The path the texture was loaded from, in the recorder's one copy of it (valid while the
  // recorder lives).
  std::string_view texturePath;
  double x = 0;
  double y = 0;
  double depth = 0;
  double w = 0;
  double h = 0;
  double alpha = 1;
  bool mirrored = false;
  std::string text;  // raw bytes of the game's code page
  int size = 0;
  std::vector<float> colour;  // a tinted text's red, green, blue, opacity; empty otherwise
};

// Pixels for a texture built with mipmaps: rows from the bottom of the picture upwards, tightly
// packed, RGBA or RGB.
struct PixelTexture {
  int width = 0;
  int height = 0;
  bool rgba = true;
  const uint8_t* pixels = nullptr;
  // Minification filter; magnification is linear.
  bool nearestMin = false;
  // Drawn texel for texel instead: one level, nearest filtering both ways (the level editor's
  // grid, whose cells must stay sharp at every zoom).
  bool exact = false;
  // The pixels were decoded from the file the path names, so a renderer that reads pictures
  // again when it draws them may let go of them meanwhile. A picture made in memory (the
  // editor's swatches) has no file behind it, whatever it is named: it is kept as given.
  bool fromFile = false;
};

// Drawing states that the drawing code of the screens and effects switches itself.
enum class RenderState { DepthTest, Blend, AlphaTest, Texturing };

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

  // Whether CreateCompressedTexture needs the picture's data now; without it the loaders hand
  // over the header's facts and no data (the renderer reads the file when it draws the picture).
  virtual bool NeedsCompressedData() const { return true; }
  // Texture creation. `path` is the file the texture came from, or a name for a picture made in
  // memory (empty when none); the result is a new texture name, never 0 and never the frame-gap
  // marker 5555.
  // A compressed level-0 image, taken as it is: wrap clamp, linear filters. Data handed over is
  // kept; without data (see NeedsCompressedData) the picture is read from `path` when drawn.
  virtual Texture CreateCompressedTexture(int32_t internalFormat, int32_t width, int32_t height,
                                          const uint8_t* data, int32_t dataSize,
                                          const std::string& path) = 0;
  // Mipmaps built from pixels (scaled to power-of-two sides first), texture environment modulate.
  virtual Texture CreatePixelTexture(const PixelTexture& pixels, const std::string& path) = 0;
  // Frees a texture; the name is no longer valid. Names 0 and the frame gap are ignored.
  virtual void DeleteTexture(Texture texture) = 0;
  // The picture will not be drawn for a while: a renderer that reads pictures from their files
  // when it draws them may give its copy back now. Drawn again, the picture is read again.
  virtual void SetAside(Texture /*texture*/) {}
  // The frame so far is being shown in the middle of a frame (a loading picture); drawing goes
  // on afterwards.
  virtual void PresentedMidFrame() {}

  // One textured quad with its top-left corner at (x, y), at z = -depth, blended with `alpha`;
  // leaves blending and the alpha test off.
  virtual void DrawQuad(Texture texture, double x, double y, double depth, double width,
                        double height, double alpha) = 0;
  // One square glyph of `size` per byte from the 16 x 16 font grid, from (x, y) at z = -0.2;
  // leaves blending and the alpha test (reference 0) on.
  virtual void DrawText(uint16_t size, const std::string& text, float x, float y, Texture font) = 0;
  // The same in `colour` (red, green, blue, opacity) instead of white.
  virtual void DrawTintedText(uint16_t size, const std::string& text, float x, float y,
                              Texture font, const float colour[4]) = 0;
  // An animation picture centred on (x, y) at z = -depth, flipped left-right when `mirrored`;
  // leaves blending and the alpha test (reference 0) on.
  virtual void DrawAnim(Texture texture, double x, double y, double depth, int32_t width,
                        int32_t height, bool mirrored) = 0;
  // One line at z = -depth in the colour red, green, blue, opacity (with whatever texturing and
  // blending are switched on).
  virtual void DrawLine(double x1, double y1, double x2, double y2, double depth,
                        const float colour[4]) = 0;
  virtual void SetState(RenderState state, bool on) = 0;
  virtual void SetLineWidth(float pixels) = 0;
};
