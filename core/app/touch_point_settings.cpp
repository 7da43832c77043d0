#include "app/touch_point_settings.h"

#include <cctype>
#include <fstream>
#include <iterator>

#include "common/atomic_file.h"
#include "mesh/number_text.h"

namespace vantora {

float ParseTouchPointSettings(std::string_view content) {
  std::string packed;
  for (char c : content) {
    if (!std::isspace(static_cast<unsigned char>(c))) packed += c;
  }
  const std::size_t equals = packed.find('=');
  const std::size_t unit = packed.find('m');
  if (equals == std::string::npos || unit == std::string::npos || unit < equals) {
    return kDefaultTouchPointSize;
  }
  const auto size = ParseFloatText(std::string_view(packed).substr(equals + 1, unit - equals - 1));
  return size ? *size : kDefaultTouchPointSize;
}

float ReadTouchPointSize(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return kDefaultTouchPointSize;
  const std::string content{std::istreambuf_iterator<char>(file), {}};
  return ParseTouchPointSettings(content);
}

Status WriteTouchPointSize(const std::string& path, float size) {
  AtomicFileWriter writer(path);
  if (Status s = writer.Open(); !s) return s;
  writer.Write("ScannerTool=" + FloatToText(size) + "mm\n");
  return writer.Commit();
}

}  // namespace vantora
