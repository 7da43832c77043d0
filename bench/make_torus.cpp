// Writes a closed torus (R 100 mm, r 30 mm) of about N facets as STL, the yardstick
// mesh of the benchmarks: make_torus N OUT.stl [--text]
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "core/common/silent_host.h"
#include "core/stl/stl_writer.h"
#include "torus.h"

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: make_torus FACETS OUT.stl [--text]\n");
    return 2;
  }
  const long facets = std::strtol(argv[1], nullptr, 10);
  const bool text = argc > 3 && std::string(argv[3]) == "--text";
  auto table = std::make_unique<vantora::FacetTable>();
  vantora::bench::FillTorus(*table, facets);
  vantora::SilentHost host;
  const auto form = text ? vantora::StlForm::Text : vantora::StlForm::Binary;
  if (auto s = vantora::SaveStl(argv[2], form, *table, {}, host); !s) {
    std::fprintf(stderr, "%s\n", s.message().c_str());
    return 1;
  }
  std::printf("%s: %d facets\n", argv[2], table->FacetCount);
  return 0;
}
