// An edit for decimal numbers, a view of the numeric edit's model: it asks
// the model which keystrokes to take (a refused one beeps), keeps the
// model's text in step with its own and shows the model's error when the
// field is left holding no number.
#pragma once

#include <QLineEdit>

#include "forms/float_edit_model.h"

namespace ui {

class TFloatEdit : public QLineEdit {
  Q_OBJECT
  Q_PROPERTY(double MinValue READ MinValue WRITE SetMinValue)
  Q_PROPERTY(double MaxValue READ MaxValue WRITE SetMaxValue)
  Q_PROPERTY(int Precision READ Precision WRITE SetPrecision)
  Q_PROPERTY(bool StrictCheck READ StrictCheck WRITE SetStrictCheck)
  Q_PROPERTY(bool TruncZeros READ TruncZeros WRITE SetTruncZeros)
  Q_PROPERTY(bool IsSigned READ IsSigned WRITE SetIsSigned)

 public:
  explicit TFloatEdit(QWidget* Parent = nullptr);

  // The model, told the locale's separator (the locale may change while the
  // edit lives).
  forms::TFloatEditModel& Model() const;

  double Value() const { return Model().Value(); }
  void SetValue(double Value);

  double MinValue() const { return FModel.MinValue; }
  void SetMinValue(double Value) { FModel.MinValue = Value; }
  double MaxValue() const { return FModel.MaxValue; }
  void SetMaxValue(double Value) { FModel.MaxValue = Value; }
  int Precision() const { return FModel.Precision(); }
  void SetPrecision(int Value) { FModel.SetPrecision(Value); }
  bool StrictCheck() const { return FModel.StrictCheck; }
  void SetStrictCheck(bool Value) { FModel.StrictCheck = Value; }
  bool TruncZeros() const { return FModel.TruncZeros; }
  void SetTruncZeros(bool Value) { FModel.TruncZeros = Value; }
  bool IsSigned() const { return FModel.IsSigned; }
  void SetIsSigned(bool Value) { FModel.IsSigned = Value; }

  // The model's checks on leaving the field; on an error the focus comes
  // back and the error is raised.
  void CheckOnExit();
  // The locale's decimal separator, for the models.
  static char32_t LocaleSeparator();

 protected:
  void keyPressEvent(QKeyEvent* Event) override;
  void focusOutEvent(QFocusEvent* Event) override;

 private:
  void ShowModelText();

  mutable forms::TFloatEditModel FModel;
  bool FShowing = false;
};

}  // namespace ui
