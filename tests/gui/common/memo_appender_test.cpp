#include "common/memo_appender.h"

#include <gtest/gtest.h>

#include <QPlainTextEdit>
#include <QTest>

namespace vantora {
namespace {

TEST(MemoAppender, LinesArriveTogetherEachFollowedByABreak) {
  QPlainTextEdit memo;
  MemoAppender lines(memo);
  lines.AppendLine("");  // an empty first line of the program stays a line
  lines.AppendLine("G1 X 12.500 Y 3.000 C 0.000 F300");
  EXPECT_TRUE(memo.toPlainText().isEmpty());
  lines.Flush();
  EXPECT_EQ(memo.toPlainText(), "\nG1 X 12.500 Y 3.000 C 0.000 F300\n");
  lines.AppendLine(" X 12.700");
  lines.Flush();
  lines.Flush();
  EXPECT_EQ(memo.toPlainText(), "\nG1 X 12.500 Y 3.000 C 0.000 F300\n X 12.700\n");
}

TEST(MemoAppender, EventLoopFlushesWithinAFewTensOfMilliseconds) {
  QPlainTextEdit memo;
  MemoAppender lines(memo);
  lines.AppendLine("M30");
  EXPECT_TRUE(QTest::qWaitFor([&] { return !memo.toPlainText().isEmpty(); }, 1000));
  EXPECT_EQ(memo.toPlainText(), "M30\n");
}

}  // namespace
}  // namespace vantora
