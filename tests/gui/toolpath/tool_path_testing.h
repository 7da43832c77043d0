#pragma once

#include <QFrame>
#include <QLineEdit>
#include <QToolButton>
#include <string>

#include "gui_testing.h"
#include "model/stl_import.h"
#include "stl_builder.h"
#include "toolpath/outline_form.h"
#include "view3d/opengl_form.h"

namespace vantora::testing {

// The program with a model open, as the open-file flow leaves it, for the tool-path
// commands to work on.
class ToolPathTest : public StartedApplicationTest {
 protected:
  TDataModule1& store() { return *app->DataModule1; }
  TOutLineForm& pathForm() { return *form().OutLineForm; }

  // Reads an STL file into a new 3D view owned by the main window, which becomes
  // ModelView, answering OK to "Move to platform ?"; the parameter panel and the Tool
  // Path button show. The view stays hidden unless `showView` (the offscreen platform
  // cannot show OpenGL).
  void OpenModel(const std::string& path, bool showView = false) {
    auto* view = new TOpenGL_Form(host, form(), &form());
    form().ModelView = view;
    store().StlFirstFacet = 1;
    store().ToolPathReady = 0;
    if (showView) view->show();
    ASSERT_TRUE(ReadStlModel(path, store(), form().session(), view->Table, host));
    host.answers.push_back(true);
    PlaceStlModel(store(), view->Table, host);
    view->BuildModelList();
    form().Panel1->show();
    form().PosNcButton->show();
    host.questions.clear();
  }

  // The box [0, 20] x [0, 20] x [0, 20] mm, set on the platform: [-10, 10]^2 x [0, 20].
  std::string BoxFile() {
    const std::string path = dir.File("box.stl");
    WriteFile(path, TextStlBox(20, 20));
    return path;
  }

  void Type(const char* edit, const char* text) {
    Find<QLineEdit>(edit)->setText(QString::fromLatin1(text));
  }
  std::string Text(const char* edit) { return Find<QLineEdit>(edit)->text().toStdString(); }
};

}  // namespace vantora::testing
