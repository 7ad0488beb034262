// Errors that reach a window's handler are shown the way the application
// shows unhandled ones: a message box with the error's text.
#pragma once

#include <QString>
#include <exception>
#include <functional>

class QWidget;

namespace ui {

void ShowException(QWidget* Parent, const std::exception& E);
// The same for an error's text.
void ShowErrorMessage(QWidget* Parent, const QString& Message);

// Where the messages go instead of a message box (tests); returns the one
// before. An empty function restores the message box.
using TExceptionReporter = std::function<void(QWidget* Parent, const QString& Message)>;
TExceptionReporter SetExceptionReporter(TExceptionReporter Reporter);

}  // namespace ui
