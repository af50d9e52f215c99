#include <gtest/gtest.h>

#include <QApplication>

// Widgets need an application object; without a platform chosen, the tests run offscreen, so that they
// need no display, not even while CMake lists them.
int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  return RUN_ALL_TESTS();
}
