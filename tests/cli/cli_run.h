#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "cli_app.h"

namespace vantora::testing {

// One run of vantora-cli: its exit status and what it printed.
struct CliRun {
  int status;
  std::string out;
  std::string err;
};

inline CliRun RunTool(const std::vector<std::string>& args) {
  std::ostringstream out, err;
  const int status = RunCli(args, out, err);
  return {status, out.str(), err.str()};
}

}  // namespace vantora::testing
