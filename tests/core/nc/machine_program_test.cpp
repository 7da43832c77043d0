// Programs written for each machine profile from whole sweeps, read by LinuxCNC's
// standalone interpreter as by our own reader, and resumed at a section.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "core/app/tool_path_commands.h"
#include "core/common/silent_host.h"
#include "core/nc/program_resume.h"
#include "machine_replay.h"
#include "rs274.h"
#include "test_files.h"
#include "toolpath_models.h"
#include "torus.h"

namespace vantora {
namespace {

// A user's own profile: inverse time, four decimals, pauses in milliseconds,
// semicolon comments and the heat on an output.
constexpr const char* kInverseTimeProfile =
    "Name=mine\nHeader=G21\nHeader=G90\nHeader=G17\nHeader=G93\nApproach=rapid\n"
    "WireOn=M64 P2\nWireOff=M65 P2\nPreHeat=1.5\nDwellUnit=ms\nSectionMarkers=yes\n"
    "Turn=indexed\nIndexFeed=900\nFeed=inverse-time\nDecimals=4\nComments=semicolon\nEnd=M2\n";

struct Swept {
  Session session;
  NcProgram program;
  NcMotionList motion;
  ProgramReport report;
};

void Sweep(const std::function<void(FacetTable&)>& shape, float step, Swept& s) {
  testing::ToolPathModel m;
  shape(*m.table);
  testing::FitBounds(*m.store, *m.table);
  SilentHost host;
  ASSERT_TRUE(SetUpToolPath(*m.store, s.session, *m.table, host, {0.5f, 1.0f}));
  const Status run = RunToolPath(*m.store, s.session, *m.table, host, {0, step, 360 - step},
                                 s.program, {{}, &s.report});
  ASSERT_TRUE(run) << run.message();
  ASSERT_TRUE(ReadNcMotion(s.program, s.session.Format, s.session.Machine, s.motion));
}

// The interpreter reads the program without an error, moving and pausing as our reader
// says; the motion of `program` is returned.
NcMotionList ExpectReadAlike(const NcProgram& program, const Session& session) {
  testing::TempDir dir;
  const std::string file = dir.File("program.nc");
  EXPECT_TRUE(SaveNcFile(file, program));
  NcMotionList motion;
  EXPECT_TRUE(ReadNcMotion(program, session.Format, session.Machine, motion));
  const testing::InterpreterRun run = testing::RunRs274(file);
  EXPECT_EQ(run.Errors, std::vector<std::string>{});
  EXPECT_EQ(run.Moves.size(), motion.Motions.size());
  const double half = 0.5 * std::pow(10.0, -session.Machine.Decimals) + 1e-9;
  for (std::size_t k = 0; k < std::min(run.Moves.size(), motion.Motions.size()); ++k) {
    const NcMotion& m = motion.Motions[k];
    const std::array<double, 3>& theirs = run.Moves[k];
    if (std::abs(theirs[0] - m.X) > half || std::abs(theirs[1] - m.Y) > half ||
        std::abs(theirs[2] - m.C) > half) {
      ADD_FAILURE() << "the interpreter moves elsewhere on line " << m.Line;
      break;
    }
  }
  EXPECT_DOUBLE_EQ(run.Pauses,
                   motion.DwellSeconds * (session.Machine.DwellInMilliseconds ? 1000 : 1));
  return motion;
}

int LineOf(const NcProgram& program, std::string_view text, int from = 0) {
  for (int k = from; k < program.LineCount(); ++k) {
    if (program.Line(k) == text) return k;
  }
  return -1;
}

// The heat goes on before the first cut and off after the last; between sections the
// table turns with the wire standing still (the guard never has to fall back here).
void ExpectLayout(const Swept& s) {
  const MachineProfile& machine = s.session.Machine;
  const auto& motions = s.motion.Motions;
  const auto firstCut = std::find_if(motions.begin(), motions.end(),
                                     [](const NcMotion& m) { return !m.Rapid; });
  ASSERT_NE(firstCut, motions.end());
  const int wireOn = LineOf(s.program, machine.WireOn.front());
  EXPECT_TRUE(wireOn > 0 && wireOn < firstCut->Line - 1);
  EXPECT_GT(LineOf(s.program, machine.WireOff.front()), motions.back().Line - 1);
  EXPECT_EQ(s.program.Line(s.program.LineCount() - 1), machine.End.back() + "\n");
  EXPECT_EQ(testing::TurnsWithTheWireMoving(s.motion), 0);
  EXPECT_TRUE(s.report.Clean()) << ReportText(s.report);
}

// Resumed at a section, the program is the whole one's first line and header, a cold
// approach to the section's first point with the heat switched on, then the whole
// program's lines from the section's marker on.
void ExpectResumable(const Swept& s, int section) {
  NcProgram resumed;
  ResumedSection place;
  ASSERT_TRUE(ResumeProgram(s.program, s.session.Format, s.session.Machine, section, resumed,
                            place));
  EXPECT_EQ(place.Place.Number, section);
  int from = -1;
  for (int k = 0; k < s.program.LineCount() && from < 0; ++k) {
    const auto read = ReadSectionMarker(s.session.Machine, s.program.Line(k));
    if (read && read->Place.Number == section) from = k;
  }
  ASSERT_GT(from, 0);
  const int header = 1 + int(s.session.Machine.Header.size());
  const int tail = s.program.LineCount() - from;
  const int approach = resumed.LineCount() - header - tail;
  EXPECT_EQ(approach, 2 + int(s.session.Machine.WireOn.size()));
  for (int k = 0; k < header; ++k) EXPECT_EQ(resumed.Line(k), s.program.Line(k));
  for (int k = 0; k < tail; ++k) ASSERT_EQ(resumed.Line(header + approach + k), s.program.Line(from + k));
  const NcMotionList motion = ExpectReadAlike(resumed, s.session);
  ASSERT_GE(motion.Motions.size(), 2u);
  const NcMotion &start = motion.Motions[0], &first = motion.Motions[1];
  EXPECT_TRUE(start.Rapid);
  EXPECT_TRUE(start.X == first.X && start.Y == first.Y && start.C == first.C);
}

TEST(MachinePrograms, EveryProfileIsReadAlikeByAG_CodeInterpreterAndResumes) {
  MachineProfile mine;
  {
    const testing::TempDir dir;  // the same one ExpectReadAlike uses, so gone before it
    ASSERT_TRUE(LoadMachineProfile(dir.Put("mine.ini", kInverseTimeProfile), mine));
  }
  const struct {
    const char* name;
    std::function<void(FacetTable&)> shape;
    float step;
  } models[] = {
      {"torus", [](FacetTable& t) { bench::FillTorus(t, 20'000); }, 30},
      {"box", [](FacetTable& t) { testing::AddBox(t, -10, 10, -10, 10, 0, 20); }, 45},
      // Its sections end and start apart: the table turns between them.
      {"box beside the axis", [](FacetTable& t) { testing::AddBox(t, 30, 40, 5, 15, 0, 10); },
       20},
  };
  for (const auto& model : models) {
    for (const std::string_view name : {"grbl", "fluidnc", "linuxcnc", "mach3", "mine"}) {
      SCOPED_TRACE(std::string(model.name) + " for " + std::string(name));
      Swept s;
      s.session.Machine = name == "mine" ? mine : *BuiltInMachine(name);
      Sweep(model.shape, model.step, s);
      if (::testing::Test::HasFatalFailure()) return;
      ExpectReadAlike(s.program, s.session);
      ExpectLayout(s);
      ExpectResumable(s, int(std::lround(180 / model.step)) + 1);
    }
  }
}

// A program can be resumed only at a section it marks.
TEST(MachinePrograms, ResumingIsRefusedWhereThereIsNoMarkedSection) {
  Swept plain, grbl;
  grbl.session.Machine = *BuiltInMachine("grbl");
  const auto box = [](FacetTable& t) { testing::AddBox(t, -10, 10, -10, 10, 0, 20); };
  Sweep(box, 90, plain);
  Sweep(box, 90, grbl);
  const struct {
    const Swept& swept;
    int section;
    const char* refusal;
  } cases[] = {{plain, 1, "writes no section markers"},
               {grbl, 0, "no section 0"},
               {grbl, 5, "sections 1 to 4"}};
  for (const auto& c : cases) {
    NcProgram resumed;
    ResumedSection place;
    const Status s = ResumeProgram(c.swept.program, c.swept.session.Format,
                                   c.swept.session.Machine, c.section, resumed, place);
    EXPECT_NE(s.message().find(c.refusal), std::string::npos) << s.message();
    EXPECT_EQ(resumed.LineCount(), 0);
  }
}

}  // namespace
}  // namespace vantora
