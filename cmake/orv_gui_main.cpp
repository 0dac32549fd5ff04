// Main of the widget tests: one QApplication for every case, on the offscreen
// platform unless the environment chooses another.
#include <gtest/gtest.h>

#include <QApplication>

int main(int argc, char* argv[]) {
  qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen")
                                                                  : qgetenv("QT_QPA_PLATFORM"));
  QApplication aplicacion(argc, argv);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
