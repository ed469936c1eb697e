// The recording renderer: follows the drawing state the GL back end would leave behind and lists
// every drawing of the frame.
#include "gfx/recorder_renderer.hpp"

#include "gfx/frame_sequence.hpp"
#include "gfx/quad_geometry.hpp"

void RecorderRenderer::SetFixedState(const Viewport& v) {
  viewport = v;
  ++fixedStateSets;
  depthTest = true;
  texturing = true;
  alphaTest = true;
  alphaReference = 0.1f;
}

void RecorderRenderer::BeginFrame(double left, double right, double top, double bottom) {
  drawList_.clear();
  ++framesBegun;
  projection[0] = left;
  projection[1] = right;
  projection[2] = top;
  projection[3] = bottom;
}

Texture RecorderRenderer::NextName() {
  ++lastName_;
  // The frame-gap marker is never a texture, as in the GL back end.
  if (lastName_ == frameGap) ++lastName_;
  return lastName_;
}

Texture RecorderRenderer::CreateCompressedTexture(int32_t internalFormat, int32_t width,
                                                  int32_t height, const uint8_t* data,
                                                  int32_t dataSize, const std::string& path) {
  Texture name = NextName();
  RecordedTexture& t = textures_[name];
  t.path = *paths_.insert(path).first;
  t.compressed = true;
  t.internalFormat = internalFormat;
  t.width = width;
  t.height = height;
  t.dataSize = dataSize;
  if (keepTextureData && data) t.data.assign(data, data + dataSize);
  boundTexture = name;
  return name;
}

Texture RecorderRenderer::CreatePixelTexture(const PixelTexture& p, const std::string& path) {
  Texture name = NextName();
  RecordedTexture& t = textures_[name];
  t.path = *paths_.insert(path).first;
  t.width = p.width;
  t.height = p.height;
  t.rgba = p.rgba;
  t.nearestMin = p.nearestMin || p.exact;
  if (keepTextureData && p.pixels) {
    std::size_t bytes = static_cast<std::size_t>(p.width) * p.height * (p.rgba ? 4 : 3);
    t.data.assign(p.pixels, p.pixels + bytes);
  }
  boundTexture = name;
  return name;
}

void RecorderRenderer::DeleteTexture(Texture texture) {
  textures_.erase(texture);
}

void RecorderRenderer::PresentedMidFrame() {
  drawList_.emplace_back().op = "present";
}

std::string RecorderRenderer::PathOf(Texture texture) const {
  auto it = textures_.find(texture);
  return it == textures_.end() ? std::string() : std::string(it->second.path);
}

DrawRecord& RecorderRenderer::Append(std::string_view op, Texture texture, double x, double y,
                                     bool clamped) {
  boundTexture = texture;
  DrawRecord& r = drawList_.emplace_back();
  r.op = op;
  r.texture = texture;
  if (auto it = textures_.find(texture); it != textures_.end()) {
    r.texturePath = it->second.path;
    if (clamped) it->second.clampedToEdge = true;
  }
  r.x = x;
  r.y = y;
  return r;
}

void RecorderRenderer::AlphaTestedBlend() {
  blend = true;
  alphaTest = true;
  alphaReference = 0.0f;
}

void RecorderRenderer::DrawQuad(Texture texture, double x, double y, double depth, double width,
                                double height, double alpha) {
  modelView[0] = x;
  modelView[1] = y;
  modelView[2] = -depth;
  alphaTest = false;
  blend = false;
  DrawRecord& r = Append("quad", texture, x, y, true);
  r.depth = depth;
  r.w = width;
  r.h = height;
  r.alpha = alpha;
}

void RecorderRenderer::DrawText(uint16_t size, const std::string& text, float x, float y,
                                Texture font) {
  modelView[0] = x;
  modelView[1] = y;
  modelView[2] = 0.2;
  if (text.empty()) return;
  AlphaTestedBlend();
  DrawRecord& r = Append("text", font, x, y, false);
  r.text.assign(text, 0, kMaxTextBytes);
  r.size = size;
}

void RecorderRenderer::DrawTintedText(uint16_t size, const std::string& text, float x, float y,
                                      Texture font, const float colour[4]) {
  const std::size_t before = drawList_.size();
  DrawText(size, text, x, y, font);
  if (drawList_.size() > before) drawList_.back().colour.assign(colour, colour + 4);
}

void RecorderRenderer::DrawAnim(Texture texture, double x, double y, double depth, int32_t width,
                                int32_t height, bool mirrored) {
  modelView[0] = x;
  modelView[1] = y;
  modelView[2] = -depth;
  AlphaTestedBlend();
  DrawRecord& r = Append("anim", texture, x, y, true);
  r.depth = depth;
  r.w = width;
  r.h = height;
  r.mirrored = mirrored;
}

void RecorderRenderer::DrawLine(double x1, double y1, double x2, double y2, double depth,
                                const float colour[4]) {
  modelView[0] = 0;
  modelView[1] = 0;
  modelView[2] = -depth;
  DrawRecord& r = drawList_.emplace_back();
  r.op = "line";
  r.x = x1;
  r.y = y1;
  r.depth = depth;
  r.w = x2 - x1;
  r.h = y2 - y1;
  r.alpha = colour[3];
}

void RecorderRenderer::SetState(RenderState state, bool on) {
  switch (state) {
    case RenderState::DepthTest:
      depthTest = on;
      break;
    case RenderState::Blend:
      blend = on;
      break;
    case RenderState::AlphaTest:
      alphaTest = on;
      break;
    case RenderState::Texturing:
      texturing = on;
      break;
  }
}
