#include "app/qt_host.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <thread>

#include "app/application.h"
#include "gui_testing.h"
#include "test_files.h"

namespace vantora {
namespace {

using testing::TempDir;
using testing::WhenModal;

TEST(NameFilters, OneEntryPerCaptionAndPatternPair) {
  EXPECT_EQ(NameFilters("*.sca|*.sca|*.stl|*.stl| | "),
            (QStringList{"*.sca", "*.stl", " "}));
  EXPECT_EQ(NameFilters("binary*.stl|*.stl|text.stl|*.stl"),
            (QStringList{"binary*.stl (*.stl)", "text.stl (*.stl)"}));
  EXPECT_EQ(NameFilters("*.nc|*.nc|*.*|*.*"), (QStringList{"*.nc", "*.*"}));
}

TEST(QtHostPendingMessages, RunAtMostEverySixteenMilliseconds) {
  QtHost host;
  bool ran = false;
  QTimer::singleShot(0, [&ran] { ran = true; });
  for (int i = 0; i < 1000; ++i) host.ProcessPendingMessages();
  EXPECT_FALSE(ran);  // a thousand calls take microseconds

  std::this_thread::sleep_for(std::chrono::milliseconds(25));
  for (int i = 0; i < 16 && !ran; ++i) host.ProcessPendingMessages();
  EXPECT_TRUE(ran);
}

TEST(QtHostPendingMessages, SlowCallersAreServedToo) {
  QtHost host;
  for (int i = 0; i < 100000; ++i) host.ProcessPendingMessages();  // a fast caller first
  bool ran = false;
  QTimer::singleShot(0, [&ran] { ran = true; });
  // Then one whose items take 5 ms each.
  for (int i = 0; i < 40 && !ran; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    host.ProcessPendingMessages();
  }
  EXPECT_TRUE(ran);
}

// Presses `button` on the message box that opens and records what it showed.
struct SeenBox {
  QString caption;
  QString text;
  QStringList buttons;
};

void AnswerBox(SeenBox& seen, QMessageBox::StandardButton button) {
  WhenModal([&seen, button](QWidget& window) {
    auto& box = dynamic_cast<QMessageBox&>(window);
    seen.caption = box.windowTitle();
    seen.text = box.text();
    for (QAbstractButton* b : box.buttons()) seen.buttons << b->text().remove('&');
    box.button(button)->click();
  });
}

TEST(QtHostMessages, CaptionsButtonsAndAnswers) {
  QtHost host;
  SeenBox seen;
  AnswerBox(seen, QMessageBox::Cancel);
  EXPECT_FALSE(host.AskOkCancel("Move to platform ?", "Position Message"));
  EXPECT_EQ(seen.caption, "Position Message");
  EXPECT_EQ(seen.text, "Move to platform ?");
  EXPECT_EQ(seen.buttons.size(), 2);
  EXPECT_TRUE(seen.buttons.contains("OK") && seen.buttons.contains("Cancel"));

  AnswerBox(seen = {}, QMessageBox::Ok);
  EXPECT_TRUE(host.AskOkCancel("Move to platform ?", "Position Message"));

  AnswerBox(seen = {}, QMessageBox::Yes);
  EXPECT_TRUE(host.AskYesNo("Save NC file ?", "Position Message"));
  EXPECT_TRUE(seen.buttons.contains("Yes") && seen.buttons.contains("No"));
  AnswerBox(seen = {}, QMessageBox::No);
  EXPECT_FALSE(host.AskYesNo("Save NC file ?", "Position Message"));

  AnswerBox(seen = {}, QMessageBox::Ok);
  host.ShowMessage("Tool path not find", {});
  EXPECT_EQ(seen.caption, "Vantora");  // no caption: the application title
  EXPECT_EQ(seen.buttons, QStringList{"OK"});
}

TEST(TopLevelException, ShownWithTheApplicationTitle) {
  SeenBox seen;
  AnswerBox(seen, QMessageBox::Ok);
  ShowTopLevelException("out of memory");
  EXPECT_EQ(seen.caption, "Vantora");
  EXPECT_EQ(seen.text, "out of memory");
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

  WhenModal([](QWidget& window) {
    auto& dialog = dynamic_cast<QFileDialog&>(window);
    EXPECT_EQ(dialog.defaultSuffix(), "nc");
    dialog.reject();
  });
  EXPECT_FALSE(host.ChooseSaveFile("*.nc|*.nc|*.*|*.*", "*.nc", 1));
}

TEST(QtHostFiles, SaveNameWithoutExtensionGetsTheDefaultOne) {
  TempDir dir;
  QtHost host;
  const auto typeName = [&dir](const char* name) {
    WhenModal([&dir, name](QWidget& window) {
      auto& dialog = dynamic_cast<QFileDialog&>(window);
      dialog.setDirectory(QString::fromStdString(dir.path().string()));
      dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(QLatin1String(name));
      static_cast<QDialog&>(dialog).accept();  // the dialog's own accept reads the name
    });
  };
  typeName("model");
  auto choice = host.ChooseSaveFile("binary*.stl|*.stl|text.stl|*.stl", "*.stl", 2);
  ASSERT_TRUE(choice);
  EXPECT_EQ(choice->path, dir.File("model.stl"));
  EXPECT_EQ(choice->filterIndex, 2);

  typeName("model.v2");  // a name with an extension keeps it
  choice = host.ChooseSaveFile("binary*.stl|*.stl|text.stl|*.stl", "*.stl", 1);
  ASSERT_TRUE(choice);
  EXPECT_EQ(choice->path, dir.File("model.v2"));

  typeName("program");
  choice = host.ChooseSaveFile("*.nc|*.nc|*.*|*.*", "*.nc", 1);
  ASSERT_TRUE(choice);
  EXPECT_EQ(choice->path, dir.File("program.nc"));
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
