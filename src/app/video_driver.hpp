// Whether the window system's video driver can show the game to anyone: SDL quietly falls back to
// drivers that draw into memory when no display can be reached.
#pragma once

#include <optional>
#include <string>
#include <string_view>

// Why the game would run unseen on `driver`, or nothing when it is fine to use. A driver that
// shows nothing (offscreen, dummy) is fine only when the player named it in `requested` (the
// SDL_VIDEODRIVER variable, a name or a comma-separated list; null when not set).
std::optional<std::string> UnseenDriverReason(std::string_view driver, const char* requested);

// What a player without a display can do instead, as the lines that follow a "no display" message.
const char* NoDisplayAdvice();
