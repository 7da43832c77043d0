#include "common/memo_appender.h"

#include <QPlainTextEdit>
#include <QTextCursor>

namespace vantora {
namespace {

constexpr int kFlushIntervalMs = 20;

}  // namespace

MemoAppender::MemoAppender(QPlainTextEdit& memo) : QObject(&memo), memo_(memo) {
  flushTimer_.setSingleShot(true);
  flushTimer_.setInterval(kFlushIntervalMs);
  connect(&flushTimer_, &QTimer::timeout, this, &MemoAppender::Flush);
}

void MemoAppender::AppendLine(std::string_view line) {
  pending_ += QString::fromUtf8(line.data(), qsizetype(line.size()));
  pending_ += QLatin1Char('\n');
  if (!flushTimer_.isActive()) flushTimer_.start();
}

void MemoAppender::Flush() {
  flushTimer_.stop();
  if (pending_.isEmpty()) return;
  memo_.moveCursor(QTextCursor::End);
  memo_.insertPlainText(pending_);
  pending_.clear();
}

}  // namespace vantora
