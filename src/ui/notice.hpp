// Notices over the picture. A short line in the corner for a while: how the program says where
// a screenshot went without stopping the game. A lasting notice on the menu, until a key or a
// click dismisses it: how a player without a terminal learns of mistakes in the files they keep
// (settings.cfg), and where the other lines of such a file went.
#pragma once

#include <string>
#include <vector>

#include "app/platform.hpp"

// Shows `text` (the game's code page) for `milliseconds` of real time, replacing any notice shown.
void ShowNotice(const std::string& text, double milliseconds);
// Counts a frame's real time step off the notice's time.
void AgeNotice(double stepMs);
// Draws the notice, if one is showing, over everything else of the frame.
void DrawNotice();
// The notice showing now (empty when none).
const std::string& NoticeText();

// Posts the lasting notice: a heading and lines (the game's code page); long lines are folded.
void PostLastingNotice(const std::string& heading, const std::vector<std::string>& lines);
// Draws the lasting notice over the menu when the menu is on the screen, and notes whether the
// player can see it (nothing takes input away while the notice is out of sight).
void DrawLastingNotice(bool onMenu);
// An input event that the lasting notice takes, while the player can see it: the first press of
// any key, button or click (or a typed character) dismisses it, and the game never sees it.
// True when the notice took the event.
bool TakenByLastingNotice(const Event& event);
// The lines of the lasting notice as drawn (empty once dismissed).
const std::vector<std::string>& LastingNoticeLines();

void ResetNotice();
