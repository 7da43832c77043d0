#include "core/nc/nc_writer.h"

#include <gtest/gtest.h>

#include <array>
#include <memory>

#include "scripted_host.h"
#include "toolpath_models.h"

namespace vantora {
namespace {

using testing::ScriptedHost;

struct Writing {
  NcFormat format;
  NcProgram program;
  std::vector<std::string> Lines() const { return testing::ProgramLines(program); }
};

using Lines = std::vector<std::string>;

// Programs of moves (x, y, angle): the first motion line gives every axis, the later
// ones only what changed, in the format's letters and speed. A start angle with a
// fraction never matches its key, so every line is a full one. Each program starts from
// the writer's initial state: a second run still begins with a full first motion line.
TEST(NcWriter, FirstMotionLineThenOnlyTheChangedAxes) {
  const struct {
    const char* format;
    float startAngle;
    std::vector<std::array<float, 3>> moves;
    Lines lines;
    int programs = 1;
  } cases[] = {
      {"XYCs300h/", 0, {{12.5f, 3, 0}, {12.7f, 3, 0}, {12.7f, 3, 0}, {12.7f, -1.25f, 0},
                        {12.7f, -1.25f, 5}},
       {"", "G1 X 12.500 Y 3.000 C 0.000 F300", " X 12.700", " Y -1.250", " C 5.000", "M30\n"}},
      {"UVAs1200hG90 G21/", 0, {{0, 1, 90}},
       {"G90 G21", "G1 U 0.000 V 1.000 A 90.000 F1200", "M30\n"}},
      {"XYCs300h/", 2.5f, {{1, 2, 2.5f}, {1, 2, 2.5f}, {1.5f, 2, 2.5f}},
       {"", "G1 X 1.000 Y 2.000 C 2.500 F300", "G1 X 1.000 Y 2.000 C 2.500 F300",
        "G1 X 1.500 Y 2.000 C 2.500 F300", "M30\n"}},
      {"XYCs300h/", 0, {{4, 5, 0}},
       {"", "G1 X 4.000 Y 5.000 C 0.000 F300", "M30\n", "", "G1 X 4.000 Y 5.000 C 0.000 F300",
        "M30\n"},
       2},
      // No value is taken for one already written: a sweep from -123 degrees names C.
      {"XYCs300h/", -123, {{123333, 1, -123}},
       {"", "G1 X 123333 Y 1.000 C -123.000 F300", "M30\n"}},
  };
  for (const auto& c : cases) {
    Writing w;
    w.format = ParseNcFormatLine(c.format);
    for (int run = 0; run < c.programs; ++run) {
      NcWriter writer(w.format, w.program);
      writer.StartProgram(c.startAngle);
      for (const auto& [x, y, angle] : c.moves) writer.WriteNcLine(x, y, angle);
      writer.EndProgram();
    }
    EXPECT_EQ(w.Lines(), c.lines) << c.format;
  }
}

// Backward the section comes down to its start point too: a walk whose first move is
// straight stores that point once, and without it the descent is lost.
TEST(NcWriter, WritesSectionsForwardAndBackwardDownToTheStartPoint) {
  Writing w;
  const std::vector<PathPoint> path{{1, 1}, {1, 2}, {2, 2}};
  ScriptedHost host;
  NcWriter writer(w.format, w.program);
  writer.StartProgram(0);
  writer.WriteSectionNc(path, 0.0f, true, host);
  writer.WriteSectionNc(path, 5.0f, false, host);
  EXPECT_EQ(w.Lines(), (Lines{"", "G1 X 1.000 Y 1.000 C 0.000 F300", " Y 2.000", " X 2.000",
                              " C 5.000", " X 1.000", " Y 1.000"}));
  // A section of one point writes it backward as forward.
  writer.WriteSectionNc({{7, 7}}, 10.0f, false, host);
  EXPECT_EQ(w.Lines().back(), " X 7.000 Y 7.000 C 10.000");
}

}  // namespace
}  // namespace vantora
