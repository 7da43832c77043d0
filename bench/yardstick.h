#pragma once

#include <memory>

#include "core/app/session.h"
#include "core/common/silent_host.h"
#include "core/model/data_module.h"
#include "core/toolpath/section_outline.h"
#include "core/app/tool_path_commands.h"
#include "toolpath_models.h"
#include "torus.h"

namespace vantora::bench {

// The yardstick torus of `facets` facets set up for tool paths (resolution 0.2, wire
// 1.0, the standard margin unless given), its raster clear.
struct Yardstick {
  std::unique_ptr<TDataModule1> store = std::make_unique<TDataModule1>();
  std::unique_ptr<FacetTable> table = std::make_unique<FacetTable>();
  Session session;
  SilentHost host;

  explicit Yardstick(long facets, WireMargin margin = {}) {
    FillTorus(*table, facets);
    testing::FitBounds(*store, *table);
    SetUpToolPath(*store, session, *table, host, {0.2f, 1.0f, margin});
    ClearRaster(*store);
  }
};

}  // namespace vantora::bench
