// Costs of the desktop host's hot paths, on Qt's offscreen platform: the "process
// pending messages" call long loops make per item, and NC lines reaching the memo.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPlainTextEdit>
#include <string>

#include "app/qt_host.h"
#include "common/memo_appender.h"

namespace {

void BM_ProcessPendingMessages(benchmark::State& state) {
  vantora::QtHost host;
  for (auto _ : state) host.ProcessPendingMessages();
}
BENCHMARK(BM_ProcessPendingMessages);

std::string NcLine(int i) { return " X " + std::to_string(i % 1000) + ".250 Y 3.000"; }

// The NC program of a long sweep arriving line by line, as the writer produces it.
void BM_MemoAppenderLines(benchmark::State& state) {
  const int lines = int(state.range(0));
  for (auto _ : state) {
    QPlainTextEdit memo;
    vantora::MemoAppender appender(memo);
    for (int i = 0; i < lines; ++i) appender.AppendLine(NcLine(i));
    appender.Flush();
    benchmark::DoNotOptimize(memo.document()->blockCount());
  }
  state.SetItemsProcessed(state.iterations() * lines);
}
BENCHMARK(BM_MemoAppenderLines)->Arg(100000)->Unit(benchmark::kMillisecond);

// The same lines with one append, and one layout update, each: what the appender avoids.
void BM_MemoAppendPerLine(benchmark::State& state) {
  const int lines = int(state.range(0));
  for (auto _ : state) {
    QPlainTextEdit memo;
    for (int i = 0; i < lines; ++i) memo.appendPlainText(QString::fromStdString(NcLine(i)));
    benchmark::DoNotOptimize(memo.document()->blockCount());
  }
  state.SetItemsProcessed(state.iterations() * lines);
}
BENCHMARK(BM_MemoAppendPerLine)->Arg(100000)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
