// The trace editor: the map editor installed in the host's map view while
// tracing is on. Each left click adds a trace point, snapped to a zone
// vertex or an earlier trace point within 8 pixels and, along the zone,
// joined to the previous one by the shortest chain of zone edges. The trace
// is built command by command in a host contour, which becomes the single
// shape of a new object on request. Every repaint draws the zone outlines,
// the trace and the vertex marks in the user's stored styles.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "addonkit/custom_addon.h"
#include "addonkit/custom_editor.h"
#include "addonkit/host_calls.h"
#include "addonkit/orvex_calls.h"
#include "addonlib/geometry/point_list.h"
#include "addonlib/geometry/typed_lists.h"
#include "trace/editor/style_records.h"
#include "trace/editor/trace_settings.h"
#include "trace/editor/view_frame.h"
#include "trace/engine/connect_graph.h"
#include "trace/engine/nearest_point.h"

namespace trace {

// What the editor asks of the pad that created it.
// What the trace's keys and the right button ask of the pad.
enum class TTraceKeyCommand { UndoLast, UndoAll, Create };

class TGullyEditorPad {
 public:
  // Re-evaluates which of the pad's actions are enabled.
  virtual void UpdatePadState() = 0;
  // Runs the command as the pad's button would (its checks and messages).
  virtual void TraceKeyCommand(TTraceKeyCommand Command) = 0;

 protected:
  ~TGullyEditorPad() = default;
};

// The option word of an active editor; 0 while suspended.
inline constexpr std::uint32_t GullyEditorOptions = 4628;
// A click snaps to a point whose squared distance in pixels is at most this.
inline constexpr std::int64_t SnapPixels2 = 64;

struct TNearestPoint {
  bool IsVertex;  // a zone vertex, else a trace point
  std::int32_t Index;
};

// The zone edges that a click along the zone adds, in walking order, each
// turned to run V1 to V2; Index1 and Index2 as the click's trace point
// keeps them.
struct TZonePath {
  std::vector<geo::TGConnectBrief> Steps;
  std::int32_t Index1 = -1;
  std::int32_t Index2 = -1;
};

// What a left click at a pixel would do. The click does it; a mouse move
// draws it.
struct TClickPlan {
  enum class TKind {
    Start,  // the first trace point
    Undo,   // on the last trace point: takes it back
    Line,   // a straight step
    Path    // the edges of Path along the zone
  };
  TKind Kind = TKind::Start;
  geo::TDPoint P{};      // where the click lands
  bool Snapped = false;  // on a zone vertex or a trace point within 8 pixels
  std::shared_ptr<const TZonePath> Path;
};

class TGullyEditor : public kx::TKxCustomEditor {
 public:
  // AddOn holds the host interfaces; Pad and Graph are not owned. Takes a new
  // empty host contour for the trace and the application's interface.
  TGullyEditor(kx::TKxCustomAddon& AAddOn, TGullyEditorPad* APad, TGConnectGraph* AGraph,
               const kx::TKxID& AStyleID, const kx::TKxID& ALayerID);
  // Clears CurrentEditor when it is this editor.
  ~TGullyEditor() override;

  std::uint32_t GetOptions() override;
  // Left button only. With Ctrl held, a path along the zone takes the
  // shortest way that shares no edge with the shortest one (on a closed
  // outline, the long way round).
  // The left button traces; the right one ends the trace as Enter does.
  void MouseDown(std::int32_t Button, std::int32_t Shift, kx::TKxViewPoint Point) override;
  // Backspace and Ctrl+Z undo the last point, Esc the whole trace, Enter
  // creates the object; nothing while suspended.
  void KeyDown(std::uint16_t Key, std::int32_t Shift) override;
  // Ctrl pressed or let go turns the preview's way round the zone.
  void KeyUp(std::uint16_t Key, std::int32_t Shift) override;
  // Remembers where the cursor is and redraws the feedback: the rubber line
  // or the path a click would add, the snap marker. Through the view's
  // overlay when the host keeps one, else by a full repaint.
  void MouseMove(std::int32_t Shift, kx::TKxViewPoint Point) override;
  void ExecuteContextMacro(std::int32_t, std::int32_t) override {}
  void Paint() override;
  // The feedback, in the trace's pen, over Paint's drawing.
  void PaintOverlay() override;

  // Clicks ignored and nothing drawn while suspended; the trace is kept.
  void Suspend();
  void Resume();
  // Removes the last trace point with every command its click added.
  void UndoLast();
  void UndoAll();
  // Puts the trace, closed when CloseBy, as the single shape of a new object
  // of StyleID in LayerID. When the host refuses, the trace is left exactly
  // as it was and the host's error passes on.
  void CreateTracedObject();
  // The pad is going away: suspends and forgets the pad and the graph, so
  // that no later host call reaches them.
  void DetachPad();

  // What a left click at Point would do, with Ctrl in Shift taking the
  // other way round. Raises "Нет точек" without zone vertices.
  TClickPlan PlanClick(std::int32_t Shift, kx::TKxViewPoint Point);
  // The nearest zone vertex or trace point: vertices first, then trace
  // points, a later one only when strictly nearer. "Нет точек" without
  // vertices.
  TNearestPoint FindNearestPoint(const geo::TDPoint& Pc);
  // Adds the edges of the last search's path from From to To.
  void AppendPath(std::int32_t From, std::int32_t To);
  void AddEdgeCommand(const geo::TGConnectBrief& B);
  // Deletes commands from the end until one whose point is Target.
  void DeleteBackTo(const geo::TDPoint& Target);

  // Drawing.
  void SetupPenBrush(const kx::TOrvexCanvas& Surface, const TPenRecord& Pen,
                     const TBrushRecord& Brush) const;
  void DrawZone(const kx::TOrvexCanvas& Surface) const;
  void DrawTrace(const kx::TOrvexCanvas& Surface) const;
  void RebuildMarkPoints();
  void DrawVertexMarks(const kx::TOrvexCanvas& Surface);
  // The view's pixel grid, and its size when the host's overlay gives it.
  TViewFrame ViewFrame() const;
  // The side of a vertex mark in map metres, by the settings and the view's
  // scale.
  double MarkSide(const kx::TOrvexCanvas& Surface) const;
  // A closed square of side Side about P, in the pen and brush set.
  void DrawSquare(const kx::TOrvexCanvas& Surface, const geo::TDPoint& P, double Side) const;
  // The trace points, filled in the trace's colour, and what a click at
  // the cursor would add.
  void DrawFeedback(const kx::TOrvexCanvas& Surface);

  TGullyEditorPad* Pad;
  kx::TKxCustomAddon* AddOn;
  kx::TKxContour TraceContour;
  TGConnectGraph* Graph;
  geo::TDPointList MarkPoints;
  kx::TOrvexApplication Application;
  TTraceSettings Settings;  // loaded at every paint
  kx::TKxID LayerID;
  kx::TKxID StyleID;
  geo::TTMGullyElemList Elems;
  bool Along = true;
  bool CloseBy = false;
  bool Suspended = false;

 private:
  void UpdatePad() const;
  geo::TDPoint ElemPoint(std::int32_t Index) const;
  // The edges of the last search's path from From to To, in walking order.
  std::vector<geo::TGConnectBrief> PathSteps(std::int32_t From, std::int32_t To) const;
  // The path from LastIndex to Index as a click adds it; null when there
  // is none. The last few answers are kept: a move near the same vertex
  // asks again and again.
  std::shared_ptr<const TZonePath> ZonePath(std::int32_t LastIndex, std::int32_t Index,
                                            std::int32_t ArrivalEdge, bool OtherWay);
  std::shared_ptr<const TZonePath> SearchZonePath(std::int32_t LastIndex, std::int32_t Index,
                                                  std::int32_t ArrivalEdge, bool OtherWay);
  // Redraws the feedback alone where the view can.
  void InvalidateFeedback() const;

  TNearestPointIndex FVertexIndex;
  std::uint32_t FIndexedClearCount = 0;

  // The view's overlay, when the host has one.
  compat::TComPtr<kx::IKxMapViewOverlay> FViewOverlay;
  // The cursor's last pixel and shift word, while it is known.
  std::optional<kx::TKxViewPoint> FHover;
  std::int32_t FHoverShift = 0;
  // The side of a vertex mark at the last paint, in map metres.
  double FMarkSide = 0;
  struct TPathKey {
    std::int32_t From, To, ArrivalEdge;
    bool OtherWay;
    std::int32_t Edges;  // the graph only grows until it is cleared
    std::uint32_t ClearCount;
    bool operator==(const TPathKey&) const = default;
  };
  struct TCachedPath {
    TPathKey Key;
    std::shared_ptr<const TZonePath> Path;
  };
  std::array<std::optional<TCachedPath>, 4> FPathCache;
  std::size_t FPathCacheNext = 0;
};

// The point of a move, line or arc command; "GetPointInCommand: there is no
// Point" for any other kind.
geo::TDPoint GetPointInCommand(const kx::TKxContourCommand& Cmd);

// The trace editor while one exists (module-wide; set by the pad).
extern TGullyEditor* CurrentEditor;

}  // namespace trace
