#include "ui/settings_form.h"

#include <QTreeWidget>

#include "ui/show_exception.h"
#include "ui_settings_form.h"

namespace ui {

TSettingsForm::TSettingsForm(QWidget* Owner) : QDialog(Owner), FForm(new Ui::SettingsForm) {
  FForm->setupUi(this);
  Ui::SettingsForm& F = *FForm;
  F.BufferZonePenStyleGrid->Attach(FModel.BufferZonePen);
  F.TracePenStyleGrid->Attach(FModel.TracePen);
  F.BufferZoneBrushStyleGrid->Attach(FModel.BufferZoneBrush);
  F.TraceBrushStyleGrid->Attach(FModel.TraceBrush);
  for (TStyleGrid* Grid : {static_cast<TStyleGrid*>(F.BufferZonePenStyleGrid),
                           static_cast<TStyleGrid*>(F.TracePenStyleGrid)})
    Grid->OnChanged = [this](TStyleGrid*) { Changed(); };

  connect(F.SettingsTreeView, &QTreeWidget::currentItemChanged, this, [this] { ShowPage(); });
  // A click on it must not leave a field first: the saving checks the fields.
  F.SettingsCloseButton->setFocusPolicy(Qt::TabFocus);
  connect(F.SettingsCloseButton, &QPushButton::clicked, this, &TSettingsForm::CloseClick);

  // Every change goes to the model, and the dialog shows the model again.
  const auto Forward = [this](auto* Control, auto Signal, auto Change) {
    connect(Control, Signal, this, [this, Change](auto&&... Args) {
      if (FShowing) return;
      Change(Args...);
      Changed();
    });
  };
  for (int N = 0; N < forms::SettingsNumberCount; ++N) {
    const auto Number = static_cast<forms::TSettingsNumber>(N);
    Forward(NumberEdit(Number), &QLineEdit::textChanged, [this, Number](const QString& Text) {
      FModel.SetNumberText(Number, Text.toStdString());
    });
  }
  Forward(F.BufferZonePenColorBox, &TColorBox::Changed,
          [this] { FModel.BufferZonePen.SetColor(FForm->BufferZonePenColorBox->Selected()); });
  Forward(F.TracePenColorBox, &TColorBox::Changed,
          [this] { FModel.TracePen.SetColor(FForm->TracePenColorBox->Selected()); });
  Forward(F.BufferZoneBackgroundColorBox, &TColorBox::Changed, [this] {
    FModel.BufferZoneBrush.SetBackColor(FForm->BufferZoneBackgroundColorBox->Selected());
  });
  Forward(F.BufferZoneHatchingColorBox, &TColorBox::Changed, [this] {
    FModel.BufferZoneBrush.SetHatchColor(FForm->BufferZoneHatchingColorBox->Selected());
  });
  Forward(F.TraceBackgroundColorBox, &TColorBox::Changed,
          [this] { FModel.TraceBrush.SetBackColor(FForm->TraceBackgroundColorBox->Selected()); });
  Forward(F.TraceHatchingColorBox, &TColorBox::Changed,
          [this] { FModel.TraceBrush.SetHatchColor(FForm->TraceHatchingColorBox->Selected()); });
  Forward(F.GeneralTraceVertexPenColorBox, &TColorBox::Changed, [this] {
    FModel.VertexTracePenColor = FForm->GeneralTraceVertexPenColorBox->Selected();
  });
  Forward(F.GeneralTraceVertexBrushColorBox, &TColorBox::Changed, [this] {
    FModel.VertexTraceBackColor = FForm->GeneralTraceVertexBrushColorBox->Selected();
  });
  Forward(F.BufferZoneTransparentComboBox, &QComboBox::currentIndexChanged, [this](int Index) {
    forms::TSettingsModel::SetTransparencyIndex(FModel.BufferZoneBrush, Index);
  });
  Forward(F.TraceTransparentComboBox, &QComboBox::currentIndexChanged, [this](int Index) {
    forms::TSettingsModel::SetTransparencyIndex(FModel.TraceBrush, Index);
  });
  Forward(F.GeneralTraceVertexBrushTransparencyComboBox, &QComboBox::currentIndexChanged,
          [this](int Index) { FModel.VertexTraceTransparencyIndex = Index; });
  ShowModel();
}

TSettingsForm::~TSettingsForm() {
  // The model goes before the controls: nothing they signal may reach it.
  for (QObject* Child : findChildren<QObject*>()) Child->disconnect(this);
}

TFloatEdit* TSettingsForm::NumberEdit(forms::TSettingsNumber Number) const {
  const Ui::SettingsForm& F = *FForm;
  TFloatEdit* const Edits[] = {
      F.BufferZoneWidthEdit,
      F.BufferZonePenForZoomScaleEdit,
      F.TraceWidthEdit,
      F.TracePenForZoomScaleEdit,
      F.GeneralTraceVertexSizeFloatEdit,
      F.GeneralTraceVertexSizeForZoomScaleFloatEdit,
      F.GeneralTraceVertexPenWidthFloatEdit,
      F.GeneralTraceVertexPenWidthForZoomScaleFloatEdit,
  };
  return Edits[Number];
}

QWidget* TSettingsForm::PageWidget(forms::TSettingsPage Page) const {
  QWidget* const Pages[] = {FForm->SettingsGeneralTabSheet, FForm->SettingsBufferZoneTabSheet,
                            FForm->SettingsTraceTabSheet};
  return Pages[Page];
}

void TSettingsForm::SetApplication(kx::TOrvexApplication App) {
  FApp = std::move(App);
  ShowPage();
  LoadSettings();
}

void TSettingsForm::ShowPage() {
  const QTreeWidgetItem* Item = FForm->SettingsTreeView->currentItem();
  if (Item) FModel.SelectNode(Item->text(0).toStdString());
  ShowModel();
}

void TSettingsForm::LoadSettings() {
  FModel.SetLocaleSeparator(TFloatEdit::LocaleSeparator());
  FModel.Load(FApp);
  ShowModel();
}

void TSettingsForm::ShowModel() {
  if (FShowing) return;
  FShowing = true;
  Ui::SettingsForm& F = *FForm;
  QTreeWidget* Tree = F.SettingsTreeView;
  const int Node = FModel.Page();
  if (Tree->indexOfTopLevelItem(Tree->currentItem()) != Node && Node < Tree->topLevelItemCount())
    Tree->setCurrentItem(Tree->topLevelItem(Node));
  F.SettingsPageControl->setCurrentWidget(PageWidget(FModel.Page()));
  for (int N = 0; N < forms::SettingsNumberCount; ++N) {
    const auto Number = static_cast<forms::TSettingsNumber>(N);
    TFloatEdit* Edit = NumberEdit(Number);
    const QString Text = QString::fromStdString(FModel.NumberText(Number));
    if (Edit->text() != Text) Edit->setText(Text);
    Edit->setEnabled(FModel.NumberEnabled(Number));
  }
  F.BufferZonePenColorBox->SetSelected(FModel.BufferZonePen.Color());
  F.TracePenColorBox->SetSelected(FModel.TracePen.Color());
  F.BufferZoneBackgroundColorBox->SetSelected(FModel.BufferZoneBrush.BackColor());
  F.BufferZoneHatchingColorBox->SetSelected(FModel.BufferZoneBrush.HatchColor());
  F.TraceBackgroundColorBox->SetSelected(FModel.TraceBrush.BackColor());
  F.TraceHatchingColorBox->SetSelected(FModel.TraceBrush.HatchColor());
  F.GeneralTraceVertexPenColorBox->SetSelected(FModel.VertexTracePenColor);
  F.GeneralTraceVertexBrushColorBox->SetSelected(FModel.VertexTraceBackColor);
  F.BufferZoneTransparentComboBox->setCurrentIndex(
      forms::TSettingsModel::TransparencyIndex(FModel.BufferZoneBrush));
  F.TraceTransparentComboBox->setCurrentIndex(
      forms::TSettingsModel::TransparencyIndex(FModel.TraceBrush));
  F.GeneralTraceVertexBrushTransparencyComboBox->setCurrentIndex(
      FModel.VertexTraceTransparencyIndex);
  FShowing = false;
}

void TSettingsForm::Changed() {
  ShowModel();
  if (!FApp) return;
  try {
    FModel.Preview(FApp);
  } catch (const std::exception&) {
    // A store that refuses the preview refuses the saving too, which says so.
  }
}

void TSettingsForm::reject() {
  if (FApp) {
    try {
      FModel.Revert(FApp);
    } catch (const std::exception& E) {
      ShowException(this, E);
    }
  }
  QDialog::reject();
}

void TSettingsForm::SaveSettings() {
  try {
    FModel.Save(FApp);
  } catch (...) {
    if (FModel.FailedNumber() >= 0) {
      ShowModel();
      NumberEdit(static_cast<forms::TSettingsNumber>(FModel.FailedNumber()))->setFocus();
    }
    throw;
  }
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
