// Shared pieces of the screens' artwork.
#pragma once

#include <string>

#include "mkcontent/canvas.hpp"
#include "mkcontent/rig.hpp"

// Dark castle stone filling the whole canvas.
void StoneWall(cairo_t* cr, int width, int height, unsigned seed);
// A carved stone panel with a bronze rim.
void Panel(cairo_t* cr, double x, double y, double w, double h, double alpha = 0.92);
// A burning torch in a bracket, flame and glow included.
void Torch(cairo_t* cr, double x, double y, double scale, double flicker);
// The game's name in large carved letters.
void TitleLettering(cairo_t* cr, double centreX, double baseline, double size);
// A character frame painted onto a canvas at (x, y), scaled.
void PaintFrameAt(cairo_t* cr, int kind, int frame, double x, double y, double scale,
                  bool mirrored);
