#include "addonlib/geometry/complex_enum.h"

#include "core/exception.h"

namespace geo {

bool TGComplexEnumerater::Next(TGConnectFull& Conn) {
  while (Pos < Contour.CommandCount()) {
    const int32_t I = Pos++;
    const TComplexCommand Cmd = Contour.GetCommand(I);
    if (Cmd.Kind == ccMoveTo || I == 0) {
      if (IsCloseKind(Cmd.Kind)) throw core::Exception("Первая команда не должна быть 'Замкнуть'");
      Start = Current = Cmd.Point;
      continue;
    }
    TGConnectFull E{Current, Cmd.Point,
                    Cmd.Kind == ccArcTo ? TConnectKind::Arc : TConnectKind::Line, Cmd.Convexity};
    if (IsCloseKind(Cmd.Kind)) {
      if (CloseSeen) throw core::Exception("Две команды 'Замкнуть подряд'");
      CloseSeen = true;
      E.P2 = Start;
      E.Kind = Cmd.Kind == ccCloseArc ? TConnectKind::Arc : TConnectKind::Line;
    } else {
      CloseSeen = false;
    }
    if (SamePoint(E.P1, E.P2)) continue;
    Current = E.P2;
    Conn = E;
    return true;
  }
  return false;
}

}  // namespace geo
