// The 3D view on a real OpenGL context (run under Xvfb with Mesa): compiling the
// display lists of an STL model, and a frame that only replays them (what a pan, a
// zoom or a preset costs), with the memory the lists take; and the carved-result view
// from the command to its first frame.
//   xvfb-run -a -s '-screen 0 1280x1024x24' build/release/bench/vantora_view3d_bench
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QOpenGLWidget>
#include <QTest>
#include <algorithm>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <string>

#include "../torus.h"
#include "../yardstick.h"
#include "app/application.h"
#include "app/qt_host.h"
#include "view3d/carved_view.h"
#include "view3d/opengl_form.h"

namespace vantora {
namespace {

// Resident memory of the process in KiB.
long ResidentKiB() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
  }
  return 0;
}

// A shown model view holding the torus as an STL file leaves it: file normals,
// millimetres scaled by ViewDistance at compile time.
struct ShownView {
  QtHost host;
  Application app{host};
  std::unique_ptr<TOpenGL_Form> view;
  QOpenGLWidget* gl;

  explicit ShownView(long facets) {
    view = std::make_unique<TOpenGL_Form>(host, *app.Form1);
    FacetTable& table = view->Table;
    bench::FillTorus(table, facets);
    for (int i = 0; i < table.FacetCount; ++i) {
      Facet& f = table.Facets[i];
      f.Normal = TriangleNormal(f.V3, f.V2, f.V1);
    }
    table.UseFileNormals = true;
    TDataModule1& store = *app.DataModule1;
    store.MaxX = store.MaxY = 130;
    store.ViewDistance = 0.38f * 260;
    view->show();
    if (!QTest::qWaitForWindowExposed(view.get())) throw std::runtime_error("view not shown");
    gl = view->findChild<QOpenGLWidget*>(QStringLiteral("GlView"));
    gl->makeCurrent();
  }
  ~ShownView() { gl->doneCurrent(); }

  void AskForAllLists() {
    view->Table.FirstNewFacet = 0;
    view->Lists.BuildModelList(*app.DataModule1, view->Table, 0, ModelTurnRequest{});
  }
};

void BM_CompileModelLists(benchmark::State& state) {
  ShownView shown(state.range(0));
  // Released lists leave their memory to the allocator, which the next compile reuses:
  // the growth of the first compile is what the lists take.
  long grownKiB = 0;
  for (auto _ : state) {
    state.PauseTiming();
    SceneLists::Release();
    const long before = ResidentKiB();
    shown.AskForAllLists();
    state.ResumeTiming();
    if (!shown.view->Lists.CompilePending(shown.view->Table)) state.SkipWithError("GL error");
    grownKiB = std::max(grownKiB, ResidentKiB() - before);
  }
  state.counters["facets"] = double(shown.view->Table.FacetCount);
  state.counters["lists_MiB"] = double(grownKiB) / 1024.0;
}
BENCHMARK(BM_CompileModelLists)->Arg(100'000)->Arg(1'000'000)->Iterations(3)
    ->Unit(benchmark::kMillisecond);

// A pan, zoom or preset: the camera changes and the compiled lists are replayed.
void BM_ReplayFrame(benchmark::State& state) {
  ShownView shown(state.range(0));
  shown.AskForAllLists();
  shown.view->Lists.CompilePending(shown.view->Table);
  ViewState& camera = shown.view->View;
  for (auto _ : state) {
    camera.PanX += 0.001f;
    if (!DrawLists(camera, false)) state.SkipWithError("GL error");
  }
}
BENCHMARK(BM_ReplayFrame)->Arg(100'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

// The same frame the way the window shows it: through its paint, read back.
void BM_GrabbedFrame(benchmark::State& state) {
  ShownView shown(state.range(0));
  shown.AskForAllLists();
  shown.gl->grabFramebuffer();  // compiles the lists
  for (auto _ : state) {
    shown.view->View.PanX += 0.001f;
    benchmark::DoNotOptimize(shown.gl->grabFramebuffer());
  }
}
BENCHMARK(BM_GrabbedFrame)->Arg(100'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

// What the carved-result command takes after a 0..360 by 5 sweep of the yardstick
// torus (73 sections): carving the program and measuring it, then the view's first
// frame, which compiles the solid's and the model's lists.
void BM_OpenCarvedView(benchmark::State& state) {
  bench::Yardstick torus(1'000'000);
  RunToolPath(*torus.store, torus.session, *torus.table, torus.host, {0, 5, 360},
              torus.session.Program);
  torus.store->ViewDistance = 0.38f * 260;
  QtHost host;
  for (auto _ : state) {
    SweptCarving carving;
    if (!CarveSweptProgram(*torus.store, torus.session, *torus.table, carving)) {
      state.SkipWithError("the torus program could not be carved");
      break;
    }
    CarvedView view(host, *torus.store, std::move(carving), nullptr);
    view.show();
    if (!QTest::qWaitForWindowExposed(&view)) state.SkipWithError("view not shown");
    benchmark::DoNotOptimize(view.findChild<QOpenGLWidget*>()->grabFramebuffer());
  }
  state.counters["MiB"] = double(ResidentKiB()) / 1024;
}
BENCHMARK(BM_OpenCarvedView)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
}  // namespace vantora

int main(int argc, char** argv) {
  vantora::SetDefaultSurfaceFormat();
  qputenv("QT_QPA_PLATFORM", "xcb");
  QApplication application(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
