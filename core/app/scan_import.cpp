#include "core/app/scan_import.h"

#include <algorithm>
#include <cctype>

#include "core/common/mapped_file.h"
#include "core/scan/scan_faces.h"

namespace vantora {

bool IsScanFileName(std::string_view path) {
  constexpr std::string_view kSuffix = ".sca";
  auto same = [](char lower, char c) {
    return lower == std::tolower(static_cast<unsigned char>(c));
  };
  return path.size() >= kSuffix.size() &&
         std::equal(kSuffix.begin(), kSuffix.end(), path.end() - kSuffix.size(), same);
}

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
  session.SweptMotion.reset();
  return result;
}

namespace {

// A view holding an STL model keeps millimetres and draws the facets' own normals.
// A scan that joins it is brought to millimetres as its own view would save it (view
// units times ViewDistance) and given the normals of its windings, so that the whole
// model is drawn, cut and saved in one unit.
void JoinStlModel(const TDataModule1& store, FacetTable& table, int first) {
  const float scale = store.ViewDistance;
  for (int k = first; k < table.FacetCount; ++k) {
    Facet& f = table.Facets[k];
    for (Vec3* v : {&f.V1, &f.V2, &f.V3}) {
      for (float& c : *v) c *= scale;
    }
    f.Normal = TriangleNormal(f.V3, f.V2, f.V1);
  }
}

}  // namespace

void BuildScanFaces(TDataModule1& store, const Session& session, FacetTable& table, Host& host) {
  const bool reversed = session.ScanFileCount > 0 && session.ImportTurn.MirrorZ;
  const int first = table.FacetCount;
  if (Status s = BuildFaces(store, table, reversed); !s) host.ShowMessage(s.message());
  if (table.UseFileNormals) {
    JoinStlModel(store, table, first);  // the output scale stays the STL model's 1
    return;
  }
  store.OutputScale = store.ViewDistance;
}

}  // namespace vantora
