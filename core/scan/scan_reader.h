#pragma once

#include <string_view>
#include <vector>

#include "core/common/host.h"
#include "core/common/status.h"
#include "core/model/data_module.h"

namespace vantora {

// A scan file (*.sca) as read, before anything goes into the store: the pitch and the
// raw heights of every line in thousandths of a millimetre, the lines repaired to one
// width.
//
// The file's lines hold comma-closed fields; a line's data ends at its first 'P', and
// text after its last comma is no field. The first field of the file is the pitch,
// every other field a height; an empty field repeats the height read before it. A
// line without a comma-closed field is skipped. Lines of unequal length are repaired
// against the reference width, which the first line sets:
// - a shorter line gets its last point and the missing ones from the line before;
// - a longer line extends the line before from its own points, that line's last point
//   included, and every earlier line copies its missing points from the line after
//   it, so that every line ends up as wide as the widest.
// Every point a repair writes counts as repaired.
struct ScanFile {
  float Pitch = 0;
  std::vector<std::vector<float>> Lines;  // Lines[j][i]
  float LargestHeight = 0;                // of all heights read, never below 0
  int RepairedPoints = 0;

  int Width() const { return Lines.empty() ? 0 : int(Lines.front().size()); }
};

// Reads the text of a scan file in one pass, reporting the percentage of the text
// read (when it changes) and letting the host process pending messages after each
// line. Fields are
// converted as atof does and kept as f32. Refuses a file that has no pitch or no
// height, a pitch that is not a positive number, a height that is not finite as f32,
// and more than PointGrid::Limit points on a line or lines in the file.
Status ParseScanFile(std::string_view text, Host& host, ScanFile& scan);

// The cells of both grids at one [i][j].
struct ScanCells {
  GridCell& scan;
  GridCell& base;
};

// Makes sure both grids hold a cell at [i][j], which must be InRange: inside the grid
// of the scan read before (whose ScanMaxI and ScanMaxJ the store still holds, both
// above 0) the cells found there are kept, elsewhere fresh cells replace any there.
ScanCells EnsureCell(TDataModule1& store, int i, int j);

struct ScanReadResult {
  Status status;
  int repairedPoints = 0;
};

// Reads a scan into the store: parses `text`, then fills ScanGrid with the points in
// millimetres centred on the origin and BaseGrid with the same points at the top
// height, sets the bounds, sizes and probe fields (ViewDistance only when the scan
// `startsNewView`; ProbeSize from `touchPointSize`) and runs the probe compensation.
// A scan added to a view is refused when the view's ViewDistance cannot scale it to
// finite view units. A refused file changes nothing in the store.
ScanReadResult ReadScanFile(std::string_view text, TDataModule1& store, float touchPointSize,
                            bool startsNewView, Host& host);

}  // namespace vantora
