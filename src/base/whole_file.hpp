// Reading a whole file the user named (a level source, a definition): only a regular file is
// opened, as a FIFO or a device would block the open or never end.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

// The bytes of the regular file `path`; nothing when it is missing, unreadable or no regular file.
std::optional<std::string> ReadWholeFile(const std::filesystem::path& path);
