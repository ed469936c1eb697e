// Pictures for looking at: a character's frames on one sheet, and content files as PNG.
#pragma once

#include <filesystem>

int WriteSheet(int kind, const std::filesystem::path& png);
int WritePreview(const std::filesystem::path& file, const std::filesystem::path& png);
