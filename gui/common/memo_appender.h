#pragma once

#include <QObject>
#include <QString>
#include <QTimer>
#include <string_view>

class QPlainTextEdit;

namespace vantora {

// Appends lines to a memo the way the framework's memo keeps them, each line followed
// by a line break, but without one edit and redraw per line: lines collect here and
// reach the memo in one edit at most every 20 ms (whenever the event loop runs, which
// long operations let it do) or at Flush().
class MemoAppender final : public QObject {
 public:
  explicit MemoAppender(QPlainTextEdit& memo);

  void AppendLine(std::string_view line);
  void Flush();

 private:
  QPlainTextEdit& memo_;
  QString pending_;
  QTimer flushTimer_;
};

}  // namespace vantora
