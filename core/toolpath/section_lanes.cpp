#include "core/toolpath/section_lanes.h"

#include <utility>

#include "core/toolpath/section_fill.h"

namespace vantora {
namespace {

// Below this many facets a second lane costs more than it saves.
constexpr long kFacetsForTwoLanes = 20'000;

}  // namespace

struct SectionLanes::Lane {
  Lane(const SectionMesh& mesh, const TDataModule1& store, float turnAngle)
      : vertices(mesh, store, turnAngle) {}

  TurnedVertices vertices;
  int nextAngle = 0;  // the first angle of the sweep the vertices are not yet turned to
  // The second lane's raster and the hand-over: filled goes to the caller, free back.
  SectionRaster raster;
  std::counting_semaphore<2> filled{0};
  std::counting_semaphore<2> free{1};
};

SectionLanes::SectionLanes(TDataModule1& store, const FacetTable& table,
                           std::vector<float> angles, float turnAngle, LaneChoice lanes,
                           FillScope scope)
    : store_(store),
      angles_(std::move(angles)),
      mesh_(table, store),
      first_(std::make_unique<Lane>(mesh_, store, turnAngle)) {
  if (scope == FillScope::Outline) {
    contour_.emplace(mesh_, angles_, turnAngle);
    if (contour_->SavesWork()) return;  // drawing a section's edges is quick: one lane
    contour_.reset();
  }
  const bool worthTwo =
      table.FacetCount >= kFacetsForTwoLanes && std::thread::hardware_concurrency() >= 2;
  if (angles_.size() < 2 || lanes == LaneChoice::One || (lanes == LaneChoice::Auto && !worthTwo)) {
    return;
  }
  second_ = std::make_unique<Lane>(mesh_, store, turnAngle);
  second_->raster = store.Raster;
  thread_ = std::thread([this] { RunSecondLane(); });
}

SectionLanes::~SectionLanes() {
  if (!thread_.joinable()) return;
  stop_ = true;
  second_->free.release();
  thread_.join();
}

// Turns through every angle up to section k's, each turn from the one before, and
// locates the columns on the raster the lane fills.
void SectionLanes::TurnTo(Lane& lane, int k, const SectionRaster& raster) {
  for (; lane.nextAngle <= k; ++lane.nextAngle) {
    lane.vertices.RotateModel(angles_[std::size_t(lane.nextAngle)]);
  }
  lane.vertices.LocateColumns(raster);
}

void SectionLanes::RunSecondLane() {
  for (int k = 1; k < int(angles_.size()); k += 2) {
    second_->free.acquire();
    if (stop_) return;
    TurnTo(*second_, k, second_->raster);
    FillSection(store_, mesh_, second_->vertices, second_->raster);
    second_->filled.release();
  }
}

void SectionLanes::Fill(int k) {
  if (OnSecondLane(k)) {
    second_->filled.acquire();
    std::swap(store_.Raster, second_->raster);
    return;
  }
  if (contour_) return contour_->Mark(k, store_, store_.Raster);
  TurnTo(*first_, k, store_.Raster);
  FillSection(store_, mesh_, first_->vertices, store_.Raster);
}

// Section k's lane waits with its vertices at section k until Done(k).
void SectionLanes::Refill(int k, FillCoverage coverage) {
  Lane& lane = OnSecondLane(k) ? *second_ : *first_;
  if (contour_) TurnTo(lane, k, store_.Raster);  // drawn sections leave the vertices as they were
  FillSection(store_, mesh_, lane.vertices, store_.Raster, coverage);
}

void SectionLanes::Done(int k) {
  if (!OnSecondLane(k)) return;
  std::swap(store_.Raster, second_->raster);
  second_->free.release();
}

void SectionLanes::StoreInto(FacetTable& table) const {
  const int last = int(angles_.size()) - 1;
  (OnSecondLane(last) ? *second_ : *first_).vertices.StoreInto(table);
}

}  // namespace vantora
