#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>

#include "core/common/host.h"
#include "core/app/session.h"
#include "core/common/status.h"
#include "core/model/data_module.h"
#include "core/model/facet_table.h"
#include "core/model/placement.h"

namespace vantora {

// The reading part of opening an STL file: the bounds start from zero, the text form
// is tried first and the binary form when the text yields no facet; then the facet
// count, the view scale and the output scale are set and the session knows an STL
// model is loaded. `table` must be new and empty. On failure the store is left as it
// was, the table holds nothing usable, and the status says why.
Status ReadStlModel(const std::string& path, TDataModule1& store, Session& session,
                    FacetTable& table, Host& host);
// The same on the file's bytes; `name` names the file in messages.
Status ReadStlModel(std::span<const std::byte> bytes, const std::string& name,
                    TDataModule1& store, Session& session, FacetTable& table, Host& host);

// Asks "Move to platform ?": OK centres the model and sets it on the platform and
// returns the dimensions to show; Cancel only sets MinZ to 0.
std::optional<ModelDimensions> PlaceStlModel(TDataModule1& store, FacetTable& table,
                                             Host& host);

}  // namespace vantora
