#include "core/nc/machine_profile.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <set>
#include <span>

#include "core/common/atomic_file.h"

namespace vantora {
namespace {

// The built-in profiles, in the text a user's own file holds.
constexpr std::string_view kHotWireCommon =
    "Header=G21\nHeader=G90\nHeader=G94\nApproach=rapid\nSectionMarkers=yes\n"
    "Turn=indexed\nIndexFeed=1800\nPreHeat=3\nEnd=M30\n"
    "XTravel=-500 500\nXRate=2000\nXAccel=100\n"
    "YTravel=-50 1000\nYRate=2000\nYAccel=100\n"
    "CTravel=free\nCRate=3600\nCAccel=360\n";

struct BuiltIn {
  std::string_view name, own;
};

constexpr std::array<BuiltIn, 5> kBuiltIns{{
    {"plain", ""},
    {"grbl", "MadeFor=GRBL-Mega-5X and grblHAL hot-wire machines, laser mode off ($32=0)\n"
             "WireOn=M3 S1000\nWireOff=M5\n"},
    {"fluidnc", "MadeFor=FluidNC hot-wire machines, the wire's heat as the spindle\n"
                "WireOn=M3 S1000\nWireOff=M5\nComments=semicolon\n"},
    {"linuxcnc", "MadeFor=LinuxCNC, the wire's heat on digital output 0 (switched at once)\n"
                 "WireOn=M64 P0\nWireOff=M65 P0\n"},
    {"mach3", "MadeFor=Mach3 with the wire's heat on the flood coolant relay, dwell in "
              "seconds\nWireOn=M8\nWireOff=M9\n"},
}};

std::string_view Trimmed(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) {
    s.remove_suffix(1);
  }
  return s;
}

std::optional<double> Number(std::string_view text) {
  text = Trimmed(text);
  double v = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
  if (ec != std::errc() || end != text.data() + text.size() || !std::isfinite(v)) {
    return std::nullopt;
  }
  return v;
}

// One setting's value read into the profile; false when the value cannot be used.
using Reader = bool (*)(std::string_view value, MachineProfile& p);

// `value` names one of two choices: `first` stands for `firstValue`, `second` for
// `secondValue`.
template <typename T>
bool ReadChoice(std::string_view value, std::string_view first, T firstValue,
                std::string_view second, T secondValue, T& out) {
  if (value != first && value != second) return false;
  out = value == first ? firstValue : secondValue;
  return true;
}

bool ReadNumber(std::string_view value, double& out) {
  const auto v = Number(value);
  if (v) out = *v;
  return bool(v);
}

bool ReadTravel(std::string_view value, AxisLimits& axis) {
  if (value == "free") {
    axis.Min.reset();
    axis.Max.reset();
    return true;
  }
  const std::size_t gap = value.find(' ');
  if (gap == std::string_view::npos) return false;
  const auto lo = Number(value.substr(0, gap)), hi = Number(value.substr(gap + 1));
  if (!lo || !hi || !(*lo <= *hi)) return false;
  axis.Min = lo;
  axis.Max = hi;
  return true;
}

// The shortest text that reads back as `v`, without an exponent (1000000, 0.1).
std::string NumberText(double v) {
  char text[400];  // room for the longest fixed form of a double
  const auto written = std::to_chars(text, text + sizeof text, v, std::chars_format::fixed);
  return std::string(text, written.ptr);
}

std::string TravelText(const AxisLimits& axis) {
  if (!axis.Min) return "free";
  return NumberText(*axis.Min) + " " + NumberText(*axis.Max);
}

struct Setting {
  std::string_view name;
  Reader read;
  bool list;  // repeated lines make a list; the first one given replaces the default
};

template <AxisLimits MachineProfile::*axis>
constexpr std::array<Setting, 3> AxisSettings(std::string_view travel, std::string_view rate,
                                              std::string_view accel) {
  return {{{travel, [](std::string_view v, MachineProfile& p) { return ReadTravel(v, p.*axis); },
            false},
           {rate, [](std::string_view v, MachineProfile& p) { return ReadNumber(v, (p.*axis).Rate); },
            false},
           {accel,
            [](std::string_view v, MachineProfile& p) {
              return ReadNumber(v, (p.*axis).Acceleration);
            },
            false}}};
}

constexpr Setting kSettings[] = {
    {"Name", [](std::string_view v, MachineProfile& p) { p.Name = v; return !v.empty(); }, false},
    {"MadeFor", [](std::string_view v, MachineProfile& p) { p.MadeFor = v; return true; }, false},
    {"Header", [](std::string_view v, MachineProfile& p) { p.Header.emplace_back(v); return true; },
     true},
    {"Approach",
     [](std::string_view v, MachineProfile& p) {
       return ReadChoice(v, "rapid", true, "none", false, p.Approach);
     },
     false},
    {"WireOn", [](std::string_view v, MachineProfile& p) { p.WireOn.emplace_back(v); return true; },
     true},
    {"WireOff",
     [](std::string_view v, MachineProfile& p) { p.WireOff.emplace_back(v); return true; }, true},
    {"PreHeat",
     [](std::string_view v, MachineProfile& p) { return ReadNumber(v, p.PreHeatSeconds); }, false},
    {"DwellUnit",
     [](std::string_view v, MachineProfile& p) {
       return ReadChoice(v, "ms", true, "s", false, p.DwellInMilliseconds);
     },
     false},
    {"End", [](std::string_view v, MachineProfile& p) { p.End.emplace_back(v); return true; }, true},
    {"Comments",
     [](std::string_view v, MachineProfile& p) {
       return ReadChoice(v, "semicolon", CommentStyle::Semicolon,
                         "parentheses", CommentStyle::Parentheses, p.Comments);
     },
     false},
    {"SectionMarkers",
     [](std::string_view v, MachineProfile& p) {
       return ReadChoice(v, "yes", true, "no", false, p.SectionMarkers);
     },
     false},
    {"Turn",
     [](std::string_view v, MachineProfile& p) {
       return ReadChoice(v, "indexed", TableTurn::Indexed, "with-move",
                         TableTurn::WithMove, p.Turn);
     },
     false},
    {"IndexFeed", [](std::string_view v, MachineProfile& p) { return ReadNumber(v, p.IndexFeed); },
     false},
    {"Feed",
     [](std::string_view v, MachineProfile& p) {
       return ReadChoice(v, "inverse-time", FeedMode::InverseTime, "per-minute",
                         FeedMode::PerMinute, p.Feed);
     },
     false},
    {"Decimals",
     [](std::string_view v, MachineProfile& p) {
       double d = 0;
       if (!ReadNumber(v, d) || d != std::floor(d) || std::abs(d) > 100) return false;
       p.Decimals = int(d);
       return true;
     },
     false},
};

constexpr auto kXSettings = AxisSettings<&MachineProfile::X>("XTravel", "XRate", "XAccel");
constexpr auto kYSettings = AxisSettings<&MachineProfile::Y>("YTravel", "YRate", "YAccel");
constexpr auto kCSettings = AxisSettings<&MachineProfile::C>("CTravel", "CRate", "CAccel");

const Setting* FindSetting(std::string_view name) {
  for (std::span<const Setting> table : {std::span<const Setting>(kSettings),
                                         std::span<const Setting>(kXSettings),
                                         std::span<const Setting>(kYSettings),
                                         std::span<const Setting>(kCSettings)}) {
    for (const Setting& setting : table) {
      if (setting.name == name) return &setting;
    }
  }
  return nullptr;
}

Status LineRefused(int line, std::string_view text, std::string_view why) {
  return Status::Error(ErrorCode::Malformed, "Machine profile line " + std::to_string(line) +
                                                 " \"" + std::string(text) + "\": " +
                                                 std::string(why));
}

void AppendList(std::string& text, std::string_view name, const std::vector<std::string>& lines) {
  for (const std::string& line : lines) text.append(name).append("=").append(line).append("\n");
}

void AppendAxis(std::string& text, char letter, const AxisLimits& axis) {
  text += std::string(1, letter) + "Travel=" + TravelText(axis) + "\n";
  text += std::string(1, letter) + "Rate=" + NumberText(axis.Rate) + "\n";
  text += std::string(1, letter) + "Accel=" + NumberText(axis.Acceleration) + "\n";
}

bool HoldsLineBreak(const std::vector<std::string>& lines) {
  for (const std::string& line : lines) {
    if (line.find_first_of("\r\n") != std::string::npos) return true;
  }
  return false;
}

Status CheckAxis(char letter, const AxisLimits& axis) {
  if (axis.Rate > 0 && axis.Acceleration > 0) return Status::Ok();
  return Status::Refused(std::string("The machine's ") + letter +
                         " axis needs a rate and an acceleration above 0.");
}

}  // namespace

const std::vector<std::string>& BuiltInMachineNames() {
  static const std::vector<std::string> names = [] {
    std::vector<std::string> all;
    for (const BuiltIn& b : kBuiltIns) all.emplace_back(b.name);
    return all;
  }();
  return names;
}

std::optional<MachineProfile> BuiltInMachine(std::string_view name) {
  for (const BuiltIn& b : kBuiltIns) {
    if (b.name != name) continue;
    MachineProfile profile;
    const std::string text = b.name == "plain"
                                 ? std::string(b.own)
                                 : std::string(kHotWireCommon) + std::string(b.own);
    const Status parsed = ParseMachineProfile("Name=" + std::string(b.name) + "\n" + text, profile);
    if (!parsed) return std::nullopt;
    return profile;
  }
  return std::nullopt;
}

Status ParseMachineProfile(std::string_view text, MachineProfile& profile) {
  MachineProfile read;
  std::set<std::string_view> listsGiven;
  int lineNumber = 0;
  while (!text.empty()) {
    ++lineNumber;
    const std::size_t end = text.find('\n');
    const std::string_view line = Trimmed(text.substr(0, end));
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (line.empty() || line.front() == '#') continue;
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) {
      return LineRefused(lineNumber, line, "a setting is a name, \"=\" and a value.");
    }
    const Setting* setting = FindSetting(Trimmed(line.substr(0, equals)));
    if (setting == nullptr) return LineRefused(lineNumber, line, "no such setting.");
    if (setting->list && listsGiven.insert(setting->name).second) {
      if (setting->name == "End") read.End.clear();
    }
    if (!setting->read(Trimmed(line.substr(equals + 1)), read)) {
      return LineRefused(lineNumber, line, "this value cannot be used.");
    }
  }
  if (Status s = CheckMachineProfile(read); !s) return s;
  profile = std::move(read);
  return Status::Ok();
}

std::string MachineProfileText(const MachineProfile& p) {
  std::string text = "Name=" + p.Name + "\n";
  if (!p.MadeFor.empty()) text += "MadeFor=" + p.MadeFor + "\n";
  AppendList(text, "Header", p.Header);
  text += std::string("Approach=") + (p.Approach ? "rapid" : "none") + "\n";
  AppendList(text, "WireOn", p.WireOn);
  AppendList(text, "WireOff", p.WireOff);
  text += "PreHeat=" + NumberText(p.PreHeatSeconds) + "\n";
  text += std::string("DwellUnit=") + (p.DwellInMilliseconds ? "ms" : "s") + "\n";
  AppendList(text, "End", p.End);
  text += std::string("Comments=") +
          (p.Comments == CommentStyle::Semicolon ? "semicolon" : "parentheses") + "\n";
  text += std::string("SectionMarkers=") + (p.SectionMarkers ? "yes" : "no") + "\n";
  text += std::string("Turn=") + (p.Turn == TableTurn::Indexed ? "indexed" : "with-move") + "\n";
  text += "IndexFeed=" + NumberText(p.IndexFeed) + "\n";
  text += std::string("Feed=") +
          (p.Feed == FeedMode::InverseTime ? "inverse-time" : "per-minute") + "\n";
  text += "Decimals=" + std::to_string(p.Decimals) + "\n";
  AppendAxis(text, 'X', p.X);
  AppendAxis(text, 'Y', p.Y);
  AppendAxis(text, 'C', p.C);
  return text;
}

Status CheckMachineProfile(const MachineProfile& p) {
  if (p.Decimals < 3 || p.Decimals > 6) {
    return Status::Refused("A machine profile writes 3 to 6 decimals; it asks for " +
                           std::to_string(p.Decimals) + ".");
  }
  if (p.Turn == TableTurn::Indexed && !(p.IndexFeed > 0)) {
    return Status::Refused("A table that turns in a move of its own needs an index feed above 0.");
  }
  if (!(p.PreHeatSeconds >= 0)) return Status::Refused("The pre-heat pause must be 0 or more.");
  // Without G93 a controller reads the inverse-time F values as feeds per minute.
  if (p.Feed == FeedMode::InverseTime &&
      std::find(p.Header.begin(), p.Header.end(), "G93") == p.Header.end()) {
    return Status::Refused("Inverse time needs the line G93 in the header.");
  }
  for (const auto* lines : {&p.Header, &p.WireOn, &p.WireOff, &p.End}) {
    if (HoldsLineBreak(*lines)) return Status::Refused("A profile's line holds a line break.");
  }
  for (Status s : {CheckAxis('X', p.X), CheckAxis('Y', p.Y), CheckAxis('C', p.C)}) {
    if (!s) return s;
  }
  return Status::Ok();
}

Status LoadMachineProfile(const std::string& nameOrFile, MachineProfile& profile) {
  if (auto builtIn = BuiltInMachine(nameOrFile)) {
    profile = std::move(*builtIn);
    return Status::Ok();
  }
  const std::string text = ReadTextFile(nameOrFile);
  if (text.empty()) {
    return Status::Error(ErrorCode::CannotOpen,
                         "No machine profile \"" + nameOrFile +
                             "\": it is no built-in one (plain, grbl, fluidnc, linuxcnc, "
                             "mach3) and no readable profile file.");
  }
  if (Status s = ParseMachineProfile(text, profile); !s) {
    return Status::Error(s.code(), nameOrFile + ": " + s.message());
  }
  return Status::Ok();
}

}  // namespace vantora
