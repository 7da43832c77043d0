#include "core/common/length_settings.h"

#include <cctype>

#include "core/common/atomic_file.h"
#include "core/common/number_text.h"

namespace vantora {

float ParseLengthSetting(std::string_view content, float fallback) {
  std::string packed;
  for (char c : content) {
    if (!std::isspace(static_cast<unsigned char>(c))) packed += c;
  }
  const std::size_t equals = packed.find('=');
  const std::size_t unit = packed.find('m');
  if (equals == std::string::npos || unit == std::string::npos || unit < equals) {
    return fallback;
  }
  const auto value = ParseFloatText(std::string_view(packed).substr(equals + 1, unit - equals - 1));
  return value ? *value : fallback;
}

float ReadLengthSetting(const std::string& path, float fallback) {
  return ParseLengthSetting(ReadTextFile(path), fallback);
}

Status WriteLengthSetting(const std::string& path, std::string_view name, float value) {
  return SaveTextFile(path, std::string(name) + "=" + FloatToText(value) + "mm\n");
}

}  // namespace vantora
