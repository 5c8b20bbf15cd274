// GoogleTest with one QApplication for the whole run. The platform (offscreen)
// comes from the test's environment, set by CTest.

#include <gtest/gtest.h>

#include <QApplication>

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  // Death tests start a fresh copy of this program rather than fork one
  // with Qt's threads running.
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  if (GTEST_FLAG_GET(list_tests)) {
    return RUN_ALL_TESTS();  // listing the tests needs no window system
  }
  QApplication application(argc, argv);
  return RUN_ALL_TESTS();
}
