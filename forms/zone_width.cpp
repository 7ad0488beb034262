#include "forms/zone_width.h"

#include <cmath>
#include <cstdio>

#include "addonlib/geometry/measures.h"
#include "addonlib/geometry/rect.h"
#include "core/exception.h"
#include "forms/float_edit_model.h"
#include "trace/editor/shape_enum.h"

namespace forms {

namespace {

// The bounding box of the contours whose style defines geometry, the same
// shapes that zones are built around.
class TExtentEnum final : public trace::TTMObjectShapeDefineGeometryEnum {
 public:
  using TTMObjectShapeDefineGeometryEnum::TTMObjectShapeDefineGeometryEnum;

  geo::TDRect Box{};
  bool HasBox = false;

  void Extend(const geo::TDRect& R) {
    if (HasBox)
      geo::ExtendRect(Box, R);
    else
      Box = R;
    HasBox = true;
  }
  double Side() const { return HasBox ? std::fmax(geo::RectWidth(Box), geo::RectHeight(Box)) : 0; }

 protected:
  void ProcessContour(const trace::TTMShape& Shape) override {
    geo::TContour C;
    trace::HostContourToContour(Shape.Contour, C);
    geo::TDRect R;
    if (geo::GetBounds(C, R)) Extend(R);
  }
};

std::string Metres(double Value) {
  char Text[64];
  std::snprintf(Text, sizeof Text, std::fabs(Value) >= 1 ? "%.0f" : "%.2f", Value);
  return Text;
}

}  // namespace

double ParseZoneWidth(const std::string& Text) {
  // The settings' numeric edits read numbers so: the point stands for the
  // locale's separator, and a comma is taken in its place.
  try {
    return TFloatEditModel::TextToFloat(Text, U'.');
  } catch (const core::EConvertError&) {
    TFloatEditModel::RaiseNotANumber(Text);
  }
}

std::optional<std::string> OversizedZoneQuestion(kx::TKxCustomAddon& Context,
                                                 const kx::TKxIDsList& Selection,
                                                 const trace::TGConnectGraph& Graph, double Width) {
  const double W = std::fabs(Width);
  if (W == 0) return std::nullopt;
  TExtentEnum Extent(Context, Selection);
  for (std::int32_t I = 0; I < Graph.Vertices.Count(); ++I) {
    const geo::TDPoint& P = *Graph.Vertices.Ptr(I);
    Extent.Extend(geo::TDRect{P.X, P.Y, P.X, P.Y});
  }
  // The zone's side is the extent's plus the width on either side; once the
  // extent alone makes that small enough, the rest of the selection cannot
  // change the answer.
  const auto Fits = [&] { return Extent.Side() + 2 * W <= ZoneOversizeFactor * Extent.Side(); };
  if (Fits()) return std::nullopt;
  Extent.OnObjectDone = [&](std::int32_t, std::int32_t) { return !Fits(); };
  if (!Extent.Execute() || Extent.Side() == 0) return std::nullopt;
  return "Буферная зона шириной " + Metres(W) +
         " м во много раз больше объектов, вокруг которых она строится (их поперечник " +
         Metres(Extent.Side()) + " м). Построить её?";
}

}  // namespace forms
