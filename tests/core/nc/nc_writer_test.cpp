#include "core/nc/nc_writer.h"

#include <gtest/gtest.h>

#include <memory>

#include "scripted_host.h"

namespace vantora {
namespace {

using testing::ScriptedHost;

struct Writing {
  std::unique_ptr<TDataModule1> store = std::make_unique<TDataModule1>();
  NcFormat format;
  NcProgram program;

  std::vector<std::string> Lines() const {
    std::vector<std::string> lines;
    for (int k = 0; k < program.LineCount(); ++k) lines.emplace_back(program.Line(k));
    return lines;
  }
};

using Lines = std::vector<std::string>;

TEST(NcWriter, FirstMotionLineThenOnlyTheChangedAxes) {
  Writing w;
  NcWriter writer(w.format, *w.store, w.program);
  writer.StartProgram();
  writer.WriteNcLine(12.5f, 3.0f, 0.0f);
  writer.WriteNcLine(12.7f, 3.0f, 0.0f);
  writer.WriteNcLine(12.7f, 3.0f, 0.0f);  // unchanged: no line
  writer.WriteNcLine(12.7f, -1.25f, 0.0f);
  writer.WriteNcLine(12.7f, -1.25f, 5.0f);  // the table turns
  writer.EndProgram();
  EXPECT_EQ(w.Lines(), (Lines{"", "G1 X 12.500 Y 3.000 C 0.000 F300", " X 12.700", " Y -1.250",
                              " C 5.000", "M30\n"}));
}

TEST(NcWriter, UsesTheFormatsLettersSpeedAndFirstLine) {
  Writing w;
  w.format = ParseNcFormatLine("UVAs1200hG90 G21/");
  NcWriter writer(w.format, *w.store, w.program);
  writer.StartProgram();
  writer.WriteNcLine(0.0f, 1.0f, 90.0f);
  EXPECT_EQ(w.Lines(), (Lines{"G90 G21", "G1 U 0.000 V 1.000 A 90.000 F1200"}));
}

// A start angle with a fraction never matches its key, so every line is a full one.
TEST(NcWriter, StartAngleWithAFractionMakesEveryLineAFirstMotionLine) {
  Writing w;
  w.store->StartAngle = 2.5f;
  NcWriter writer(w.format, *w.store, w.program);
  writer.StartProgram();
  writer.WriteNcLine(1.0f, 2.0f, 2.5f);
  writer.WriteNcLine(1.0f, 2.0f, 2.5f);
  writer.WriteNcLine(1.5f, 2.0f, 2.5f);
  EXPECT_EQ(w.Lines(), (Lines{"", "G1 X 1.000 Y 2.000 C 2.500 F300",
                              "G1 X 1.000 Y 2.000 C 2.500 F300",
                              "G1 X 1.500 Y 2.000 C 2.500 F300"}));
}

// Each program starts from the writer's initial state: a second run with the same start
// angle still begins with a full first motion line.
TEST(NcWriter, EveryProgramStartsFresh) {
  Writing w;
  for (int run = 0; run < 2; ++run) {
    NcWriter writer(w.format, *w.store, w.program);
    writer.StartProgram();
    writer.WriteNcLine(4.0f, 5.0f, 0.0f);
    writer.EndProgram();
  }
  EXPECT_EQ(w.Lines(), (Lines{"", "G1 X 4.000 Y 5.000 C 0.000 F300", "M30\n", "",
                              "G1 X 4.000 Y 5.000 C 0.000 F300", "M30\n"}));
}

// Backward the section comes down to its start point too: a walk whose first move is
// straight stores that point once, and without it the descent is lost.
TEST(NcWriter, WritesSectionsForwardAndBackwardDownToTheStartPoint) {
  Writing w;
  TDataModule1& s = *w.store;
  s.ToolPath = {{1, 1}, {1, 2}, {2, 2}};
  s.PathCount = 3;
  ScriptedHost host;
  NcWriter writer(w.format, s, w.program);
  writer.StartProgram();
  s.PathDirection = 1;
  writer.WriteSectionNc(0.0f, host);
  s.PathDirection = -1;
  writer.WriteSectionNc(5.0f, host);
  EXPECT_EQ(w.Lines(), (Lines{"", "G1 X 1.000 Y 1.000 C 0.000 F300", " Y 2.000", " X 2.000",
                              " C 5.000", " X 1.000", " Y 1.000"}));
  // A section of one point writes it backward as forward.
  s.ToolPath = {{7, 7}};
  s.PathCount = 1;
  writer.WriteSectionNc(10.0f, host);
  EXPECT_EQ(w.Lines().back(), " X 7.000 Y 7.000 C 10.000");
}

}  // namespace
}  // namespace vantora
