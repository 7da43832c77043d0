#pragma once

#include "core/common/host.h"
#include "core/model/data_module.h"

namespace vantora {

// Grows the marked silhouette by WireMarginCells in four passes, each on the result of
// the one before: along every row rightward, along every column upward, along every
// row leftward (rows from the top down), along every column downward (columns from the
// right). A pass marks the first WireMarginCells cells after each run of marked cells
// that ends inside the line. A line with more than 300 run ends shows "STL File Error"
// once and grows only its first 300.
// `extraCells` widens the margin beyond WireMarginCells.
// A round margin (store.Margin) grows it instead by the disc of WireMarginRadius plus
// `extraCells`: every cell whose centre lies within that many cells of a marked cell's
// centre is marked, exactly as the Euclidean distance says.
void GrowByWireMargin(TDataModule1& store, Host& host, int extraCells = 0);

// Marks every unmarked cell that no 4-connected path of unmarked cells joins to the
// raster's border: a hole the grown silhouette encloses, which the wire cannot reach.
void MarkEnclosedCells(SectionRaster& raster);

// GrowByWireMargin, then MarkEnclosedCells, then outline weight 2 on the first cell of every marked run along
// the rows and along the columns, and on the last cell of every run that ends before
// the end of its line.
void MarkOutline(TDataModule1& store, Host& host, int extraCells = 0);

// Every raster cell unmarked, with outline weight 0.
void ClearRaster(TDataModule1& store);

}  // namespace vantora
