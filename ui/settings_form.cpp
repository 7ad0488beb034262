#include "ui/settings_form.h"

#include <QTreeWidget>

#include "core/exception.h"
#include "trace/editor/trace_settings.h"
#include "ui/show_exception.h"
#include "ui_settings_form.h"

namespace ui {

namespace {

constexpr int PenSolid = 0;

// Reals as their general text: up to 15 significant digits.
QString GeneralText(double Value) {
  return TFloatEdit::FloatToText(Value, 15, true);
}

std::string Text(const QLineEdit* Edit) {
  return Edit->text().toStdString();
}

// Colours are written as signed 32-bit numbers.
std::int32_t ColorValue(trace::TColorRef Color) {
  return static_cast<std::int32_t>(Color);
}

struct TPenControls {
  TPenStyleGrid* Grid;
  TColorBox* Color;
  TFloatEdit* Width;
  TFloatEdit* Scale;
};

struct TBrushControls {
  TBrushStyleGrid* Grid;
  TColorBox* Back;
  TColorBox* Hatch;
  QComboBox* Transparency;
};

TPenControls BufferZonePen(const Ui::SettingsForm& F) {
  return {F.BufferZonePenStyleGrid, F.BufferZonePenColorBox, F.BufferZoneWidthEdit,
          F.BufferZonePenForZoomScaleEdit};
}
TPenControls TracePen(const Ui::SettingsForm& F) {
  return {F.TracePenStyleGrid, F.TracePenColorBox, F.TraceWidthEdit, F.TracePenForZoomScaleEdit};
}
TBrushControls BufferZoneBrush(const Ui::SettingsForm& F) {
  return {F.BufferZoneBrushStyleGrid, F.BufferZoneBackgroundColorBox, F.BufferZoneHatchingColorBox,
          F.BufferZoneTransparentComboBox};
}
TBrushControls TraceBrush(const Ui::SettingsForm& F) {
  return {F.TraceBrushStyleGrid, F.TraceBackgroundColorBox, F.TraceHatchingColorBox,
          F.TraceTransparentComboBox};
}

void CouplePen(const TPenControls& C, std::function<void()> StyleChanged) {
  C.Grid->OnChanged = [StyleChanged](TStyleGrid*) { StyleChanged(); };
  QObject::connect(C.Color, &TColorBox::Changed, C.Grid,
                   [C] { C.Grid->SetColor(C.Color->Selected()); });
}

void CoupleBrush(const TBrushControls& C) {
  QObject::connect(C.Back, &TColorBox::Changed, C.Grid,
                   [C] { C.Grid->SetBackColor(C.Back->Selected()); });
  QObject::connect(C.Hatch, &TColorBox::Changed, C.Grid,
                   [C] { C.Grid->SetHatchColor(C.Hatch->Selected()); });
  QObject::connect(C.Transparency, &QComboBox::currentIndexChanged, C.Grid,
                   [C](int Index) { C.Grid->SetTransparency(Index == 1); });
}

void LoadPen(const TPenControls& C, int Style, trace::TColorRef Color, double Width, int Scale) {
  C.Grid->SetStyle(Style);
  C.Grid->SetColor(Color);
  C.Color->SetSelected(C.Grid->Color());
  C.Width->setText(GeneralText(Width));
  C.Scale->setText(QString::number(Scale));
}

void LoadBrush(const TBrushControls& C, int Style, trace::TColorRef Back, trace::TColorRef Hatch,
               int Transparency) {
  C.Grid->SetStyle(Style);
  C.Grid->SetBackColor(Back);
  C.Grid->SetHatchColor(Hatch);
  C.Back->SetSelected(C.Grid->BackColor());
  C.Hatch->SetSelected(C.Grid->HatchColor());
  C.Grid->SetTransparency(Transparency != 0);
  C.Transparency->setCurrentIndex(C.Grid->Transparency() ? 1 : 0);
}

void SavePen(const kx::TOrvexApplication& App, const char* Prefix, const TPenControls& C) {
  const std::string P = Prefix;
  trace::WriteIntSetting(App, P + "PenStyle", C.Grid->Style());
  trace::WriteIntSetting(App, P + "PenColor", ColorValue(C.Grid->Color()));
  trace::WriteSetting(App, P + "Width", Text(C.Width));
  trace::WriteSetting(App, P + "PenForZoomScale", Text(C.Scale));
}

void SaveBrush(const kx::TOrvexApplication& App, const char* Prefix, const TBrushControls& C) {
  const std::string P = Prefix;
  trace::WriteIntSetting(App, P + "BrushStyle", C.Grid->Style());
  trace::WriteIntSetting(App, P + "BackColor", ColorValue(C.Grid->BackColor()));
  trace::WriteIntSetting(App, P + "HatchColor", ColorValue(C.Grid->HatchColor()));
  trace::WriteIntSetting(App, P + "Transparency", C.Grid->Transparency() ? 1 : 0);
}

}  // namespace

TSettingsForm::TSettingsForm(QWidget* Owner) : QDialog(Owner), FForm(new Ui::SettingsForm) {
  FForm->setupUi(this);
  Ui::SettingsForm& F = *FForm;
  connect(F.SettingsTreeView, &QTreeWidget::currentItemChanged, this, [this] { ShowPage(); });
  // A click on it must not leave a field first: the saving checks the fields.
  F.SettingsCloseButton->setFocusPolicy(Qt::TabFocus);
  connect(F.SettingsCloseButton, &QPushButton::clicked, this, &TSettingsForm::CloseClick);
  CouplePen(BufferZonePen(F), [this] { UpdatePenControls(); });
  CouplePen(TracePen(F), [this] { UpdatePenControls(); });
  CoupleBrush(BufferZoneBrush(F));
  CoupleBrush(TraceBrush(F));
  UpdatePenControls();
}

TSettingsForm::~TSettingsForm() = default;

void TSettingsForm::SetApplication(kx::TOrvexApplication App) {
  FApp = std::move(App);
  ShowPage();
  LoadSettings();
}

void TSettingsForm::ShowPage() {
  QTreeWidget* Tree = FForm->SettingsTreeView;
  if (!Tree->currentItem() && Tree->topLevelItemCount() > 0)
    Tree->setCurrentItem(Tree->topLevelItem(0));
  const QTreeWidgetItem* Item = Tree->currentItem();
  if (!Item) return;
  const QString Node = Item->text(0);
  QWidget* Page = nullptr;
  if (Node == QStringLiteral("Вершины"))
    Page = FForm->SettingsGeneralTabSheet;
  else if (Node == QStringLiteral("Буферная зона"))
    Page = FForm->SettingsBufferZoneTabSheet;
  else if (Node == QStringLiteral("Трассировка"))
    Page = FForm->SettingsTraceTabSheet;
  if (Page) FForm->SettingsPageControl->setCurrentWidget(Page);
}

void TSettingsForm::UpdatePenControls() {
  for (const TPenControls& C : {BufferZonePen(*FForm), TracePen(*FForm)}) {
    const bool Solid = C.Grid->Style() == PenSolid;
    C.Width->setEnabled(Solid);
    C.Scale->setEnabled(Solid);
  }
}

void TSettingsForm::LoadSettings() {
  const trace::TTraceSettings S = trace::ReadTraceSettings(FApp);
  Ui::SettingsForm& F = *FForm;
  LoadPen(BufferZonePen(F), S.BufferZonePenStyle, S.BufferZonePenColor, S.BufferZoneWidth,
          S.BufferZonePenForZoomScale);
  LoadBrush(BufferZoneBrush(F), S.BufferZoneBrushStyle, S.BufferZoneBackColor,
            S.BufferZoneHatchColor, S.BufferZoneTransparency);
  LoadPen(TracePen(F), S.TracePenStyle, S.TracePenColor, S.TraceWidth, S.TracePenForZoomScale);
  LoadBrush(TraceBrush(F), S.TraceBrushStyle, S.TraceBackColor, S.TraceHatchColor,
            S.TraceTransparency);
  F.GeneralTraceVertexSizeFloatEdit->setText(GeneralText(S.VertexTraceSize));
  F.GeneralTraceVertexSizeForZoomScaleFloatEdit->setText(
      QString::number(S.VertexTraceSizeForZoomScale));
  F.GeneralTraceVertexPenWidthFloatEdit->setText(GeneralText(S.VertexTraceWidth));
  F.GeneralTraceVertexPenWidthForZoomScaleFloatEdit->setText(
      QString::number(S.VertexTracePenWidthForZoomScale));
  F.GeneralTraceVertexPenColorBox->SetSelected(S.VertexTracePenColor);
  F.GeneralTraceVertexBrushColorBox->SetSelected(S.VertexTraceBackColor);
  F.GeneralTraceVertexBrushTransparencyComboBox->setCurrentIndex(
      S.VertexTraceBrushTransparency != 0 ? 1 : 0);
  UpdatePenControls();
}

void TSettingsForm::CheckNumbers() {
  const Ui::SettingsForm& F = *FForm;
  struct TField {
    TFloatEdit* Edit;
    QWidget* Page;
    bool Integer;
  };
  const TField Fields[] = {
      {F.BufferZoneWidthEdit, F.SettingsBufferZoneTabSheet, false},
      {F.BufferZonePenForZoomScaleEdit, F.SettingsBufferZoneTabSheet, true},
      {F.TraceWidthEdit, F.SettingsTraceTabSheet, false},
      {F.TracePenForZoomScaleEdit, F.SettingsTraceTabSheet, true},
      {F.GeneralTraceVertexSizeFloatEdit, F.SettingsGeneralTabSheet, false},
      {F.GeneralTraceVertexSizeForZoomScaleFloatEdit, F.SettingsGeneralTabSheet, true},
      {F.GeneralTraceVertexPenWidthFloatEdit, F.SettingsGeneralTabSheet, false},
      {F.GeneralTraceVertexPenWidthForZoomScaleFloatEdit, F.SettingsGeneralTabSheet, true},
  };
  for (const TField& Field : Fields) {
    const std::string T = Text(Field.Edit);
    try {
      if (Field.Integer)
        trace::SettingTextToInt(T);
      else
        trace::SettingTextToFloat(T);
    } catch (const core::EConvertError&) {
      FForm->SettingsPageControl->setCurrentWidget(Field.Page);
      Field.Edit->setFocus();
      TFloatEdit::RaiseNotANumber(Field.Edit->text());
    }
  }
}

void TSettingsForm::SaveSettings() {
  // A text that the readers cannot convert would stop every later paint and
  // every later opening of this dialog.
  CheckNumbers();
  const Ui::SettingsForm& F = *FForm;
  SavePen(FApp, "BufferZone", BufferZonePen(F));
  SaveBrush(FApp, "BufferZone", BufferZoneBrush(F));
  SavePen(FApp, "Trace", TracePen(F));
  SaveBrush(FApp, "Trace", TraceBrush(F));
  trace::WriteSetting(FApp, "VertexTraceSize", Text(F.GeneralTraceVertexSizeFloatEdit));
  trace::WriteSetting(FApp, "VertexTraceSizeForZoomScale",
                      Text(F.GeneralTraceVertexSizeForZoomScaleFloatEdit));
  trace::WriteSetting(FApp, "VertexTraceWidth", Text(F.GeneralTraceVertexPenWidthFloatEdit));
  trace::WriteSetting(FApp, "VertexTracePenWidthForZoomScale",
                      Text(F.GeneralTraceVertexPenWidthForZoomScaleFloatEdit));
  trace::WriteIntSetting(FApp, "VertexTracePenColor",
                         ColorValue(F.GeneralTraceVertexPenColorBox->Selected()));
  trace::WriteIntSetting(FApp, "VertexTraceBackColor",
                         ColorValue(F.GeneralTraceVertexBrushColorBox->Selected()));
  trace::WriteIntSetting(FApp, "VertexTraceBrushTransparency",
                         F.GeneralTraceVertexBrushTransparencyComboBox->currentIndex());
  FApp.MapViewOperation7();
}

void TSettingsForm::CloseClick() {
  try {
    SaveSettings();
  } catch (const std::exception& E) {
    ShowException(this, E);
    return;
  }
  accept();
}

}  // namespace ui
