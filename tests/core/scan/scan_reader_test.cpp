#include "core/scan/scan_reader.h"

#include <gtest/gtest.h>

#include <limits>
#include <memory>
#include <string>
#include <tuple>

#include "scripted_host.h"

namespace vantora {
namespace {

using Lines = std::vector<std::vector<float>>;

struct Parsed {
  explicit Parsed(std::string_view text) : status(ParseScanFile(text, host, scan)) {}
  testing::ScriptedHost host;
  ScanFile scan;
  Status status;
};

// The first line of the examples: pitch 100 and the heights 5, 6, 7.
constexpr std::string_view kFirst = "100,5,6,7,\n";

// Lines of unequal length are repaired to one width, every written point counted.
TEST(ParseScanFile, FieldRulesAndRepairOfUnequalLines) {
  const struct {
    std::string text;
    Lines lines;
    int repaired = 0;
  } cases[] = {
      {"100,5,6,7,\n8,9,10,\n", {{5, 6, 7}, {8, 9, 10}}},
      // An empty field repeats the height before it, across lines too.
      {std::string(kFirst) + "8,,10,\n", {{5, 6, 7}, {8, 8, 10}}},
      {std::string(kFirst) + ",9,10,\n", {{5, 6, 7}, {7, 9, 10}}},
      // 'P' ends the data of a line; text after the last comma is no field.
      {"100,1,2,\n5,6,P7,\n", {{1, 2}, {5, 6}}},
      {"100,1,2,\n5,6,7", {{1, 2}, {5, 6}}},
      // CR LF line ends read as LF; fields convert as atof does.
      {"100,1,2,\r\n 5,0x10,\r\n12abc,-0.5e1,\r\n", {{1, 2}, {5, 16}, {12, -5}}},
      // Lines without any comma-closed field are skipped wherever they are.
      {"scan of a bump\n\n100,1,2,\n\n3,4,\n\n", {{1, 2}, {3, 4}}},
      // A shorter line's own last height is replaced too (t = 1 and t = 2).
      {std::string(kFirst) + "8,9,\n", {{5, 6, 7}, {8, 6, 7}}, 2},
      // The first line's last height is taken from the longer second line too.
      {std::string(kFirst) + "8,9,10,11,\n12,13,14,15,\n",
       {{5, 6, 10, 11}, {8, 9, 10, 11}, {12, 13, 14, 15}}, 2},
      {"100,1,2,3,\n4,5,6,\n7,8,9,10,11,\n",
       {{1, 2, 3, 10, 11}, {4, 5, 9, 10, 11}, {7, 8, 9, 10, 11}}, 3 + 2},
      {"100,\n4,5,\n6,7,\n", {{4, 5}, {4, 5}, {6, 7}}, 2},  // the pitch alone on its line
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    const Parsed p(c.text);
    ASSERT_TRUE(p.status) << p.status.message();
    EXPECT_EQ(p.scan.Pitch, 100.0f);
    EXPECT_EQ(p.scan.Lines, c.lines);
    EXPECT_EQ(p.scan.RepairedPoints, c.repaired);
  }
}

TEST(ParseScanFile, LongFieldsAndLongLinesAreReadWhole) {
  std::string line = "100.00000000000000,";
  for (int i = 0; i < 6000; ++i) line += std::string(34, '0') + std::to_string(i) + ",";
  ASSERT_GT(line.size(), 200'000u);
  const Parsed p(line + "\n" + line.substr(line.find(',') + 1) + "\n");
  ASSERT_TRUE(p.status) << p.status.message();
  EXPECT_EQ(p.scan.Pitch, 100.0f);
  ASSERT_EQ(p.scan.Width(), 6000);
  EXPECT_EQ(p.scan.Lines[1][5999], 5999.0f);
  EXPECT_EQ(p.scan.LargestHeight, 5999.0f);
}

// 6000 points on a line and 6000 lines fit the grid (one more of either is among the
// broken inputs).
TEST(ParseScanFile, TheGridHoldsSixThousandPointsEachWay) {
  std::string wide = "100,";
  for (int i = 0; i < 6000; ++i) wide += "1,";
  std::string tall = "100,1,\n";
  for (int j = 1; j < 6000; ++j) tall += "1,\n";
  EXPECT_TRUE(Parsed(wide + "\n").status);
  EXPECT_TRUE(Parsed(tall).status);
}

struct Reading {
  ScanReadResult Read(std::string_view text, float touchPointSize = 0.5f, bool newView = true) {
    return ReadScanFile(text, *store, touchPointSize, newView, host);
  }
  std::unique_ptr<TDataModule1> store = std::make_unique<TDataModule1>();
  testing::ScriptedHost host;
};

// A short last line keeps the repaired width; the tallest height read, though
// repaired away, sets the top.
TEST(ReadScanFile, PlacesTheGridCentredInMillimetres) {
  Reading r;
  const ScanReadResult result = r.Read(std::string(kFirst) + "8,9,\n");
  ASSERT_TRUE(result.status) << result.status.message();
  EXPECT_EQ(result.repairedPoints, 2);
  const TDataModule1& s = *r.store;
  EXPECT_EQ(std::tuple(s.ScanMaxI, s.ScanMaxJ, s.ScanPitch), std::tuple(2, 1, 0.1f));
  // Heights turn into millimetres in f32: 0.001f x 9, not quite 0.009f.
  const float top = 0.001f * 9.0f;
  EXPECT_EQ((std::array{s.MinX, s.MaxX, s.MinY, s.MaxY, s.MinZ, s.MaxZ}),
            (std::array{double(-0.1f), double(0.1f), double(-0.05f), double(0.05f), 0.0,
                        double(top)}));
  EXPECT_EQ(std::tuple(s.ModelSize, s.ScanTopZ), std::tuple(0.2f, top));
  const float heights[2][3] = {{0.005f, 0.006f, 0.007f}, {0.008f, 0.006f, 0.007f}};
  for (int j = 0; j < 2; ++j) {
    for (int i = 0; i < 3; ++i) {
      const GridCell &scan = s.ScanGrid.At(i, j), &base = s.BaseGrid.At(i, j);
      EXPECT_FLOAT_EQ(scan.X, 0.1f * float(i - 1));
      EXPECT_FLOAT_EQ(scan.Y, 0.1f * float(j) - 0.05f);
      EXPECT_FLOAT_EQ(scan.Z, heights[j][i]);
      EXPECT_EQ(std::tuple(base.X, base.Y), std::tuple(scan.X, scan.Y));
      EXPECT_LE(base.Z, s.ScanTopZ);
    }
  }
  EXPECT_EQ(s.ScanGrid.At(1, 0).X, 0.0f);  // the middle point snaps to exactly 0
  EXPECT_EQ(s.ScanGrid.Find(3, 0), nullptr);
  EXPECT_EQ(s.ScanGrid.Find(0, 2), nullptr);
}

// Faces of an added scan are divided by the view's ViewDistance, which the added scan
// leaves alone: a view of no size, or one far too small for the scan, cannot take it.
TEST(ReadScanFile, AddedScanNeedsAScaleThatKeepsItFinite) {
  Reading added;
  added.store->ViewDistance = 3.0f;
  ASSERT_TRUE(added.Read(kFirst, 0.5f, false).status);
  EXPECT_EQ(added.store->ViewDistance, 3.0f);

  Reading r;
  ASSERT_TRUE(r.Read("100,0,\n").status);  // one point on the platform
  EXPECT_EQ(r.store->ViewDistance, 0.0f);
  EXPECT_EQ(r.Read(kFirst, 0.5f, false).status.code(), ErrorCode::InvalidValue);
  EXPECT_EQ(r.store->ScanMaxI, 0);
  EXPECT_EQ(r.store->ScanGrid.Find(1, 0), nullptr);

  r.store->ViewDistance = 1e-38f;
  EXPECT_TRUE(r.Read("100,5,6,7,\n", 0.5f, false).status);  // 0.1 mm reach stays finite
  EXPECT_EQ(r.Read("1000000,5,6,7,\n", 0.5f, false).status.code(), ErrorCode::InvalidValue);
  EXPECT_EQ(r.store->ScanPitch, 0.1f);
  // A scan that starts its own view sets the scale itself.
  EXPECT_TRUE(r.Read("1000000,5,6,7,\n", 0.5f, true).status);
}

TEST(ReadScanFile, RefusalChangesNothing) {
  Reading r;
  ASSERT_TRUE(r.Read("100,5,6,7,\n8,9,10,\n").status);
  const TDataModule1& s = *r.store;
  const GridCell before = s.BaseGrid.At(1, 1);
  const double maxX = s.MaxX;
  EXPECT_EQ(r.Read("200,1,2,3,4,\n5,6,7,8,\n9,nan,\n").status.code(), ErrorCode::NonFinite);
  EXPECT_EQ(std::tuple(s.MaxX, s.ScanMaxI, s.ScanMaxJ, s.ScanPitch, s.BaseGrid.At(1, 1).Z),
            std::tuple(maxX, 2, 1, 0.1f, before.Z));
  EXPECT_EQ(s.ScanGrid.Find(3, 0), nullptr);
  EXPECT_EQ(s.ScanGrid.Find(0, 2), nullptr);
}

// Touch points the compensation cannot hold: a ball of 1e8 mm would put every
// compensated height at or below the platform in f32, so the scan would turn into no
// faces at all; a ball of 0.5 mm on 2000 x 2000 points 1 um apart (the short lines
// repaired to the full width) spans too many steps. Nothing is read.
TEST(ReadScanFile, RefusesATouchPointTheCompensationCannotHold) {
  std::string fine = "1,";
  for (int i = 0; i < 2000; ++i) fine += "1,";
  for (int j = 1; j < 2000; ++j) fine += "\n1,";
  const std::string small = "100,5,6,7,\n8,9,10,\n";
  const struct {
    std::string text;
    float size;
    const char* says;
  } cases[] = {
      {small, -0.5f, ""},
      {small, 1e8f, ""},
      {small, std::numeric_limits<float>::quiet_NaN(), ""},
      {fine, 0.5f,
       "reaches 249 points to each side at this pitch, too many for a scan of 2000 x 2000 points"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.size);
    Reading r;
    const ScanReadResult result = r.Read(c.text, c.size);
    EXPECT_EQ(result.status.code(), ErrorCode::InvalidValue);
    EXPECT_NE(result.status.message().find(c.says), std::string::npos) << result.status.message();
    EXPECT_EQ(r.store->ScanGrid.Find(0, 0), nullptr);
  }
  // The same ball on a small scan is compensated, and so is a large ball.
  EXPECT_TRUE(Reading().Read("1,1,2,3,\n4,5,6,\n", 0.5f).status);
  EXPECT_TRUE(Reading().Read(small, 1000.0f).status);
}

TEST(ReadScanFile, SecondFileReusesCellsInsideTheFirstGrid) {
  Reading r;
  ASSERT_TRUE(r.Read("100,1,2,3,\n4,5,6,\n7,8,9,\n", 0.0f).status);
  TDataModule1& s = *r.store;
  GridCell* inside = &s.BaseGrid.At(2, 2);
  inside->Marked = 1;
  // Its own pitch, reference line and repair count.
  const ScanReadResult second = r.Read("50,9,9,9,9,\n9,9,9,9,\n9,9,9,9,\n9,9,9,9,\n", 0.0f);
  ASSERT_TRUE(second.status) << second.status.message();
  EXPECT_EQ(second.repairedPoints, 0);
  EXPECT_EQ(s.ScanPitch, 0.05f);
  EXPECT_EQ(s.ScanMaxI, 3);
  EXPECT_EQ(&s.BaseGrid.At(2, 2), inside);
  EXPECT_EQ(inside->Marked, 1);  // kept from the first scan: all its heights are the top
  EXPECT_EQ(inside->Z, 0.001f * 9.0f);
  EXPECT_EQ(s.BaseGrid.At(3, 3).Marked, 0);  // a fresh cell
}

TEST(EnsureCell, CreatesOutsideTheEarlierGridAndReusesInside) {
  auto store = std::make_unique<TDataModule1>();
  TDataModule1& s = *store;
  for (int i : {0, 1, 2, 3}) s.BaseGrid.Create(i, 1).Marked = 1;
  s.ScanGrid.Create(1, 1);
  // A fresh store (limits 0) always creates.
  EXPECT_EQ(EnsureCell(s, 0, 1).base.Marked, 0);
  s.ScanMaxI = 2;
  s.ScanMaxJ = 2;
  const ScanCells inside = EnsureCell(s, 1, 1);
  EXPECT_EQ(inside.base.Marked, 1);
  EXPECT_EQ(&inside.scan, s.ScanGrid.Find(1, 1));
  EXPECT_EQ(EnsureCell(s, 2, 1).base.Marked, 1);  // its missing ScanGrid cell is made
  EXPECT_NE(s.ScanGrid.Find(2, 1), nullptr);
  EXPECT_EQ(EnsureCell(s, 3, 1).base.Marked, 0);  // beyond ScanMaxI: fresh
  s.BaseGrid.Create(1, 0).Marked = 1;
  EXPECT_EQ(EnsureCell(s, 1, 0).base.Marked, 1);
  s.ScanMaxJ = 0;  // after a grid of one line nothing is kept
  EXPECT_EQ(EnsureCell(s, 1, 0).base.Marked, 0);
}

}  // namespace
}  // namespace vantora
