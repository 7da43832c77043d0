#include "core/app/scan_import.h"

#include <gtest/gtest.h>

#include <memory>
#include <tuple>

#include "scripted_host.h"
#include "test_files.h"

namespace vantora {
namespace {

struct Import {
  ScanReadResult Read(const std::string& path) {
    return ReadScanModel(path, *store, session, host);
  }
  // Reads the scan at `path` and builds its faces into the table.
  void Build(const std::string& path) {
    const ScanReadResult read = Read(path);
    ASSERT_TRUE(read.status) << read.status.message();
    BuildScanFaces(*store, session, *table, host);
  }
  std::unique_ptr<TDataModule1> store = std::make_unique<TDataModule1>();
  Session session;
  std::unique_ptr<FacetTable> table = std::make_unique<FacetTable>(64);
  testing::ScriptedHost host;
};

// A bump of 4 x 3 points 0.5 mm apart, every height above the platform.
class ScanImport : public ::testing::Test {
 protected:
  ScanImport() {
    testing::WriteFile(bump,
                       "500,1000,2000,2000,1000,\n1000,3000,3000,1000,\n1000,2000,2000,1000,\n");
  }
  testing::TempDir dir;
  const std::string bump = dir.File("bump.sca");
  Import own;  // the bump in a view of its own, once Build is called
};

TEST(IsScanFileName, EndsInScaInAnyCase) {
  for (const char* name : {"a.sca", "dir/B.SCA", "x.Sca", ".sca"}) {
    EXPECT_TRUE(IsScanFileName(name)) << name;
  }
  for (const char* name : {"a.stl", "a.sca.stl", "sca", "a.scan", "a_sca", ""}) {
    EXPECT_FALSE(IsScanFileName(name)) << name;
  }
}

// A table too small for the scan keeps what fits and says so.
TEST_F(ScanImport, FirstScanStartsAView) {
  for (const auto& [capacity, facets] : {std::pair{64, 2 * 3 * 2}, {5, 5}}) {
    Import first;
    first.table = std::make_unique<FacetTable>(capacity);
    first.session.TouchPointSize = 0.8f;
    const ScanReadResult read = first.Read(bump);
    ASSERT_TRUE(read.status) << read.status.message();
    EXPECT_EQ(std::tuple(read.repairedPoints, first.session.ScanFileCount, first.store->ProbeSize,
                         first.store->ScanMaxI, first.store->ScanMaxJ),
              std::tuple(0, 0, 0.8f, 3, 2));
    BuildScanFaces(*first.store, first.session, *first.table, first.host);
    EXPECT_EQ(first.table->FacetCount, facets);
    EXPECT_EQ(first.store->OutputScale, first.store->ViewDistance);
    EXPECT_EQ(first.host.messages.size(), facets == 5 ? 1u : 0u);
  }
}

TEST_F(ScanImport, AddedScanKeepsTheViewAndFollowsTheMirrorRequest) {
  own.Build(bump);
  // The same scan added to the view of a model, with a Z mirror requested.
  Import added;
  added.session.ScanFileCount = 0;
  added.store->ViewDistance = own.store->ViewDistance;
  added.session.ImportTurn.MirrorZ = true;
  added.Build(bump);
  EXPECT_EQ(added.session.ScanFileCount, 1);
  ASSERT_EQ(added.table->FacetCount, own.table->FacetCount);
  for (int k = 0; k < own.table->FacetCount; ++k) {
    const Facet& normal = own.table->Facets[std::size_t(k)];
    const Facet& reversed = added.table->Facets[std::size_t(k)];
    EXPECT_EQ(std::tie(reversed.V1, reversed.V2, reversed.V3),
              std::tie(normal.V3, normal.V2, normal.V1));
  }
}

// A scan added to a table of STL facets (millimetres, file normals) joins it in
// millimetres with the normals of its windings; the output scale stays 1.
TEST_F(ScanImport, ScanAddedToAnStlModelKeepsMillimetres) {
  own.Build(bump);
  Import joined;
  joined.session.ScanFileCount = 0;  // an STL model is loaded
  joined.store->ViewDistance = own.store->ViewDistance;
  joined.store->OutputScale = 1.0f;
  joined.table->UseFileNormals = true;
  joined.table->FacetCount = 1;  // the STL model's one facet
  joined.table->Facets[0] = Facet{{0, 0, 1}, {0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
  joined.Build(bump);
  ASSERT_EQ(joined.table->FacetCount, 1 + own.table->FacetCount);
  EXPECT_EQ(joined.store->OutputScale, 1.0f);
  EXPECT_EQ(joined.table->Facets[0].V2, (Vec3{1, 0, 0}));
  const float unit = own.store->ViewDistance;
  const auto mm = [unit](Vec3 v) { return Vec3{v[0] * unit, v[1] * unit, v[2] * unit}; };
  for (int k = 0; k < own.table->FacetCount; ++k) {
    const Facet& a = own.table->Facets[std::size_t(k)];
    const Facet& b = joined.table->Facets[std::size_t(k + 1)];
    // What the scan's own view would save, exactly.
    EXPECT_EQ(std::tuple(b.V1, b.V2, b.V3), std::tuple(mm(a.V1), mm(a.V2), mm(a.V3)));
    EXPECT_EQ(b.Normal, TriangleNormal(b.V3, b.V2, b.V1));
  }
}

}  // namespace
}  // namespace vantora
