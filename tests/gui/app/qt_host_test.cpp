#include "app/qt_host.h"

#include <gtest/gtest.h>

#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <thread>

#include "app/application.h"
#include "gui_testing.h"

namespace vantora {
namespace {

using testing::TempDir;
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

// Presses `button` on the message box that opens; the text it showed.
void AnswerBox(QString& text, QMessageBox::StandardButton button) {
  WhenModal([&text, button](QWidget& window) {
    auto& box = dynamic_cast<QMessageBox&>(window);
    text = box.text();
    box.button(button)->click();
  });
}

TEST(QtHostMessages, TheButtonPressedIsTheAnswer) {
  QtHost host;
  const struct {
    bool yesNo;
    QMessageBox::StandardButton button;
    bool answer;
  } rows[] = {{false, QMessageBox::Ok, true},
              {false, QMessageBox::Cancel, false},
              {true, QMessageBox::Yes, true},
              {true, QMessageBox::No, false}};
  for (const auto& r : rows) {
    const char* question = r.yesNo ? "Save NC file ?" : "Move to platform ?";
    QString text;
    AnswerBox(text, r.button);
    EXPECT_EQ(r.yesNo ? host.AskYesNo(question, "Position") : host.AskOkCancel(question, "Position"),
              r.answer) << r.button;
    EXPECT_EQ(text, question);
  }
  QString text;
  AnswerBox(text, QMessageBox::Ok);
  host.ShowMessage("Tool path not find", {});
  EXPECT_EQ(text, "Tool path not find");
  AnswerBox(text, QMessageBox::Ok);
  ShowTopLevelException("out of memory");
  EXPECT_EQ(text, "out of memory");
}

TEST(QtHostFiles, ChosenFileAndFilterEntry) {
  TempDir dir;
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
  const auto choice = host.ChooseOpenFile("*.sca|*.sca|*.stl|*.stl| | ", 2);
  ASSERT_TRUE(choice);
  EXPECT_EQ(choice->path, dir.File("part.sca"));
  EXPECT_EQ(choice->filterIndex, 1);

  WhenModal([](QWidget& window) { dynamic_cast<QFileDialog&>(window).reject(); });
  EXPECT_FALSE(host.ChooseSaveFile("*.nc|*.nc|*.*|*.*", "*.nc", 1));
}

// A typed name without an extension gets the default one, a name with one keeps it.
TEST(QtHostFiles, SaveNameWithoutExtensionGetsTheDefaultOne) {
  TempDir dir;
  QtHost host;
  const struct {
    const char *typed, *filter, *extension, *saved;
    int entry;
  } rows[] = {{"model", "binary*.stl|*.stl|text.stl|*.stl", "*.stl", "model.stl", 2},
              {"model.v2", "binary*.stl|*.stl|text.stl|*.stl", "*.stl", "model.v2", 1},
              {"program", "*.nc|*.nc|*.*|*.*", "*.nc", "program.nc", 1}};
  for (const auto& r : rows) {
    WhenModal([&dir, name = r.typed](QWidget& window) {
      auto& dialog = dynamic_cast<QFileDialog&>(window);
      dialog.setDirectory(QString::fromStdString(dir.path().string()));
      dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(QLatin1String(name));
      static_cast<QDialog&>(dialog).accept();  // the dialog's own accept reads the name
    });
    const auto choice = host.ChooseSaveFile(r.filter, r.extension, r.entry);
    ASSERT_TRUE(choice) << r.typed;
    EXPECT_EQ(choice->path, dir.File(r.saved));
    EXPECT_EQ(choice->filterIndex, r.entry);
  }
}

TEST(QtHostProgress, ShowsInTheBar) {
  QtHost host;
  host.ReportProgress(1, 2);  // no bar yet: nothing to show it in
  QProgressBar bar;
  host.SetProgressBar(&bar);
  host.ReportProgress(30, 120);
  EXPECT_EQ(bar.maximum(), 120);
  EXPECT_EQ(bar.value(), 30);
}

}  // namespace
}  // namespace vantora
