#include "core/nc/nc_format.h"

#include "core/common/atomic_file.h"

namespace vantora {
namespace {

// The text between two separators, the way the format line is cut: a missing start
// separator starts the field at the first character; a missing end separator, or one
// before or right after the start separator, leaves it empty.
std::string Field(std::string_view line, char startSep, char endSep) {
  const std::size_t startAt = line.find(startSep);
  const std::size_t begin = startAt == std::string_view::npos ? 0 : startAt + 1;
  const std::size_t endAt = line.find(endSep);
  if (endAt == std::string_view::npos || endAt < begin) return {};
  return std::string(line.substr(begin, endAt - begin));
}

std::string Character(std::string_view line, std::size_t index) {
  return index < line.size() ? std::string(1, line[index]) : std::string();
}

// The last line of a text, without its line end.
std::string_view LastLine(std::string_view content) {
  if (!content.empty() && content.back() == '\n') content.remove_suffix(1);
  const std::size_t start = content.rfind('\n');
  std::string_view line = start == std::string_view::npos ? content : content.substr(start + 1);
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  return line;
}

// What the settings file holds for a format: its line up to the first line end.
std::string IniText(const NcFormat& format) {
  const std::string line = NcFormatLine(format);
  return line.substr(0, line.find('\n'));
}

}  // namespace

NcFormat ParseNcFormatLine(std::string_view line) {
  NcFormat format;
  format.HorizonAxis = Character(line, 0);
  format.VerticalAxis = Character(line, 1);
  format.RotateAxis = Character(line, 2);
  format.CutSpeed = Field(line, 's', 'h');
  format.FirstLine = Field(line, 'h', '/');
  return format;
}

std::string NcFormatLine(const NcFormat& f) {
  return f.HorizonAxis + f.VerticalAxis + f.RotateAxis + "s" + f.CutSpeed + "h" + f.FirstLine +
         "/";
}

NcFormat NcFormatFromFileText(std::string_view content) {
  const std::string_view line = LastLine(content);
  return ParseNcFormatLine(line.empty() ? LastLine(kDefaultNcFormatLine) : line);
}

NcFormat LoadNcFormat(const std::string& path) {
  return NcFormatFromFileText(ReadTextFile(path));
}

Status CheckNcFormat(const NcFormat& format) {
  if (NcFormatFromFileText(IniText(format)) == format) return Status::Ok();
  return Status::Refused(
      "This NC format cannot be kept in NC.ini: each axis must be one character other than "
      "s, h and /, the cut speed must not contain h or /, the first line must not contain /, "
      "and no field may hold a line break.");
}

Status WriteNcIni(const std::string& path, const NcFormat& format) {
  return SaveTextFile(path, IniText(format));
}

}  // namespace vantora
