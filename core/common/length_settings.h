#pragma once

#include <string>
#include <string_view>

#include "core/common/status.h"

namespace vantora {

// A settings file that keeps one length in one line, Name=0.500mm.

// The number between the first '=' and the first 'm', blanks anywhere ignored;
// `fallback` when there is no such number.
float ParseLengthSetting(std::string_view content, float fallback);
// Reads the settings file; `fallback` when it is missing or unreadable.
float ReadLengthSetting(const std::string& path, float fallback);
// Writes Name=value mm through a temporary file, so a failed save keeps the old one.
Status WriteLengthSetting(const std::string& path, std::string_view name, float value);

}  // namespace vantora
