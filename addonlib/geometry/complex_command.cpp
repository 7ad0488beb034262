#include "addonlib/geometry/complex_command.h"

#include "core/exception.h"

namespace geo {

TDPoint GetPointOfComplexCommand(const TComplexCommand& Cmd) {
  if (!IsToCommand(Cmd))
    throw core::Exception("GetPointOfComplexCommand: команда не является ***To");
  return Cmd.Point;
}

TComplexCommand MakeCloseByCommand(const TComplexCommand& Cmd) {
  switch (Cmd.Kind) {
    case ccMoveTo:
      throw core::Exception("MakeCloseByCommand: команда не должна быть Переход");
    case ccLineTo:
      return MakeClose();
    case ccArcTo:
      return MakeCloseArc(Cmd.Convexity);
    default:
      return Cmd;
  }
}

bool CommandsEqual(const TComplexCommand& A, const TComplexCommand& B) {
  if (A.Kind != B.Kind) return false;
  switch (A.Kind) {
    case ccMoveTo:
    case ccLineTo:
      return SamePoint(A.Point, B.Point);
    case ccArcTo:
      return SamePoint(A.Point, B.Point) && A.Convexity == B.Convexity;
    case ccClose:
      return true;
    default:
      return A.Convexity == B.Convexity;
  }
}

}  // namespace geo
