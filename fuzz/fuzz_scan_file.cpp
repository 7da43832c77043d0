// The scan reader, then on scans small enough for the fuzzer's time limit the whole
// reading step, the faces, and the compensation checked against its definition.
#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string_view>

#include "core/common/silent_host.h"
#include "core/scan/probe_compensation.h"
#include "core/scan/scan_faces.h"
#include "core/scan/scan_reader.h"
#include "step_by_step_probe.h"

namespace {

constexpr std::size_t kMaxPoints = 4000;

void CheckCompensation(const vantora::TDataModule1& read, float touchPointSize) {
  using namespace vantora;
  auto stepByStep = std::make_unique<TDataModule1>();
  TDataModule1& s = *stepByStep;
  s.ScanMaxI = read.ScanMaxI;
  s.ScanMaxJ = read.ScanMaxJ;
  s.ScanPitch = read.ScanPitch;
  s.ScanTopZ = read.ScanTopZ;
  s.ProbeSize = touchPointSize;
  const double reach = std::min(ProbeRadiusCells(s.ProbeSize, s.ScanPitch), 1000) + 1.0;
  if ((s.ScanMaxI + 1.0) * (s.ScanMaxJ + 1.0) * reach * reach > 2e5) return;
  for (int j = 0; j <= s.ScanMaxJ; ++j) {
    for (int i = 0; i <= s.ScanMaxI; ++i) {
      s.ScanGrid.Create(i, j).Z = read.ScanGrid.At(i, j).Z;
      s.BaseGrid.Create(i, j).Z = s.ScanTopZ;
    }
  }
  testing::CompensateProbeStepByStep(s);
  for (int j = 0; j <= s.ScanMaxJ; ++j) {
    for (int i = 0; i <= s.ScanMaxI; ++i) {
      const GridCell& fast = read.BaseGrid.At(i, j);
      const GridCell& slow = s.BaseGrid.At(i, j);
      if (std::bit_cast<std::uint32_t>(fast.Z) != std::bit_cast<std::uint32_t>(slow.Z) ||
          fast.Marked != slow.Marked) {
        std::abort();
      }
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace vantora;
  static SilentHost host;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  ScanFile scan;
  if (!ParseScanFile(text, host, scan).ok()) return 0;
  if (std::size_t(scan.Width()) * scan.Lines.size() > kMaxPoints) return 0;
  // The touch-point size comes from the input too, so that every reach is tried.
  const float touchPointSize = float(size % 64) * 0.05f;
  auto store = std::make_unique<TDataModule1>();
  if (!ReadScanFile(text, *store, touchPointSize, true, host).status.ok()) return 0;
  CheckCompensation(*store, touchPointSize);
  FacetTable table(256);  // small, so that a full table is reached too
  (void)BuildFaces(*store, table, size % 2 == 1);
  return 0;
}
