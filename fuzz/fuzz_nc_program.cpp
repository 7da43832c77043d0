// NC programs as the program check reads them, replayed against a small box and carved.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

#include "core/check/carved_result.h"
#include "core/check/program_check.h"
#include "shell_edges.h"
#include "toolpath_models.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace vantora;
  static const auto table = [] {
    auto t = std::make_unique<FacetTable>(16);
    testing::AddBox(*t, -5, 5, -5, 5, 0, 10);
    return t;
  }();
  static const SilhouetteTree tree(*table);
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  NcMotionList motion;
  if (!ReadNcMotion(text, NcFormat{}, MachineProfile{}, motion)) return 0;
  const WireFrame frame{1.4, 0, 1.0};
  CheckProgram(tree, frame, motion);
  CarvedResult carved;
  if (CarveSolid(frame, motion, {0, 10, tree.Reach()}, 0.2, carved)) {
    MeasureCarved(*carved.Solid, carved.Slices, *table, tree, 0.2);
    // Slices that split or merge still give a closed surface.
    if (testing::OpenEdges(*carved.Solid) != 0) __builtin_trap();
  }
  return 0;
}
