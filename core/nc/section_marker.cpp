#include "core/nc/section_marker.h"

#include <charconv>

namespace vantora {
namespace {

constexpr std::string_view kSection = "Section ";
constexpr std::string_view kOf = " of ";
constexpr std::string_view kColon = ": ";

std::string_view Opening(const MachineProfile& machine) {
  return machine.Comments == CommentStyle::Parentheses ? "(" : "; ";
}

std::string_view Closing(const MachineProfile& machine) {
  return machine.Comments == CommentStyle::Parentheses ? ")" : "";
}

bool Consume(std::string_view& text, std::string_view prefix) {
  if (!text.starts_with(prefix)) return false;
  text.remove_prefix(prefix.size());
  return true;
}

std::optional<int> ConsumeCount(std::string_view& text) {
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || value < 1) return std::nullopt;
  text.remove_prefix(std::size_t(end - text.data()));
  return value;
}

}  // namespace

std::string SectionMarkerText(const MachineProfile& machine, SectionPlace place,
                              std::string_view angleWord) {
  std::string text(Opening(machine));
  text.append(kSection).append(std::to_string(place.Number)).append(kOf);
  text.append(std::to_string(place.Count)).append(kColon).append(angleWord);
  return text.append(Closing(machine));
}

std::optional<SectionMarker> ReadSectionMarker(const MachineProfile& machine,
                                               std::string_view line) {
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.remove_suffix(1);
  if (!Consume(line, Opening(machine)) || !Consume(line, kSection)) return std::nullopt;
  const auto number = ConsumeCount(line);
  if (!number || !Consume(line, kOf)) return std::nullopt;
  const auto count = ConsumeCount(line);
  if (!count || !Consume(line, kColon) || !line.ends_with(Closing(machine))) return std::nullopt;
  line.remove_suffix(Closing(machine).size());
  return SectionMarker{{*number, *count}, line};
}

}  // namespace vantora
