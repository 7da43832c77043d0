#include "nc/nc_format_dialog.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>

#include "gui_testing.h"

namespace vantora {
namespace {

using testing::Child;
using testing::ReadFile;

using Typed = std::vector<std::pair<const char*, const char*>>;

class NcFormatDialogTest : public testing::StartedApplicationTest {
 protected:
  // Clicks the format button, types `typed` into the dialog and closes it with OK.
  void Define(const Typed& typed) {
    testing::WhenModal([typed](QWidget& dialog) {
      for (const auto& [edit, text] : typed) Child<QLineEdit>(dialog, edit)->setText(text);
      Child<QPushButton>(dialog, "OKButtom")->click();
    });
    Click("FormatButton");
  }
};

// Texts are taken as typed, for this run and, through NC.ini, the next; the close box
// keeps none.
TEST_F(NcFormatDialogTest, OkKeepsTheTextsAsTypedAndTheCloseBoxNone) {
  Define({{"XEdit", "U"}, {"SpeedEdit", "fast"}, {"G0Edit", "G90 G21"}});
  EXPECT_EQ(form().session().Format.CutSpeed, "fast");
  Restart();
  testing::WhenModal([](QWidget& dialog) {
    EXPECT_EQ(Child<QLineEdit>(dialog, "XEdit")->text(), "U");
    EXPECT_EQ(Child<QLineEdit>(dialog, "G0Edit")->text(), "G90 G21");
    Child<QLineEdit>(dialog, "CEdit")->setText("Q");
    dialog.close();
  });
  Click("FormatButton");
  EXPECT_EQ(form().session().Format.RotateAxis, "C");
  EXPECT_EQ(ReadFile(dir.File("NC.ini")), "UYCsfasthG90 G21/");
  EXPECT_TRUE(host.messages.empty());
}

TEST_F(NcFormatDialogTest, FormatTheFileCannotHoldIsRefusedAndTheDialogStaysOpen) {
  testing::WhenModal([this](QWidget& dialog) {
    Child<QLineEdit>(dialog, "XEdit")->setText("U1");
    Child<QPushButton>(dialog, "OKButtom")->click();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(host.messages.size(), 1u);
    dialog.close();
  });
  Click("FormatButton");
  EXPECT_EQ(form().session().Format.HorizonAxis, "X");
  EXPECT_FALSE(std::filesystem::exists(dir.File("NC.ini")));
}

TEST_F(NcFormatDialogTest, FileThatCannotBeWrittenIsReportedAndTheFormatStillHolds) {
  std::filesystem::create_directory(dir.File("NC.ini"));  // a directory takes the name
  Define({{"G0Edit", "G91"}});
  EXPECT_EQ(form().session().Format.FirstLine, "G91");
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_NE(host.messages[0].find("NC.ini"), std::string::npos) << host.messages[0];
}

}  // namespace
}  // namespace vantora
