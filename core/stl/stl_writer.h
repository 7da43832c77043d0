#pragma once

#include <string>

#include "core/common/host.h"
#include "core/common/output_sink.h"
#include "core/common/status.h"
#include "core/model/facet_table.h"

namespace vantora {

// What turns stored facet coordinates into the millimetres written: x' = x x
// OutputScale x XRate (each product rounded to f32), and so on for y and z.
struct StlScaling {
  float OutputScale = 1.0f;
  float XRate = 1.0f, YRate = 1.0f, ZRate = 1.0f;
};

enum class StlForm { Binary, Text };

inline constexpr const char* kStlSolidName = "Morvane_Model";

// Both writers put out every facet in table order with its normal recomputed from the
// stored vertices (the rates do not touch it). Text lines end in CR LF.
void WriteBinaryStl(const FacetTable& table, const StlScaling& scaling, OutputSink& out);
void WriteTextStl(const FacetTable& table, const StlScaling& scaling, OutputSink& out);

// Saves the model through a temporary file that replaces `path` only when complete.
// Shows "Finish" on success; a failure is returned, and the old file stays. Rates that
// would make a coordinate overflow are refused before anything is written.
Status SaveStl(const std::string& path, StlForm form, const FacetTable& table,
               const StlScaling& scaling, Host& host);

}  // namespace vantora
