// PNG reading and writing through libpng's simplified interface.
#include "harness/png_file.hpp"

#include <png.h>

#include <cstdio>

bool WritePng(const std::string& path, const Image& image) {
  if (image.width <= 0 || image.height <= 0 ||
      image.rgba.size() != static_cast<size_t>(image.width) * image.height * 4) {
    std::fprintf(stderr, "morva: no picture to write to %s\n", path.c_str());
    return false;
  }
  png_image png{};
  png.version = PNG_IMAGE_VERSION;
  png.width = static_cast<png_uint_32>(image.width);
  png.height = static_cast<png_uint_32>(image.height);
  png.format = PNG_FORMAT_RGBA;
  if (!png_image_write_to_file(&png, path.c_str(), 0, image.rgba.data(), 0, nullptr)) {
    std::fprintf(stderr, "morva: cannot write %s: %s\n", path.c_str(), png.message);
    return false;
  }
  return true;
}

Image ReadPng(const std::string& path) {
  png_image png{};
  png.version = PNG_IMAGE_VERSION;
  Image image;
  if (!png_image_begin_read_from_file(&png, path.c_str())) return image;
  png.format = PNG_FORMAT_RGBA;
  std::vector<uint8_t> pixels(PNG_IMAGE_SIZE(png));
  if (!png_image_finish_read(&png, nullptr, pixels.data(), 0, nullptr)) {
    png_image_free(&png);
    return image;
  }
  image.width = static_cast<int>(png.width);
  image.height = static_cast<int>(png.height);
  image.rgba = std::move(pixels);
  return image;
}
