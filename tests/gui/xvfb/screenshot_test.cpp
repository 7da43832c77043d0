// Starts the real program on an X server without a window manager, photographs the
// screen and checks what the operator sees first: the silver tool bar with its
// buttons across the top, and the window's own colour below it. The picture stays
// in artefacts/ for a person to look at.
#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

namespace fs = std::filesystem;

const QColor kSilver(0xC0, 0xC0, 0xC0);
const QColor kInactiveCaption(0xBF, 0xCD, 0xDB);

std::string Quoted(const fs::path& path) { return "'" + path.string() + "'"; }

TEST(Screenshot, ToolBarAndWindowBackground) {
  const fs::path artefacts(VANTORA_ARTEFACTS);
  const fs::path picture = artefacts / "main_window.png";
  const fs::path workDir = artefacts / "screenshot-run";
  fs::create_directories(workDir);
  fs::remove(picture);

  // xvfb-run's default screen has 8-bit colour; the checks need true colour.
  const std::string command = "xvfb-run -a -s '-screen 0 1280x1024x24' " +
                              Quoted(VANTORA_SCREENSHOT_SCRIPT) + " " +
                              Quoted(VANTORA_EXECUTABLE) + " " + Quoted(picture) + " " +
                              Quoted(workDir);
  ASSERT_EQ(std::system(command.c_str()), 0) << command;

  QImage shot(QString::fromStdString(picture.string()));
  ASSERT_FALSE(shot.isNull()) << picture;
  ASSERT_EQ(shot.size(), QSize(1280, 1024));

  // The tool bar: 73 pixels high across the whole width, silver where no button is.
  for (int x : {400, 640, 900, 1200}) {
    for (int y : {10, 36, 64}) {
      EXPECT_EQ(shot.pixelColor(x, y), kSilver) << x << "," << y;
    }
  }
  // Its first button, left, carries a picture: not all silver.
  int drawn = 0;
  for (int y = 10; y < 60; ++y) {
    for (int x = 10; x < 60; ++x) drawn += shot.pixelColor(x, y) != kSilver;
  }
  EXPECT_GT(drawn, 200);
  // Below it the window's colour, with nothing over it (the parameter panel waits
  // for a model, and a 1024-pixel screen gives no low-screen warning).
  for (int x : {20, 300, 640, 1000, 1270}) {
    for (int y : {90, 400, 700, 1015}) {
      EXPECT_EQ(shot.pixelColor(x, y), kInactiveCaption) << x << "," << y;
    }
  }
}

}  // namespace
