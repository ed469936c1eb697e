// The lasting notice: a box of lines over the picture until a key or a click dismisses it. How a
// player or a level maker who has no terminal learns of mistakes in the files they keep (the
// game's settings.cfg, a level the editor cannot open), and that the rest of the file went on.
#pragma once

#include <string>
#include <vector>

#include "app/platform.hpp"
#include "base/types.hpp"

// Posts the lasting notice: a heading and lines (the game's code page); long lines are folded.
void PostLastingNotice(const std::string& heading, const std::vector<std::string>& lines);
// The same with the lines of one text.
void PostLastingNotice(const std::string& heading, const std::string& text);
// Draws the lasting notice in `font` when `shown` (the game shows it on the menu), and notes
// whether the player can see it: nothing takes input away while the notice is out of sight.
void DrawLastingNotice(bool shown, Texture font);
// An input event that the lasting notice takes, while the player can see it: the first press of
// any key, button or click (or a typed character) dismisses it, and the game never sees it.
// True when the notice took the event.
bool TakenByLastingNotice(const Event& event);
// The lines of the lasting notice as drawn (empty once dismissed).
const std::vector<std::string>& LastingNoticeLines();

// Takes the notice away, unseen (a new run, a test).
void ResetLastingNotice();
