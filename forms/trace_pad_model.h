// The trace pad without its window: every decision of the pad lives here,
// and a view (a Qt form, a native window) only shows the state and passes
// the user's input on. The model owns the trace connection graph and the
// list of objects whose zones are in it, creates and installs the trace
// editor, keeps the chosen style's line, and loads and stores the pad's
// placement and zone width.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "addonkit/orvex_calls.h"
#include "forms/pad_placement.h"
#include "forms/zone_width.h"
#include "hostapi/kx_records.h"
#include "trace/editor/gully_editor.h"
#include "trace/engine/connect_graph.h"

namespace kx {
class TTraceAddOn;
}

namespace forms {

// The pad's commands, in tool bar order.
enum class TPadAction : std::uint8_t {
  AddZones,
  RemoveAllZones,
  UndoTracePoint,
  UndoAllTracePoints,
  SelectStyle,
  CreateObject,
  Settings,
};
inline constexpr int PadActionCount = 7;

struct TPadActionText {
  const char* Name;     // the control's name in the pad's layout
  const char* Caption;  // menu and button text
  const char* Hint;     // tool tip
  const char* Image;    // the module's bitmap resource
  bool SeparatorAfter;  // the tool bar's groups
};
const TPadActionText& PadActionText(TPadAction Action);
// The tool tip: the hint, and the map's keys for the same command while
// tracing (Enter creates the object, as the right button does).
std::string PadActionTip(TPadAction Action);

// The pad's fixed texts.
inline constexpr char PadCaption[] = "Трассировка";
inline constexpr char PadNoStyleText[] = "Не выбран стиль создаваемого объекта.";
inline constexpr char PadTraceOnText[] = "Показать буферную зону и начать обрисовку";
inline constexpr char PadAlongText[] = "Обрисовывать вдоль буферной зоны";
inline constexpr char PadCloseByText[] = "Создавать замкнутый контур";
inline constexpr char PadWidthLabelText[] = "Буферная зона (м):";
// What the width edit's tool tip says of the widths with a meaning of their
// own.
inline constexpr char PadWidthTip[] =
    "Ширина буферной зоны в метрах (запятая или точка). 0: обрисовка по самим контурам "
    "объектов; отрицательная ширина берётся по модулю.";
inline constexpr char PadUndoAllQuestion[] = "Удалить все точки обрисовки?";
inline constexpr int AskBeforeUndoAll = 3;
inline constexpr char PadLoseTraceQuestion[] =
    "Обрисовка не завершена, её точки будут потеряны. Продолжить?";
// The pad's client area when made; only the width can change, down to the
// minimum.
inline constexpr int PadWidth = 292, PadHeight = 168, PadMinWidth = 197;

// What changed, for the view to show again.
enum TPadChange : unsigned {
  pcActions = 1,    // enabled states of the actions and of the trace box
  pcChecks = 2,     // checked states of the three boxes
  pcStyleLine = 4,  // the chosen style's line
  pcWidthText = 8,  // the zone width text
  pcAll = 15,
};

// What the model asks of its view. Texts are UTF-8 and meant to be shown
// as they are.
class TTracePadView {
 public:
  virtual void PadChanged(unsigned Changes) = 0;
  // An error that ended a command.
  virtual void ShowError(const std::string& Message) = 0;
  // A yes or no question; true for yes.
  virtual bool Confirm(const std::string& Question) = 0;

  // A long zone build: shown after a moment; Step returns false when the
  // user cancelled.
  virtual void BeginProgress(const std::string& Text, const std::string& CancelText, int Total) = 0;
  virtual bool StepProgress(const std::string& Text, int Done) = 0;
  virtual void EndProgress() = 0;
  // Asked often while one object's zone is built: true stops the build
  // inside that object, with the graph as it was. A view that cannot answer
  // so soon leaves it false and cancels between objects.
  virtual bool ProgressCancelled() { return false; }

  // The project tree chooser, modal: true when the user confirmed a node of
  // Kind whose ID differs from ID, which then holds it.
  virtual bool ChooseFromProjectTree(const std::string& Caption, std::uint8_t Kind,
                                     kx::TKxID& ID) = 0;
  // The settings dialog, modal.
  virtual void ShowSettingsDialog(const kx::TOrvexApplication& App) = 0;

  // The window's outer rectangle and state; the work area of the display
  // nearest to Near and the outer rectangle of the window's owner (none when
  // unknown); Place moves and sizes the window.
  virtual TPadPlacement Placement() const = 0;
  virtual std::optional<TPadRect> WorkArea(const TPadRect& Near) const = 0;
  virtual std::optional<TPadRect> OwnerBounds() const = 0;
  virtual void Place(const TPadPlacement& Placement) = 0;

 protected:
  ~TTracePadView() = default;
};

class TTracePadModel final : public trace::TGullyEditorPad {
 public:
  // Takes the application interface and a new graph, sets the actions'
  // states, then loads the stored placement and zone width.
  TTracePadModel(kx::TTraceAddOn& AAddon, TTracePadView& AView);
  // Stores the placement and the width; an editor still in the host's view
  // is suspended and let go of the model and its graph.
  ~TTracePadModel();
  TTracePadModel(const TTracePadModel&) = delete;
  TTracePadModel& operator=(const TTracePadModel&) = delete;

  // ---- State for the view ----
  bool Enabled(TPadAction Action) const { return FEnabled[static_cast<int>(Action)]; }
  bool TraceOnEnabled() const { return !ZoneObjectIDs.empty(); }
  bool TraceOn() const { return FTraceOn; }
  bool Along() const { return FAlong; }
  bool CloseBy() const { return FCloseBy; }
  const std::string& StyleLine() const { return FStyleLine; }
  const std::string& WidthText() const { return FWidthText; }

  // ---- Input from the view; failures go to ShowError ----
  void Execute(TPadAction Action);
  void SetTraceOn(bool On);
  void SetAlong(bool On);
  void SetCloseBy(bool On);
  // The edit's text as typed; read when zones are added and when stored.
  void SetWidthText(const std::string& Text);
  // The window was hidden by its close button (tracing is suspended) or
  // shown again (tracing as it was when hidden).
  void Hidden();
  void Shown();

  // Which actions are enabled; after every command, on host notifications
  // and after every click of the editor.
  void UpdatePadState() override;
  // The trace's keys and right button: each runs its button's command when
  // that button is enabled; undoing more than AskBeforeUndoAll points asks.
  void TraceKeyCommand(trace::TTraceKeyCommand Command) override;

  // ---- The commands themselves; they raise on failure ----
  void AddSelectedObjectsToBZList();
  // Also unticks the trace box, which is disabled without zones.
  void RemoveAllZones();
  // The host replaced its project: the zones, the trace and the chosen
  // style go with it.
  void ProjectReplaced();
  // Before the project goes: a trace in progress is lost only when the user
  // agrees; true when there is none.
  bool MayLoseTrace();
  void TraceOnClick();
  void UndoTracePoint();
  void UndoAllTracePoints();
  void SelectNewObjectStyle();
  void CreateObject();
  void OpenSettings();
  void LoadPadSettings();
  void RestoreStyle(const std::string& Stored);
  void ShowStyleLine();
  void SavePadSettings();

  kx::TTraceAddOn& Addon;
  kx::TOrvexApplication App;
  std::unique_ptr<trace::TGConnectGraph> Graph;
  // The objects whose zones are in Graph, each once, in the order added.
  std::vector<kx::TKxID> ZoneObjectIDs;
  // The threads the zones of a selection are built on (0: one per core); on
  // one, the progress is told after every object, in order.
  unsigned ZoneThreads = 0;
  bool SavedTraceOn = false;

 private:
  template <class F>
  void Guarded(F&& Handler);
  void Changed(unsigned Changes) { FView.PadChanged(Changes); }

  TTracePadView& FView;
  std::array<bool, PadActionCount> FEnabled{};
  bool FTraceOn = false, FAlong = true, FCloseBy = false;
  std::string FStyleLine = PadNoStyleText;
  std::string FWidthText = "10";
  std::set<std::string> FZoneObjectKeys;  // bytes of ZoneObjectIDs, for lookups
};

}  // namespace forms
