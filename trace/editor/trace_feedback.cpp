// Feedback while tracing: the trace points filled in the trace's colour, a
// rubber line from the last trace point to the cursor, or the path along the
// zone that a click there would add, and a marker where the click would
// snap. A mouse move redraws only this, over the view's picture of the map
// and of Paint's drawing, when the host keeps one.
#include "addonkit/hresult_error.h"
#include "trace/editor/gully_editor.h"

namespace trace {

namespace {

constexpr std::uint16_t ControlKey = 17;

}  // namespace

TViewFrame TGullyEditor::ViewFrame() const {
  TViewFrame F;
  const kx::TKxPoint O = AddOn->MapView.DeviceToMap({0, 0});
  const kx::TKxPoint R = AddOn->MapView.DeviceToMap({1, 0});
  const kx::TKxPoint D = AddOn->MapView.DeviceToMap({0, 1});
  F.Origin = {O.X, O.Y};
  F.Right = {R.X - O.X, R.Y - O.Y};
  F.Down = {D.X - O.X, D.Y - O.Y};
  if (FViewOverlay) kx::OleCheck(FViewOverlay->GetClientSize(&F.Width, &F.Height));
  return F;
}

void TGullyEditor::InvalidateFeedback() const {
  if (FViewOverlay)
    kx::OleCheck(FViewOverlay->InvalidateOverlay());
  else
    AddOn->MapView.Invalidate();
}

void TGullyEditor::MouseMove(std::int32_t Shift, kx::TKxViewPoint Point) {
  if (Suspended) return;
  // Of the shift word only Ctrl changes what a click would do.
  const bool Same = FHover && FHover->X == Point.X && FHover->Y == Point.Y &&
                    ((FHoverShift ^ Shift) & kx::kxShiftStateCtrl) == 0;
  FHover = Point;
  FHoverShift = Shift;
  if (Same || !Graph || Graph->Vertices.Count() == 0) return;
  InvalidateFeedback();
}

void TGullyEditor::KeyUp(std::uint16_t Key, std::int32_t Shift) {
  // Ctrl let go: the preview takes the shortest way again.
  if (Key == ControlKey && !Suspended && FHover) {
    FHoverShift = Shift & ~kx::kxShiftStateCtrl;
    InvalidateFeedback();
  }
}

void TGullyEditor::PaintOverlay() {
  if (Suspended) return;
  DrawFeedback(Application.GetCanvas());
}

void TGullyEditor::DrawFeedback(const kx::TOrvexCanvas& Surface) {
  if (Elems.Count() == 0 && !FHover) return;
  const TTraceSettings& S = Settings;
  if (FMarkSide <= 0) FMarkSide = MarkSide(Surface);
  // Trace points as vertex marks filled with the trace's colour: the first
  // click shows at once, and a point on a zone vertex stands out.
  SetupPenBrush(
      Surface,
      MakePen(0, S.VertexTracePenWidth, S.VertexTracePenWidthForZoomScale, S.TracePenColor),
      TBrushRecord{BrushStyleSolid, S.TracePenColor, 0, 0});
  for (std::int32_t I = 0; I < Elems.Count(); ++I) DrawSquare(Surface, ElemPoint(I), FMarkSide);
  if (!FHover || !Graph || Graph->Vertices.Count() == 0) return;
  TClickPlan Plan;
  try {
    Plan = PlanClick(FHoverShift, *FHover);
  } catch (const kx::EHResultError&) {
    // The host cannot place the nearest point on the view (far beyond it
    // at a large scale): nothing to show. A click there reports it.
    return;
  }
  // The trace's pen, dashed where the trace is solid: what a click would
  // add must not pass for what is traced.
  constexpr std::uint8_t PenStyleDash = 1;
  const TPenRecord Pen =
      MakePen(S.TracePenStyle, S.TracePenWidth, S.TracePenForZoomScale, S.TracePenColor);
  TPenRecord Preview = Pen;
  if (Preview.Style == 0) Preview.Style = PenStyleDash;
  const TBrushRecord Hollow{BrushStyleClear, S.TraceBackColor, S.TraceHatchColor, 1};
  if (Plan.Kind == TClickPlan::TKind::Line || Plan.Kind == TClickPlan::TKind::Path) {
    SetupPenBrush(Surface, Preview, Hollow);
    // One open part from the last trace point: what the click would add.
    const geo::TDPoint Last = ElemPoint(Elems.Count() - 1);
    const kx::TOrvexContour Contour = Application.NewPaintContour();
    std::vector<TDrawVertex> Vertices{{Last.X, Last.Y, 0.0}};
    if (Plan.Kind == TClickPlan::TKind::Line) {
      Vertices.push_back({Plan.P.X, Plan.P.Y, 0.0});
    } else {
      for (const geo::TGConnectBrief& B : Plan.Path->Steps) {
        const geo::TDPoint& P = *Graph->Vertices.Ptr(B.V2);
        Vertices.push_back({P.X, P.Y, B.Kind == geo::TConnectKind::Arc ? B.Convexity : 0.0});
      }
    }
    // Only what shows: a long path over a dense zone would hand the host
    // thousands of vertices a pixel, or beyond the view.
    const kx::TOrvexContourPart Part = Contour.AddPart(-1);
    for (const TDrawVertex& V : VisibleVertices(Vertices, ViewFrame(), CutMarginPixels))
      Part.InsertVertex(-1, V.X, V.Y, V.C);
    Part.SetClosed(false);
    Surface.DrawContour(Contour.Intf(), -1);
  }
  // Where the click would snap: an open square about twice a mark's size.
  if (Plan.Snapped) {
    SetupPenBrush(Surface, Pen, Hollow);
    DrawSquare(Surface, Plan.P, 2.5 * FMarkSide);
  }
}

}  // namespace trace
