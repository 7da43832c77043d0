#pragma once

#include <QStringList>
#include <memory>

#include "core/common/host.h"
#include "app/main_window.h"
#include "core/model/data_module.h"
#include "view3d/opengl_form.h"

namespace vantora {

// The application title, on the task bar and in message boxes without a caption.
inline constexpr const char* kApplicationTitle = "Vantora";

// Sets what must be set before the application object exists: the legacy OpenGL
// context the 3D views draw with (2.1 compatibility profile, depth buffer).
void SetDefaultSurfaceFormat();

// The long-lived objects of one run, created in this order: the main window, the model
// store, and one hidden 3D view, which never gets a model; they go in the reverse
// order. The main window is built before the store exists.
class Application {
 public:
  explicit Application(Host& host);

  // Shows the main window maximised over the screen's work area.
  void ShowMainWindow();
  // The file a file manager names on the command line (`vantora PATH`, the first
  // argument after the program's): opened once the event loop runs, as if chosen in
  // the open dialog under the filter entry its name matches.
  void OpenCommandLineFile(const QStringList& arguments);

  std::unique_ptr<TForm1> Form1;
  std::unique_ptr<TDataModule1> DataModule1;
  std::unique_ptr<TOpenGL_Form> OpenGL_Form;

 private:
  Host& host_;
};

// Shows an exception that reached the top the framework's way: a modal box captioned
// with the application title; an unknown one with an empty message.
void ShowTopLevelException(const char* message);

}  // namespace vantora
