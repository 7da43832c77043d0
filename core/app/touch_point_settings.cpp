#include "core/app/touch_point_settings.h"

#include "core/common/length_settings.h"

namespace vantora {

float ParseTouchPointSettings(std::string_view content) {
  return ParseLengthSetting(content, kDefaultTouchPointSize);
}

float ReadTouchPointSize(const std::string& path) {
  return ReadLengthSetting(path, kDefaultTouchPointSize);
}

Status WriteTouchPointSize(const std::string& path, float size) {
  return WriteLengthSetting(path, "ScannerTool", size);
}

}  // namespace vantora
