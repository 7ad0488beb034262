#include "host/model/host_contour.h"

#include <bit>
#include <cmath>
#include <cstdint>

#include "addonlib/geometry/measures.h"
#include "host/model/host_error.h"

namespace host {

using kx::TKxContourCommand;

kx::TKxContourCommand HostMoveTo(double X, double Y) {
  TKxContourCommand C{};
  C.Kind = kx::kxMoveTo;
  C.Point = {X, Y};
  return C;
}

kx::TKxContourCommand HostLineTo(double X, double Y) {
  TKxContourCommand C = HostMoveTo(X, Y);
  C.Kind = kx::kxLineTo;
  return C;
}

kx::TKxContourCommand HostArcTo(double X, double Y, double Convexity) {
  TKxContourCommand C = HostMoveTo(X, Y);
  C.Kind = kx::kxArcTo;
  C.Convexity = Convexity;
  return C;
}

kx::TKxContourCommand HostClose() {
  TKxContourCommand C{};
  C.Kind = kx::kxClose;
  return C;
}

kx::TKxContourCommand HostCloseArc(double Convexity) {
  TKxContourCommand C{};
  C.Kind = kx::kxCloseArc;
  C.CloseConvexity = Convexity;
  return C;
}

void CheckHostCommands(const THostCommands& Commands, bool ClosedParts) {
  if (Commands.empty()) throw EHostError("Пустой контур");
  const auto Fail = [](std::size_t I, const std::string& What) {
    throw EHostError("Команда " + std::to_string(I) + " контура: " + What);
  };
  bool InPart = false;  // a move was seen and its part not closed
  bool PartHasEdge = false;
  for (std::size_t I = 0; I < Commands.size(); ++I) {
    const TKxContourCommand& C = Commands[I];
    if (C.Kind < kx::kxMoveTo || C.Kind > kx::kxCloseArc)
      Fail(I, "недопустимый вид " + std::to_string(C.Kind));
    const bool HasPoint = C.Kind <= kx::kxArcTo;
    if (HasPoint && !(std::isfinite(C.Point.X) && std::isfinite(C.Point.Y)))
      Fail(I, "координаты не являются конечными числами");
    if ((C.Kind == kx::kxArcTo && !std::isfinite(C.Convexity)) ||
        (C.Kind == kx::kxCloseArc && !std::isfinite(C.CloseConvexity)))
      Fail(I, "кривизна не является конечным числом");
    if (C.Kind == kx::kxMoveTo) {
      if (InPart && !PartHasEdge) Fail(I, "предыдущая часть не содержит отрезков");
      if (InPart && ClosedParts) Fail(I, "предыдущая часть не замкнута");
      InPart = true;
      PartHasEdge = false;
      continue;
    }
    if (!InPart)
      Fail(I, I == 0 ? "контур должен начинаться с перемещения"
                     : "часть должна начинаться с перемещения");
    PartHasEdge = true;
    if (C.Kind == kx::kxClose || C.Kind == kx::kxCloseArc) InPart = false;
  }
  if (InPart && !PartHasEdge) Fail(Commands.size() - 1, "часть не содержит отрезков");
  if (InPart && ClosedParts) Fail(Commands.size() - 1, "часть не замкнута");
}

geo::TContour HostToContour(const THostCommands& Commands) {
  geo::TContour C;
  for (const TKxContourCommand& H : Commands) {
    switch (H.Kind) {
      case kx::kxMoveTo:
        C.AddMoveTo({H.Point.X, H.Point.Y});
        break;
      case kx::kxLineTo:
        C.AddLineTo({H.Point.X, H.Point.Y});
        break;
      case kx::kxArcTo:
        C.AddArcTo({H.Point.X, H.Point.Y}, H.Convexity);
        break;
      case kx::kxClose:
        C.AddClose();
        break;
      case kx::kxCloseArc:
        C.AddCloseArc(H.CloseConvexity);
        break;
      default:
        throw EHostError("Недопустимый вид команды " + std::to_string(H.Kind));
    }
  }
  return C;
}

THostCommands ContourToHost(const geo::TContour& Contour) {
  THostCommands Result;
  Result.reserve(static_cast<std::size_t>(Contour.CommandCount()));
  for (std::int32_t I = 0; I < Contour.CommandCount(); ++I) {
    const geo::TComplexCommand C = Contour.GetCommand(I);
    switch (C.Kind) {
      case geo::ccMoveTo:
        Result.push_back(HostMoveTo(C.Point.X, C.Point.Y));
        break;
      case geo::ccLineTo:
        Result.push_back(HostLineTo(C.Point.X, C.Point.Y));
        break;
      case geo::ccArcTo:
        Result.push_back(HostArcTo(C.Point.X, C.Point.Y, C.Convexity));
        break;
      case geo::ccClose:
        Result.push_back(HostClose());
        break;
      case geo::ccCloseArc:
        Result.push_back(HostCloseArc(C.Convexity));
        break;
    }
  }
  return Result;
}

bool HostBounds(const THostCommands& Commands, geo::TDRect& R) {
  return geo::GetBounds(HostToContour(Commands), R);
}

bool SameCommands(const THostCommands& A, const THostCommands& B) {
  const auto Same = [](double X, double Y) {
    return std::bit_cast<std::uint64_t>(X) == std::bit_cast<std::uint64_t>(Y);
  };
  if (A.size() != B.size()) return false;
  for (std::size_t I = 0; I < A.size(); ++I) {
    const TKxContourCommand &P = A[I], &Q = B[I];
    if (P.Kind != Q.Kind) return false;
    // Only the fields the kind carries count.
    const bool HasPoint = P.Kind >= kx::kxMoveTo && P.Kind <= kx::kxArcTo;
    if (HasPoint && !(Same(P.Point.X, Q.Point.X) && Same(P.Point.Y, Q.Point.Y))) return false;
    if (P.Kind == kx::kxArcTo && !Same(P.Convexity, Q.Convexity)) return false;
    if (P.Kind == kx::kxCloseArc && !Same(P.CloseConvexity, Q.CloseConvexity)) return false;
  }
  return true;
}

}  // namespace host
