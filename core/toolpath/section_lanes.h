#pragma once

#include <atomic>
#include <memory>
#include <optional>
#include <semaphore>
#include <thread>
#include <vector>

#include "core/model/data_module.h"
#include "core/model/facet_table.h"
#include "core/toolpath/section_contour.h"
#include "core/toolpath/section_fill.h"
#include "core/toolpath/section_mesh.h"

namespace vantora {

// Fills the sections of a sweep, in two lanes when two cores are there: the calling
// thread fills the even sections into the store's raster itself, a second thread fills
// the odd ones into a raster of its own while the caller walks and writes the section
// before. Each lane turns its own copy of the vertices through every angle of the
// sweep in order, so both see the model exactly as one turning after the other would.
// The second lane reads only the store's fixed raster geometry (Resolution, AxisColumn,
// WireMarginCells) and its own raster; everything that reaches the host, the NC
// program or the store's raster stays on the calling thread.
// Whether a sweep fills in one lane, two, or as the model's size and the cores say.
enum class LaneChoice { Auto, One, Two };
// What Fill puts into the raster: every facet, as a sweep cuts it; or, for a caller that
// fills the enclosed cells afterwards, the cells of the edges that can bound the
// silhouette (SectionContour) where that saves work, and otherwise every facet.
enum class FillScope { Facets, Outline };

class SectionLanes {
 public:
  // `angles` are the sweep's section angles; the model stands at `turnAngle`. The
  // store's raster must be clear and sized by RasterSetup.
  SectionLanes(TDataModule1& store, const FacetTable& table, std::vector<float> angles,
               float turnAngle, LaneChoice lanes = LaneChoice::Auto,
               FillScope scope = FillScope::Facets);
  ~SectionLanes();
  SectionLanes(const SectionLanes&) = delete;
  SectionLanes& operator=(const SectionLanes&) = delete;

  // Puts the filled (not yet grown) raster of section k into the store, for k = 0, 1,
  // ... in order.
  void Fill(int k);
  // Fills section k's facets again into the store's (cleared) raster, with `coverage`.
  void Refill(int k, FillCoverage coverage);
  // Takes back section k's raster once it has been walked, written and cleared.
  void Done(int k);
  // Writes the vertices as they stand at the last section into the table.
  void StoreInto(FacetTable& table) const;

 private:
  struct Lane;

  bool OnSecondLane(int k) const { return second_ != nullptr && k % 2 == 1; }
  void TurnTo(Lane& lane, int k, const SectionRaster& raster);
  void RunSecondLane();

  TDataModule1& store_;
  const std::vector<float> angles_;
  const SectionMesh mesh_;
  std::optional<SectionContour> contour_;  // when filling the outline
  std::unique_ptr<Lane> first_;
  std::unique_ptr<Lane> second_;  // none when one core or a small sweep
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

}  // namespace vantora
