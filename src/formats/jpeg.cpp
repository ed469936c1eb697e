// libjpeg in memory: errors leave through longjmp, so nothing with a destructor may live between
// the setjmp and a libjpeg call.
#include "formats/jpeg.hpp"

// jpeglib.h needs size_t and FILE declared first.
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <new>

#include <jpeglib.h>
// The message codes, for the early end.
#include <jerror.h>

namespace {
struct ErrorManager {
  jpeg_error_mgr base;
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
  bool endedEarly;
  char warning[JMSG_LENGTH_MAX];
};

void OnError(j_common_ptr info) {
  auto* errors = reinterpret_cast<ErrorManager*>(info->err);
  errors->base.format_message(info, errors->message);
  std::longjmp(errors->jump, 1);
}

// Warnings (a stream that ends early, for one) are not failures; the early end and the first
// other warning are kept, so the file can be named.
void OnMessage(j_common_ptr info, int level) {
  auto* errors = reinterpret_cast<ErrorManager*>(info->err);
  if (level >= 0) return;
  // The file ended, or its picture data did (a marker came first): the rest is made up.
  if (errors->base.msg_code == JWRN_JPEG_EOF || errors->base.msg_code == JWRN_HIT_MARKER) {
    errors->endedEarly = true;
  } else if (errors->warning[0] == '\0') {
    errors->base.format_message(info, errors->warning);
  }
}

// Runs the decoder; returns false with `error` filled. `image` is sized before rows are read.
bool Decode(std::span<const uint8_t> bytes, int64_t maxPixels, RgbaImage& image, JpegDecode& out,
            std::vector<uint8_t>& row) {
  std::string& error = out.error;
  jpeg_decompress_struct info;
  ErrorManager errors;
  errors.endedEarly = false;
  errors.warning[0] = '\0';
  info.err = jpeg_std_error(&errors.base);
  errors.base.error_exit = OnError;
  errors.base.emit_message = OnMessage;
  if (setjmp(errors.jump)) {
    jpeg_destroy_decompress(&info);
    error = errors.message;
    return false;
  }
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, bytes.data(), static_cast<unsigned long>(bytes.size()));
  jpeg_read_header(&info, TRUE);
  // libjpeg turns every kind of JPEG into RGB except the print ones (CMYK, YCCK), which come
  // out as CMYK and are converted below.
  bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
  info.out_color_space = cmyk ? JCS_CMYK : JCS_RGB;
  int components = cmyk ? 4 : 3;
  error = PictureSizeProblem(info.image_width, info.image_height);
  if (error.empty() && static_cast<int64_t>(info.image_width) * info.image_height > maxPixels) {
    error = "the picture is too large (" + std::to_string(info.image_width) + " x " +
            std::to_string(info.image_height) + ")";
  }
  if (!error.empty()) {
    jpeg_destroy_decompress(&info);
    return false;
  }
  jpeg_start_decompress(&info);
  int width = static_cast<int>(info.output_width);
  int height = static_cast<int>(info.output_height);
  image.width = width;
  image.height = height;
  try {
    image.rgba.assign(static_cast<std::size_t>(width) * height * 4, 255);
    row.resize(static_cast<std::size_t>(width) * components);
  } catch (const std::bad_alloc&) {
    jpeg_destroy_decompress(&info);
    error = "not enough memory for a " + std::to_string(width) + " x " + std::to_string(height) +
            " picture";
    return false;
  }
  while (info.output_scanline < info.output_height) {
    // The file's first row is the top of the picture; it goes last.
    int fileRow = static_cast<int>(info.output_scanline);
    JSAMPROW rows[1] = {row.data()};
    jpeg_read_scanlines(&info, rows, 1);
    uint8_t* dst = image.Pixel(0, height - 1 - fileRow);
    for (int x = 0; x < width; ++x) {
      const uint8_t* src = &row[static_cast<std::size_t>(x) * components];
      for (int c = 0; c < 3; ++c) {
        // Print JPEGs store their inks inverted (as Adobe writes them): white is all 255.
        dst[x * 4 + c] = cmyk ? static_cast<uint8_t>(src[c] * src[3] / 255) : src[c];
      }
    }
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  out.endedEarly = errors.endedEarly;
  out.warning = errors.warning;
  return true;
}
}  // namespace

JpegDecode DecodeJpeg(std::span<const uint8_t> bytes, int64_t maxPixels) {
  JpegDecode result;
  if (bytes.empty()) {
    result.error = "empty file";
    return result;
  }
  RgbaImage image;
  std::vector<uint8_t> row;
  if (Decode(bytes, maxPixels, image, result, row)) result.image = std::move(image);
  return result;
}

std::vector<uint8_t> EncodeJpeg(const RgbaImage& image, int quality) {
  // libjpeg's own checks would end the program; refuse what it would refuse.
  if (image.width <= 0 || image.height <= 0 || image.width > JPEG_MAX_DIMENSION ||
      image.height > JPEG_MAX_DIMENSION || image.rgba.size() != image.RowBytes() * image.height) {
    return {};
  }
  jpeg_compress_struct info;
  jpeg_error_mgr errors;
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &buffer, &size);
  info.image_width = static_cast<JDIMENSION>(image.width);
  info.image_height = static_cast<JDIMENSION>(image.height);
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, quality, TRUE);
  jpeg_start_compress(&info, TRUE);
  std::vector<uint8_t> row(static_cast<std::size_t>(image.width) * 3);
  while (info.next_scanline < info.image_height) {
    // Bottom row first in memory, top row first in the file.
    const uint8_t* src = image.Pixel(0, image.height - 1 - static_cast<int>(info.next_scanline));
    for (int x = 0; x < image.width; ++x) {
      row[x * 3] = src[x * 4];
      row[x * 3 + 1] = src[x * 4 + 1];
      row[x * 3 + 2] = src[x * 4 + 2];
    }
    JSAMPROW rows[1] = {row.data()};
    jpeg_write_scanlines(&info, rows, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  std::vector<uint8_t> out(buffer, buffer + size);
  std::free(buffer);
  return out;
}
