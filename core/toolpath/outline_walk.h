#pragma once

#include "core/common/host.h"
#include "core/model/data_module.h"

namespace vantora {

// The cells a walk keeps to: columns MinI - 1 to MaxI + 1 (the cutting range), rows
// from MinJ (the row above the start height) up.
struct TraceWindow {
  int MinI = 0, MaxI = 0, MinJ = 0;
};

// The walk along the outline of one section that turns it into the store's ToolPath:
// from the start height on the left of the cutting range it climbs along the outline,
// goes over the top and comes down the other side until it leaves its window.
// Straight stretches of the staircase outline are reduced to their end points.
class OutlineWalk {
 public:
  OutlineWalk(TDataModule1& store, Host& host) : store_(store), host_(host) {}

  // The window of a walk on the store's raster, from the start height and the range.
  static TraceWindow WindowOf(const TDataModule1& store);

  // Walks the raster's outline after RasterizeSection; appends the points to ToolPath
  // (the caller empties it before). A window that holds no
  // fresh outline cell from the start row up to the last row a step may use yields no
  // point.
  void TraceOutline();

  // After TraceOutline: the walk stopped inside its window above the start row, where
  // no outline cell led on, instead of coming down beside the silhouette.
  bool EndedInDeadEnd() const;
  // The point of cell (i, j), as EmitPathPoint makes it: x from the rotation axis, y up
  // from the raster's bottom row.
  static PathPoint PointOf(const TDataModule1& store, int i, int j);

 private:
  bool FindStart();
  bool InWindow() const;
  // One step to the first neighbour, left first and then counterclockwise, whose
  // outline weight is at least `threshold` (2 or 1), lowering the weight of the cell
  // left by 1. False when the walk has left its window or no neighbour qualifies.
  bool TraceStep(int threshold);
  // Turns cell (i, j) into a point (PointOf) and stores it, holding back points inside
  // straight runs.
  void EmitPathPoint(int i, int j);
  void StorePoint(float x, float y);

  TDataModule1& store_;
  Host& host_;
  TraceWindow window_;
  int i_ = 0, j_ = 0;     // the cell the walk stands on
  bool first_ = true;     // no point stored yet
  bool pending_ = false;  // a point inside a straight run is held back
  bool closing_ = false;  // the walk has ended; its last point is stored whatever it is
  // The previously emitted point.
  int previousI_ = 0, previousJ_ = 0;
  float previousX_ = 0, previousY_ = 0;
  // Direction (sign of the column and row steps) of the straight run being held back;
  // (0, 0) for none.
  int runDi_ = 0, runDj_ = 0;
};

}  // namespace vantora
