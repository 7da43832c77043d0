#pragma once

#include <string>
#include <string_view>

#include "core/common/host.h"
#include "core/app/session.h"
#include "core/model/data_module.h"
#include "core/scan/scan_reader.h"
#include "core/model/facet_table.h"

namespace vantora {

// Shown at the end of a scan import whose lines had to be repaired.
inline constexpr const char* kScanRepairMessage = "Some data error";

// Whether a file name names a scan file: it ends in ".sca", in any case. What an
// open dialog's filter entries would show it under.
bool IsScanFileName(std::string_view path);

// The reading part of opening a scan file: counts the scan in the session's
// ScanFileCount (0 after the count means it starts a new view), copies the
// TouchPointSize into the probe and reads the file into the store with ReadScanFile.
// A file that cannot be opened or is refused changes neither the store nor the
// session, and the status says why.
ScanReadResult ReadScanModel(const std::string& path, TDataModule1& store, Session& session,
                             Host& host);

// The face part: appends the scan's faces to `table`, which is a new, empty table
// when the scan starts a new view (ScanFileCount 0) and the current view's otherwise;
// an added scan is built in reversed winding when the import asked for a Z mirror.
// Then OutputScale becomes ViewDistance; a scan added to the view of an STL model is
// kept in that model's millimetres instead, with the normals of its windings, and
// OutputScale stays 1. A table that fills up is reported through the host, and the
// faces that fit stay.
void BuildScanFaces(TDataModule1& store, const Session& session, FacetTable& table, Host& host);

}  // namespace vantora
