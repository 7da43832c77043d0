#pragma once

#include <string>
#include <string_view>

#include "core/common/status.h"

namespace vantora {

// Axis letters, cut speed and first line of the NC program, kept as typed.
struct NcFormat {
  std::string HorizonAxis = "X";
  std::string VerticalAxis = "Y";
  std::string RotateAxis = "C";
  std::string CutSpeed = "300";
  std::string FirstLine;

  bool operator==(const NcFormat&) const = default;
};

// The format line of a missing or empty NC.ini.
inline constexpr std::string_view kDefaultNcFormatLine = "XYCs300h\n";

// Splits a format line: three axis letters, then the speed after the first "s" up to
// the first "h", then the first line up to the first "/".
NcFormat ParseNcFormatLine(std::string_view line);
// The one-line text form: axes, "s", speed, "h", first line, "/".
std::string NcFormatLine(const NcFormat& format);

// Reads the last line of the settings file; the defaults when it is missing or empty.
NcFormat LoadNcFormat(const std::string& path);
NcFormat NcFormatFromFileText(std::string_view content);
// Refuses a format the settings file would give back changed at the next start: its
// fields are told apart only by position and by the first "s", "h" and "/".
Status CheckNcFormat(const NcFormat& format);
// Writes the format line (without a line end) to the settings file.
Status WriteNcIni(const std::string& path, const NcFormat& format);

inline constexpr const char* kNcIniName = "NC.ini";

}  // namespace vantora
