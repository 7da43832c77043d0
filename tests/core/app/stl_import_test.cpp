#include "core/app/stl_import.h"

#include <gtest/gtest.h>

#include <memory>

#include "scripted_host.h"
#include "stl_builder.h"
#include "test_files.h"

namespace vantora {
namespace {

using testing::ScriptedHost;
using testing::SharedModel;
using testing::StlRecord;
using testing::TempDir;
using testing::WriteFile;

struct Import {
  Status Read(const std::string& path) { return ReadStlModel(path, *store, session, *table, host); }
  std::unique_ptr<TDataModule1> store = std::make_unique<TDataModule1>();
  Session session;
  std::unique_ptr<FacetTable> table = std::make_unique<FacetTable>();
  ScriptedHost host;
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
  for (const auto& m : models) {
    const auto path = SharedModel(m.name);
    VANTORA_REQUIRE_SHARED_MODEL(path);
    Import in;
    ASSERT_TRUE(in.Read(path.string()).ok()) << m.name;
    EXPECT_EQ(in.table->FacetCount, m.facets) << m.name;
  }
}

TEST(ReadStlModel, TextAndBinaryBlocksAgree) {
  const auto text = SharedModel("admesh-examples-block.stl");
  const auto binary = SharedModel("admesh-test-block-binary.stl");
  VANTORA_REQUIRE_SHARED_MODEL(text);
  VANTORA_REQUIRE_SHARED_MODEL(binary);
  Import a, b;
  ASSERT_TRUE(a.Read(text.string()).ok());
  ASSERT_TRUE(b.Read(binary.string()).ok());
  EXPECT_EQ(a.store->MaxX, b.store->MaxX);
  EXPECT_EQ(a.store->MinZ, b.store->MinZ);
  EXPECT_EQ(a.store->MaxZ, b.store->MaxZ);
  EXPECT_NEAR(a.store->MaxX, 1.9685, 1e-4);  // a 100 mm block in inches
}

TEST(ReadStlModel, SetsWhatTheOpenFileFlowSets) {
  TempDir dir;
  WriteFile(dir.File("m.stl"), testing::TextStl({{0, 0, 1, 0, 0, 0, 10, 0, 0, 0, 20, 5}}));
  Import in;
  in.store->ToolPathReady = 1;
  in.store->ImportMirrorZ = 1;
  ASSERT_TRUE(in.Read(dir.File("m.stl")).ok());
  EXPECT_EQ(in.table->FacetCount, 1);
  EXPECT_EQ(in.session.ScanFileCount, 0);
  EXPECT_EQ(in.store->OutputScale, 1.0f);
  EXPECT_EQ(in.store->ToolPathReady, 0);
  EXPECT_EQ(in.store->ImportMirrorZ, 1);  // fields the import does not set stay
  EXPECT_TRUE(in.table->UseFileNormals);
  EXPECT_EQ(in.store->ModelSize, 20.0f);
}

TEST(ReadStlModel, FailureLeavesTheStoreAsItWas) {
  TempDir dir;
  StlRecord bad{0, 0, 1, 1, 2, 3, 4, 5, 6, 7, 8, 9};
  bad[4] = std::numeric_limits<float>::quiet_NaN();
  WriteFile(dir.File("nan.stl"), testing::BinaryStl({bad}));
  WriteFile(dir.File("empty.stl"), "");
  WriteFile(dir.File("nofacet.stl"), "solid x\nendsolid x\n");
  WriteFile(dir.File("broken.stl"), "solid x\nfacet normal 0 0 1\nouter loop\nvertex 1\n");
  const struct {
    const char* file;
    ErrorCode code;
  } cases[] = {{"nan.stl", ErrorCode::NonFinite},
               {"empty.stl", ErrorCode::Malformed},
               {"nofacet.stl", ErrorCode::Malformed},
               {"broken.stl", ErrorCode::Malformed},
               {"missing.stl", ErrorCode::CannotOpen}};
  for (const auto& c : cases) {
    Import in;
    in.store->MaxX = 42;
    in.store->MinZ = -3;
    in.store->ToolPathReady = 1;
    in.session.ScanFileCount = 2;
    const Status status = in.Read(dir.File(c.file));
    EXPECT_EQ(status.code(), c.code) << c.file << ": " << status.message();
    EXPECT_NE(status.message().find(c.file), std::string::npos) << status.message();
    EXPECT_EQ(in.store->MaxX, 42) << c.file;
    EXPECT_EQ(in.store->MinZ, -3) << c.file;
    EXPECT_EQ(in.store->ToolPathReady, 1) << c.file;
    EXPECT_EQ(in.session.ScanFileCount, 2) << c.file;
  }
}

TEST(ReadStlModel, CutShortFilesAreReadWithAWarning) {
  TempDir dir;
  const std::vector<StlRecord> four(4, StlRecord{0, 0, 1, 1, 2, 3, 4, 5, 6, 7, 8, 9});
  WriteFile(dir.File("cut.stl"), testing::BinaryStl(four, 10));
  Import in;
  ASSERT_TRUE(in.Read(dir.File("cut.stl")).ok());
  EXPECT_EQ(in.table->FacetCount, 4);
  ASSERT_EQ(in.host.messages.size(), 1u);
  EXPECT_NE(in.host.messages[0].find("announces 10 facets but holds 4"), std::string::npos);
}

TEST(ReadStlModel, BinaryWithTrailingBytesAndShortPiecesIsReadAsBinary) {
  TempDir dir;
  WriteFile(dir.File("b.stl"), testing::ShortPieceBinaryStl(10) + "\n\n");
  Import in;
  ASSERT_TRUE(in.Read(dir.File("b.stl")).ok());
  EXPECT_EQ(in.table->FacetCount, 10);
  EXPECT_EQ(in.store->MaxX, 7);
}

TEST(PlaceStlModel, AsksAndPlacesOrOnlyZeroesMinZ) {
  TempDir dir;
  WriteFile(dir.File("m.stl"), testing::TextStl({{0, 0, 1, 10, -4, 2, 30, 6, 2, 10, 6, 12}}));
  Import ok;
  ASSERT_TRUE(ok.Read(dir.File("m.stl")).ok());
  const auto dims = PlaceStlModel(*ok.store, *ok.table, ok.host);
  ASSERT_EQ(ok.host.questions.size(), 1u);
  EXPECT_EQ(ok.host.questions[0].text, "Move to platform ?");
  EXPECT_EQ(ok.host.questions[0].caption, "Position Message");
  ASSERT_TRUE(dims);
  EXPECT_EQ(dims->X, 20.0f);
  EXPECT_EQ(ok.store->MinX, -10);
  EXPECT_EQ(ok.store->MinZ, 0);

  Import cancel;
  cancel.host.answers = {false};
  ASSERT_TRUE(cancel.Read(dir.File("m.stl")).ok());
  EXPECT_FALSE(PlaceStlModel(*cancel.store, *cancel.table, cancel.host));
  EXPECT_EQ(cancel.store->MinZ, 0.0);
  EXPECT_EQ(cancel.store->MinX, 10);  // the file's place
  EXPECT_EQ(cancel.store->MaxZ, 12);
  EXPECT_EQ(cancel.table->Facets[0].V1, (Vec3{10, -4, 2}));
}

}  // namespace
}  // namespace vantora
