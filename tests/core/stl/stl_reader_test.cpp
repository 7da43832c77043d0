#include "core/stl/stl_reader.h"

#include <gtest/gtest.h>

#include <memory>
#include <tuple>

#include "scripted_host.h"
#include "stl_builder.h"

namespace vantora {
namespace {

using namespace testing;

// A store and a table prepared as the open-file flow prepares them.
struct Intake {
  TextStlResult Text(std::string_view text) { return ReadTextStl(text, *store, *table, host); }
  BinaryStlResult Binary(const std::string& bytes) {
    return ReadBinaryStl(std::as_bytes(std::span(bytes.data(), bytes.size())), *store, *table,
                         host);
  }
  Vec3 Vertex(int facet, int v) const {
    const Facet& f = table->Facets[facet];
    return v == 0 ? f.V1 : v == 1 ? f.V2 : f.V3;
  }

  std::unique_ptr<TDataModule1> store = std::make_unique<TDataModule1>();
  std::unique_ptr<FacetTable> table = std::make_unique<FacetTable>(16);
  testing::ScriptedHost host;
};

// One facet with corners (1, 2, 3), the origin and the origin.
constexpr std::string_view kOneFacet =
    "solid a\nfacet normal 0 0 1\nouter loop\nvertex 1 2 3\nvertex 0 0 0\nvertex 0 0 0\n"
    "endloop\nendfacet\nendsolid a\n";

TEST(ReadTextStl, ToleratesWhatRealExportersWrite) {
  const std::string text =
      "SOLID Block\r\n"
      "\tFACET NORMAL 0.0E+000 0.0E+000 1.0E+000\r\n"
      "\t\tOUTER LOOP\r\n"
      "\t\t\tVERTEX 1.0  2.0\t3.0\r\n"
      "      vertex   1.0E+001   -2.5e-001 +4\r\n"
      "\t\t\tVertex 0 0 0\r\n"
      "\t\tENDLOOP\r\n"
      "\tENDFACET\r\n"
      "ENDSOLID Block\r\n";
  Intake in;
  const TextStlResult r = in.Text(text);
  ASSERT_EQ(r.kind, TextStlResult::Kind::Read) << r.status.message();
  ASSERT_EQ(r.facetCount, 1);
  EXPECT_EQ(in.Vertex(0, 0), (Vec3{1.0f, 2.0f, 3.0f}));
  EXPECT_EQ(in.Vertex(0, 1), (Vec3{10.0f, -0.25f, 4.0f}));
  EXPECT_EQ(in.table->Facets[0].Normal, (Vec3{0, 0, 1}));
}

// Both forms keep the order of facets and vertices and the file's normals. Every Y
// is 1 or more: bounds grown from zero instead of the first vertex would give MinY 0.
TEST(ReadStl, KeepsFacetAndVertexOrderAndGrowsBoundsFromTheFirstVertex) {
  const std::vector<StlRecord> records = {
      {0, 0, 1, -5, 2, 3, 4, 5, 6, 7, 8, 9},
      {1, 0, 0, 1, 1, 1, 2, 2, 2, 3, 3, 3},
      {0, 0, 1, 9, 9, 9, 8, 8, 8, 7, 7, 70},
  };
  for (bool binary : {false, true}) {
    Intake in;
    const int read =
        binary ? in.Binary(BinaryStl(records, std::nullopt, "solid looks like text")).facetCount
               : in.Text(testing::TextStl(records)).facetCount;
    ASSERT_EQ(read, 3) << binary;
    for (int f = 0; f < 3; ++f) {
      EXPECT_EQ(in.table->Facets[f].Normal, (Vec3{records[f][0], records[f][1], records[f][2]}));
      for (int v = 0; v < 3; ++v) {
        const Vec3 expected{records[f][3 + 3 * v], records[f][4 + 3 * v], records[f][5 + 3 * v]};
        EXPECT_EQ(in.Vertex(f, v), expected) << binary << " " << f << " " << v;
      }
    }
    EXPECT_EQ((std::array{in.store->MinX, in.store->MaxX, in.store->MinY, in.store->MaxZ}),
              (std::array{-5.0, 9.0, 1.0, 70.0}))
        << binary;
  }
}

// Junk, texts cut short and more facets than the table holds. A long text without a
// facet is not taken for text once the watchdog has run out; a cut keeps the whole
// facets; the text keeps what fits in the table, the binary form (whose count is known
// beforehand) reads none.
TEST(ReadStl, JunkCutShortAndTooManyFacets) {
  using Kind = TextStlResult::Kind;
  const std::string one(kOneFacet);
  std::string junk, seventeen;
  for (int k = 0; k < 5000; ++k) junk += "no facet here\n";
  for (int k = 0; k < 17; ++k) seventeen += one;
  const struct {
    std::string text;
    int watchdogMs;
    Kind kind;
    int facets;
    bool truncated;
    ErrorCode code;
  } cases[] = {
      {junk + one, 0, Kind::NotText, 0, false, ErrorCode::None},
      {one.substr(0, one.find("endloop") + 7), 2000, Kind::Read, 1, false, ErrorCode::None},
      {one + "facet normal 0 0 1\nouter loop\nvertex 1 1 1\n", 2000, Kind::Read, 1, true,
       ErrorCode::None},
      {seventeen, 2000, Kind::Failed, 16, false, ErrorCode::CapacityExceeded},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text.substr(c.text.size() - 30));
    Intake in;
    const TextStlResult r = ReadTextStl(c.text, *in.store, *in.table, in.host,
                                        std::chrono::milliseconds(c.watchdogMs));
    EXPECT_EQ(std::tuple(r.kind, r.facetCount, r.truncated, r.status.code()),
              std::tuple(c.kind, c.facets, c.truncated, c.code));
  }
  Intake binary;
  const BinaryStlResult b = binary.Binary(BinaryStl(std::vector<StlRecord>(17)));
  EXPECT_EQ(std::tuple(b.status.code(), b.facetCount), std::tuple(ErrorCode::CapacityExceeded, 0));
}

TEST(HasBinaryStlSize, ExactSizeOnly) {
  const std::string two = BinaryStl(std::vector<StlRecord>(2));
  const std::string cut = two.substr(0, two.size() - 1);
  EXPECT_TRUE(HasBinaryStlSize(std::as_bytes(std::span(two.data(), two.size()))));
  EXPECT_FALSE(HasBinaryStlSize(std::as_bytes(std::span(cut.data(), cut.size()))));
}

}  // namespace
}  // namespace vantora
