#pragma once

#include <array>
#include <cstdio>
#include <filesystem>
#include <regex>
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

inline InterpreterRun RunRs274(const std::string& file) {
  InterpreterRun run;
  if (!std::filesystem::exists(VANTORA_RS274)) {
    run.Errors.push_back("rs274 not found (" VANTORA_RS274 "): scripts/bootstrap installs "
                         "linuxcnc-uspace");
    return run;
  }
  FILE* pipe = popen((VANTORA_RS274 " -g '" + file + "' 2>&1").c_str(), "r");
  const std::regex call(R"(^\s*\d+ N\.{5} (\w+)\((.*)\)$)");
  char buffer[4096];
  while (pipe != nullptr && std::fgets(buffer, sizeof buffer, pipe) != nullptr) {
    const std::string line = std::regex_replace(buffer, std::regex("\\s+$"), "");
    std::smatch match;
    if (!std::regex_match(line, match, call)) {
      if (!line.empty() && line != "executing") run.Errors.push_back(line);
      continue;
    }
    std::array<double, 6> a{};
    if (match[1] == "DWELL") run.Pauses += std::stod(match[2]);
    if (match[1] == "STRAIGHT_FEED" || match[1] == "STRAIGHT_TRAVERSE") {
      std::sscanf(match[2].str().c_str(), "%lf, %lf, %lf, %lf, %lf, %lf", &a[0], &a[1], &a[2],
                  &a[3], &a[4], &a[5]);
      run.Moves.push_back({a[0], a[1], a[5]});
    }
  }
  if (pipe == nullptr || pclose(pipe) == -1) run.Errors.push_back("rs274 did not run");
  return run;
}

}  // namespace vantora::testing
