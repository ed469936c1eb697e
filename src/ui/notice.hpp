// A short line of text in the corner of the picture for a while: how the program says where a
// screenshot went without stopping the game.
#pragma once

#include <string>

// Shows `text` (the game's code page) for `milliseconds` of real time, replacing any notice shown.
void ShowNotice(const std::string& text, double milliseconds);
// Counts a frame's real time step off the notice's time.
void AgeNotice(double stepMs);
// Draws the notice, if one is showing, over everything else of the frame.
void DrawNotice();
// The notice showing now (empty when none).
const std::string& NoticeText();

void ResetNotice();
