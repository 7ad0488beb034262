// The editor's repaint: zone outlines, the trace and the vertex marks, drawn
// through the host's drawing objects in map metres.
#include <cmath>
#include <vector>

#include "trace/editor/gully_editor.h"

namespace trace {

void TGullyEditor::Paint() {
  if (Suspended) return;
  LoadDrawingSettings(Application, Settings);
  const kx::TOrvexCanvas Surface = Application.GetCanvas();
  DrawZone(Surface);
  DrawTrace(Surface);
  RebuildMarkPoints();
  DrawVertexMarks(Surface);
  // A host with an overlay asks for the feedback apart (PaintOverlay).
  if (!FViewOverlay) DrawFeedback(Surface);
}

void TGullyEditor::SetupPenBrush(const kx::TOrvexCanvas& Surface, const TPenRecord& Pen,
                                 const TBrushRecord& Brush) const {
  const kx::TOrvexPen P = Surface.GetPen();
  P.SetStyle(Pen.Style);
  P.SetWidth(Pen.Width);
  P.SetWidthScale(Pen.ForZoomScale == 0 ? 0.0 : 1.0 / Pen.ForZoomScale);
  P.SetColor(Pen.Color);
  P.SetMode(Pen.Mode);
  const kx::TOrvexBrush B = Surface.GetBrush();
  B.SetStyle(Brush.Style);
  B.SetBackColor(Brush.BackColor);
  B.SetHatchColor(Brush.HatchColor);
  B.SetTransparency(Brush.Transparency);
}

void TGullyEditor::DrawZone(const kx::TOrvexCanvas& Surface) const {
  if (!Graph || Graph->Edges.Count() < 3) return;
  const TTraceSettings& S = Settings;
  SetupPenBrush(Surface,
                MakePen(S.BufferZonePenStyle, S.BufferZonePenWidth, S.BufferZonePenForZoomScale,
                        S.BufferZonePenColor),
                TBrushRecord{S.BufferZoneBrushStyle, S.BufferZoneBackColor, S.BufferZoneHatchColor,
                             S.BufferZoneTransparency});
  const kx::TOrvexContour Contour = Application.NewPaintContour();
  // Where the host gives the view's size, only what shows of each outline
  // is handed over (VisibleVertices): a big zone has dozens of vertices a
  // pixel seen whole, and thousands beyond the view seen close.
  const TViewFrame F = FViewOverlay ? ViewFrame() : TViewFrame{};
  std::vector<TDrawVertex> Vertices;
  const auto Vertex = [&](std::int32_t V, double Convexity) {
    const geo::TDPoint& P = *Graph->Vertices.Ptr(V);
    Vertices.push_back({P.X, P.Y, Convexity});
  };
  const auto Emit = [&] {
    const kx::TOrvexContourPart Part = Contour.AddPart(-1);
    for (const TDrawVertex& V : VisibleVertices(Vertices, F, CutMarginPixels))
      Part.InsertVertex(-1, V.X, V.Y, V.C);
    Part.SetClosed(true);
    Vertices.clear();
  };
  // AddContour stores every outline's edges one after the other, so the
  // edges in index order run round each outline in turn.
  std::int32_t Start = -1;
  for (std::int32_t I = 0; I < Graph->Edges.Count(); ++I) {
    const geo::TGConnectBrief& E = *Graph->Edges.Ptr(I);
    const double C = E.Kind == geo::TConnectKind::Arc ? E.Convexity : 0.0;
    if (Vertices.empty()) {
      Start = E.V1;
      Vertex(E.V1, 0.0);
      Vertex(E.V2, C);
    } else if (E.V2 == Start) {
      // The closing edge: an arc is carried by vertex 0's convexity.
      Vertices[0].C = C;
      Emit();
    } else {
      Vertex(E.V2, C);
    }
  }
  if (!Vertices.empty()) Emit();
  Surface.DrawContour(Contour.Intf(), -1);
}

void TGullyEditor::DrawTrace(const kx::TOrvexCanvas& Surface) const {
  const std::int32_t N = TraceContour.GetCommandCount();
  if (N == 0) return;
  const TTraceSettings& S = Settings;
  SetupPenBrush(
      Surface, MakePen(S.TracePenStyle, S.TracePenWidth, S.TracePenForZoomScale, S.TracePenColor),
      TBrushRecord{S.TraceBrushStyle, S.TraceBackColor, S.TraceHatchColor, S.TraceTransparency});
  const kx::TOrvexContour Contour = Application.NewPaintContour();
  kx::TOrvexContourPart Part;
  for (std::int32_t I = 0; I < N; ++I) {
    const kx::TKxContourCommand Cmd = TraceContour.GetCommand(I);
    switch (Cmd.Kind) {
      case kx::kxMoveTo:
        Part = Contour.AddPart(-1);
        Part.InsertVertex(-1, Cmd.Point.X, Cmd.Point.Y, 0.0);
        break;
      case kx::kxLineTo:
      case kx::kxArcTo:
        if (!Part) Part = Contour.AddPart(-1);
        Part.InsertVertex(-1, Cmd.Point.X, Cmd.Point.Y,
                          Cmd.Kind == kx::kxArcTo ? Cmd.Convexity : 0.0);
        break;
      case kx::kxClose:
        if (Part) Part.SetClosed(true);
        break;
      default:
        break;
    }
  }
  // Shown as it will be created.
  const std::int32_t Parts = Contour.GetPartCount();
  for (std::int32_t I = 0; I < Parts; ++I) Contour.GetPart(I).SetClosed(CloseBy);
  Surface.DrawContour(Contour.Intf(), -1);
}

void TGullyEditor::RebuildMarkPoints() {
  MarkPoints.Clear();
  if (Graph)
    for (std::int32_t I = 0; I < Graph->Vertices.Count(); ++I)
      MarkPoints.Add(*Graph->Vertices.Ptr(I));
  for (std::int32_t I = 0; I < Elems.Count(); ++I) MarkPoints.Add(ElemPoint(I));
}

double TGullyEditor::MarkSide(const kx::TOrvexCanvas& Surface) const {
  const TTraceSettings& S = Settings;
  if (S.VertexTraceSizeForZoomScale > 1) return S.VertexTraceSizeForZoomScale * S.VertexTraceSize;
  double Scale = 0;
  const compat::TComPtr<IDispatch> ScaleObject = Surface.GetScale(Scale);
  kx::CallScaleOperation10(ScaleObject.Get());
  return S.VertexTraceSize / Scale;
}

void TGullyEditor::DrawVertexMarks(const kx::TOrvexCanvas& Surface) {
  const TTraceSettings& S = Settings;
  const double Side = MarkSide(Surface);
  FMarkSide = Side;
  SetupPenBrush(
      Surface,
      MakePen(0, S.VertexTracePenWidth, S.VertexTracePenWidthForZoomScale, S.VertexTracePenColor),
      TBrushRecord{0, S.VertexTraceBackColor, 0, 0});
  // Where the host gives the view's size, zone vertices outside it get no
  // mark, nor those in a pixel that already has one: a big zone seen whole
  // puts dozens of vertices in a pixel, and their marks would cover each
  // other. Trace points are always marked.
  const std::int32_t ZoneMarks = Graph ? Graph->Vertices.Count() : 0;
  const TViewFrame F = FViewOverlay ? ViewFrame() : TViewFrame{};
  const bool Thin = F.Width > 0 && F.Height > 0 && F.PixelMetres() > 0;
  const std::int32_t Reach = Thin ? static_cast<std::int32_t>(Side / 2 / F.PixelMetres()) + 2 : 0;
  const std::int64_t GridW = std::int64_t{F.Width} + 2 * Reach;
  std::vector<bool> Taken(Thin ? static_cast<std::size_t>(GridW * (F.Height + 2 * Reach)) : 0);
  for (std::int32_t I = 0; I < MarkPoints.Count(); ++I) {
    geo::TDPoint P;
    MarkPoints.Get(I, P);
    double DX, DY;
    if (Thin && I < ZoneMarks && F.ToDevice(P, DX, DY)) {
      const double CX = std::floor(DX) + Reach, CY = std::floor(DY) + Reach;
      if (!(CX >= 0 && CY >= 0 && CX < GridW && CY < F.Height + 2 * Reach)) continue;
      const auto Cell = static_cast<std::size_t>(static_cast<std::int64_t>(CY) * GridW +
                                                 static_cast<std::int64_t>(CX));
      if (Taken[Cell]) continue;
      Taken[Cell] = true;
    }
    DrawSquare(Surface, P, Side);
  }
}

void TGullyEditor::DrawSquare(const kx::TOrvexCanvas& Surface, const geo::TDPoint& P,
                              double Side) const {
  const double H = Side / 2;
  const kx::TOrvexContour Contour = Application.NewPaintContour();
  const kx::TOrvexContourPart Part = Contour.AddPart(-1);
  Part.InsertVertex(-1, P.X - H, P.Y - H, 0.0);
  Part.InsertVertex(-1, P.X - H, P.Y + H, 0.0);
  Part.InsertVertex(-1, P.X + H, P.Y + H, 0.0);
  Part.InsertVertex(-1, P.X + H, P.Y - H, 0.0);
  Part.SetClosed(true);
  Surface.DrawContour(Contour.Intf(), -1);
}

}  // namespace trace
