// The tool-path engine on small generated solids, with cells up to ten times the wire:
// set-up, sweep (smoothed or not, from a start height), NC writing and the program
// check. Nothing may crash, and a program written with the preset range must keep the
// wire off the model on the machine, as a replay apart from the program check finds.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "core/app/session.h"
#include "core/common/silent_host.h"
#include "core/check/program_check.h"
#include "core/app/tool_path_commands.h"
#include "machine_replay.h"
#include "toolpath_models.h"

namespace {

using namespace vantora;

// Reads the input a byte at a time; past its end every byte is 0.
class Bytes {
 public:
  Bytes(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  int Next() { return at_ < size_ ? data_[at_++] : 0; }
  float Between(float lo, float hi) { return lo + (hi - lo) * float(Next()) / 255.0f; }
  bool More() const { return at_ < size_; }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t at_ = 0;
};

// Turns the facets from `first` on by `turn` radians about the z axis.
void Turn(FacetTable& t, int first, float turn) {
  for (int k = first; k < t.FacetCount; ++k) {
    Facet& f = t.Facets[std::size_t(k)];
    for (Vec3* v : {&f.V1, &f.V2, &f.V3}) {
      const float x = (*v)[0], y = (*v)[1];
      *v = {std::cos(turn) * x - std::sin(turn) * y, std::sin(turn) * x + std::cos(turn) * y, (*v)[2]};
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static SilentHost host;
  Bytes in(data, size);
  auto store = std::make_unique<TDataModule1>();
  FacetTable table(256);
  // Up to four boxes standing on the platform, each 2 to 30 mm, within 20 mm of the axis.
  for (int box = 0; box < 4 && (box == 0 || in.More()); ++box) {
    const float x = in.Between(-20, 10), y = in.Between(-20, 10), z = box == 0 ? 0 : in.Between(0, 20);
    const int first = table.FacetCount;
    testing::AddBox(table, x, x + in.Between(2, 30), y, y + in.Between(2, 30), z,
                    z + in.Between(2, 30));
    Turn(table, first, in.Between(0, 3.2f));
  }
  testing::FitBounds(*store, table);
  Session session;
  ToolPathSetUp setUp;
  setUp.Resolution = in.Between(0.1f, 1.0f);
  setUp.WireDia = in.Between(0.1f, 2.0f);
  const SweepAngles angles{0, 5.0f * float(1 + in.Next() % 9), 360};
  if (!SetUpToolPath(*store, session, table, host, setUp)) return 0;
  store->PathTolerance = in.Next() % 2 == 1 ? in.Between(0, 0.5f) : 0;
  if (in.Next() % 4 == 1) store->StartHeight = in.Between(0, 20);
  const std::vector<testing::Triangle> model = testing::TrianglesOf(table);
  NcProgram program;
  if (!RunToolPath(*store, session, table, host, angles, program)) return 0;
  NcMotionList motion;
  if (!ReadNcMotion(program, session.Format, session.Machine, motion)) std::abort();
  const double offsetZ = store->WireMarginCells * double(store->Resolution) + store->MinZ;
  const testing::MachineReach reach =
      testing::ReplayOnMachine(model, store->WireDia, offsetZ, motion);
  if (reach.Depth > kReachTolerance || reach.AxisInside) {
    std::fprintf(stderr, "the wire reaches %.3f mm into the model on the machine\n", reach.Depth);
    std::abort();
  }
  return 0;
}
