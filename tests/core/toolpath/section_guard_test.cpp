#include "core/toolpath/section_guard.h"

#include <gtest/gtest.h>

#include "core/check/program_check.h"
#include "toolpath_models.h"

namespace vantora {
namespace {

const MachineProfile kPlain;  // the guards below write plain programs

// A walk stuck on top of a box, with another box to its right: the way down must go
// round whatever blocks it and end at the start height, all of it clear of both.
TEST(SectionGuard, ADeadEndComesDownOutsideTheModel) {
  const struct {
    const char* name;
    float rightBoxTop;  // 0: no second box
  } cases[] = {{"open to the right", 0}, {"a tall box to the right", 30}};
  for (const auto& c : cases) {
    testing::ToolPathModel m;
    testing::AddBox(*m.table, -10, 10, -10, 10, 0, 20);
    if (c.rightBoxTop > 0) testing::AddBox(*m.table, 15, 25, -10, 10, 0, c.rightBoxTop);
    ASSERT_TRUE(testing::SetUpRaster(m));
    const SectionGuard guard(*m.table, *m.store, 0, kPlain);
    const WireFrame frame = WireFrameOf(*m.store, 0);
    const auto nc = [&](double x, double z) {
      return PathPoint{float(x), float(z + frame.OffsetZ)};
    };
    std::vector<PathPoint> path{nc(-12, 0.2), nc(-12, 22), nc(0, 22)};
    const float endY = nc(0, 0).Y;
    guard.ComeDown(0, path, endY);
    EXPECT_EQ(path.back().Y, endY) << c.name;
    EXPECT_FALSE(guard.Reaches(0, path)) << c.name;
  }
}

// The next section starts under a roof held up by a post, the last one ended right of
// the post: neither round the post at the start's height nor down through the roof. The
// way goes out, over everything, down on the left and in beneath the roof; and where a
// lip hangs from the roof's left end too, so that only the next section's own path
// leads in (beneath the lip), back along the last path, out, and in along the next.
TEST(SectionGuard, TheWayToAStartUnderAnOverhangIsClear) {
  for (const bool lip : {false, true}) {
    SCOPED_TRACE(lip ? "lip" : "no lip");
    testing::ToolPathModel m;
    testing::AddBox(*m.table, 5, 10, -5, 5, 0, 20);
    testing::AddBox(*m.table, -10, 5, -5, 5, 15, 20);
    if (lip) testing::AddBox(*m.table, -10, -9, -5, 5, 2, 15);
    ASSERT_TRUE(testing::SetUpRaster(m));
    SectionGuard guard(*m.table, *m.store, 0, kPlain);
    const float z0 = float(WireFrameOf(*m.store, 0).OffsetZ);
    const auto nc = [&](float x, float z) { return PathPoint{x, z + z0}; };
    // Over everything to the right of the post; in beneath the lip and up to the start,
    // written from its end.
    const std::vector<PathPoint> last{nc(-20, 0.5f), nc(-20, 25), nc(12, 25), nc(12, 2)};
    const std::vector<PathPoint> next{nc(-20, 0.5f), nc(0, 0.5f), nc(0, 5)};
    const NcFormat format;
    NcProgram program;
    NcWriter writer(format, program);
    writer.StartProgram(0);
    SilentHost host;
    writer.WriteSectionNc(last, 0, true, host);
    guard.Leave(0, last, true);
    guard.Enter(writer, 0, next, false);
    writer.WriteSectionNc(next, 0, false, host);
    writer.EndProgram();
    NcMotionList motion;
    ASSERT_TRUE(ReadNcMotion(program, format, MachineProfile{}, motion));
    const ProgramReport report = guard.Check(motion);
    EXPECT_TRUE(report.Clean()) << ReportText(report);
  }
}

}  // namespace
}  // namespace vantora
