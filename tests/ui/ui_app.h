// One Qt application for the whole test program, made before the first test
// and gone before the program's static objects are.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QLocale>
#include <memory>

class TUiTestEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    static int Argc = 1;
    static char Name[] = "test_ui";
    static char* Argv[] = {Name, nullptr};
    FApp = std::make_unique<QApplication>(Argc, Argv);
    // Numbers with a decimal point unless a test says otherwise.
    QLocale::setDefault(QLocale::c());
  }
  void TearDown() override { FApp.reset(); }

 private:
  std::unique_ptr<QApplication> FApp;
};

inline ::testing::Environment* const UiTestEnvironment =
    ::testing::AddGlobalTestEnvironment(new TUiTestEnvironment);
