#pragma once

#include <string>
#include <string_view>

#include "core/common/status.h"

namespace vantora {

// ScanerTool.ini keeps the touch-probe ball diameter in one line, ScannerTool=0.500mm.
inline constexpr const char* kTouchPointSettingsName = "ScanerTool.ini";
inline constexpr float kDefaultTouchPointSize = 0.5f;

// The number between the first '=' and the first 'm', blanks anywhere ignored; the
// default size when there is no such number.
float ParseTouchPointSettings(std::string_view content);
// Reads the settings file; the default size when it is missing or unreadable.
float ReadTouchPointSize(const std::string& path);
Status WriteTouchPointSize(const std::string& path, float size);

}  // namespace vantora
