#include "ui/trace_pad_form.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressDialog>
#include <QScreen>
#include <QToolBar>
#include <QWindow>

#include "compat/module_resources.h"
#include "ui/project_tree_form.h"
#include "ui/settings_form.h"
#include "ui/show_exception.h"
#include "ui_trace_pad_form.h"

namespace ui {

namespace {

using forms::TPadAction;

QString Text(const std::string& S) {
  return QString::fromStdString(S);
}

// The frame around the window, as the platform will draw it; the window is
// created for it if need be, so that a placement read before the first show
// means the same as one saved after it.
QMargins FrameMargins(QWidget* W) {
  W->winId();
  return W->windowHandle() ? W->windowHandle()->frameMargins() : QMargins();
}

QRect ToQRect(const forms::TPadRect& R) {
  return QRect(R.Left, R.Top, R.Width, R.Height);
}

forms::TPadRect FromQRect(const QRect& R) {
  return {R.left(), R.top(), R.width(), R.height()};
}

// The add-on's command makes its pad through this hook, so that the module
// below the user interface never names it.
struct TPadInstaller {
  TPadInstaller() { kx::TracePadCreator = &CreateTracePad; }
} PadInstaller;

}  // namespace

TTracePadForm::TTracePadForm(QWidget* Owner, kx::TTraceAddOn* AAddon)
    : TKxAddonForm(Owner, Qt::Window | Qt::WindowContextHelpButtonHint),
      FAddon(AAddon),
      FUi(std::make_unique<Ui::TTracePadForm>()) {
  FUi->setupUi(this);
  // The layout file holds the controls; their texts are the model's.
  resize(forms::PadWidth, forms::PadHeight);
  setWindowTitle(forms::PadCaption);
  FUi->NewObjectStyleLabel->setText(forms::PadNoStyleText);
  FUi->CheckBoxTraceOn->setText(forms::PadTraceOnText);
  FUi->CheckBoxAlong->setText(forms::PadAlongText);
  FUi->CheckBoxCloseBy->setText(forms::PadCloseByText);
  FUi->Label1->setText(forms::PadWidthLabelText);
  FUi->BufferZoneEdit->setToolTip(forms::PadWidthTip);
  for (int I = 0; I < forms::PadActionCount; ++I) {
    const auto A = static_cast<TPadAction>(I);
    const forms::TPadActionText& T = forms::PadActionText(A);
    QAction* Act = Action(A);
    Act->setText(T.Caption);
    Act->setToolTip(Text(forms::PadActionTip(A)));
    Act->setIcon(QIcon(QPixmap::fromImage(compat::LoadBitmapImage(T.Image))));
    FUi->TraceToolBar->addAction(Act);
    if (T.SeparatorAfter) FUi->TraceToolBar->addSeparator();
    connect(Act, &QAction::triggered, this, [this, A] { FModel->Execute(A); });
  }
  // The width can change, the height cannot.
  setMinimumWidth(forms::PadMinWidth);
  setFixedHeight(forms::PadHeight);

  connect(FUi->CheckBoxTraceOn, &QCheckBox::clicked, this,
          [this](bool On) { FModel->SetTraceOn(On); });
  connect(FUi->CheckBoxAlong, &QCheckBox::clicked, this, [this](bool On) { FModel->SetAlong(On); });
  connect(FUi->CheckBoxCloseBy, &QCheckBox::clicked, this,
          [this](bool On) { FModel->SetCloseBy(On); });
  connect(FUi->BufferZoneEdit, &QLineEdit::textChanged, this,
          [this](const QString& T) { FModel->SetWidthText(T.toStdString()); });

  FModel = std::make_unique<forms::TTracePadModel>(*FAddon, *this);
  PadChanged(forms::pcAll);
}

TTracePadForm::~TTracePadForm() {
  FModel.reset();
  if (kx::TracePadForm == static_cast<kx::TTracePadLink*>(this)) kx::TracePadForm = nullptr;
}

void TTracePadForm::ShowPad() {
  if (!isVisible()) show();
}

void TTracePadForm::PadChanged(unsigned Changes) {
  if (!FModel) return;  // the model's own construction; shown once it is made
  const forms::TTracePadModel& M = *FModel;
  if (Changes & forms::pcActions) {
    for (int I = 0; I < forms::PadActionCount; ++I)
      Action(static_cast<TPadAction>(I))->setEnabled(M.Enabled(static_cast<TPadAction>(I)));
    FUi->CheckBoxTraceOn->setEnabled(M.TraceOnEnabled());
  }
  if (Changes & forms::pcChecks) {
    FUi->CheckBoxTraceOn->setChecked(M.TraceOn());
    FUi->CheckBoxAlong->setChecked(M.Along());
    FUi->CheckBoxCloseBy->setChecked(M.CloseBy());
  }
  if (Changes & forms::pcStyleLine) FUi->NewObjectStyleLabel->setText(Text(M.StyleLine()));
  if ((Changes & forms::pcWidthText) && FUi->BufferZoneEdit->text() != Text(M.WidthText()))
    FUi->BufferZoneEdit->setText(Text(M.WidthText()));
}

void TTracePadForm::ShowError(const std::string& Message) {
  ShowErrorMessage(this, Text(Message));
}

bool TTracePadForm::Confirm(const std::string& Question) {
  return QMessageBox::question(this, windowTitle(), Text(Question)) == QMessageBox::Yes;
}

void TTracePadForm::BeginProgress(const std::string& Label, const std::string& CancelText,
                                  int Total) {
  FProgress = std::make_unique<QProgressDialog>(Text(Label), Text(CancelText), 0, Total, this);
  FProgress->setWindowTitle(windowTitle());
  FProgress->setWindowModality(Qt::ApplicationModal);
  FProgress->setMinimumDuration(ProgressDelay);
  FProgress->setAutoReset(false);
  FProgressStarted.start();
}

bool TTracePadForm::StepProgress(const std::string& Label, int Done) {
  FProgress->setLabelText(Text(Label));
  FProgress->setValue(Done);
  return !FProgress->wasCanceled();
}

// Inside one large object the dialog shows itself and answers its button
// while the zone is built; events are taken only once the modal dialog
// shows, so no other window of the application gets input meanwhile.
bool TTracePadForm::ProgressCancelled() {
  if (!FProgress) return false;
  if (!FProgress->isVisible()) {
    if (FProgressStarted.elapsed() < ProgressDelay) return false;
    FProgress->show();
  }
  QCoreApplication::processEvents();
  return FProgress->wasCanceled();
}

void TTracePadForm::EndProgress() {
  if (FProgress) FProgress->close();
  FProgress.reset();
}

bool TTracePadForm::ChooseFromProjectTree(const std::string& Caption, std::uint8_t Kind,
                                          kx::TKxID& ID) {
  return ui::ChooseFromProjectTree(FAddon, Text(Caption), Kind, ID);
}

void TTracePadForm::ShowSettingsDialog(const kx::TOrvexApplication& App) {
  TSettingsForm Dialog(this);
  Dialog.SetApplication(App);
  Dialog.exec();
}

forms::TPadPlacement TTracePadForm::Placement() const {
  forms::TPadPlacement P;
  const bool Normal = !(windowState() & (Qt::WindowMinimized | Qt::WindowMaximized));
  // A maximised or minimised pad keeps the rectangle it returns to.
  const QRect Inner = Normal || normalGeometry().isEmpty() ? geometry() : normalGeometry();
  P.Bounds = FromQRect(Inner.marginsAdded(FrameMargins(const_cast<TTracePadForm*>(this))));
  P.State = windowState() & Qt::WindowMinimized   ? forms::TPadWindowState::Minimized
            : windowState() & Qt::WindowMaximized ? forms::TPadWindowState::Maximized
                                                  : forms::TPadWindowState::Normal;
  return P;
}

std::optional<forms::TPadRect> TTracePadForm::WorkArea(const forms::TPadRect& Near) const {
  const QScreen* Screen = QGuiApplication::screenAt(ToQRect(Near).center());
  if (!Screen) Screen = QGuiApplication::primaryScreen();
  if (Screen) return FromQRect(Screen->availableGeometry());
  return std::nullopt;
}

std::optional<forms::TPadRect> TTracePadForm::OwnerBounds() const {
  const QWidget* Owner = parentWidget() ? parentWidget()->window() : nullptr;
  if (!Owner || !Owner->isVisible()) return std::nullopt;
  return FromQRect(Owner->frameGeometry());
}

void TTracePadForm::Place(const forms::TPadPlacement& P) {
  setGeometry(ToQRect(P.Bounds).marginsRemoved(FrameMargins(this)));
  setWindowState(P.State == forms::TPadWindowState::Minimized   ? Qt::WindowMinimized
                 : P.State == forms::TPadWindowState::Maximized ? Qt::WindowMaximized
                                                                : Qt::WindowNoState);
}

void TTracePadForm::closeEvent(QCloseEvent* Event) {
  // Closing hides the pad and suspends tracing; showing it again resumes.
  FModel->Hidden();
  Event->accept();
}

void TTracePadForm::showEvent(QShowEvent* Event) {
  TKxAddonForm::showEvent(Event);
  if (Event->spontaneous()) return;  // a window brought back by the system
  FModel->Shown();
}

void TTracePadForm::reject() {
  close();
}

QAction* TTracePadForm::Action(TPadAction A) const {
  switch (A) {
    case TPadAction::AddZones:
      return FUi->AddSelectedObjectsToBZListAction;
    case TPadAction::RemoveAllZones:
      return FUi->RemoveObjectFromBZListAction;
    case TPadAction::UndoTracePoint:
      return FUi->UndoTracePointAction;
    case TPadAction::UndoAllTracePoints:
      return FUi->UndoAllTracePointsAction;
    case TPadAction::SelectStyle:
      return FUi->SelectNewObjectStyleAction;
    case TPadAction::CreateObject:
      return FUi->CreateObjectAction;
    case TPadAction::Settings:
      return FUi->SettingsAction;
  }
  return nullptr;
}
QToolBar* TTracePadForm::TraceToolBar() const {
  return FUi->TraceToolBar;
}
QLabel* TTracePadForm::NewObjectStyleLabel() const {
  return FUi->NewObjectStyleLabel;
}
QCheckBox* TTracePadForm::CheckBoxTraceOn() const {
  return FUi->CheckBoxTraceOn;
}
QCheckBox* TTracePadForm::CheckBoxAlong() const {
  return FUi->CheckBoxAlong;
}
QCheckBox* TTracePadForm::CheckBoxCloseBy() const {
  return FUi->CheckBoxCloseBy;
}
QLineEdit* TTracePadForm::BufferZoneEdit() const {
  return FUi->BufferZoneEdit;
}

kx::TTracePadLink* CreateTracePad(kx::TTraceAddOn* AddOn) {
  return new TTracePadForm(nullptr, AddOn);
}

}  // namespace ui
