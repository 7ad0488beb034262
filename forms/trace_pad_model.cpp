#include "forms/trace_pad_model.h"

#include <cmath>

#include "addon/trace_addon.h"
#include "core/exception.h"
#include "forms/tree_chooser_model.h"
#include "trace/editor/shape_enum.h"

namespace forms {

namespace {

constexpr char PlacementKey[] = "TraceFormLTWH";
constexpr char ZoneSizeKey[] = "TraceBufferZoneSize";
// The chosen style's ID, so that the next session starts with it.
constexpr char StyleKey[] = "TraceNewObjectStyle";
// The settings store's section and kind for the pad's own values.
constexpr std::int32_t StoreSection = 1;
constexpr std::int32_t StoreKind = 0;
// The project tree's node kind of styles.
constexpr std::uint8_t StyleKind = 2;

constexpr std::array<TPadActionText, PadActionCount> ActionTexts = {{
    {"AddSelectedObjectsToBZListAction", "Добавить буферную зону",
     "Добавить буферную зону к выделенному контуру", "ADD_ZONE", false},
    {"RemoveObjectFromBZListAction", "Удалить буферные зоны", "Удалить все буферные зоны",
     "REMOVE_ZONES", true},
    {"UndoTracePointAction", "Отменить последнюю обрисовку",
     "Отменить последнее действие, связанное с обрисовкой", "UNDO_POINT", false},
    {"UndoAllTracePointsAction", "Отменить все обрисовки",
     "Отменить все действия, связанные с обрисовкой", "UNDO_ALL", true},
    {"SelectNewObjectStyleAction", "Выбрать стиль", "Выбрать стиль для нового объекта",
     "SELECT_STYLE", false},
    {"CreateObjectAction", "Создать пространственный объект", "Создать пространственный объект",
     "CREATE_OBJECT", false},
    {"SettingsAction", "Настройки", "Настройки", "SETTINGS", false},
}};

std::string Key(const kx::TKxID& ID) {
  return std::string(ID.Bytes());
}

// Ends the progress display however the zone build ends.
class TProgressScope {
 public:
  explicit TProgressScope(TTracePadView& View) : FView(View) {}
  ~TProgressScope() { FView.EndProgress(); }
  TProgressScope(const TProgressScope&) = delete;
  TProgressScope& operator=(const TProgressScope&) = delete;

 private:
  TTracePadView& FView;
};

}  // namespace

const TPadActionText& PadActionText(TPadAction Action) {
  return ActionTexts[static_cast<std::size_t>(Action)];
}

std::string PadActionTip(TPadAction Action) {
  // The keys that do the same in the map while tracing.
  const char* Keys = Action == TPadAction::UndoTracePoint       ? "Backspace, Ctrl+Z"
                     : Action == TPadAction::UndoAllTracePoints ? "Esc"
                     : Action == TPadAction::CreateObject       ? "Enter"
                                                                : nullptr;
  const std::string Hint = PadActionText(Action).Hint;
  return Keys ? Hint + " (" + Keys + ")" : Hint;
}

TTracePadModel::TTracePadModel(kx::TTraceAddOn& AAddon, TTracePadView& AView)
    : Addon(AAddon),
      App(kx::TOrvexApplication::FromManager(AAddon.AddOnManager.Intf())),
      Graph(std::make_unique<trace::TGConnectGraph>()),
      FView(AView) {
  UpdatePadState();
  LoadPadSettings();
}

TTracePadModel::~TTracePadModel() {
  // The host may keep the editor installed after the pad is gone: it must
  // neither take clicks nor reach this model or its graph again, and the
  // next pad makes an editor of its own.
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
}

template <class F>
void TTracePadModel::Guarded(F&& Handler) {
  try {
    Handler();
  } catch (const std::exception& E) {
    FView.ShowError(E.what());
  }
}

void TTracePadModel::Execute(TPadAction Action) {
  Guarded([&] {
    switch (Action) {
      case TPadAction::AddZones:
        AddSelectedObjectsToBZList();
        break;
      case TPadAction::RemoveAllZones:
        RemoveAllZones();
        break;
      case TPadAction::UndoTracePoint:
        UndoTracePoint();
        break;
      case TPadAction::UndoAllTracePoints:
        UndoAllTracePoints();
        break;
      case TPadAction::SelectStyle:
        SelectNewObjectStyle();
        break;
      case TPadAction::CreateObject:
        CreateObject();
        break;
      case TPadAction::Settings:
        OpenSettings();
        break;
    }
  });
}

void TTracePadModel::TraceKeyCommand(trace::TTraceKeyCommand Command) {
  switch (Command) {
    case trace::TTraceKeyCommand::UndoLast:
      if (Enabled(TPadAction::UndoTracePoint)) Execute(TPadAction::UndoTracePoint);
      break;
    case trace::TTraceKeyCommand::UndoAll:
      if (!Enabled(TPadAction::UndoAllTracePoints)) break;
      if (trace::CurrentEditor && trace::CurrentEditor->Elems.Count() > AskBeforeUndoAll &&
          !FView.Confirm(PadUndoAllQuestion))
        break;
      Execute(TPadAction::UndoAllTracePoints);
      break;
    case trace::TTraceKeyCommand::Create:
      if (Enabled(TPadAction::CreateObject)) Execute(TPadAction::CreateObject);
      break;
  }
}

void TTracePadModel::SetTraceOn(bool On) {
  FTraceOn = On;
  Changed(pcChecks);
  Guarded([&] { TraceOnClick(); });
}

void TTracePadModel::SetAlong(bool On) {
  FAlong = On;
  Changed(pcChecks);
  if (trace::CurrentEditor) trace::CurrentEditor->Along = On;
}

void TTracePadModel::SetCloseBy(bool On) {
  FCloseBy = On;
  Changed(pcChecks);
  Guarded([&] {
    if (trace::CurrentEditor) trace::CurrentEditor->CloseBy = On;
    Addon.MapView.Invalidate();
  });
}

void TTracePadModel::SetWidthText(const std::string& Text) {
  if (Text == FWidthText) return;
  FWidthText = Text;
  Changed(pcWidthText);
}

void TTracePadModel::Hidden() {
  SavedTraceOn = FTraceOn;
  FTraceOn = false;
  Changed(pcChecks);
  Guarded([&] { TraceOnClick(); });
}

void TTracePadModel::Shown() {
  FTraceOn = SavedTraceOn;
  Changed(pcChecks);
  Guarded([&] { TraceOnClick(); });
}

void TTracePadModel::UpdatePadState() {
  const bool HasTrace = trace::CurrentEditor && trace::CurrentEditor->Elems.Count() > 0;
  const auto Set = [&](TPadAction A, bool On) { FEnabled[static_cast<int>(A)] = On; };
  Set(TPadAction::AddZones, Addon.MapView.GetSelection().GetCount() > 0);
  Set(TPadAction::RemoveAllZones, !ZoneObjectIDs.empty());
  Set(TPadAction::UndoTracePoint, HasTrace);
  Set(TPadAction::UndoAllTracePoints, HasTrace);
  Set(TPadAction::SelectStyle, true);
  Set(TPadAction::CreateObject, HasTrace);
  Set(TPadAction::Settings, true);
  Changed(pcActions);
}

void TTracePadModel::AddSelectedObjectsToBZList() {
  const kx::TKxIDsList Selection = Addon.MapView.GetSelection();
  const std::int32_t Count = Selection.GetCount();
  if (Count == 0) throw core::Exception("Необходимо выбрать объекты");
  const double Width = ParseZoneWidth(FWidthText);
  if (const auto Question = OversizedZoneQuestion(Addon, Selection, *Graph, Width))
    if (!FView.Confirm(*Question)) return;

  // Zones can take a while: the view shows the objects done, and Cancel
  // stops the build, inside one object too where the view answers so soon,
  // with the graph as it was.
  bool Completed = false;
  {
    FView.BeginProgress("Построение буферных зон...", "Отмена", Count);
    TProgressScope Progress(FView);
    trace::TTMContourEnumAdd Enum(Addon, Width, *Graph, Selection);
    Enum.Cancel = [this] { return FView.ProgressCancelled(); };
    Enum.Threads = ZoneThreads;
    Completed = Enum.ExecuteAll([&](std::int32_t Done, std::int32_t Total) {
      return FView.StepProgress(
          "Построение буферных зон: " + std::to_string(Done) + " из " + std::to_string(Total),
          Done);
    });
  }
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

void TTracePadModel::RemoveAllZones() {
  Graph->Clear();
  ZoneObjectIDs.clear();
  FZoneObjectKeys.clear();
  // With no zone the trace box is disabled: left ticked, it could never be
  // unticked and the editor would stay active over nothing. It follows the
  // zones instead.
  if (FTraceOn) {
    FTraceOn = false;
    Changed(pcChecks);
    TraceOnClick();
  }
  UpdatePadState();
  Addon.MapView.Invalidate();
}

void TTracePadModel::ProjectReplaced() {
  // The zones, the trace and the style belong to the project that went:
  // kept, they could be snapped to and created into layers that no longer
  // exist.
  if (trace::CurrentEditor) {
    trace::CurrentEditor->UndoAll();
    trace::CurrentEditor->StyleID.Clear();
    trace::CurrentEditor->LayerID.Clear();
  }
  kx::NewObjectStyleID.Clear();
  kx::NewObjectLayerID.Clear();
  FStyleLine = PadNoStyleText;
  Changed(pcStyleLine);
  RemoveAllZones();
}

bool TTracePadModel::MayLoseTrace() {
  if (!trace::CurrentEditor || trace::CurrentEditor->Elems.Count() == 0) return true;
  return FView.Confirm(PadLoseTraceQuestion);
}

void TTracePadModel::TraceOnClick() {
  if (FTraceOn) {
    Addon.MapView.Operation5();
    if (!trace::CurrentEditor) {
      auto* Editor = new trace::TGullyEditor(Addon, this, Graph.get(), kx::NewObjectStyleID,
                                             kx::NewObjectLayerID);
      trace::CurrentEditor = Editor;
      Editor->CloseBy = FCloseBy;
      Editor->Along = FAlong;
      try {
        Addon.MapView.SetEditor(Editor->Editor());
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

void TTracePadModel::UndoTracePoint() {
  if (trace::CurrentEditor) trace::CurrentEditor->UndoLast();
  UpdatePadState();
}

void TTracePadModel::UndoAllTracePoints() {
  if (trace::CurrentEditor) trace::CurrentEditor->UndoAll();
  UpdatePadState();
  Addon.MapView.Invalidate();
}

void TTracePadModel::SelectNewObjectStyle() {
  kx::TKxID StyleID = kx::NewObjectStyleID;
  const bool Chosen = FView.ChooseFromProjectTree("Выберите стиль", StyleKind, StyleID);
  if (Chosen) {
    // The layer first: a failure then leaves the old style and layer.
    const kx::TKxID LayerID = StyleLayerID(Addon.GISDatabase, StyleID);
    kx::NewObjectStyleID = StyleID;
    kx::NewObjectLayerID = LayerID;
    if (trace::CurrentEditor) {
      trace::CurrentEditor->StyleID = StyleID;
      trace::CurrentEditor->LayerID = LayerID;
    }
  }
  ShowStyleLine();
  UpdatePadState();
  // Kept for the next session; a store that refuses it is reported.
  if (Chosen)
    App.GetSettingsStore().WriteValue(StoreSection, StoreKind, StyleKey, StyleID.ToUtf8());
}

void TTracePadModel::CreateObject() {
  if (kx::NewObjectStyleID.Empty())
    throw core::Exception("Для создания объекта необходимо выбрать стиль");
  if (trace::CurrentEditor) {
    trace::CurrentEditor->CreateTracedObject();
    trace::CurrentEditor->UndoAll();
  }
  UpdatePadState();
  Addon.MapView.Invalidate();
}

void TTracePadModel::OpenSettings() {
  FView.ShowSettingsDialog(App);
}

void TTracePadModel::LoadPadSettings() {
  const kx::TOrvexSettingsStore Store = App.GetSettingsStore();
  const TPadPlacement Current = FView.Placement();
  std::string Text = Store.ReadValue(StoreSection, StoreKind, PlacementKey, "");
  // The first time, the pad opens over the host's map, not wherever the
  // system puts a new window.
  if (const auto Owner = FView.OwnerBounds(); Text.empty() && Owner)
    Text = FormatPadPlacement(
        {FirstPadBounds(*Owner, Current.Bounds.Width, Current.Bounds.Height), Current.State});
  if (Text.empty()) Text = FormatPadPlacement(Current);
  if (auto P = ParsePadPlacement(Text)) {
    // A place stored on a display that has gone comes back onto one.
    if (const auto Area = FView.WorkArea(P->Bounds)) P->Bounds = FitIntoWorkArea(P->Bounds, *Area);
    FView.Place(*P);
  }
  FWidthText = Store.ReadValue(StoreSection, StoreKind, ZoneSizeKey, "0");
  Changed(pcWidthText);
  if (kx::NewObjectStyleID.Empty())
    RestoreStyle(Store.ReadValue(StoreSection, StoreKind, StyleKey, ""));
}

// The style of an earlier session, when this project has it; else none.
void TTracePadModel::RestoreStyle(const std::string& Stored) {
  if (Stored.empty()) return;
  kx::TKxID StyleID;
  StyleID.AssignUtf8(Stored);
  kx::TKxID LayerID;
  try {
    LayerID = StyleLayerID(Addon.GISDatabase, StyleID);
  } catch (const std::exception&) {
    return;  // not a style of this project
  }
  if (LayerID.Empty()) return;
  kx::NewObjectStyleID = StyleID;
  kx::NewObjectLayerID = LayerID;
  ShowStyleLine();
}

void TTracePadModel::ShowStyleLine() {
  FStyleLine = ProjectLayerCaption(Addon.GISDatabase, kx::NewObjectLayerID, "слой не задан") +
               " - " + ProjectStyleName(Addon.GISDatabase, kx::NewObjectStyleID, "стиль не задан");
  Changed(pcStyleLine);
}

void TTracePadModel::SavePadSettings() {
  const kx::TOrvexSettingsStore Store = App.GetSettingsStore();
  Store.WriteValue(StoreSection, StoreKind, PlacementKey, FormatPadPlacement(FView.Placement()));
  Store.WriteValue(StoreSection, StoreKind, ZoneSizeKey, FWidthText);
}

}  // namespace forms
