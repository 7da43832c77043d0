#include "nc/nc_format_dialog.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "gui_testing.h"

namespace vantora {
namespace {

using testing::Child;
using testing::ReadFile;
using testing::WhenModal;

class NcFormatDialogTest : public testing::StartedApplicationTest {
 protected:
  // Clicks "Define  nc forma" and lets `act` work the dialog that opens.
  void OpenDialog(std::function<void(QWidget&)> act) {
    WhenModal(std::move(act));
    Click("FormatButton");
  }

  static void Type(QWidget& dialog, const char* edit, const QString& text) {
    Child<QLineEdit>(dialog, edit)->setText(text);
  }
  static void PressOk(QWidget& dialog) { Child<QPushButton>(dialog, "OKButtom")->click(); }
};

TEST_F(NcFormatDialogTest, ShowsTheFormatAsDescribed) {
  OpenDialog([](QWidget& dialog) {
    EXPECT_EQ(dialog.windowTitle(), "Define Axis");
    const std::pair<const char*, const char*> edits[] = {
        {"XEdit", "X"}, {"YEdit", "Y"}, {"CEdit", "C"}, {"SpeedEdit", "300"}, {"G0Edit", ""}};
    for (const auto& [name, text] : edits) {
      EXPECT_EQ(Child<QLineEdit>(dialog, name)->text(), text) << name;
    }
    const std::pair<const char*, const char*> labels[] = {{"Label1", "Horizon Axis"},
                                                          {"Label2", "Vertical Axis"},
                                                          {"Label3", "Rotate Axis"},
                                                          {"Label4", "Cut Speed (mm/min)"},
                                                          {"Label5", "First Line:"}};
    for (const auto& [name, text] : labels) {
      EXPECT_EQ(Child<QLabel>(dialog, name)->text(), text) << name;
    }
    EXPECT_EQ(Child<QPushButton>(dialog, "OKButtom")->text(), "OK");
    dialog.close();
  });
  EXPECT_FALSE(std::filesystem::exists(dir.File("NC.ini")));
}

TEST_F(NcFormatDialogTest, OkWithTheDefaultsWritesTheFormatLine) {
  OpenDialog(PressOk);
  EXPECT_EQ(ReadFile(dir.File("NC.ini")), "XYCs300h/");
}

TEST_F(NcFormatDialogTest, FirstLineIsReadBackUnchangedAtTheNextStart) {
  OpenDialog([](QWidget& dialog) {
    Type(dialog, "G0Edit", "G90 G21");
    PressOk(dialog);
  });
  EXPECT_EQ(ReadFile(dir.File("NC.ini")), "XYCs300hG90 G21/");
  EXPECT_EQ(form().session().Format.FirstLine, "G90 G21");

  Restart();
  const NcFormat& format = form().session().Format;
  EXPECT_EQ(format.HorizonAxis + format.VerticalAxis + format.RotateAxis, "XYC");
  EXPECT_EQ(format.CutSpeed, "300");
  EXPECT_EQ(format.FirstLine, "G90 G21");
  OpenDialog([](QWidget& dialog) {
    EXPECT_EQ(Child<QLineEdit>(dialog, "G0Edit")->text(), "G90 G21");
    dialog.close();
  });
}

TEST_F(NcFormatDialogTest, TextsAreTakenAsTyped) {
  OpenDialog([](QWidget& dialog) {
    Type(dialog, "XEdit", "U1");
    Type(dialog, "SpeedEdit", "fast");
    PressOk(dialog);
  });
  const NcFormat& format = form().session().Format;
  EXPECT_EQ(format.HorizonAxis, "U1");  // whole for this run
  EXPECT_EQ(format.CutSpeed, "fast");
  EXPECT_EQ(ReadFile(dir.File("NC.ini")), "U1YCsfasth/");
  EXPECT_TRUE(host.messages.empty());
}

TEST_F(NcFormatDialogTest, ClosingWithoutOkChangesNothing) {
  OpenDialog([](QWidget& dialog) {
    Type(dialog, "XEdit", "Q");
    dialog.close();
  });
  EXPECT_EQ(form().session().Format.HorizonAxis, "X");
  EXPECT_FALSE(std::filesystem::exists(dir.File("NC.ini")));
}

TEST_F(NcFormatDialogTest, FileThatCannotBeWrittenIsReportedAndTheFormatStillHolds) {
  std::filesystem::create_directory(dir.File("NC.ini"));  // a directory takes the name
  OpenDialog([](QWidget& dialog) {
    Type(dialog, "G0Edit", "G91");
    PressOk(dialog);
  });
  EXPECT_EQ(form().session().Format.FirstLine, "G91");
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_NE(host.messages[0].find("NC.ini"), std::string::npos) << host.messages[0];
}

}  // namespace
}  // namespace vantora
