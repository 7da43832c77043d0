#pragma once

#include <vector>

#include "core/check/plane_geometry.h"

namespace vantora {

// What one candidate section keeps at each slice of height: spans of u = cos t x - sin t y
// (mm), the model's x and y turned by the section's turn t. The wire cuts a strip through
// the whole stock along the turned y axis, so a slice keeps the stock's points whose u lies
// in a span; the sections' slices intersect.
struct StripSpan {
  double Lo = 0, Hi = 0;
};
struct CandidateStrip {
  double Turn = 0;                               // radians
  std::vector<std::vector<StripSpan>> Slices;    // every strip has as many
  double PathLength = 0;                         // mm of wire path, estimated
};

// Candidate strips over a square stock of half side Reach about the axis, slices
// SliceStep mm apart.
struct StripSet {
  std::vector<CandidateStrip> Candidates;
  double SliceStep = 0;
  double Reach = 0;
};

// Angles chosen from a strip set. Order lists candidates in the order a greedy choice
// adds them (the chosen ones first, then what more sections would add, while any adds
// material); Left[k] is the material left (mm³ of stock) by the first k + 1 of them;
// Deviation is the largest distance (mm, within a slice) of the chosen carving from
// the carving all candidates leave, AllLeft that carving's volume.
struct AngleChoice {
  std::vector<int> Order;
  std::vector<double> Left;
  int Count = 0;
  double Deviation = 0;
  double AllLeft = 0;
};

// The fewest candidates whose carving lies within `deviation` mm of all candidates'
// carving: greedily the one that removes the most material, until within; then each
// chosen one that the others make unnecessary is dropped.
AngleChoice ChooseWithin(const StripSet& strips, double deviation);

// `sections` candidates (or all there are, when fewer) leaving the least material, added
// greedily by what each removes.
AngleChoice ChooseCount(const StripSet& strips, int sections);

}  // namespace vantora
