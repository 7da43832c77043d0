#pragma once

#include <functional>
#include <vector>

#include "core/model/section_raster.h"

namespace vantora {

// Whether the wire may move straight from one point of a section to another.
using ShortcutAllowed = std::function<bool(PathPoint from, PathPoint to)>;

// Replaces the staircase `path` by a polyline of far fewer points within `tolerance` mm
// of it: every point of the staircase lies within the tolerance of the new path and the
// new path within it of the staircase. The first and last points stay, and so do the
// model's corners (between two long straight runs, or sharper than 45 degrees). Every
// move is one that `allowed` accepts or a move of the staircase itself: where no new
// move is accepted the path goes to the next staircase point, and a move ending off
// the staircase is taken only when `allowed` accepts that way on from its end.
//
// Greedy ordered stabbing, near-linear: from the end of the last move, the cone of
// directions that pass within the tolerance of each following staircase point narrows
// point by point until it closes; the move takes the cone's bisector up to the foot of
// the last point it holds, which starts the next move within the tolerance of the
// staircase. Each point is looked at about once; a move that fails the exact segment
// test or `allowed` covers one point fewer.
void SmoothPath(std::vector<PathPoint>& path, double tolerance, const ShortcutAllowed& allowed);

}  // namespace vantora
