#include "core/app/stl_import.h"

#include "core/common/mapped_file.h"
#include "core/stl/stl_reader.h"

namespace vantora {
namespace {

// The store fields an STL reading touches, so a failed reading can put them back.
struct IntakeSnapshot {
  explicit IntakeSnapshot(const TDataModule1& s)
      : bounds{s.MaxX, s.MinX, s.MaxY, s.MinY, s.MaxZ, s.MinZ},
        toolPathReady(s.ToolPathReady) {}

  void Restore(TDataModule1& s) const {
    s.MaxX = bounds[0];
    s.MinX = bounds[1];
    s.MaxY = bounds[2];
    s.MinY = bounds[3];
    s.MaxZ = bounds[4];
    s.MinZ = bounds[5];
    s.ToolPathReady = toolPathReady;
  }

  double bounds[6];
  int toolPathReady;
};

void StartIntake(TDataModule1& s) {
  s.MaxZ = s.MinZ = s.MaxY = s.MinY = s.MaxX = s.MinX = 0.0;
}

Status ReadBinaryFacets(std::span<const std::byte> bytes, const std::string& name,
                        TDataModule1& store, FacetTable& table, Host& host, int& facetCount) {
  StartIntake(store);
  const BinaryStlResult binary = ReadBinaryStl(bytes, store, table, host);
  if (!binary.status) return binary.status;
  if (binary.declaredCount > binary.facetCount && binary.facetCount > 0) {
    host.ShowMessage("\"" + name + "\" is cut short: it announces " +
                     std::to_string(binary.declaredCount) + " facets but holds " +
                     std::to_string(binary.facetCount) + "; those were read.");
  }
  facetCount = binary.facetCount;
  return Status::Ok();
}

// Reads the facets in whichever form the file has: text first, binary when the text
// yields no facet. A file of exactly the size a binary STL of its count has is binary
// at once: a text file could have that size only if it were gigabytes long, since its
// bytes 80 to 83 are text and give a count of at least 0x09090909.
Status ReadFacets(std::span<const std::byte> bytes, const std::string& name,
                  TDataModule1& store, FacetTable& table, Host& host, int& facetCount) {
  if (HasBinaryStlSize(bytes)) return ReadBinaryFacets(bytes, name, store, table, host, facetCount);
  const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  const TextStlResult result = ReadTextStl(text, store, table, host);
  switch (result.kind) {
    case TextStlResult::Kind::Read:
      if (result.truncated) {
        host.ShowMessage("\"" + name + "\" ends inside a facet; the facets before it were read.");
      }
      facetCount = result.facetCount;
      return Status::Ok();
    case TextStlResult::Kind::Failed:
      return result.status;
    case TextStlResult::Kind::NotText:
      break;
  }
  return ReadBinaryFacets(bytes, name, store, table, host, facetCount);
}

}  // namespace

Status ReadStlModel(const std::string& path, TDataModule1& store, Session& session,
                    FacetTable& table, Host& host) {
  MappedFile file;
  if (Status s = file.Open(path); !s) return s;
  return ReadStlModel(file.bytes(), path, store, session, table, host);
}

Status ReadStlModel(std::span<const std::byte> bytes, const std::string& name,
                    TDataModule1& store, Session& session, FacetTable& table, Host& host) {
  const IntakeSnapshot before(store);
  StartIntake(store);
  store.ToolPathReady = 0;
  int facetCount = 0;
  Status status = ReadFacets(bytes, name, store, table, host, facetCount);
  if (!status) {
    status = Status::Error(status.code(), "Cannot read \"" + name + "\": " + status.message());
  } else if (facetCount == 0) {
    status = Status::Error(ErrorCode::Empty, "\"" + name + "\" holds no facets.");
  }
  if (!status) {
    before.Restore(store);
    return status;
  }
  session.ScanFileCount = 0;
  session.SweptMotion.reset();
  table.FacetCount = facetCount;
  table.FitViewDistance(store);
  store.OutputScale = 1.0f;
  return Status::Ok();
}

std::optional<ModelDimensions> PlaceStlModel(TDataModule1& store, FacetTable& table,
                                             Host& host) {
  if (!host.AskOkCancel("Move to platform ?", "Position Message")) {
    store.MinZ = 0.0;
    return std::nullopt;
  }
  const ModelDimensions dims = MoveToPlatform(store, table);
  RecentreModel(store, table);
  return dims;
}

}  // namespace vantora
