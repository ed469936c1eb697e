// Plain coloured shapes over a screen, drawn with lines and without textures: the frame that shows
// which control the keyboard or controller is on, and the dark band behind the corner notice.
#pragma once

// Red, green, blue, opacity.
struct LineColour {
  float r, g, b, a;
};

// The keyboard highlight: a gold frame `margin` pixels outside the rectangle.
constexpr LineColour kHighlightColour{1.0f, 0.82f, 0.35f, 1.0f};
void DrawOutline(double x, double y, double width, double height, double margin, LineColour colour);
// A filled band, blended over what is drawn.
void DrawBand(double x, double y, double width, double height, LineColour colour);
