#pragma once

#include <string>
#include <string_view>

#include "core/common/status.h"
#include "core/model/data_module.h"

namespace vantora {

// The tool-path panel's settings file, beside NC.ini (whose format stays as it is).
inline constexpr const char* kToleranceSettingsName = "Smoothing.ini";
inline constexpr const char* kToleranceSettingName = "Tolerance";

// What the tool-path panel keeps between runs in its settings file, one setting a line:
// Tolerance=0.000mm, and when they are not the standard ones Stock=0.100mm, Margin=round
// and Adaptive=1.000mm. A file holding the tolerance alone, as earlier versions wrote
// it, reads as before.

struct ToolPathSettings {
  float Tolerance = 0;
  WireMargin Margin;
  float Adaptive = 0;  // mm the chosen sections may leave beyond all; 0 sweeps every Step
};

// Reads the settings a line at a time; lines it does not know, and values that are no
// length (or a negative stock), leave their setting at its default.
ToolPathSettings ParseToolPathSettings(std::string_view content);
// Reads the settings file; the defaults when it is missing or unreadable.
ToolPathSettings ReadToolPathSettings(const std::string& path);
// Writes the settings through a temporary file, so a failed save keeps the old one.
Status WriteToolPathSettings(const std::string& path, const ToolPathSettings& settings);

}  // namespace vantora
