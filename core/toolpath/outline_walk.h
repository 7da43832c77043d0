#pragma once

#include "core/common/host.h"
#include "core/model/data_module.h"

namespace vantora {

// The walk along the outline of one section that turns it into the store's ToolPath:
// from the start height on the left of the cutting range it climbs along the outline,
// goes over the top and comes down the other side until it leaves its window.
// Straight stretches of the staircase outline are reduced to their end points.
class OutlineWalk {
 public:
  OutlineWalk(TDataModule1& store, Host& host) : store_(store), host_(host) {}

  // Walks the raster's outline after RasterizeSection; appends the points to ToolPath
  // (the caller empties it and sets PathCount to 0 before). A window that holds no
  // fresh outline cell from the start row up to the last row a step may use yields no
  // point.
  void TraceOutline();

  // One step to the first neighbour, in the order of NeighbourDx/NeighbourDy, whose
  // outline weight is at least `threshold` (2 or 1), lowering the weight of the cell
  // left by 1. False when the walk has left its window or no neighbour qualifies.
  bool TraceStep(int threshold);

  // Turns cell (i, j) into a point, x = i x Resolution + MinX and y = j x Resolution +
  // MinZ in f32, and stores it, holding back points inside straight runs.
  void EmitPathPoint(int i, int j);

  // After TraceOutline: the walk stopped inside its window above the start row, where
  // no outline cell led on, instead of coming down beside the silhouette.
  bool EndedInDeadEnd() const;
  // The point of cell (i, j), as EmitPathPoint makes it.
  static PathPoint PointOf(const TDataModule1& store, int i, int j);

 private:
  bool FindStart();
  void StorePoint(float x, float y);

  TDataModule1& store_;
  Host& host_;
  // The previously emitted point.
  int previousI_ = 0, previousJ_ = 0;
  float previousX_ = 0, previousY_ = 0;
  // Direction (sign of the column and row steps) of the straight run being held back;
  // (0, 0) for none.
  int runDi_ = 0, runDj_ = 0;
};

}  // namespace vantora
