#include "common/memo_appender.h"

#include <gtest/gtest.h>

#include <QPlainTextEdit>
#include <QTest>

namespace vantora {
namespace {

// Lines wait for the event loop, each followed by a break: a sweep's program shows
// in a few tens of milliseconds even when no flush is asked for.
TEST(MemoAppender, EventLoopFlushesWithinAFewTensOfMilliseconds) {
  QPlainTextEdit memo;
  MemoAppender lines(memo);
  lines.AppendLine("");  // an empty first line of the program stays a line
  lines.AppendLine("M30");
  EXPECT_TRUE(memo.toPlainText().isEmpty());
  EXPECT_TRUE(QTest::qWaitFor([&] { return !memo.toPlainText().isEmpty(); }, 1000));
  EXPECT_EQ(memo.toPlainText(), "\nM30\n");
}

}  // namespace
}  // namespace vantora
