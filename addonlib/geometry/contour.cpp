#include "addonlib/geometry/contour.h"

#include "addonlib/geometry/arc.h"
#include "core/exception.h"

namespace geo {

void TContour::Assign(const TContour* Source) {
  if (Source == this) return;
  if (!Source) {
    Clear();
    return;
  }
  FCommands.Assign(Source->FCommands);
  FArcs.Assign(Source->FArcs);
  FPointCount = Source->FPointCount;
}

void TContour::Clear() {
  FCommands.Count = 0;
  FArcs.Count = 0;
  FPointCount = 0;
}

void TContour::Reserve(int32_t Commands, int32_t Arcs) {
  if (FCommands.Count + Commands > FCommands.Capacity)
    FCommands.SetCapacity(FCommands.Count + Commands);
  if (FArcs.Count + Arcs > FArcs.Capacity) FArcs.SetCapacity(FArcs.Count + Arcs);
}

TComplexCommand TContour::GetCommand(int32_t Index) const {
  if (Index < 0 || Index >= CommandCount()) throw core::Exception("Нет команды с таким индексом");
  const TContourCmdRec& R = CmdRec(Index);
  TComplexCommand Cmd{R.Kind, R.Point, 0};
  if (R.ArcIndex != NoArc) Cmd.Convexity = ArcRec(R.ArcIndex).Convexity;
  return Cmd;
}

void TContour::InsertRec(int32_t Index, const TComplexCommand& Cmd) {
  TRACE_ASSERT(Cmd.Kind <= ccCloseArc);
  const bool Arc = IsArcKind(Cmd.Kind);
  TContourCmdRec R{Cmd.Kind, IsToKind(Cmd.Kind) ? Cmd.Point : TDPoint{0, 0},
                   Arc ? static_cast<uint32_t>(FArcs.Count) : NoArc};
  // The command goes in first: a bad index then leaves no orphaned arc record.
  // Appending where there is room, the most common case, copies the record
  // straight in.
  if (Index == FCommands.Count && FCommands.Count < FCommands.Capacity)
    static_cast<TContourCmdRec*>(FCommands.Data)[FCommands.Count++] = R;
  else
    FCommands.Insert(Index, &R);
  if (Arc) {
    const TContourArcRec A{Cmd.Convexity, {0, 0}, 0, 0};
    if (FArcs.Count < FArcs.Capacity)
      static_cast<TContourArcRec*>(FArcs.Data)[FArcs.Count++] = A;
    else
      FArcs.Add(&A);
  }
  if (IsToKind(Cmd.Kind)) ++FPointCount;
}

TComplexCommandKind TContour::RemoveRec(int32_t Index) {
  const TContourCmdRec R = CmdRec(Index);
  FCommands.Delete(Index);
  if (IsToKind(R.Kind)) --FPointCount;
  if (R.ArcIndex != NoArc) {
    FArcs.Delete(static_cast<int32_t>(R.ArcIndex));
    TContourCmdRec* Cmds = static_cast<TContourCmdRec*>(FCommands.Data);
    for (int32_t I = 0; I < FCommands.Count; ++I)
      if (Cmds[I].ArcIndex != NoArc && Cmds[I].ArcIndex > R.ArcIndex) --Cmds[I].ArcIndex;
  }
  return R.Kind;
}

int32_t TContour::AddCommand(const TComplexCommand& Cmd) {
  const int32_t Index = CommandCount();
  InsertRec(Index, Cmd);
  RecalcArc(Index);
  return Index;
}

void TContour::InsertCommand(int32_t Index, const TComplexCommand& Cmd) {
  InsertRec(Index, Cmd);
  RecalcAround(Index, Cmd.Kind);
}

bool TContour::ReplaceCommand(int32_t Index, const TComplexCommand& Cmd) {
  if (Index < 0 || Index >= CommandCount())
    throw core::Exception("Неверный индекс изменяемой команды");
  if (CommandsEqual(Cmd, GetCommand(Index))) return false;
  TRACE_ASSERT(Cmd.Kind <= ccCloseArc);
  const TComplexCommandKind Old = RemoveRec(Index);
  InsertRec(Index, Cmd);
  RecalcAround(Index, Old == ccMoveTo ? ccMoveTo : Cmd.Kind);
  return true;
}

void TContour::DeleteCommand(int32_t Index) {
  if (Index < 0 || Index >= CommandCount())
    throw core::Exception("Неверный индекс удаляемой команды");
  RecalcAround(Index, RemoveRec(Index));
}

int32_t TContour::PartStartOf(int32_t Index) const {
  const TContourCmdRec* Cmds = CmdData();
  while (Index > 0 && Cmds[Index].Kind != ccMoveTo) --Index;
  return Index;
}

bool TContour::EdgeEnds(int32_t Index, int32_t& PartStart, int32_t& FromIndex,
                        int32_t& ToIndex) const {
  if (Index < 1 || Index >= CommandCount()) return false;
  const TContourCmdRec* Cmds = CmdData();
  const uint8_t K = Cmds[Index].Kind;
  if (K == ccMoveTo) return false;
  const bool AfterClose = IsCloseKind(Cmds[Index - 1].Kind);
  if ((AfterClose || IsCloseKind(K)) && PartStart < 0) PartStart = PartStartOf(Index);
  FromIndex = AfterClose ? PartStart : Index - 1;
  ToIndex = IsCloseKind(K) ? PartStart : Index;
  return true;
}

void TContour::RecalcArc(int32_t Index) {
  if (Index < 1 || Index >= CommandCount()) return;
  TContourCmdRec& R = FCommands.Item<TContourCmdRec>(Index);
  if (R.ArcIndex == NoArc) return;
  int32_t PartStart = -1, From, To;
  if (!EdgeEnds(Index, PartStart, From, To)) return;
  TContourArcRec& A = FArcs.Item<TContourArcRec>(static_cast<int32_t>(R.ArcIndex));
  if (std::fabs(A.Convexity) <= LineConvexityLimit) return;
  const TDPoint P1 = CmdData()[From].Point;
  const TDPoint P2 = CmdData()[To].Point;
  if (GetCenter2(P1, P2, A.Angle, A.Convexity, A.Center)) {
    A.Radius = Distance(A.Center, P1);
    return;
  }
  // The ends coincide: no arc can be drawn, the command becomes straight and
  // its record stays behind unreferenced.
  R.Kind = R.Kind == ccArcTo ? ccLineTo : ccClose;
  R.ArcIndex = NoArc;
}

void TContour::RecalcAround(int32_t Index, TComplexCommandKind K) {
  if (K != ccMoveTo && Index > 0) {
    RecalcArc(Index);
    RecalcArc(Index + 1);
    return;
  }
  // A part start changed. The command now at Index lost or gained its
  // predecessor, and every close of the part ends at the start point.
  RecalcArc(Index);
  RecalcArc(Index + 1);
  const TContourCmdRec* Cmds = CmdData();
  for (int32_t J = Index + 1; J < CommandCount() && Cmds[J].Kind != ccMoveTo; ++J) {
    if (IsCloseKind(Cmds[J].Kind)) {
      RecalcArc(J);
      RecalcArc(J + 1);
      Cmds = CmdData();
    }
  }
}

bool LastIsClose(const TContour& Contour) {
  const int32_t N = Contour.CommandCount();
  return N > 0 && IsCloseKind(Contour.CmdRec(N - 1).Kind);
}

}  // namespace geo
