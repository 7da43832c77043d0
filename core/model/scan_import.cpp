#include "model/scan_import.h"

#include "common/mapped_file.h"
#include "mesh/scan_faces.h"

namespace vantora {

ScanReadResult ReadScanModel(const std::string& path, TDataModule1& store, Session& session,
                             Host& host) {
  MappedFile file;
  if (Status s = file.Open(path); !s) return {s};
  const int scanFileCount = session.ScanFileCount + 1;
  ScanReadResult result =
      ReadScanFile(file.text(), store, session.TouchPointSize, scanFileCount == 0, host);
  if (!result.status) {
    result.status = Status::Error(result.status.code(),
                                  "Cannot read \"" + path + "\": " + result.status.message());
    return result;
  }
  session.ScanFileCount = scanFileCount;
  return result;
}

void BuildScanFaces(TDataModule1& store, const Session& session, FacetTable& table, Host& host) {
  const bool reversed = session.ScanFileCount > 0 && store.ImportMirrorZ == 1;
  if (Status s = BuildFaces(store, table, reversed); !s) host.ShowMessage(s.message());
  store.OutputScale = store.ViewDistance;
}

}  // namespace vantora
