// OpenGL drawing.
#include "platform/gl_renderer.hpp"

#include <SDL.h>
#include <SDL_opengl.h>

#include <GL/glu.h>

#include <algorithm>
#include <array>
#include <cstdio>

#include "app/letterbox.hpp"
#include "gfx/frame_sequence.hpp"
#include "gfx/load.hpp"
#include "gfx/quad_geometry.hpp"

namespace {
PFNGLCOMPRESSEDTEXIMAGE2DARBPROC compressedTexImage2D = nullptr;
PFNGLGETCOMPRESSEDTEXIMAGEARBPROC getCompressedTexImage = nullptr;

template <typename Proc>
Proc Fetch(const char* name, const char* coreName) {
  void* p = SDL_GL_GetProcAddress(name);
  if (!p) p = SDL_GL_GetProcAddress(coreName);
  return reinterpret_cast<Proc>(p);
}

// Nearest-neighbour resampling to the logical size, for windows of another size.
Image ScaleToLogical(const Image& in) {
  if (in.width == kLogicalWidth && in.height == kLogicalHeight) return in;
  Image out{kLogicalWidth, kLogicalHeight,
            std::vector<uint8_t>(kLogicalWidth * kLogicalHeight * 4)};
  for (int y = 0; y < kLogicalHeight; ++y) {
    int sy = y * in.height / kLogicalHeight;
    for (int x = 0; x < kLogicalWidth; ++x) {
      int sx = x * in.width / kLogicalWidth;
      const uint8_t* src = &in.rgba[(static_cast<size_t>(sy) * in.width + sx) * 4];
      std::copy(src, src + 4, &out.rgba[(static_cast<size_t>(y) * kLogicalWidth + x) * 4]);
    }
  }
  return out;
}
}  // namespace

void GlRenderer::SetFixedState(const Viewport& v) {
  viewport_ = v;
  glEnable(GL_LINE_SMOOTH);
  glEnable(GL_DEPTH_TEST);
  glDepthRange(0.0, 0.1);
  glEnable(GL_TEXTURE_2D);
  glEnable(GL_COLOR_MATERIAL);
  glColorMaterial(GL_FRONT, GL_AMBIENT_AND_DIFFUSE);
  glEnable(GL_ALPHA_TEST);
  glAlphaFunc(GL_GREATER, 0.1f);
  glClearColor(0, 0, 0, 0);
  glViewport(v.x, v.y, v.width, v.height);
}

bool GlRenderer::HasTextureCompression() {
  compressedTexImage2D = Fetch<PFNGLCOMPRESSEDTEXIMAGE2DARBPROC>("glCompressedTexImage2DARB",
                                                                 "glCompressedTexImage2D");
  getCompressedTexImage = Fetch<PFNGLGETCOMPRESSEDTEXIMAGEARBPROC>("glGetCompressedTexImageARB",
                                                                   "glGetCompressedTexImage");
  return compressedTexImage2D != nullptr && getCompressedTexImage != nullptr;
}

void GlRenderer::BeginFrame(double left, double right, double top, double bottom) {
  // The window may have been resized (or switched to full screen) since the last frame.
  Viewport v = platform_.LogicalViewport();
  if (v.x != viewport_.x || v.y != viewport_.y || v.width != viewport_.width ||
      v.height != viewport_.height) {
    viewport_ = v;
    glViewport(v.x, v.y, v.width, v.height);
  }
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(left, right, bottom, top, 0.0, -10.0);
  viewLeft_ = std::min(left, right);
  viewRight_ = std::max(left, right);
  viewTop_ = std::min(top, bottom);
  viewBottom_ = std::max(top, bottom);
}

bool GlRenderer::OutOfView(double x, double y, const QuadCorners& corners) const {
  double minX = corners[0].x, maxX = corners[0].x, minY = corners[0].y, maxY = corners[0].y;
  for (const QuadCorner& c : corners) {
    minX = std::min(minX, c.x);
    maxX = std::max(maxX, c.x);
    minY = std::min(minY, c.y);
    maxY = std::max(maxY, c.y);
  }
  // A quad that only touches the view's edge covers no pixel of it either.
  return x + maxX <= viewLeft_ || x + minX >= viewRight_ || y + maxY <= viewTop_ ||
         y + minY >= viewBottom_;
}

Image GlRenderer::ReadViewport() const {
  Image raw{viewport_.width, viewport_.height,
            std::vector<uint8_t>(static_cast<size_t>(viewport_.width) * viewport_.height * 4)};
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadBuffer(GL_BACK);
  glReadPixels(viewport_.x, viewport_.y, viewport_.width, viewport_.height, GL_RGBA,
               GL_UNSIGNED_BYTE, raw.rgba.data());
  // GL reads bottom row first; pictures are stored top row first.
  size_t rowBytes = static_cast<size_t>(raw.width) * 4;
  std::vector<uint8_t> row(rowBytes);
  for (int y = 0; y < raw.height / 2; ++y) {
    uint8_t* a = &raw.rgba[y * rowBytes];
    uint8_t* b = &raw.rgba[(raw.height - 1 - y) * rowBytes];
    std::swap_ranges(a, a + rowBytes, b);
  }
  // The screen has no transparency; keep the saved picture opaque.
  for (size_t i = 3; i < raw.rgba.size(); i += 4) raw.rgba[i] = 255;
  return ScaleToLogical(raw);
}

void GlRenderer::DeleteTexture(Texture texture) {
  if (texture == 0 || texture == frameGap) return;
  residency_.Forget(texture);
  GLuint name = texture;
  glDeleteTextures(1, &name);
}

void GlRenderer::SetAside(Texture texture) {
  if (residency_.SetAside(texture)) GiveBack(texture);
}

void GlRenderer::GiveBack(Texture texture) {
  // The texture is made anew under the same name, with its settings: an image of no size would
  // leave the driver's storage in place. The texture bound before stays bound (a line drawn with
  // texturing on samples it).
  constexpr std::array<GLenum, 4> kSettings = {GL_TEXTURE_MIN_FILTER, GL_TEXTURE_MAG_FILTER,
                                               GL_TEXTURE_WRAP_S, GL_TEXTURE_WRAP_T};
  std::array<GLint, kSettings.size()> values{};
  GLint bound = 0;
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
  GLuint name = texture;
  glBindTexture(GL_TEXTURE_2D, name);
  for (std::size_t i = 0; i < kSettings.size(); ++i) {
    glGetTexParameteriv(GL_TEXTURE_2D, kSettings[i], &values[i]);
  }
  glDeleteTextures(1, &name);
  glBindTexture(GL_TEXTURE_2D, name);
  for (std::size_t i = 0; i < kSettings.size(); ++i) {
    glTexParameteri(GL_TEXTURE_2D, kSettings[i], values[i]);
  }
  glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(bound));
}

void GlRenderer::FrameDone() {
  for (Texture texture : residency_.EndFrame()) GiveBack(texture);
  if (!captureRequested_) return;
  captureRequested_ = false;
  capture_ = ReadViewport();
}

namespace {
GLuint NewTextureName() {
  GLuint name = 0;
  glGenTextures(1, &name);
  // Frame tables use 5555 to mark a missing frame; a texture of that name would be skipped.
  if (name == frameGap) glGenTextures(1, &name);
  return name;
}

void EmitQuad(const QuadCorners& corners) {
  glBegin(GL_QUADS);
  glNormal3f(0, 0, 1);
  for (const QuadCorner& c : corners) {
    glTexCoord2f(c.s, c.t);
    glVertex2d(c.x, c.y);
  }
  glEnd();
}

void BindClamped(Texture texture) {
  glBindTexture(GL_TEXTURE_2D, texture);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
}

void PlaceModelView(double x, double y, double z) {
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glTranslated(x, y, z);
}

// Text and animations: blended and alpha-tested, dropping only fully transparent texels.
void AlphaTestedBlend() {
  glEnable(GL_BLEND);
  glEnable(GL_ALPHA_TEST);
  glAlphaFunc(GL_GREATER, 0.0f);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glColor4f(1, 1, 1, 1);
}
}  // namespace

Texture GlRenderer::CreateCompressedTexture(int32_t internalFormat, int32_t width, int32_t height,
                                            const uint8_t* data, int32_t dataSize,
                                            const std::string& path) {
  GLuint name = NewTextureName();
  glBindTexture(GL_TEXTURE_2D, name);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  if (!compressedTexImage2D) HasTextureCompression();
  const PictureShape shape{internalFormat, width, height, dataSize};
  if (source_ && !path.empty() && data == nullptr) {
    // Read when first drawn: most pictures are out of view most of the time. Data handed over
    // (a picture made in memory) is uploaded now and kept, as it may have no file to come from.
    residency_.Track(name, path, shape);
  } else {
    Upload(name, shape, data);
  }
  return name;
}

void GlRenderer::Upload(Texture texture, const PictureShape& shape, const uint8_t* data) {
  glBindTexture(GL_TEXTURE_2D, texture);
  if (shape.pixels) {
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    gluBuild2DMipmaps(GL_TEXTURE_2D, GL_RGBA, shape.width, shape.height, GL_RGBA, GL_UNSIGNED_BYTE,
                      data);
    return;
  }
  // A format the implementation refuses leaves an empty texture, which draws untextured.
  if (!compressedTexImage2D) return;
  compressedTexImage2D(GL_TEXTURE_2D, 0, static_cast<GLenum>(shape.format), shape.width,
                       shape.height, 0, shape.dataBytes, data);
}

bool GlRenderer::Ready(Texture texture) {
  switch (residency_.Touch(texture)) {
    case TextureResidency::Use::Draw:
      return true;
    case TextureResidency::Use::Skip:
      return false;
    case TextureResidency::Use::Upload:
      break;
  }
  const std::string& path = residency_.PathOf(texture);
  const PictureShape& shape = residency_.ShapeOf(texture);
  std::optional<std::vector<uint8_t>> data = source_(path, shape);
  if (!data) {
    // Changed or removed while the game ran: the picture is left out rather than drawn blank.
    std::fprintf(stderr, "morva: %s could not be read again; that picture is left out\n",
                 path.c_str());
    residency_.Failed(texture);
    return false;
  }
  Upload(texture, shape, data->data());
  residency_.Uploaded(texture);
  return true;
}

Texture GlRenderer::CreatePixelTexture(const PixelTexture& p, const std::string& path) {
  GLuint name = NewTextureName();
  glBindTexture(GL_TEXTURE_2D, name);
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER,
                  p.nearestMin || p.exact ? GL_NEAREST : GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, p.exact ? GL_NEAREST : GL_LINEAR);
  if (p.rgba && !p.exact) {
    const PictureShape shape{GL_RGBA, p.width, p.height, p.width * p.height * 4, true};
    if (source_ && p.fromFile && !path.empty()) {
      // Read again when first drawn, like the compressed pictures; a picture made in memory has
      // no file to be read from and is uploaded at once and kept.
      residency_.Track(name, path, shape);
    } else {
      Upload(name, shape, p.pixels);
    }
    return name;
  }
  // RGB rows of an odd width are not 4-byte aligned; the default alignment would misread them.
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  if (p.exact) {
    const GLenum format = p.rgba ? GL_RGBA : GL_RGB;
    glTexImage2D(GL_TEXTURE_2D, 0, static_cast<GLint>(format), p.width, p.height, 0, format,
                 GL_UNSIGNED_BYTE, p.pixels);
  } else {
    gluBuild2DMipmaps(GL_TEXTURE_2D, 3, p.width, p.height, GL_RGB, GL_UNSIGNED_BYTE, p.pixels);
  }
  return name;
}

void GlRenderer::DrawQuad(Texture texture, double x, double y, double depth, double width,
                          double height, double alpha) {
  const QuadCorners corners = QuadCornersFor(width, height);
  if (OutOfView(x, y, corners) || !Ready(texture)) return;
  PlaceModelView(x, y, -depth);
  glEnable(GL_BLEND);
  glDisable(GL_ALPHA_TEST);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glColor4d(1, 1, 1, alpha);
  BindClamped(texture);
  EmitQuad(corners);
  glDisable(GL_BLEND);
}

void GlRenderer::DrawText(uint16_t size, const std::string& text, float x, float y, Texture font) {
  constexpr float kWhite[4] = {1, 1, 1, 1};
  DrawTintedText(size, text, x, y, font, kWhite);
}

void GlRenderer::DrawTintedText(uint16_t size, const std::string& text, float x, float y,
                                Texture font, const float colour[4]) {
  if (!Ready(font)) return;
  PlaceModelView(x, y, 0.2);
  for (std::size_t i = 0; i < text.size() && i < kMaxTextBytes; ++i) {
    AlphaTestedBlend();
    glColor4fv(colour);
    glBindTexture(GL_TEXTURE_2D, font);
    EmitQuad(GlyphCorners(static_cast<uint8_t>(text[i]), static_cast<int>(i), size));
  }
  glColor4f(1, 1, 1, 1);
}

void GlRenderer::DrawAnim(Texture texture, double x, double y, double depth, int32_t width,
                          int32_t height, bool mirrored) {
  const QuadCorners corners = AnimCorners(width, height, mirrored);
  if (OutOfView(x, y, corners) || !Ready(texture)) return;
  PlaceModelView(x, y, -depth);
  AlphaTestedBlend();
  BindClamped(texture);
  EmitQuad(corners);
}

void GlRenderer::DrawLine(double x1, double y1, double x2, double y2, double depth,
                          const float colour[4]) {
  PlaceModelView(0, 0, -depth);
  glColor4f(colour[0], colour[1], colour[2], colour[3]);
  if (y1 == y2 && lineWidth_ > 1 && lineScale_ != 1) {
    // In a scaled picture a wide level line is the rectangle it covers: bands are laid in such
    // strips, and wide lines rounded to whole pixels would leave gaps between them, where filled
    // rectangles meet edge to edge. At the picture's own size the lines are exact as they are.
    const double half = lineWidth_ / 2;
    glBegin(GL_QUADS);
    glVertex2d(x1, y1 - half);
    glVertex2d(x2, y1 - half);
    glVertex2d(x2, y1 + half);
    glVertex2d(x1, y1 + half);
    glEnd();
    return;
  }
  glBegin(GL_LINES);
  glVertex2d(x1, y1);
  glVertex2d(x2, y2);
  glEnd();
}

void GlRenderer::SetState(RenderState state, bool on) {
  GLenum cap = GL_DEPTH_TEST;
  switch (state) {
    case RenderState::DepthTest:
      cap = GL_DEPTH_TEST;
      break;
    case RenderState::Blend:
      cap = GL_BLEND;
      glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
      break;
    case RenderState::AlphaTest:
      cap = GL_ALPHA_TEST;
      break;
    case RenderState::Texturing:
      cap = GL_TEXTURE_2D;
      break;
  }
  if (on) {
    glEnable(cap);
  } else {
    glDisable(cap);
  }
}

// A width in the picture's pixels: a scaled picture (full screen, a resized window) has wider
// lines.
void GlRenderer::SetLineWidth(float pixels) {
  lineWidth_ = pixels;
  const double viewHeight = viewBottom_ - viewTop_;
  lineScale_ = viewHeight > 0 && viewport_.height > 0 ? viewport_.height / viewHeight : 1;
  glLineWidth(static_cast<float>(pixels * lineScale_));
}

PictureSource ContentPictures() {
  return [](const std::string& path, const PictureShape& shape) {
    return shape.pixels ? cLoad::ReadPixelsAgain(path, shape.width, shape.height)
                        : cLoad::ReadDXTAgain(path, shape.format, shape.width, shape.height,
                                              shape.dataBytes);
  };
}
