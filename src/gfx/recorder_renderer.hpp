// The renderer of headless runs: draws nothing, keeps the frame's draw list and hands out texture
// names, so every loader and screen runs without a window.
#pragma once

#include <string_view>
#include <unordered_map>
#include <unordered_set>

#include "gfx/renderer.hpp"

// What the recorder knows of a texture it handed out.
struct RecordedTexture {
  std::string_view path;  // in the recorder's one copy of each path
  bool compressed = false;
  int32_t internalFormat = 0;  // compressed textures
  int width = 0;
  int height = 0;
  bool rgba = true;            // pixel textures: RGBA, else RGB
  bool nearestMin = false;     // pixel textures
  int32_t dataSize = 0;        // compressed textures
  std::vector<uint8_t> data;   // the bytes handed over, when keepTextureData is set
  bool clampedToEdge = false;  // a drawing set its wrap to clamp-to-edge
};

class RecorderRenderer : public Renderer {
 public:
  RecorderRenderer() = default;
  // Its textures and draw records point into its own copy of the paths.
  RecorderRenderer(const RecorderRenderer&) = delete;
  RecorderRenderer& operator=(const RecorderRenderer&) = delete;
  void SetFixedState(const Viewport& viewport) override;
  bool HasTextureCompression() override { return textureCompression; }
  void BeginFrame(double left, double right, double top, double bottom) override;
  void RequestCapture() override {}
  const Image& LastCapture() const override { return noPicture_; }
  void FrameDone() override {}
  const std::vector<DrawRecord>* DrawList() const override { return &drawList_; }

  // Nothing is drawn: the data is wanted only by a test that keeps it.
  bool NeedsCompressedData() const override { return keepTextureData; }
  Texture CreateCompressedTexture(int32_t internalFormat, int32_t width, int32_t height,
                                  const uint8_t* data, int32_t dataSize,
                                  const std::string& path) override;
  Texture CreatePixelTexture(const PixelTexture& pixels, const std::string& path) override;
  void DeleteTexture(Texture texture) override;
  // Recorded as a "present" entry of the draw list.
  void PresentedMidFrame() override;
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
  void SetLineWidth(float pixels) override { lineWidth = pixels; }

  // The path a texture name was loaded from; empty for names no loader made.
  std::string PathOf(Texture texture) const;
  const std::unordered_map<Texture, RecordedTexture>& Textures() const { return textures_; }

  // What a test sets up.
  bool textureCompression = true;
  // Keeps a copy of every texture's bytes (tests); off, so loading stays as cheap as reading.
  bool keepTextureData = false;

  // What the program did.
  int fixedStateSets = 0;
  Viewport viewport;
  int framesBegun = 0;
  double projection[4] = {0, 0, 0, 0};  // left, right, top, bottom
  // The drawing state as OpenGL would hold it now.
  bool depthTest = false;
  bool blend = false;
  bool alphaTest = false;
  float alphaReference = 0;
  bool texturing = false;
  float lineWidth = 1;
  double modelView[3] = {0, 0, 0};  // the translation loaded last
  Texture boundTexture = 0;

 protected:
  std::vector<DrawRecord> drawList_;

 private:
  Texture NextName();
  // Appends a textured operation's record with the fields every one of them has. A drawing that
  // binds its texture clamped to the edge marks the texture so.
  DrawRecord& Append(std::string_view op, Texture texture, double x, double y, bool clamped);
  void AlphaTestedBlend();

  Image noPicture_;
  Texture lastName_ = 0;
  std::unordered_map<Texture, RecordedTexture> textures_;
  // Every path a texture was made from, once: draw records point into it, so the set only grows
  // (one entry per file the run loaded).
  std::unordered_set<std::string> paths_;
};
