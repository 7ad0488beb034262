#include "addonlib/geometry/edge_iter.h"

namespace geo {

namespace {

// Fills E with the edge between commands From and To, taking the arc data
// of command Cmd.
void FillEdge(const TContour& C, int32_t Cmd, int32_t From, int32_t To, TEdge& E) {
  const TContourCmdRec* Cmds = C.CmdData();
  E.P1 = Cmds[From].Point;
  E.P2 = Cmds[To].Point;
  const uint32_t A = Cmds[Cmd].ArcIndex;
  if (A == NoArc) {
    E.Convexity = 0;
    E.Center = TDPoint{0, 0};
    E.Angle = 0;
    E.Radius = 0;
    return;
  }
  const TContourArcRec& R = C.ArcData()[A];
  E.Convexity = R.Convexity;
  E.Center = R.Center;
  E.Angle = R.Angle;
  E.Radius = R.Radius;
}

}  // namespace

void TPartIter::Start(const TContour& AContour, int32_t FromIndex) {
  Contour = &AContour;
  Closed = false;
  if (FromIndex < 0 || FromIndex >= AContour.CommandCount()) {
    First = 1;
    Last = 0;
    return;
  }
  const TContourCmdRec* Cmds = AContour.CmdData();
  First = FromIndex;
  while (First >= 1 &&
         (IsPieceKind(Cmds[First].Kind) || (First == FromIndex && IsCloseKind(Cmds[First].Kind))))
    --First;
  // Stopped on the close of the part before: this part starts after it.
  if (First < FromIndex && IsCloseKind(Cmds[First].Kind)) ++First;
  FindLast(FromIndex);
}

void TPartIter::FindLast(int32_t From) {
  const int32_t N = Contour->CommandCount();
  Closed = false;
  if (From < 0 || From >= N) {
    Last = First - 1;
    return;
  }
  const TContourCmdRec* Cmds = Contour->CmdData();
  Last = From;
  while (Last < N - 1 &&
         (IsPieceKind(Cmds[Last].Kind) || (Last == From && Cmds[Last].Kind == ccMoveTo)))
    ++Last;
  if (Cmds[Last].Kind == ccMoveTo && Last != 0) --Last;
  Closed = Last >= 0 && IsCloseKind(Cmds[Last].Kind);
}

void TPartIter::Next() {
  First = Last + 1;
  FindLast(First);
}

bool TEdgeCursor::Start(const TContour& AContour, int32_t Index, bool ASkipDegenerate) {
  Contour = &AContour;
  SkipDegenerate = ASkipDegenerate;
  PartStart = -1;
  if (Index < 0) {
    Cur = AContour.CommandCount();
    return false;
  }
  Cur = Index - 1;
  Next();
  return !Eof() && Cur == Index;
}

void TEdgeCursor::Next() {
  const int32_t N = Contour->CommandCount();
  const TContourCmdRec* Cmds = Contour->CmdData();
  for (;;) {
    if (++Cur >= N) return;
    if (Cur == 0 || Cmds[Cur].Kind == ccMoveTo) {
      PartStart = Cur;
      continue;
    }
    if (IsCloseKind(Cmds[Cur].Kind) || IsCloseKind(Cmds[Cur - 1].Kind)) {
      Contour->EdgeEnds(Cur, PartStart, FromIndex, ToIndex);
    } else {  // the common case, without the call
      FromIndex = Cur - 1;
      ToIndex = Cur;
    }
    FillEdge(*Contour, Cur, FromIndex, ToIndex, Edge);
    if (SkipDegenerate && IsDegenerate(Edge)) continue;
    return;
  }
}

bool TContourEdgeIter::Start(const TContour& AContour) {
  Contour = &AContour;
  StartCmd = -1;
  Prev = -1;
  Index = 0;
  PendingFirst = false;
  return Next();
}

bool TContourEdgeIter::Next() {
  HasEdge = FirstOfPart = LastOfPart = ClosedPart = false;
  const int32_t N = Contour->CommandCount();
  const TContourCmdRec* Cmds = Contour->CmdData();
  while (Index < N && !HasEdge) {
    const int32_t I = Index++;
    const uint8_t K = Cmds[I].Kind;
    const int32_t Target = IsPieceKind(K) ? I : IsCloseKind(K) ? StartCmd : -1;
    if (Prev >= 0 && Target >= 0 && !SamePoint(Cmds[Prev].Point, Cmds[Target].Point)) {
      FillEdge(*Contour, I, Prev, Target, Edge);
      HasEdge = true;
      if (PendingFirst) FirstOfPart = true;
      PendingFirst = false;
      if (IsCloseKind(K)) ClosedPart = LastOfPart = true;
    }
    if (IsToKind(K)) {
      if (K == ccMoveTo || StartCmd < 0) {
        StartCmd = I;
        FirstOfPart = true;
        PendingFirst = false;
      }
      Prev = I;
    } else if (StartCmd >= 0) {
      // After a close the pen rests at the part's start point.
      Prev = StartCmd;
      PendingFirst = true;
    }
  }
  if (!HasEdge) return false;
  // Pass over the commands that give no edge before the next real one.
  while (Index < N) {
    const uint8_t K = Cmds[Index].Kind;
    if (K == ccMoveTo) {
      LastOfPart = true;
      break;
    }
    const int32_t Target = IsPieceKind(K) ? Index : StartCmd;
    if (!SamePoint(Cmds[Prev].Point, Cmds[Target].Point)) break;
    if (IsCloseKind(K)) {
      ClosedPart = LastOfPart = true;
      Prev = StartCmd;
      PendingFirst = true;
    } else {
      Prev = Index;
    }
    ++Index;
  }
  if (Index >= N) LastOfPart = true;
  return true;
}

}  // namespace geo
