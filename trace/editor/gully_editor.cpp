#include "trace/editor/gully_editor.h"

#include "addonlib/geometry/intersect.h"
#include "core/exception.h"
#include "trace/editor/shape_enum.h"

namespace trace {

TGullyEditor* CurrentEditor = nullptr;

namespace {

kx::TKxContourCommand HostMoveTo(const geo::TDPoint& P) {
  return CommandToHostCommand(geo::MakeMoveTo(P));
}
kx::TKxContourCommand HostLineTo(const geo::TDPoint& P) {
  return CommandToHostCommand(geo::MakeLineTo(P));
}

}  // namespace

geo::TDPoint GetPointInCommand(const kx::TKxContourCommand& Cmd) {
  if (Cmd.Kind != kx::kxMoveTo && Cmd.Kind != kx::kxLineTo && Cmd.Kind != kx::kxArcTo)
    throw core::Exception("GetPointInCommand: there is no Point");
  return {Cmd.Point.X, Cmd.Point.Y};
}

TGullyEditor::TGullyEditor(kx::TKxCustomAddon& AAddOn, TGullyEditorPad* APad,
                           TGConnectGraph* AGraph, const kx::TKxID& AStyleID,
                           const kx::TKxID& ALayerID)
    : Pad(APad),
      AddOn(&AAddOn),
      TraceContour(AAddOn.MapObjects.NewContour()),
      Graph(AGraph),
      Application(kx::TOrvexApplication::FromManager(AAddOn.AddOnManager.Intf())),
      LayerID(ALayerID),
      StyleID(AStyleID) {
  // A host without an overlay repaints everything for the feedback.
  if (kx::IKxMapView* View = AAddOn.MapView.Intf())
    View->QueryInterface(kx::IID_IKxMapViewOverlay, FViewOverlay.OutVoid());
}

TGullyEditor::~TGullyEditor() {
  if (CurrentEditor == this) CurrentEditor = nullptr;
}

std::uint32_t TGullyEditor::GetOptions() {
  return Suspended ? 0 : GullyEditorOptions;
}

void TGullyEditor::UpdatePad() const {
  if (Pad) Pad->UpdatePadState();
}

geo::TDPoint TGullyEditor::ElemPoint(std::int32_t Index) const {
  return Elems.Ptr(Index)->Point;
}

void TGullyEditor::Suspend() {
  Suspended = true;
  AddOn->MapView.Invalidate();
}

void TGullyEditor::Resume() {
  Suspended = false;
  // Where the cursor was when tracing stopped says nothing now.
  FHover.reset();
  AddOn->MapView.Invalidate();
}

void TGullyEditor::DetachPad() {
  Suspended = true;
  Pad = nullptr;
  Graph = nullptr;
  FVertexIndex.Reset();
}

TNearestPoint TGullyEditor::FindNearestPoint(const geo::TDPoint& Pc) {
  if (!Graph || Graph->Vertices.Count() == 0) throw core::Exception("Нет точек");
  // The index follows the graph: it grows with it and starts over after
  // the graph was emptied.
  if (Graph->ClearCount != FIndexedClearCount) {
    FVertexIndex.Reset();
    FIndexedClearCount = Graph->ClearCount;
  }
  FVertexIndex.Update(Graph->Vertices);
  double Best = 0;
  TNearestPoint R{true, FVertexIndex.Nearest(Graph->Vertices, Pc, Best)};
  for (std::int32_t I = 0; I < Elems.Count(); ++I) {
    const double D = SquaredDistance(ElemPoint(I), Pc);
    if (D < Best) {
      Best = D;
      R = {false, I};
    }
  }
  return R;
}

void TGullyEditor::AddEdgeCommand(const geo::TGConnectBrief& B) {
  const geo::TGConnectFull C = Graph->GetConnection(B);
  TraceContour.AddCommand(CommandToHostCommand(C.Kind == geo::TConnectKind::Arc
                                                   ? geo::MakeArcTo(C.P2, C.Convexity)
                                                   : geo::MakeLineTo(C.P2)));
}

std::vector<geo::TGConnectBrief> TGullyEditor::PathSteps(std::int32_t From, std::int32_t To) const {
  std::vector<geo::TGConnectBrief> Steps;
  for (std::int32_t V = From; V != To;) {
    const std::int32_t E = Graph->PathEdge[static_cast<size_t>(V)];
    geo::TGConnectBrief B = *Graph->Edges.Ptr(E);
    if (!Graph->PathForward[static_cast<size_t>(V)]) B = geo::ReverseConnectBrief(B);
    Steps.push_back(B);
    V = B.V2;
  }
  return Steps;
}

void TGullyEditor::AppendPath(std::int32_t From, std::int32_t To) {
  for (const geo::TGConnectBrief& B : PathSteps(From, To)) AddEdgeCommand(B);
}

void TGullyEditor::KeyDown(std::uint16_t Key, std::int32_t Shift) {
  if (Suspended || !Pad) return;
  constexpr std::uint16_t Backspace = 8, Enter = 13, Control = 17, Escape = 27, LetterZ = 'Z';
  if (Key == Control && FHover) {
    FHoverShift |= kx::kxShiftStateCtrl;
    InvalidateFeedback();
  } else if (Key == Backspace || (Key == LetterZ && (Shift & kx::kxShiftStateCtrl)))
    Pad->TraceKeyCommand(TTraceKeyCommand::UndoLast);
  else if (Key == Escape)
    Pad->TraceKeyCommand(TTraceKeyCommand::UndoAll);
  else if (Key == Enter)
    Pad->TraceKeyCommand(TTraceKeyCommand::Create);
}

void TGullyEditor::MouseDown(std::int32_t Button, std::int32_t Shift, kx::TKxViewPoint Point) {
  constexpr std::int32_t RightButton = 1;
  if (!Suspended && Button == RightButton && Pad && Elems.Count() > 0)
    Pad->TraceKeyCommand(TTraceKeyCommand::Create);
  if (Suspended || Button != 0) return;
  FHover = Point;
  FHoverShift = Shift;
  if (!Graph || Graph->Vertices.Count() == 0) {
    UpdatePad();
    return;
  }
  AddOn->MapView.Operation27();
  const TClickPlan Plan = PlanClick(Shift, Point);
  if (Plan.Kind == TClickPlan::TKind::Undo) {
    UndoLast();
    UpdatePad();
    return;
  }
  // A failed host call leaves the trace as it was before the click.
  const std::int32_t CommandsBefore = TraceContour.GetCommandCount();
  try {
    if (Plan.Kind == TClickPlan::TKind::Start)
      TraceContour.AddCommand(HostMoveTo(Plan.P));
    else if (Plan.Kind == TClickPlan::TKind::Line)
      TraceContour.AddCommand(HostLineTo(Plan.P));
    else
      for (const geo::TGConnectBrief& B : Plan.Path->Steps) AddEdgeCommand(B);
  } catch (...) {
    try {
      for (std::int32_t I = TraceContour.GetCommandCount() - 1; I >= CommandsBefore; --I)
        TraceContour.DeleteCommand(I);
    } catch (...) {
    }
    throw;
  }
  const bool OnZone = Plan.Kind == TClickPlan::TKind::Path;
  Elems.Add(
      geo::MakeGullyElem(Plan.P, OnZone ? Plan.Path->Index1 : -1, OnZone ? Plan.Path->Index2 : -1));
  AddOn->MapView.Invalidate();
  UpdatePad();
}

void TGullyEditor::DeleteBackTo(const geo::TDPoint& Target) {
  for (std::int32_t I = TraceContour.GetCommandCount() - 1; I >= 0; --I) {
    const geo::TDPoint P = GetPointInCommand(TraceContour.GetCommand(I));
    if (P.X == Target.X && P.Y == Target.Y) break;
    TraceContour.DeleteCommand(I);
  }
}

void TGullyEditor::UndoLast() {
  const std::int32_t N = Elems.Count();
  if (N == 0) return;
  if (N == 1)
    TraceContour.Clear();
  else
    DeleteBackTo(ElemPoint(N - 2));
  Elems.Delete(N - 1);
  AddOn->MapView.Invalidate();
}

void TGullyEditor::UndoAll() {
  Elems.Clear();
  TraceContour.Clear();
}

void TGullyEditor::CreateTracedObject() {
  const kx::TKxShapeList Shapes = AddOn->MapObjects.NewShapeList();
  bool Closed = false;
  try {
    if (CloseBy) {
      TraceContour.AddCommand(CommandToHostCommand(geo::MakeClose()));
      Closed = true;
    }
    Shapes.AddShape(StyleID, TraceContour.Intf());
    AddOn->MapObjects.CreateObject(LayerID, Shapes.Intf());
  } catch (...) {
    // The close command belongs to the created object only; left in the
    // trace it would stop undo at "GetPointInCommand: there is no Point".
    if (Closed) {
      try {
        TraceContour.DeleteCommand(TraceContour.GetCommandCount() - 1);
      } catch (...) {
      }
    }
    throw;
  }
}

}  // namespace trace
