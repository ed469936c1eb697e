// PNG files of screen captures.
#pragma once

#include <string>

#include "gfx/renderer.hpp"

// Writes an RGBA image (top row first); false with the reason on stderr when it fails.
bool WritePng(const std::string& path, const Image& image);
// Reads a PNG into RGBA (for tests and tools); an empty image when it cannot.
Image ReadPng(const std::string& path);
