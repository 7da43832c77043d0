#pragma once

#include <array>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace vantora::testing {

// What LinuxCNC's standalone interpreter makes of a program file: the lines it prints
// that are no canonical call (its errors), the targets (X, Y, C) of its moves, rapid or
// fed, and the P of its pauses, all told.
struct InterpreterRun {
  std::vector<std::string> Errors;
  std::vector<std::array<double, 3>> Moves;
  double Pauses = 0;
};

// A canonical call as the interpreter prints it, "   12 N..... NAME(ARGS)": its name and
// its arguments; none for any other line.
inline std::optional<std::pair<std::string, std::string>> CanonicalCall(const std::string& line) {
  const std::size_t mark = line.find(" N..... "), open = line.find('(');
  if (mark == std::string::npos || open == std::string::npos || line.back() != ')') {
    return std::nullopt;
  }
  const std::string number = line.substr(0, mark);
  const std::size_t digits = number.find_first_not_of(' ');
  if (digits == std::string::npos ||
      number.find_first_not_of("0123456789", digits) != std::string::npos) {
    return std::nullopt;
  }
  return std::pair{line.substr(mark + 8, open - mark - 8),
                   line.substr(open + 1, line.size() - open - 2)};
}

inline InterpreterRun RunRs274(const std::string& file) {
  InterpreterRun run;
  if (!std::filesystem::exists(VANTORA_RS274)) {
    run.Errors.push_back("rs274 not found (" VANTORA_RS274 "): scripts/bootstrap installs "
                         "linuxcnc-uspace");
    return run;
  }
  FILE* pipe = popen((VANTORA_RS274 " -g '" + file + "' 2>&1").c_str(), "r");
  char buffer[4096];
  while (pipe != nullptr && std::fgets(buffer, sizeof buffer, pipe) != nullptr) {
    std::string line = buffer;
    line.erase(line.find_last_not_of(" \r\n") + 1);
    const auto call = CanonicalCall(line);
    if (!call) {
      if (!line.empty() && line != "executing") run.Errors.push_back(line);
      continue;
    }
    const auto& [name, arguments] = *call;
    std::array<double, 6> a{};
    if (name == "DWELL") run.Pauses += std::stod(arguments);
    if (name == "STRAIGHT_FEED" || name == "STRAIGHT_TRAVERSE") {
      std::sscanf(arguments.c_str(), "%lf, %lf, %lf, %lf, %lf, %lf", &a[0], &a[1], &a[2], &a[3],
                  &a[4], &a[5]);
      run.Moves.push_back({a[0], a[1], a[5]});
    }
  }
  if (pipe == nullptr || pclose(pipe) == -1) run.Errors.push_back("rs274 did not run");
  return run;
}

}  // namespace vantora::testing
