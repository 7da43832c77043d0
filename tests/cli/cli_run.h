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

// One facet from (10, -4, 2) to (30, 6, 12), as a text STL.
inline constexpr std::string_view kOneFacetStl =
    "solid t\n facet normal 0 0 1\n  outer loop\n   vertex 10 -4 2\n   vertex 30 6 2\n"
    "   vertex 10 6 12\n  endloop\n endfacet\nendsolid t\n";

// A bump of 4 x 3 points 0.5 mm apart, in thousandths of a millimetre.
inline constexpr std::string_view kBumpScan =
    "500,1000,2000,2000,1000,\r\n1000,3000,3000,1000,\r\n1000,2000,2000,1000,\r\n";

}  // namespace vantora::testing
