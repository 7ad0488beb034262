// One Qt application for the whole test program.
#pragma once

#include <QApplication>

inline QApplication& TestApp() {
  static int Argc = 1;
  static char Name[] = "test";
  static char* Argv[] = {Name, nullptr};
  static QApplication App(Argc, Argv);
  return App;
}
