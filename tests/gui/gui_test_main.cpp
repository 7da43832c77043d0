// Runs the GUI tests inside one application object; listing them needs none, so the
// build can discover the tests without a display.
#include <gtest/gtest.h>

#include <QApplication>

#include "app/application.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (GTEST_FLAG_GET(list_tests)) return RUN_ALL_TESTS();
  QApplication application(argc, argv);
  QApplication::setApplicationName(QString::fromLatin1(vantora::kApplicationTitle));
  return RUN_ALL_TESTS();
}
