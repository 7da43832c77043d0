#pragma once

#include <QFrame>
#include <QLineEdit>
#include <QToolButton>
#include <string>

#include "gui_testing.h"
#include "stl_builder.h"
#include "toolpath/outline_form.h"
#include "view3d/opengl_form.h"

namespace vantora::testing {

// The program with a model open, as the open-file flow leaves it, for the tool-path
// commands to work on.
class ToolPathTest : public StartedApplicationTest {
 protected:
  TOutLineForm& pathForm() { return *form().OutLineForm; }

  // Opens an STL file through the open button, answering OK to "Move to platform ?":
  // a new 3D view becomes ModelView and the parameter panel and the Tool Path button
  // show.
  void OpenModel(const std::string& path) {
    host.openFiles.push_back({path, 2});
    host.answers.push_back(true);
    form().OpenFileButton->click();
    ASSERT_TRUE(host.messages.empty()) << host.messages.front();
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
