// The painters of the character frames, one per kind.
#pragma once

#include "formats/rgba_image.hpp"
#include "mkcontent/characters.hpp"

RgbaImage PaintHero(Clip clip, int index, int count);
RgbaImage PaintSentinel(Clip clip, int index, int count);
RgbaImage PaintGuard(Clip clip, int index, int count);
RgbaImage PaintGolem(Clip clip, int index, int count);

// Frame `frame` of kind `kind`, as its folder holds it.
RgbaImage PaintCharacterFrame(int kind, int frame);
