// Broken and hostile files, each opened while a good model is loaded: every one gets a
// clear message and leaves the store and the session as they were.
#include <gtest/gtest.h>

#include <limits>
#include <memory>
#include <optional>
#include <tuple>

#include "core/app/scan_import.h"
#include "core/app/stl_import.h"
#include "scripted_host.h"
#include "stl_builder.h"
#include "test_files.h"

namespace vantora {
namespace {

using namespace testing;

// A good model loaded (with a tool path made for it), then a broken file written
// beside it, or none for a file that is missing.
struct Loaded {
  Loaded(bool scan, const std::string& name, const std::optional<std::string>& content) {
    WriteFile(dir.File("good.stl"), testing::TextStl({{0, 0, 1, 1, 2, 3, 4, 5, 6, 7, 8, 9}}));
    WriteFile(dir.File("good.sca"), "500,1000,2000,1000,\n1000,3000,1000,\n");
    FacetTable good(16);
    EXPECT_TRUE(scan ? ReadScanModel(dir.File("good.sca"), *store, session, host).status
                     : ReadStlModel(dir.File("good.stl"), *store, session, good, host));
    store->ToolPathReady = 1;
    if (content) WriteFile(dir.File(name), *content);
  }
  // What a refused import must leave as it was.
  auto Now() const {
    const TDataModule1& s = *store;
    return std::tuple(s.MaxX, s.MinX, s.MaxY, s.MinY, s.MaxZ, s.MinZ, s.ScanMaxI, s.ScanMaxJ,
                      s.ToolPathReady, s.ViewDistance, s.OutputScale, session.ScanFileCount);
  }

  testing::TempDir dir;
  std::unique_ptr<TDataModule1> store = std::make_unique<TDataModule1>();
  Session session;
  testing::ScriptedHost host;
};

struct BrokenFile {
  const char* name;
  std::optional<std::string> content;
  const char* says;
};

// Each file refused with a message naming it and what is wrong, nothing changed.
void ExpectRefused(bool scan, const std::vector<BrokenFile>& files) {
  for (const auto& f : files) {
    Loaded w(scan, f.name, f.content);
    const auto before = w.Now();
    FacetTable table(16);
    const std::string path = w.dir.File(f.name);
    const Status status = scan ? ReadScanModel(path, *w.store, w.session, w.host).status
                               : ReadStlModel(path, *w.store, w.session, table, w.host);
    EXPECT_FALSE(status.ok()) << f.name;
    EXPECT_NE(status.message().find(f.says), std::string::npos) << status.message();
    EXPECT_NE(status.message().find(f.name), std::string::npos) << status.message();
    EXPECT_EQ(w.Now(), before) << f.name;
  }
}

std::string Binary(float bad) {
  StlRecord record{0, 0, 1, 1, 2, 3, 4, 5, 6, 7, 8, 9};
  record[5] = bad;
  return testing::BinaryStl({record});
}

std::string OneFacet(const std::string& loop) {
  return "solid x\nfacet normal 0 0 1\nouter loop\n" + loop + "endloop\nendfacet\nendsolid x\n";
}

TEST(BrokenStlFiles, RefusedWithAMessageAndNothingChanges) {
  const std::vector<StlRecord> four(4, StlRecord{0, 0, 1, 1, 2, 3, 4, 5, 6, 7, 8, 9});
  ExpectRefused(false, {
      {"missing.stl", std::nullopt, "Cannot open"},
      {"empty.stl", "", "too short"},
      {"83-bytes.stl", std::string(83, 'x'), "too short"},
      {"nuls.stl", std::string(200, '\0'), "holds no facets"},
      {"no-facet.stl", "solid x\nendsolid x\n", "too short"},
      {"zero-count.stl", testing::BinaryStl(four, 0), "holds no facets"},
      {"negative-count.stl", testing::BinaryStl(four, -5), "holds no facets"},
      {"nan.stl", Binary(std::numeric_limits<float>::quiet_NaN()), "not finite"},
      {"inf.stl", Binary(-std::numeric_limits<float>::infinity()), "not finite"},
      {"long-line.stl", OneFacet("vertex " + std::string(1'000'000, '7') + " 2 3\n"
                                 "vertex 0 0 0\nvertex 1 1 1\n"),
       "too large"},
      {"huge-number.stl", OneFacet("vertex 1e39 0 0\nvertex 0 0 0\nvertex 1 1 1\n"),
       "line 7: a number is too large"},
      {"one-number.stl", OneFacet("vertex 1\nvertex 0 0 0\nvertex 1 1 1\n"),
       "line 4: a vertex needs three numbers"},
      {"five-vertices.stl",
       OneFacet("vertex 1 1 1\nvertex 2 2 2\nvertex 3 3 3\nvertex 4 4 4\nvertex 5 5 5\n"),
       "line 7: a facet with more than three vertices"},
      {"one-vertex.stl", "facet normal 0 0 1\nouter loop\nvertex 1 2 3\nendloop\n",
       "line 4: a facet loop without exactly three vertices"},
      {"loose-vertex.stl", "vertex 1 2 3\n", "line 1: a vertex outside a facet loop"},
      {"nested-loop.stl", "outer loop\nouter loop\n", "line 2: a loop opens inside another loop"},
  });
}

TEST(BrokenStlFiles, AHugeCountOverFewRecordsReadsTheRecordsAndSaysSo) {
  Loaded w(false, "cut.stl",
           testing::BinaryStl(std::vector<StlRecord>(3, StlRecord{0, 0, 1, 1, 2, 3}), 0x7fffffff));
  FacetTable table(16);
  ASSERT_TRUE(ReadStlModel(w.dir.File("cut.stl"), *w.store, w.session, table, w.host));
  EXPECT_EQ(table.FacetCount, 3);
  ASSERT_EQ(w.host.messages.size(), 1u);
  EXPECT_NE(w.host.messages[0].find("announces 2147483647 facets but holds 3"),
            std::string::npos);
}

std::string LineOf(int points) {
  std::string line;
  for (int k = 0; k < points; ++k) line += "5,";
  return line + "\n";
}

TEST(BrokenScanFiles, RefusedWithAMessageAndNothingChanges) {
  std::string manyLines = "100," + LineOf(2);
  for (int k = 0; k < 6000; ++k) manyLines += LineOf(2);
  ExpectRefused(true, {
      {"missing.sca", std::nullopt, "Cannot open"},
      {"empty.sca", "", "it holds no comma-closed field, so no pitch."},
      {"no-comma.sca", "100 5 6\n", "it holds no comma-closed field, so no pitch."},
      {"pitch-only.sca", "100,\n", "it holds no height."},
      {"wide.sca", "100," + LineOf(6001), "line 1: more than 6000 points on one line"},
      {"long.sca", manyLines, "it holds more than 6000 lines of points"},
      {"pitch-zero.sca", "0,1,2,\n", "line 1: the pitch \"0\" is not a positive number."},
      {"pitch-negative.sca", "\n-5,1,\n", "line 2: the pitch \"-5\" is not a positive number."},
      {"pitch-empty.sca", ",1,\n", "line 1: the pitch \"\" is not a positive number."},
      {"pitch-tiny.sca", "1e-45,1,\n", "line 1: the pitch \"1e-45\" is not a positive number."},
      {"pitch-nan.sca", "nan,1,\n", "line 1: the pitch \"nan\" is not a positive number."},
      {"pitch-huge.sca", "1e38,1,\n2,\n3,\n4,\n5,\n", "its pitch is too large for 5 points."},
      {"height-nan.sca", "100,1,\n2,NAN,\n", "line 2: the height \"NAN\" is not a number."},
      {"height-huge.sca", "100,1,1e39,\n", "line 1: the height \"1e39\" is not a number."},
  });
}

}  // namespace
}  // namespace vantora
