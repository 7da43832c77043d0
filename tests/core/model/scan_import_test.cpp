#include "model/scan_import.h"

#include <gtest/gtest.h>

#include <memory>

#include "scripted_host.h"
#include "test_files.h"

namespace vantora {
namespace {

using testing::ScriptedHost;
using testing::TempDir;
using testing::WriteFile;

// A bump of 4 x 3 points 0.5 mm apart, every height above the platform.
constexpr std::string_view kBump =
    "500,1000,2000,2000,1000,\n1000,3000,3000,1000,\n1000,2000,2000,1000,\n";

struct Import {
  ScanReadResult Read(const std::string& path) {
    return ReadScanModel(path, *store, session, host);
  }
  std::unique_ptr<TDataModule1> store = std::make_unique<TDataModule1>();
  Session session;
  std::unique_ptr<FacetTable> table = std::make_unique<FacetTable>(64);
  ScriptedHost host;
};

TEST(ReadScanModel, FirstScanStartsAView) {
  TempDir dir;
  WriteFile(dir.File("bump.sca"), kBump);
  Import im;
  im.session.TouchPointSize = 0.8f;
  const ScanReadResult read = im.Read(dir.File("bump.sca"));
  ASSERT_TRUE(read.status) << read.status.message();
  EXPECT_EQ(read.repairedPoints, 0);
  EXPECT_EQ(im.session.ScanFileCount, 0);
  EXPECT_EQ(im.store->ProbeSize, 0.8f);
  EXPECT_EQ(im.store->ScanMaxI, 3);
  EXPECT_EQ(im.store->ScanMaxJ, 2);
  EXPECT_EQ(im.store->ViewDistance, 0.38f * im.store->ModelSize);
  EXPECT_EQ(im.host.progress.back(), std::make_pair(100, 100));

  BuildScanFaces(*im.store, im.session, *im.table, im.host);
  EXPECT_EQ(im.table->FacetCount, 2 * 3 * 2);
  EXPECT_EQ(im.store->OutputScale, im.store->ViewDistance);
  EXPECT_TRUE(im.host.messages.empty());
}

TEST(ReadScanModel, RepairedPointsAreCounted) {
  TempDir dir;
  WriteFile(dir.File("short.sca"), "100,5,6,7,\n8,9,\n");
  Import im;
  EXPECT_EQ(im.Read(dir.File("short.sca")).repairedPoints, 2);
}

TEST(ReadScanModel, RefusalsChangeNeitherStoreNorSession) {
  TempDir dir;
  WriteFile(dir.File("bump.sca"), kBump);
  WriteFile(dir.File("bad.sca"), "0,1,2,\n");
  Import im;
  ASSERT_TRUE(im.Read(dir.File("bump.sca")).status);
  const double maxX = im.store->MaxX;

  const ScanReadResult missing = im.Read(dir.File("none.sca"));
  EXPECT_EQ(missing.status.code(), ErrorCode::CannotOpen);
  const ScanReadResult bad = im.Read(dir.File("bad.sca"));
  EXPECT_EQ(bad.status.code(), ErrorCode::InvalidValue);
  EXPECT_EQ(bad.status.message(), "Cannot read \"" + dir.File("bad.sca") +
                                      "\": line 1: the pitch \"0\" is not a positive number.");
  EXPECT_EQ(im.session.ScanFileCount, 0);
  EXPECT_EQ(im.store->MaxX, maxX);
  EXPECT_EQ(im.store->ScanPitch, 0.5f);
}

TEST(BuildScanFaces, AddedScanKeepsTheViewAndFollowsTheMirrorRequest) {
  TempDir dir;
  WriteFile(dir.File("bump.sca"), kBump);
  Import first;
  ASSERT_TRUE(first.Read(dir.File("bump.sca")).status);
  BuildScanFaces(*first.store, first.session, *first.table, first.host);

  // The same scan added to the view of an STL model, with a Z mirror requested.
  Import added;
  added.session.ScanFileCount = 0;
  added.store->ViewDistance = first.store->ViewDistance;
  added.store->ImportMirrorZ = 1;
  ASSERT_TRUE(added.Read(dir.File("bump.sca")).status);
  EXPECT_EQ(added.session.ScanFileCount, 1);
  BuildScanFaces(*added.store, added.session, *added.table, added.host);
  ASSERT_EQ(added.table->FacetCount, first.table->FacetCount);
  for (int k = 0; k < first.table->FacetCount; ++k) {
    const Facet& normal = first.table->Facets[std::size_t(k)];
    const Facet& reversed = added.table->Facets[std::size_t(k)];
    EXPECT_EQ(reversed.V1, normal.V3);
    EXPECT_EQ(reversed.V2, normal.V2);
    EXPECT_EQ(reversed.V3, normal.V1);
  }
}

TEST(BuildScanFaces, FullTableIsReported) {
  TempDir dir;
  WriteFile(dir.File("bump.sca"), kBump);
  Import im;
  im.table = std::make_unique<FacetTable>(5);
  ASSERT_TRUE(im.Read(dir.File("bump.sca")).status);
  BuildScanFaces(*im.store, im.session, *im.table, im.host);
  EXPECT_EQ(im.table->FacetCount, 5);
  ASSERT_EQ(im.host.messages.size(), 1u);
  EXPECT_EQ(im.host.messages[0],
            "The scan gives more facets than a view can hold (5): the faces beyond that were "
            "left out.");
  EXPECT_EQ(im.store->OutputScale, im.store->ViewDistance);
}

}  // namespace
}  // namespace vantora
