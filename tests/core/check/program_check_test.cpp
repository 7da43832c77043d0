#include "core/check/program_check.h"

#include <gtest/gtest.h>

#include "toolpath_models.h"

namespace vantora {
namespace {

// A 20 mm box standing on the axis, a 1 mm wire, the model's own frame.
class ProgramCheckTest : public ::testing::Test {
 protected:
  ProgramCheckTest() { testing::AddBox(*table, -10, 10, -10, 10, 0, 20); }

  ProgramReport Check(const std::string& program) {
    NcMotionList motion;
    EXPECT_TRUE(ReadNcMotion(program, NcFormat{}, MachineProfile{}, motion));
    return CheckProgram(SilhouetteTree(*table), frame, motion);
  }

  std::unique_ptr<FacetTable> table = std::make_unique<FacetTable>(64);
  WireFrame frame{0, 0, 1.0};
};

TEST_F(ProgramCheckTest, MovesAroundTheBoxStayOutside) {
  const ProgramReport r = Check(
      "\r\nG1 X -11.000 Y 0.000 C 0.000 F300\r\n Y 21.000\r\n X 11.000\r\n Y 0.000\r\nM30\r\n");
  EXPECT_TRUE(r.Clean());
  EXPECT_EQ(r.MotionLines, 4);
  EXPECT_NEAR(r.PathLength, 21 + 22 + 21, 1e-9);
  EXPECT_NEAR(r.CuttingMinutes, 64.0 / 300, 1e-9);
  EXPECT_EQ(r.X.Min, -11);
  EXPECT_EQ(r.Y.Max, 21);
}

// What each kind of move does to the part, and on which line it is found.
TEST_F(ProgramCheckTest, FindsEveryMoveThatReachesIn) {
  struct Case {
    const char* program;
    int line;
    double depth;
    bool axisInside;
  } cases[] = {
      // Straight under the box: the axis passes 1 mm inside.
      {"G1 X -11 Y 1 C 0 F300\n X 11\n", 2, 1.5, true},
      // The wire's edge grazes the side by 0.3 mm from the first line on.
      {"G1 X -10.2 Y 1 C 0 F300\n Y 15\n", 1, 0.3, false},
      // A point outside at 0 degrees but inside when the table has turned 45 degrees:
      // the box's corner reaches 14.1 mm, and the turning move finds it on the way.
      {"G1 X 12 Y 10 C 0 F300\n C 90\n", 2, 0.5 + 14.142 - 12, true},
      // The first line alone, placed inside.
      {"G1 X 0 Y 10 C 0 F300\n X -20\n", 1, 10.5, true},
  };
  for (const Case& c : cases) {
    const ProgramReport r = Check(c.program);
    ASSERT_FALSE(r.Intrusions.empty()) << c.program;
    EXPECT_EQ(r.Intrusions[0].Line, c.line) << c.program;
    EXPECT_NEAR(r.Intrusions[0].Depth, c.depth, 0.06) << c.program;
    EXPECT_EQ(r.Intrusions[0].AxisInside, c.axisInside) << c.program;
  }
}

TEST(ReadNcMotion, RefusesWhatIsNotAProgramOfItsFormat) {
  NcFormat format;
  format.FirstLine = "G90";
  const std::pair<std::string, std::string> cases[] = {
      {"", "no motion line"},
      {"G90\n X 1\n", "line 2: the first motion line must give all three axes"},
      {"G1 X 1 Y 2 C 0 F300\n X\n", "line 2: axis X has no number"},
      {"G1 X 1 Y 2 C 0 F300\n X 1e999\n", "line 2: axis X has no number"},
      {"G1 X 1 Y 2 C 0 F300\n C 1e7\n", "line 2: axis C lies beyond"},
      {"G1 X 1 Y 2 C 0 Fast\n", "line 1: the feed"},
      {"G1 X 1 Y 2 C 0 F300\n G2 X 2\n", "line 2: \"G2\" is not a word"},
      {"G1 X 1 Y 2 C 0 F300\nM30\n X 5\n", "line 3: text after M30"},
      // What a controller would carry out otherwise than the replay would.
      {"G20\nG1 X 1 Y 2 C 0 F300\n", "line 1: G20 asks for inches"},
      {"G1 X 1 Y 2 C 0 F300\nG91\n", "line 2: G91 asks for relative moves"},
      {"G1 X 1 Y 2 C 0\n", "line 1: a feed move with no feed in force"},
      {"G0 X 1 Y 2 C 0\nG93\nG1 X 2 F2\n X 3\n", "line 4: a feed move under inverse time"},
      {"G0 X 1 Y 2 C 0\nG93 G1 X 2 F2\nG94 G1 X 3\n", "line 3: a feed move with no feed"},
      {"X 1 Y 2 C 0\n", "line 1: an axis move with neither G0 nor G1"},
      {"G1 X 1 Y 2 C 0 F300 (heat\n", "line 1: a comment is not closed"},
      {"G1 X 1 Y 2 C 0 F300\nG4\n", "line 2: G4 without P"},
      {"G1 X 1 Y 2 C 0 F300\nM7\n", "line 2: \"M7\" is not a word"},
      // Junk is quoted short and in plain characters, whatever its length and bytes.
      {"G1 X 1 Y 2 C 0 F300\n " + std::string(5'000'000, 'Q') + "\n",
       "line 2: \"" + std::string(32, 'Q') + "...\" is not a word"},
      {"G1 X 1 Y 2 C 0 F300\n G\r0\x01\xe9\"\\ X 2\n",
       R"(line 2: "G\r0\x01\xe9\"\\" is not a word)"},
      {"G1 X 1 Y 2 C 0 F3\x7f\n", R"(line 1: the feed "F3\x7f" is not)"},
  };
  for (const auto& [text, expected] : cases) {
    NcMotionList motion;
    const Status s = ReadNcMotion(text, format, MachineProfile{}, motion);
    EXPECT_FALSE(s) << text.substr(0, 80);
    EXPECT_NE(s.message().find(expected), std::string::npos) << s.message().substr(0, 200);
  }
  NcMotionList motion;
  format.HorizonAxis = "U";
  ASSERT_TRUE(ReadNcMotion("G90\r\nG1 U 1 Y 2 C 3 F250\r\n Y 4\r\nM30\r\n", format, MachineProfile{}, motion));
  ASSERT_EQ(motion.Motions.size(), 2u);
  EXPECT_EQ(motion.Motions[1].Line, 3);
  EXPECT_EQ(motion.Motions[1].X, 1);
  EXPECT_EQ(motion.Motions[1].Y, 4);
  EXPECT_EQ(motion.Feed, 250);
}

}  // namespace
}  // namespace vantora
