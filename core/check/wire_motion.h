#pragma once

#include "core/check/silhouette_tree.h"
#include "core/model/data_module.h"

namespace vantora {

// How the program's coordinates lie on the model, as on the machine: the table's axis
// at X 0, so NC X = model x, and NC Y = model z + OffsetZ; at rotary position C the
// model stands turned by exactly (C - StandAngle) degrees from its facets as they are
// now. The wire has diameter WireDia.
struct WireFrame {
  double OffsetZ = 0;
  double StandAngle = 0;
  double WireDia = 0;
};

// A position of the three axes, in the program's units.
struct AxisPosition {
  double X = 0, Y = 0, C = 0;
};

// How far the wire reaches into the model on one move: Depth is 0 when it stays
// outside; AxisInside when its axis passes inside the silhouette (Depth is then the
// radius plus a lower bound of how far inside); Angle is the rotary position of the
// deepest point.
struct WireContact {
  double Depth = 0;
  bool AxisInside = false;
  double Angle = 0;
};

// How far the wire travels relative to the model on the move from `from` to `to`: its
// length in the section plane and the turn at the model's reach (mm).
double MoveTravel(const SilhouetteTree& tree, AxisPosition from, AxisPosition to);

// Replays the straight move from `from` to `to` with all three axes interpolated
// together, as a controller makes it, against the turned model's silhouette. A move at
// one rotary position is measured exactly; a turning one is stepped so that no contact
// deeper than 0.005 mm can lie between two steps, in at most `maxSteps` steps (100,000
// hold moves below 500 mm of travel): beyond them the steps grow and the bound loosens.
WireContact ReplayMove(const SilhouetteTree& tree, const WireFrame& frame, AxisPosition from,
                       AxisPosition to, double maxSteps = 100'000);

// Whether a move at one rotary position keeps the wire off the model, not even grazing
// it: ReplayMove's Depth would be 0, found without measuring how deep a move that does
// reach in goes.
bool KeepsOff(const SilhouetteTree& tree, const WireFrame& frame, AxisPosition from,
              AxisPosition to);

}  // namespace vantora
