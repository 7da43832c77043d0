#include "core/app/tool_path_settings.h"

#include <algorithm>
#include <cctype>

#include "core/common/atomic_file.h"
#include "core/common/length_settings.h"
#include "core/common/number_text.h"

namespace vantora {
namespace {

// The line's text before its '=' with blanks dropped.
std::string NameOf(std::string_view line) {
  std::string name;
  for (char c : line.substr(0, line.find('='))) {
    if (!std::isspace(static_cast<unsigned char>(c))) name += c;
  }
  return name;
}

bool SaysRound(std::string_view line) {
  return line.find("=round") != std::string_view::npos;
}

}  // namespace

ToolPathSettings ParseToolPathSettings(std::string_view content) {
  ToolPathSettings settings;
  while (!content.empty()) {
    const std::size_t end = content.find('\n');
    const std::string_view line = content.substr(0, end);
    content.remove_prefix(end == std::string_view::npos ? content.size() : end + 1);
    const std::string name = NameOf(line);
    if (name == kToleranceSettingName) {
      settings.Tolerance = ParseLengthSetting(line, settings.Tolerance);
    } else if (name == "Stock") {
      const float stock = ParseLengthSetting(line, -1);
      if (stock >= 0) settings.Margin.Stock = stock;
    } else if (name == "Adaptive") {
      settings.Adaptive = std::max(ParseLengthSetting(line, 0), 0.0f);
    } else if (name == "Margin") {
      settings.Margin.Shape = SaysRound(line) ? MarginShape::Round : MarginShape::Square;
    }
  }
  return settings;
}

ToolPathSettings ReadToolPathSettings(const std::string& path) {
  return ParseToolPathSettings(ReadTextFile(path));
}

Status WriteToolPathSettings(const std::string& path, const ToolPathSettings& settings) {
  std::string text = std::string(kToleranceSettingName) + "=" + FloatToText(settings.Tolerance) + "mm\n";
  if (settings.Margin.Stock) text += "Stock=" + FloatToText(*settings.Margin.Stock) + "mm\n";
  if (settings.Margin.Shape == MarginShape::Round) text += "Margin=round\n";
  if (settings.Adaptive != 0) text += "Adaptive=" + FloatToText(settings.Adaptive) + "mm\n";
  return SaveTextFile(path, text);
}

}  // namespace vantora
