// The carved-result command of the tool-path panel on Qt's offscreen platform: when it
// can be asked for. The box is read into a 3D view that is never shown (that needs
// OpenGL: the view the command opens is drawn in xvfb/), as the open-file flow reads it.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <functional>
#include <span>

#include "app/main_window.h"
#include "core/app/stl_import.h"
#include "gui_testing.h"
#include "stl_builder.h"
#include "view3d/opengl_form.h"

namespace vantora {
namespace {

class CarvedCommandTest : public testing::StartedApplicationTest {
 protected:
  void SetUp() override {
    auto* view = new TOpenGL_Form(host, form(), &form());
    const std::string box = testing::TextStlBox(20, 20);
    ASSERT_TRUE(ReadStlModel(std::as_bytes(std::span(box)), "box.stl", store(), form().session(),
                             view->Table, host));
    PlaceStlModel(store(), view->Table, host);  // OK to "Move to platform ?"
    form().ModelView = view;
  }

  bool CommandEnabled() { return Find("CarvedButton")->isEnabled(); }
  // Sweeps, answering No to "Save NC file ?"; whether the command could be asked for
  // at any moment of it.
  bool SweepWatchingTheCommand() {
    bool enabledMeanwhile = false;
    host.whilePending = [&] { enabledMeanwhile = enabledMeanwhile || CommandEnabled(); };
    host.answers.push_back(false);
    Click("PosWireButton");
    host.whilePending = nullptr;
    return enabledMeanwhile;
  }
};

// Enabled only while the program of the last sweep is there to carve.
TEST_F(CarvedCommandTest, EnabledOnlyWhileASweptProgramIsThereToCarve) {
  const struct {
    const char* name;
    std::function<void()> act;
    bool enabledAfter;
  } steps[] = {
      {"opened", [] {}, false},
      {"set up", [&] { Click("PosNcButton"); }, false},
      {"swept", [&] { EXPECT_FALSE(SweepWatchingTheCommand()); }, true},
      {"swept again", [&] { EXPECT_FALSE(SweepWatchingTheCommand()); }, true},
      {"memo cleared", [&] { Click("StepButton"); }, false},
      {"swept once more", [&] { SweepWatchingTheCommand(); }, true},
      {"swept without a path",
       [&] {
         Find<QLineEdit>("StartHeightEdit")->setText("50");  // above the box
         Click("StartButton");
         Click("PosWireButton");
       },
       false},
  };
  for (const auto& step : steps) {
    SCOPED_TRACE(step.name);
    step.act();
    EXPECT_EQ(CommandEnabled(), step.enabledAfter);
  }
}

}  // namespace
}  // namespace vantora
