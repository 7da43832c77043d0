#include "app/application.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QScreen>
#include <QSurfaceFormat>
#include <QTimer>
#include <iostream>

#include "common/handlers.h"

namespace vantora {

void SetDefaultSurfaceFormat() {
  // Asking for 3.x would give a core profile, where every fixed-function call fails.
  QSurfaceFormat format;
  format.setVersion(2, 1);
  format.setProfile(QSurfaceFormat::CompatibilityProfile);
  format.setDepthBufferSize(16);
  QSurfaceFormat::setDefaultFormat(format);
}

Application::Application(Host& host)
    : Form1(std::make_unique<TForm1>(host)),
      DataModule1(std::make_unique<TDataModule1>()),
      host_(host) {
  Form1->DataModule1 = DataModule1.get();
  OpenGL_Form = std::make_unique<TOpenGL_Form>(host, *Form1);
}

void Application::ShowMainWindow() {
  // Without a window manager a maximised window keeps its size: fill the work area
  // explicitly, then ask for the maximised state.
  Form1->setGeometry(Form1->screen()->availableGeometry());
  Form1->showMaximized();
}

void Application::OpenCommandLineFile(const QStringList& arguments) {
  if (arguments.size() < 2) return;
  // The caption shows the full path, as the dialog gives it.
  const QString absolute = QFileInfo(arguments.at(1)).absoluteFilePath();
  const std::string path = QFile::encodeName(absolute).toStdString();
  TForm1* form = Form1.get();
  QTimer::singleShot(0, form, [this, form, path] {
    RunHandler(host_, [form, &path] { form->OpenNamedFile(path); });
  });
}

void ShowTopLevelException(const char* message) {
  if (!qApp) {
    std::cerr << message << '\n';
    return;
  }
  QMessageBox::critical(nullptr, QString::fromLatin1(kApplicationTitle),
                        QString::fromUtf8(message));
}

}  // namespace vantora
