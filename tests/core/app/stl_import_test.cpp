#include "core/app/stl_import.h"

#include <gtest/gtest.h>

#include <memory>
#include <tuple>

#include "scripted_host.h"
#include "stl_builder.h"
#include "test_files.h"

namespace vantora {
namespace {

using namespace testing;

struct Import {
  Status Read(const std::string& path) { return ReadStlModel(path, *store, session, *table, host); }
  std::unique_ptr<TDataModule1> store = std::make_unique<TDataModule1>();
  Session session;
  std::unique_ptr<FacetTable> table = std::make_unique<FacetTable>();
  testing::ScriptedHost host;
};

TEST(ReadStlModel, PublicModelsInBothForms) {
  const struct {
    const char* name;
    int facets;
  } models[] = {
      {"admesh-examples-block.stl", 12},     {"admesh-test-block-binary.stl", 12},
      {"admesh-examples-conveyor.stl", 799}, {"admesh-examples-hourglass.stl", 2146},
      {"ocl-ktoolcor.stl", 3802},            {"ocl-mount_rush.stl", 15592},
      {"ocl-spider.stl", 15540},             {"ocl-sphere.stl", 962},
  };
  // The same block in both forms: a 100 mm block in inches.
  const auto textBlock = SharedModel(models[0].name), binaryBlock = SharedModel(models[1].name);
  VANTORA_REQUIRE_SHARED_MODEL(textBlock);
  VANTORA_REQUIRE_SHARED_MODEL(binaryBlock);
  Import text, binary;
  ASSERT_TRUE(text.Read(textBlock.string()).ok());
  ASSERT_TRUE(binary.Read(binaryBlock.string()).ok());
  EXPECT_EQ(text.store->MaxX, binary.store->MaxX);
  EXPECT_EQ(text.store->MinZ, binary.store->MinZ);
  EXPECT_EQ(text.store->MaxZ, binary.store->MaxZ);
  EXPECT_NEAR(text.store->MaxX, 1.9685, 1e-4);
  for (const auto& m : models) {
    const auto path = SharedModel(m.name);
    VANTORA_REQUIRE_SHARED_MODEL(path);
    Import in;
    ASSERT_TRUE(in.Read(path.string()).ok()) << m.name;
    EXPECT_EQ(in.table->FacetCount, m.facets) << m.name;
  }
}

// A model read after a scan with a tool path: the tool path is stale and the view
// is one of millimetres with the file's normals again.
TEST(ReadStlModel, SetsWhatTheOpenFileFlowSets) {
  TempDir dir;
  WriteFile(dir.File("m.stl"), testing::TextStl({{0, 0, 1, 0, 0, 0, 10, 0, 0, 0, 20, 5}}));
  Import in;
  in.store->ToolPathReady = 1;
  in.session.ImportTurn.MirrorZ = true;
  in.store->OutputScale = 0.3f;
  in.session.ScanFileCount = 2;
  ASSERT_TRUE(in.Read(dir.File("m.stl")).ok());
  // The import dialog's choice, which the import does not set, stays.
  EXPECT_EQ(std::tuple(in.table->FacetCount, in.session.ScanFileCount, in.store->OutputScale,
                       in.store->ToolPathReady, in.session.ImportTurn.MirrorZ, in.store->ModelSize),
            std::tuple(1, 0, 1.0f, 0, true, 20.0f));
  EXPECT_TRUE(in.table->UseFileNormals);
}

TEST(ReadStlModel, BinaryWithTrailingBytesAndShortPiecesIsReadAsBinary) {
  TempDir dir;
  WriteFile(dir.File("b.stl"), testing::ShortPieceBinaryStl(10) + "\n\n");
  Import in;
  ASSERT_TRUE(in.Read(dir.File("b.stl")).ok());
  EXPECT_EQ(in.table->FacetCount, 10);
  EXPECT_EQ(in.store->MaxX, 7);
}

// Cancel to "Move to platform ?" leaves the model where the file has it, only MinZ
// set to 0 (an accepted placement is the placement's own, and the CLI's, to check).
TEST(PlaceStlModel, CancelOnlyZeroesMinZ) {
  TempDir dir;
  WriteFile(dir.File("m.stl"), testing::TextStl({{0, 0, 1, 10, -4, 2, 30, 6, 2, 10, 6, 12}}));
  Import cancel;
  cancel.host.answers = {false};
  ASSERT_TRUE(cancel.Read(dir.File("m.stl")).ok());
  EXPECT_FALSE(PlaceStlModel(*cancel.store, *cancel.table, cancel.host));
  EXPECT_EQ(cancel.host.questions.size(), 1u);
  EXPECT_EQ(std::tuple(cancel.store->MinZ, cancel.store->MinX, cancel.store->MaxZ),
            std::tuple(0.0, 10.0, 12.0));
  EXPECT_EQ(cancel.table->Facets[0].V1, (Vec3{10, -4, 2}));
}

}  // namespace
}  // namespace vantora
