// The bitmap fonts: a 16 x 16 grid of the Windows-1257 code page, glyph shape in alpha.
#pragma once

#include <cstdint>
#include <optional>

#include "canvas.hpp"
#include "formats/rgba_image.hpp"

// The Unicode character of a Windows-1257 byte; nothing for control codes and unused bytes.
std::optional<char32_t> Cp1257ToUnicode(uint8_t byte);

// `cell` px per glyph cell; byte b sits in column b mod 16, row b div 16 from the top.
// White glyphs with a thin dark rim, so text reads on light and dark ground alike.
RgbaImage FontAtlas(Font font, int cell, double emFraction, double stretch);
