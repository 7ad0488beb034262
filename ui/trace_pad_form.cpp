#include "ui/trace_pad_form.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QProgressDialog>
#include <QScreen>
#include <QToolBar>
#include <QWindow>

#include "addonlib/core/exception.h"
#include "compat/module_resources.h"
#include "trace/shape_enum.h"
#include "ui/pad_placement.h"
#include "ui/project_names.h"
#include "ui/project_tree_form.h"
#include "ui/settings_form.h"
#include "ui/show_exception.h"
#include "ui_trace_pad_form.h"

namespace ui {

namespace {

constexpr char PlacementKey[] = "TraceFormLTWH";
constexpr char ZoneSizeKey[] = "TraceBufferZoneSize";
// The settings store's section and kind for the pad's own values.
constexpr std::int32_t StoreSection = 1;
constexpr std::int32_t StoreKind = 0;

std::string Key(const kx::TKxID& ID) {
  return std::string(ID.Bytes());
}

// The frame around the window, as the platform will draw it; the window is
// created for it if need be, so that a placement read before the first show
// means the same as one saved after it.
QMargins FrameMargins(QWidget* W) {
  W->winId();
  return W->windowHandle() ? W->windowHandle()->frameMargins() : QMargins();
}

}  // namespace

TTracePadForm::TTracePadForm(QWidget* Owner, kx::TTraceAddOn* AAddon)
    : TKxAddonForm(Owner, Qt::Window | Qt::WindowContextHelpButtonHint),
      Addon(AAddon),
      FUi(std::make_unique<Ui::TTracePadForm>()) {
  FUi->setupUi(this);
  // The tool bar: one button per action, separators after the second and the
  // fourth; the images in the pad's image list order.
  const std::pair<QAction*, const char*> Actions[] = {
      {FUi->AddSelectedObjectsToBZListAction, "ADD_ZONE"},
      {FUi->RemoveObjectFromBZListAction, "REMOVE_ZONES"},
      {FUi->UndoTracePointAction, "UNDO_POINT"},
      {FUi->UndoAllTracePointsAction, "UNDO_ALL"},
      {FUi->SelectNewObjectStyleAction, "SELECT_STYLE"},
      {FUi->CreateObjectAction, "CREATE_OBJECT"},
      {FUi->SettingsAction, "SETTINGS"}};
  int Index = 0;
  for (const auto& [Action, Image] : Actions) {
    Action->setIcon(QIcon(QPixmap::fromImage(compat::LoadBitmapImage(Image))));
    FUi->TraceToolBar->addAction(Action);
    if (++Index == 2 || Index == 4) FUi->TraceToolBar->addSeparator();
  }
  // The width can change, the height cannot.
  setMinimumWidth(197);
  setFixedHeight(168);

  const auto Bind = [this](QAction* Action, void (TTracePadForm::*Handler)()) {
    connect(Action, &QAction::triggered, this,
            [this, Handler] { Guarded([&] { (this->*Handler)(); }); });
  };
  Bind(FUi->AddSelectedObjectsToBZListAction, &TTracePadForm::AddSelectedObjectsToBZList);
  Bind(FUi->RemoveObjectFromBZListAction, &TTracePadForm::RemoveObjectFromBZList);
  Bind(FUi->UndoTracePointAction, &TTracePadForm::UndoTracePoint);
  Bind(FUi->UndoAllTracePointsAction, &TTracePadForm::UndoAllTracePoints);
  Bind(FUi->SelectNewObjectStyleAction, &TTracePadForm::SelectNewObjectStyle);
  Bind(FUi->CreateObjectAction, &TTracePadForm::CreateObject);
  Bind(FUi->SettingsAction, &TTracePadForm::OpenSettings);
  connect(FUi->CheckBoxTraceOn, &QCheckBox::clicked, this,
          [this] { Guarded([&] { TraceOnClick(); }); });
  connect(FUi->CheckBoxAlong, &QCheckBox::clicked, this,
          [this] { Guarded([&] { AlongClick(); }); });
  connect(FUi->CheckBoxCloseBy, &QCheckBox::clicked, this,
          [this] { Guarded([&] { CloseByClick(); }); });

  App = kx::TOrvexApplication::FromManager(Addon->AddOnManager.Intf());
  Graph = std::make_unique<trace::TGConnectGraph>();
  UpdatePadState();
  LoadPadSettings();
}

TTracePadForm::~TTracePadForm() {
  // The host may keep the editor installed after the pad is gone: it must
  // neither take clicks nor reach this pad or its graph again, and the next
  // pad makes an editor of its own.
  if (trace::CurrentEditor) {
    trace::CurrentEditor->DetachPad();
    trace::CurrentEditor = nullptr;
  }
  try {
    SavePadSettings();
  } catch (const std::exception&) {
    // Nothing to tell anyone while the add-on disconnects; the values of the
    // last run stay stored.
  }
  if (kx::TracePadForm == static_cast<kx::TTracePadLink*>(this)) kx::TracePadForm = nullptr;
}

template <class F>
void TTracePadForm::Guarded(F&& Handler) {
  try {
    Handler();
  } catch (const std::exception& E) {
    ShowException(this, E);
  }
}

void TTracePadForm::ShowPad() {
  if (!isVisible()) show();
}

void TTracePadForm::UpdatePadState() {
  FUi->AddSelectedObjectsToBZListAction->setEnabled(Addon->MapView.GetSelection().GetCount() > 0);
  FUi->CheckBoxTraceOn->setEnabled(!ZoneObjectIDs.empty());
  const bool HasTrace = trace::CurrentEditor && trace::CurrentEditor->Elems.Count() > 0;
  FUi->UndoTracePointAction->setEnabled(HasTrace);
  FUi->UndoAllTracePointsAction->setEnabled(HasTrace);
  FUi->CreateObjectAction->setEnabled(HasTrace);
  FUi->RemoveObjectFromBZListAction->setEnabled(!ZoneObjectIDs.empty());
}

void TTracePadForm::AddSelectedObjectsToBZList() {
  const kx::TKxIDsList Selection = Addon->MapView.GetSelection();
  const std::int32_t Count = Selection.GetCount();
  if (Count == 0) throw core::Exception("Необходимо выбрать объекты");
  const QString WidthText = FUi->BufferZoneEdit->text();
  bool Ok = false;
  const double Width = QLocale().toDouble(WidthText.trimmed(), &Ok);
  if (!Ok)
    throw core::EConvertError(
        QStringLiteral("'%1' is not a valid floating point value").arg(WidthText).toStdString());

  // Zones can take a while: after a moment a progress dialog shows the
  // objects done, and Cancel stops the build, inside an object too, with the
  // graph as it was. The host is only called on this thread.
  QProgressDialog Progress(QStringLiteral("Построение буферных зон..."), QStringLiteral("Отмена"),
                           0, Count, this);
  Progress.setWindowTitle(windowTitle());
  Progress.setWindowModality(Qt::ApplicationModal);
  Progress.setMinimumDuration(ProgressDelay);
  Progress.setAutoReset(false);
  trace::TTMContourEnumAdd Enum(*Addon, Width, *Graph, Selection);
  // Inside one large object the dialog shows itself and answers its button
  // while the zone is built; events are taken only once the modal dialog
  // shows, so no other window of the application gets input meanwhile.
  QElapsedTimer Started;
  Started.start();
  Enum.Cancel = [&] {
    if (!Progress.isVisible()) {
      if (Started.elapsed() < ProgressDelay) return false;
      Progress.show();
    }
    QCoreApplication::processEvents();
    return Progress.wasCanceled();
  };
  const bool Completed = Enum.ExecuteAll([&](std::int32_t Done, std::int32_t Total) {
    Progress.setLabelText(QStringLiteral("Построение буферных зон: %1 из %2").arg(Done).arg(Total));
    Progress.setValue(Done);
    return !Progress.wasCanceled();
  });
  Progress.close();
  if (!Completed) {
    UpdatePadState();
    return;
  }
  for (std::int32_t I = 0; I < Count; ++I) {
    const kx::TKxID ID = Selection.GetID(I);
    if (FZoneObjectKeys.insert(Key(ID)).second) ZoneObjectIDs.push_back(ID);
  }
  UpdatePadState();
  TraceOnClick();
}

void TTracePadForm::RemoveObjectFromBZList() {
  Graph->Clear();
  ZoneObjectIDs.clear();
  FZoneObjectKeys.clear();
  UpdatePadState();
  Addon->MapView.Invalidate();
}

void TTracePadForm::TraceOnClick() {
  if (FUi->CheckBoxTraceOn->isChecked()) {
    Addon->MapView.Operation5();
    if (!trace::CurrentEditor) {
      auto* Editor = new trace::TGullyEditor(*Addon, this, Graph.get(), kx::NewObjectStyleID,
                                             kx::NewObjectLayerID);
      trace::CurrentEditor = Editor;
      Editor->CloseBy = FUi->CheckBoxCloseBy->isChecked();
      Editor->Along = FUi->CheckBoxAlong->isChecked();
      try {
        Addon->MapView.SetEditor(Editor->Editor());
      } catch (...) {
        Editor->ReleaseOwnReference();  // the host did not take it: it goes
        throw;
      }
      // From now on the host's reference keeps the editor alive.
      Editor->ReleaseOwnReference();
    }
    trace::CurrentEditor->Resume();
  } else if (trace::CurrentEditor) {
    trace::CurrentEditor->Suspend();
  }
  UpdatePadState();
}

void TTracePadForm::AlongClick() {
  if (trace::CurrentEditor) trace::CurrentEditor->Along = FUi->CheckBoxAlong->isChecked();
}

void TTracePadForm::CloseByClick() {
  if (trace::CurrentEditor) trace::CurrentEditor->CloseBy = FUi->CheckBoxCloseBy->isChecked();
  Addon->MapView.Invalidate();
}

void TTracePadForm::UndoTracePoint() {
  if (trace::CurrentEditor) trace::CurrentEditor->UndoLast();
  UpdatePadState();
}

void TTracePadForm::UndoAllTracePoints() {
  if (trace::CurrentEditor) trace::CurrentEditor->UndoAll();
  UpdatePadState();
  Addon->MapView.Invalidate();
}

void TTracePadForm::SelectNewObjectStyle() {
  kx::TKxID StyleID = kx::NewObjectStyleID;
  if (ChooseFromProjectTree(Addon, QStringLiteral("Выберите стиль"), pkStyle, StyleID)) {
    // The layer first: a failure then leaves the old style and layer.
    const kx::TKxID LayerID = StyleLayerID(Addon, StyleID);
    kx::NewObjectStyleID = StyleID;
    kx::NewObjectLayerID = LayerID;
    if (trace::CurrentEditor) {
      trace::CurrentEditor->StyleID = StyleID;
      trace::CurrentEditor->LayerID = LayerID;
    }
  }
  FUi->NewObjectStyleLabel->setText(
      ProjectLayerCaption(Addon, kx::NewObjectLayerID, QStringLiteral("слой не задан")) +
      QStringLiteral(" - ") +
      ProjectStyleName(Addon, kx::NewObjectStyleID, QStringLiteral("стиль не задан")));
  UpdatePadState();
}

void TTracePadForm::CreateObject() {
  if (kx::NewObjectStyleID.Empty())
    throw core::Exception("Для создания объекта необходимо выбрать стиль");
  if (trace::CurrentEditor) {
    trace::CurrentEditor->CreateTracedObject();
    trace::CurrentEditor->UndoAll();
  }
  UpdatePadState();
  Addon->MapView.Invalidate();
}

void TTracePadForm::OpenSettings() {
  TSettingsForm Dialog(this);
  Dialog.SetApplication(App);
  Dialog.exec();
}

QString TTracePadForm::Placement() const {
  TPadPlacement P;
  const bool Normal = !(windowState() & (Qt::WindowMinimized | Qt::WindowMaximized));
  // A maximised or minimised pad keeps the rectangle it returns to.
  const QRect Inner = Normal || normalGeometry().isEmpty() ? geometry() : normalGeometry();
  P.Bounds = Inner.marginsAdded(FrameMargins(const_cast<TTracePadForm*>(this)));
  P.State = windowState() & Qt::WindowMinimized   ? Qt::WindowMinimized
            : windowState() & Qt::WindowMaximized ? Qt::WindowMaximized
                                                  : Qt::WindowNoState;
  return FormatPadPlacement(P);
}

void TTracePadForm::LoadPadSettings() {
  const kx::TOrvexSettingsStore Store = App.GetSettingsStore();
  const std::string Text =
      Store.ReadValue(StoreSection, StoreKind, PlacementKey, Placement().toStdString());
  if (const auto P = ParsePadPlacement(QString::fromStdString(Text))) {
    QRect Outer = P->Bounds;
    if (const QScreen* Screen = QGuiApplication::primaryScreen())
      Outer = FitIntoWorkArea(Outer, Screen->availableGeometry());
    setGeometry(Outer.marginsRemoved(FrameMargins(this)));
    setWindowState(P->State);
  }
  FUi->BufferZoneEdit->setText(QString::fromStdString(
      App.GetSettingsStore().ReadValue(StoreSection, StoreKind, ZoneSizeKey, "0")));
}

void TTracePadForm::SavePadSettings() {
  App.GetSettingsStore().WriteValue(StoreSection, StoreKind, PlacementKey,
                                    Placement().toStdString());
  App.GetSettingsStore().WriteValue(StoreSection, StoreKind, ZoneSizeKey,
                                    FUi->BufferZoneEdit->text().toStdString());
}

void TTracePadForm::closeEvent(QCloseEvent* Event) {
  // Closing hides the pad and suspends tracing; showing it again resumes.
  Guarded([&] {
    SavedTraceOn = FUi->CheckBoxTraceOn->isChecked();
    FUi->CheckBoxTraceOn->setChecked(false);
    TraceOnClick();
  });
  Event->accept();
}

void TTracePadForm::showEvent(QShowEvent* Event) {
  TKxAddonForm::showEvent(Event);
  if (Event->spontaneous()) return;  // a window brought back by the system
  Guarded([&] {
    FUi->CheckBoxTraceOn->setChecked(SavedTraceOn);
    TraceOnClick();
  });
}

void TTracePadForm::reject() {
  close();
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
QAction* TTracePadForm::AddSelectedObjectsToBZListAction() const {
  return FUi->AddSelectedObjectsToBZListAction;
}
QAction* TTracePadForm::RemoveObjectFromBZListAction() const {
  return FUi->RemoveObjectFromBZListAction;
}
QAction* TTracePadForm::UndoTracePointAction() const {
  return FUi->UndoTracePointAction;
}
QAction* TTracePadForm::UndoAllTracePointsAction() const {
  return FUi->UndoAllTracePointsAction;
}
QAction* TTracePadForm::SelectNewObjectStyleAction() const {
  return FUi->SelectNewObjectStyleAction;
}
QAction* TTracePadForm::CreateObjectAction() const {
  return FUi->CreateObjectAction;
}
QAction* TTracePadForm::SettingsAction() const {
  return FUi->SettingsAction;
}

kx::TTracePadLink* CreateTracePad(kx::TTraceAddOn* AddOn) {
  return new TTracePadForm(nullptr, AddOn);
}

}  // namespace ui
