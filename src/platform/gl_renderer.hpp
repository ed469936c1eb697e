// The OpenGL 2.1 (compatibility) renderer: immediate mode, one quad per call, the fixed state of
// the game's original drawing code.
#pragma once

#include "app/platform.hpp"
#include "gfx/quad_geometry.hpp"
#include "gfx/renderer.hpp"
#include "platform/texture_residency.hpp"

class GlRenderer : public Renderer {
 public:
  explicit GlRenderer(Platform& platform) : platform_(platform) {}

  // From here on, pictures loaded from files (compressed, or the mipmapped pixels of an image
  // file) are read through `source` when first drawn and dropped from the driver while they are
  // not drawn (see TextureResidency).
  void SetPictureSource(PictureSource source) { source_ = std::move(source); }
  // Bytes of picture data (as read from the files) the driver holds of those pictures now.
  std::size_t UploadedPictureBytes() const { return residency_.UploadedBytes(); }

  bool NeedsCompressedData() const override { return !source_; }
  void SetFixedState(const Viewport& viewport) override;
  bool HasTextureCompression() override;
  void BeginFrame(double left, double right, double top, double bottom) override;
  void RequestCapture() override { captureRequested_ = true; }
  const Image& LastCapture() const override { return capture_; }
  void FrameDone() override;
  void DeleteTexture(Texture texture) override;
  void SetAside(Texture texture) override;

  Texture CreateCompressedTexture(int32_t internalFormat, int32_t width, int32_t height,
                                  const uint8_t* data, int32_t dataSize,
                                  const std::string& path) override;
  Texture CreatePixelTexture(const PixelTexture& pixels, const std::string& path) override;
  void DrawQuad(Texture texture, double x, double y, double depth, double width, double height,
                double alpha) override;
  void DrawText(uint16_t size, const std::string& text, float x, float y, Texture font) override;
  void DrawTintedText(uint16_t size, const std::string& text, float x, float y, Texture font,
                      const float colour[4]) override;
  void DrawAnim(Texture texture, double x, double y, double depth, int32_t width, int32_t height,
                bool mirrored) override;
  void DrawLine(double x1, double y1, double x2, double y2, double depth,
                const float colour[4]) override;
  void SetState(RenderState state, bool on) override;
  void SetLineWidth(float pixels) override;

 private:
  Image ReadViewport() const;
  // Whether a quad translated to (x, y) falls wholly outside the frame's view.
  bool OutOfView(double x, double y, const QuadCorners& corners) const;
  // Makes sure a texture's picture is in the driver before it is drawn; false when it cannot be.
  bool Ready(Texture texture);
  void Upload(Texture texture, const PictureShape& shape, const uint8_t* data);
  // Gives the driver's copy of a tracked picture back; the texture keeps its name and settings.
  void GiveBack(Texture texture);

  Platform& platform_;
  Viewport viewport_;
  bool captureRequested_ = false;
  Image capture_;
  double viewLeft_ = 0, viewRight_ = 0, viewTop_ = 0, viewBottom_ = 0;
  float lineWidth_ = 1;   // in the picture's pixels
  double lineScale_ = 1;  // window pixels per picture pixel when the width was set
  PictureSource source_;
  TextureResidency residency_;
};

// Pictures read again from the game's content, as they were loaded.
PictureSource ContentPictures();
