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
      StyleID(AStyleID) {}

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

void TGullyEditor::AppendPath(std::int32_t From, std::int32_t To) {
  std::int32_t V = From;
  while (V != To) {
    const std::int32_t E = Graph->PathEdge[static_cast<size_t>(V)];
    geo::TGConnectBrief B = *Graph->Edges.Ptr(E);
    if (!Graph->PathForward[static_cast<size_t>(V)]) B = geo::ReverseConnectBrief(B);
    AddEdgeCommand(B);
    V = B.V2;
  }
}

bool TGullyEditor::AddZonePath(std::int32_t LastIndex, std::int32_t Index, std::int32_t ArrivalEdge,
                               bool OtherWay, std::int32_t& Index1, std::int32_t& Index2) {
  std::int32_t LastEdge = -1;
  if (!Graph->FindShortestPath(LastIndex, Index, ArrivalEdge, LastEdge)) return false;
  if (OtherWay) {
    // The shortest way that shares no edge with the one just found.
    std::vector<bool> Excluded(static_cast<size_t>(Graph->Edges.Count()), false);
    if (ArrivalEdge >= 0) Excluded[static_cast<size_t>(ArrivalEdge)] = true;
    for (std::int32_t V = LastIndex; V != Index;) {
      const std::int32_t E = Graph->PathEdge[static_cast<size_t>(V)];
      Excluded[static_cast<size_t>(E)] = true;
      const geo::TGConnectBrief* B = Graph->Edges.Ptr(E);
      V = Graph->PathForward[static_cast<size_t>(V)] ? B->V2 : B->V1;
    }
    std::int32_t OtherEdge = -1;
    if (Graph->FindShortestPathAvoiding(LastIndex, Index, Excluded, OtherEdge)) {
      LastEdge = OtherEdge;
    } else {
      // No other way: the failed search left the path arrays half written,
      // so the shortest way is found again.
      Graph->FindShortestPath(LastIndex, Index, ArrivalEdge, LastEdge);
    }
  }
  Index2 = LastEdge;
  AppendPath(LastIndex, Index);
  const std::int32_t E = Graph->PathEdge[static_cast<size_t>(LastIndex)];
  const geo::TGConnectBrief* B = Graph->Edges.Ptr(E);
  const std::int32_t Next = Graph->PathForward[static_cast<size_t>(LastIndex)] ? B->V2 : B->V1;
  if (Next == Index && Graph->CountEdgesBetween(LastIndex, Index) > 1) Index1 = E;
  return true;
}

void TGullyEditor::KeyDown(std::uint16_t Key, std::int32_t Shift) {
  if (Suspended || !Pad) return;
  constexpr std::uint16_t Backspace = 8, Enter = 13, Escape = 27, LetterZ = 'Z';
  if (Key == Backspace || (Key == LetterZ && (Shift & kx::kxShiftStateCtrl)))
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
  if (!Graph || Graph->Vertices.Count() == 0) {
    UpdatePad();
    return;
  }
  AddOn->MapView.Operation27();
  const kx::TKxPoint M = AddOn->MapView.DeviceToMap({Point.X, Point.Y});
  const geo::TDPoint Pc{M.X, M.Y};
  const TNearestPoint Near = FindNearestPoint(Pc);
  geo::TDPoint P = Near.IsVertex ? *Graph->Vertices.Ptr(Near.Index) : ElemPoint(Near.Index);
  const kx::TKxDevicePoint D = AddOn->MapView.MapToDevice({P.X, P.Y});
  const std::int64_t DX = std::int64_t{D.X} - Point.X;
  const std::int64_t DY = std::int64_t{D.Y} - Point.Y;
  bool Free = false;
  if (DX * DX + DY * DY > SnapPixels2) {
    P = Pc;
    Free = true;
  }
  if (!Along) Free = true;
  std::int32_t Index1 = -1, Index2 = -1;
  // A failed host call leaves the trace as it was before the click.
  const std::int32_t CommandsBefore = TraceContour.GetCommandCount();
  try {
    if (Elems.Count() == 0) {
      TraceContour.AddCommand(HostMoveTo(P));
    } else {
      const geo::TMGullyElem Last = *Elems.Ptr(Elems.Count() - 1);
      if (geo::SamePoint(P, Last.Point)) {
        UndoLast();
        UpdatePad();
        return;
      }
      const std::int32_t LastIndex = Graph->FindVertex(Last.Point);
      const bool OtherWay = (Shift & kx::kxShiftStateCtrl) != 0;
      if (Free || LastIndex < 0 || !Near.IsVertex ||
          !AddZonePath(LastIndex, Near.Index, Last.Index2, OtherWay, Index1, Index2))
        TraceContour.AddCommand(HostLineTo(P));
    }
  } catch (...) {
    try {
      for (std::int32_t I = TraceContour.GetCommandCount() - 1; I >= CommandsBefore; --I)
        TraceContour.DeleteCommand(I);
    } catch (...) {
    }
    throw;
  }
  Elems.Add(geo::MakeGullyElem(P, Index1, Index2));
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
