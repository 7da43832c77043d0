// Writes the yardstick scan, a bump with ripples on a plinth, as a scan file:
// make_scan WIDTH LINES PITCH_UM OUT.sca
#include <cstdio>
#include <cstdlib>

#include "core/common/atomic_file.h"
#include "scan.h"

int main(int argc, char** argv) {
  if (argc != 5) {
    std::fprintf(stderr, "usage: make_scan WIDTH LINES PITCH_UM OUT.sca\n");
    return 2;
  }
  const int width = std::atoi(argv[1]), lines = std::atoi(argv[2]), pitch = std::atoi(argv[3]);
  if (width < 1 || lines < 1 || pitch < 1) {
    std::fprintf(stderr, "make_scan: WIDTH, LINES and PITCH_UM must be positive whole numbers\n");
    return 2;
  }
  vantora::AtomicFileWriter file(argv[4]);
  vantora::Status status = file.Open();
  if (status) {
    file.Write(vantora::bench::ScanText(width, lines, pitch));
    status = file.Commit();
  }
  if (!status) {
    std::fprintf(stderr, "%s\n", status.message().c_str());
    return 1;
  }
  std::printf("%s: %d x %d points, %d um apart\n", argv[4], width, lines, pitch);
  return 0;
}
