// Whole files the user names: reading only a regular file (a FIFO or a device would block the
// open or never end), and writing so that the file is never left half written.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

// The bytes of the regular file `path`; nothing when it is missing, unreadable or no regular file.
std::optional<std::string> ReadWholeFile(const std::filesystem::path& path);

// Writes `bytes` to a temporary file beside the real one ("FILE.tmp") and renames it over it, so
// the file is never left half written; its folder is made when missing. Written through a
// symbolic link to where it leads (even to a file not there yet), so the link is kept. The reason
// when it cannot, else empty.
std::string WriteWholeFile(const std::filesystem::path& path, std::string_view bytes);
