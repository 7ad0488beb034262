// Answers the modal dialogs that a window's action opens, one after another,
// as a person would: each answer waits for a new modal window of its class,
// acts on it, and the next waits for the one after it. A modal window of
// another class, one that shows after the answers ran out, or an answer
// that waits in vain is a failure: the window is rejected, so that the
// test goes on, and the failure is reported.
#pragma once

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <vector>

namespace host::test {

class TModalAnswers {
 public:
  // Class: the dialog's Qt class name ("QDialog", "QFileDialog",
  // "QInputDialog", "QMessageBox").
  TModalAnswers& Then(const char* Class, std::function<void(QDialog&)> Answer) {
    FAnswers.push_back({Class, std::move(Answer)});
    return *this;
  }

  // Runs Action (which opens the dialogs and returns when they closed).
  // Returns the failures, one line each; empty when every answer was given
  // to a dialog of its class and no other dialog showed.
  QStringList Run(const std::function<void()>& Action) {
    std::size_t Next = 0;
    QPointer<QWidget> Last;
    QStringList Failures;
    QElapsedTimer Waiting;
    Waiting.start();
    QTimer Poll;
    Poll.setInterval(10);
    QObject::connect(&Poll, &QTimer::timeout, [&] {
      QWidget* Modal = QApplication::activeModalWidget();
      if (!Modal || Modal == Last) {
        // A dialog that never comes would leave the one open waiting.
        if (Waiting.elapsed() > TimeoutMs && Modal) {
          Failures << QStringLiteral("no answer came for %1").arg(Modal->metaObject()->className());
          if (auto* D = qobject_cast<QDialog*>(Modal)) D->reject();
        }
        return;
      }
      Last = Modal;
      Waiting.restart();
      auto* Dialog = qobject_cast<QDialog*>(Modal);
      const QString Class = QString::fromLatin1(Modal->metaObject()->className());
      if (!Dialog || Next == FAnswers.size() || Class != QLatin1String(FAnswers[Next].Class)) {
        Failures << QStringLiteral("unexpected %1 \"%2\"").arg(Class, Modal->windowTitle());
        if (Dialog) Dialog->reject();
        return;
      }
      FAnswers[Next++].Answer(*Dialog);
    });
    Poll.start();
    Action();
    Poll.stop();
    for (; Next < FAnswers.size(); ++Next)
      Failures << QStringLiteral("no %1 showed").arg(FAnswers[Next].Class);
    FAnswers.clear();
    return Failures;
  }

 private:
  static constexpr int TimeoutMs = 10000;
  struct TAnswer {
    const char* Class;
    std::function<void(QDialog&)> Answer;
  };
  std::vector<TAnswer> FAnswers;
};

}  // namespace host::test
