// The desktop application: the main window, the model store and a hidden 3D view,
// then the event loop until the main window closes. `vantora PATH` opens PATH at
// start-up.
#include <QApplication>
#include <exception>

#include "app/application.h"
#include "app/qt_host.h"

namespace {

int Run() {
  using namespace vantora;
  QtHost host;
  Application application(host);
  host.SetProgressBar(application.Form1->ScaBar);
  QObject::connect(application.Form1.get(), &TForm1::Closed, qApp, &QApplication::quit,
                   Qt::QueuedConnection);
  application.ShowMainWindow();
  application.OpenCommandLineFile(QApplication::arguments());
  return QApplication::exec();
}

}  // namespace

int main(int argc, char* argv[]) {
  vantora::SetDefaultSurfaceFormat();
  QApplication qtApplication(argc, argv);
  QApplication::setApplicationName(QString::fromLatin1(vantora::kApplicationTitle));
  // The program ends when the main window closes, whatever other windows are open.
  QApplication::setQuitOnLastWindowClosed(false);
  try {
    return Run();
  } catch (const std::exception& e) {
    vantora::ShowTopLevelException(e.what());
  } catch (...) {
    vantora::ShowTopLevelException("");
  }
  return 0;
}
