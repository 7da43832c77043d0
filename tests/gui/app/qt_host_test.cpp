#include "app/qt_host.h"

#include <gtest/gtest.h>

#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <functional>
#include <thread>

#include "app/application.h"
#include "gui_testing.h"

namespace vantora {
namespace {

using testing::WhenModal;

TEST(NameFilters, OneEntryPerCaptionAndPatternPair) {
  EXPECT_EQ(NameFilters("*.sca|*.sca|*.stl|*.stl| | "), (QStringList{"*.sca", "*.stl", " "}));
  EXPECT_EQ(NameFilters("binary*.stl|*.stl|text.stl|*.stl"),
            (QStringList{"binary*.stl (*.stl)", "text.stl (*.stl)"}));
}

// A caller whose items take 5 ms each, after a fast one, still lets events run.
TEST(QtHostPendingMessages, SlowCallersAreServedToo) {
  QtHost host;
  for (int i = 0; i < 100000; ++i) host.ProcessPendingMessages();
  bool ran = false;
  QTimer::singleShot(0, [&ran] { ran = true; });
  for (int i = 0; i < 40 && !ran; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    host.ProcessPendingMessages();
  }
  EXPECT_TRUE(ran);
}

// Each box shows its text; the button pressed on it is the answer.
TEST(QtHostMessages, TheButtonPressedIsTheAnswer) {
  QtHost host;
  const char* const says = "Save NC file ?";
  const struct {
    std::function<bool()> show;
    QMessageBox::StandardButton button;
    bool answer;
  } rows[] = {{[&] { return host.AskOkCancel(says, "Position"); }, QMessageBox::Ok, true},
              {[&] { return host.AskOkCancel(says, "Position"); }, QMessageBox::Cancel, false},
              {[&] { return host.AskYesNo(says, "Position"); }, QMessageBox::Yes, true},
              {[&] { return host.AskYesNo(says, "Position"); }, QMessageBox::No, false},
              {[&] { host.ShowMessage(says, {}); return true; }, QMessageBox::Ok, true},
              {[&] { ShowTopLevelException(says); return true; }, QMessageBox::Ok, true}};
  for (const auto& r : rows) {
    QString text;
    WhenModal([&text, button = r.button](QWidget& window) {
      auto& box = dynamic_cast<QMessageBox&>(window);
      text = box.text();
      box.button(button)->click();
    });
    EXPECT_EQ(r.show(), r.answer) << r.button;
    EXPECT_EQ(text, says);
  }
}

// The file and the filter entry chosen; a typed name without an extension gets the
// default one, a name with one keeps it.
TEST(QtHostFiles, ChosenFileFilterEntryAndSaveName) {
  testing::TempDir dir;
  testing::WriteFile(dir.File("part.sca"), "1,");
  QtHost host;
  WhenModal([&dir](QWidget& window) {
    auto& dialog = dynamic_cast<QFileDialog&>(window);
    EXPECT_EQ(dialog.selectedNameFilter(), "*.stl");  // the entry asked for
    dialog.setDirectory(QString::fromStdString(dir.path().string()));
    dialog.selectNameFilter("*.sca");
    dialog.selectFile(QString::fromStdString(dir.File("part.sca")));
    static_cast<QDialog&>(dialog).accept();  // the dialog's own accept checks the file
  });
  const auto opened = host.ChooseOpenFile("*.sca|*.sca|*.stl|*.stl| | ", 2);
  ASSERT_TRUE(opened);
  EXPECT_EQ(opened->path, dir.File("part.sca"));
  EXPECT_EQ(opened->filterIndex, 1);

  WhenModal([](QWidget& window) { dynamic_cast<QFileDialog&>(window).reject(); });
  EXPECT_FALSE(host.ChooseSaveFile("*.nc|*.nc|*.*|*.*", "*.nc", 1));

  const struct {
    const char *typed, *saved;
    int entry;
  } rows[] = {{"model", "model.stl", 2}, {"model.v2", "model.v2", 1}};
  for (const auto& r : rows) {
    WhenModal([&dir, name = r.typed](QWidget& window) {
      auto& dialog = dynamic_cast<QFileDialog&>(window);
      dialog.setDirectory(QString::fromStdString(dir.path().string()));
      dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(QLatin1String(name));
      static_cast<QDialog&>(dialog).accept();  // the dialog's own accept reads the name
    });
    const auto choice = host.ChooseSaveFile("binary*.stl|*.stl|text.stl|*.stl", "*.stl", r.entry);
    ASSERT_TRUE(choice) << r.typed;
    EXPECT_EQ(choice->path, dir.File(r.saved));
    EXPECT_EQ(choice->filterIndex, r.entry);
  }
}

}  // namespace
}  // namespace vantora
