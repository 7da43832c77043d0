// The tool path in the desktop application, on the yardstick torus (1,000,000 facets,
// resolution 0.2, wire 1.0): drawing one section in the tool-path window, and the
// whole 0..360 by 5 sweep run by the main window's button with the window drawing
// every section and the memo receiving the program (compare BM_Sweep of vantora_bench,
// the engine alone).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QToolButton>
#include <memory>

#include "../torus.h"
#include "app/application.h"
#include "core/common/silent_host.h"
#include "toolpath/outline_form.h"
#include "core/toolpath/outline_walk.h"
#include "toolpath_models.h"

namespace vantora {
namespace {

// Answers as nobody is there (Yes, then no file chosen) but lets the event loop run
// every 16 ms, as the application's host does, so the window paints as the sweep goes.
class PumpingHost final : public SilentHost {
 public:
  PumpingHost() { clock_.start(); }
  void ProcessPendingMessages() override {
    if (clock_.elapsed() < 16) return;
    QCoreApplication::processEvents();
    clock_.restart();
  }

 private:
  QElapsedTimer clock_;
};

// The main window with the torus open in a model view and the tool path set up.
struct SetUpTorus {
  PumpingHost host;
  Application app{host};
  TForm1& form = *app.Form1;

  SetUpTorus() {
    auto* view = new TOpenGL_Form(host, form, &form);
    form.ModelView = view;
    bench::FillTorus(view->Table, 1'000'000);
    testing::FitBounds(*app.DataModule1, view->Table);
    form.PosNcButton->click();
  }
};

void BM_ShowSection(benchmark::State& state) {
  SetUpTorus t;
  OutlineWalk(*t.app.DataModule1, t.host).TraceOutline();
  for (auto _ : state) t.form.OutLineForm->ShowSection(0);
}
BENCHMARK(BM_ShowSection)->Unit(benchmark::kMillisecond);

void BM_SweepInWindow(benchmark::State& state) {
  SetUpTorus t;
  t.form.EndDegEdit->setText(QStringLiteral("360"));
  for (auto _ : state) {
    t.form.PosWireButton->click();
    state.PauseTiming();
    t.form.StepButtonClick();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_SweepInWindow)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
}  // namespace vantora
