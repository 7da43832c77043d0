#include "core/app/machine_settings.h"

#include <algorithm>
#include <string_view>

#include "core/common/atomic_file.h"

namespace vantora {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// True when `line` holds the word M3 or M4 (M03, m4, M3S1000) outside its comments.
bool TurnsSpindleOn(std::string_view line) {
  for (std::size_t i = 0; i < line.size(); ++i) {
    if (line[i] == ';') return false;
    if (line[i] == '(') {
      i = line.find(')', i);
      if (i == std::string_view::npos) return false;
      continue;
    }
    if (line[i] != 'M' && line[i] != 'm') continue;
    std::size_t j = i + 1;
    while (j < line.size() && line[j] == ' ') ++j;
    const std::size_t first = j;
    int value = 0;
    for (; j < line.size() && IsDigit(line[j]); ++j) value = std::min(value * 10 + (line[j] - '0'), 100);
    const bool whole = j == line.size() || line[j] != '.';
    if (j > first && whole && (value == 3 || value == 4)) return true;
    i = j - 1;
  }
  return false;
}

}  // namespace

MachineSettings ReadMachineSettings(const std::string& path) {
  MachineSettings settings{*BuiltInMachine("plain"), Status::Ok()};
  const std::string text = ReadTextFile(path);
  if (text.empty()) return settings;  // no file yet, or nothing in it
  MachineProfile read;
  if (Status s = ParseMachineProfile(text, read); !s) {
    settings.Problem = Status::Error(
        s.code(), path + ": " + s.message() +
                      " Programs are written for the plain profile until a machine is chosen; "
                      "the file stays as it is until then.");
    return settings;
  }
  settings.Profile = std::move(read);
  return settings;
}

Status WriteMachineSettings(const std::string& path, const MachineProfile& profile) {
  return SaveTextFile(path, MachineProfileText(profile));
}

std::string LaserModeWarning(const MachineProfile& profile) {
  if (!(profile.PreHeatSeconds > 0) ||
      std::none_of(profile.WireOn.begin(), profile.WireOn.end(), [](const std::string& line) {
        return TurnsSpindleOn(line);
      })) {
    return {};
  }
  return "The wire's heat is switched as the spindle (M3/M4) and the program pauses for it "
         "to heat before the wire moves. On a GRBL-type controller laser mode must be off "
         "($32=0): in laser mode the spindle output is off whenever the machine stands still, "
         "so the wire stays cold through that pause.";
}

}  // namespace vantora
