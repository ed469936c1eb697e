// Whole files the user names: reading only a regular file (a FIFO or a device would block the
// open or never end), and writing so that the file is never left half written.
#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

// The bytes of the regular file `path`; nothing when it is missing, unreadable or no regular file
// (a FIFO in its place is not waited for), and then `why` says which ("is a folder", "not a
// regular file", or the system's reason).
// At most `limit` bytes are read (the start of the file).
std::optional<std::string> ReadWholeFile(const std::filesystem::path& path,
                                         std::size_t limit = std::string::npos,
                                         std::string* why = nullptr);

// Writes `bytes` to a temporary file of its own beside the real one ("FILE.XXXXXX", created
// exclusively), syncs it and renames it over the file, then syncs the folder: the file is never
// left half written or empty, also when two programs save it at once. Its folder is made when
// missing. Written through a symbolic link to where it leads (even to a file not there yet), so
// the link is kept. Only a regular file (or none yet) is replaced: a device, a FIFO or a folder
// is left alone. The reason when it cannot, else empty.
std::string WriteWholeFile(const std::filesystem::path& path, std::string_view bytes);
