// One Qt application for the whole test program. It is destroyed when the
// tests are over, still inside main: destroyed by a static destructor, it
// would meet Qt's own globals (QTest's input devices among them) already gone.
#pragma once

#include <gtest/gtest.h>
#include <QApplication>

inline QApplication& TestApp() {
  static int Argc = 1;
  static char Name[] = "test";
  static char* Argv[] = {Name, nullptr};
  static QApplication* App = [] {
    struct TAppEnvironment : ::testing::Environment {
      void TearDown() override { delete QApplication::instance(); }
    };
    ::testing::AddGlobalTestEnvironment(new TAppEnvironment);
    return new QApplication(Argc, Argv);
  }();
  return *App;
}
