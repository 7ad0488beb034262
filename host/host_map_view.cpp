#include "host/host_map_view.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <unordered_map>

#include "host/host_error.h"
#include "host/host_values.h"

namespace host {

THostMapView::THostMapView(THostContextPtr Context) : FContext(std::move(Context)) {
  SetTransform(FTransform);
}

THostMapView::~THostMapView() = default;

void THostMapView::SetTransform(const THostViewTransform& T) {
  if (T.Width < 1 || T.Height < 1 || T.Width > 16384 || T.Height > 16384)
    throw EHostError("Недопустимый размер окна карты");
  if (!(std::isfinite(T.MetresPerPixel) && T.MetresPerPixel > 0) || !std::isfinite(T.CenterX) ||
      !std::isfinite(T.CenterY))
    throw EHostError("Недопустимое преобразование окна карты");
  FTransform = T;
  if (FImage.width() != T.Width || FImage.height() != T.Height)
    FImage = QImage(T.Width, T.Height, QImage::Format_ARGB32_Premultiplied);
}

void THostMapView::ZoomToProject() {
  geo::TDRect R;
  if (!FContext->Project.Bounds(R)) return;
  THostViewTransform T = FTransform;
  T.CenterX = (R.X1 + R.X2) / 2;
  T.CenterY = (R.Y1 + R.Y2) / 2;
  const double M = std::max((R.X2 - R.X1) / T.Width, (R.Y2 - R.Y1) / T.Height) * 1.05;
  T.MetresPerPixel = M > 0 ? M : 1;
  SetTransform(T);
}

HRESULT THostMapView::Operation5() {
  ++FOperation5Count;
  return S_OK;
}

HRESULT THostMapView::GetSelection(kx::IKxIDsList** Selection) {
  if (Selection) *Selection = nullptr;
  return HostCall(FContext->ErrorInfo, "IKxMapView.GetSelection", [&] {
    kx::IKxIDsList*& Out = Required(Selection, "Selection");
    return HandOut(MakeValue<THostIDsList>(FContext, FSelection), &Out);
  });
}

HRESULT THostMapView::SetEditor(kx::IKxEditor* Editor) {
  // The old editor may hold the last reference to itself; let it go last.
  compat::TComPtr<kx::IKxEditor> Old = std::move(FEditor);
  FEditor = compat::TComPtr<kx::IKxEditor>(Editor);
  Old.Reset();
  return S_OK;
}

HRESULT THostMapView::Invalidate() {
  ++FInvalidateCount;
  if (FOnInvalidate) FOnInvalidate();
  return S_OK;
}

HRESULT THostMapView::Operation27() {
  ++FOperation27Count;
  return S_OK;
}

HRESULT THostMapView::MapToDevice(double X, double Y, std::int32_t* DX, std::int32_t* DY) {
  return HostCall(FContext->ErrorInfo, "IKxMapView.MapToDevice", [&] {
    std::int32_t& OX = Required(DX, "DX");
    std::int32_t& OY = Required(DY, "DY");
    const QPointF P = FTransform.ToDevice(X, Y);
    const double RX = std::floor(P.x() + 0.5), RY = std::floor(P.y() + 0.5);
    constexpr double Limit = 2147483647.0;
    if (!(std::fabs(RX) <= Limit && std::fabs(RY) <= Limit))
      throw EHostError("Точка карты вне пределов координат окна", E_INVALIDARG);
    OX = static_cast<std::int32_t>(RX);
    OY = static_cast<std::int32_t>(RY);
    return S_OK;
  });
}

HRESULT THostMapView::DeviceToMap(std::int32_t X, std::int32_t Y, double* MX, double* MY) {
  return HostCall(FContext->ErrorInfo, "IKxMapView.DeviceToMap", [&] {
    double& OX = Required(MX, "MX");
    double& OY = Required(MY, "MY");
    FTransform.ToMap(X, Y, OX, OY);
    return S_OK;
  });
}

void THostMapView::DrawParts(const THostDrawRecord& Record) {
  {
    QPainter Painter(&FImage);
    PaintParts(Painter, Record.Parts, Record.Pen, Record.Brush, FTransform);
  }
  FDrawLog.push_back(Record);
}

void THostMapView::SetLayerOrder(const std::vector<TKxID>& Layers) {
  FLayerRank.clear();
  for (std::size_t I = 0; I < Layers.size(); ++I) FLayerRank.emplace(IDKey(Layers[I]), I);
  FLayerOrderSet = true;
}

bool THostMapView::LayerShown(const TKxID& LayerID) const {
  return !FLayerOrderSet || FLayerRank.count(IDKey(LayerID)) != 0;
}

bool THostMapView::Render() {
  FDrawLog.clear();
  FLastPaintError.clear();
  FImage.fill(Qt::white);
  {
    QPainter Painter(&FImage);
    const THostViewTransform& T = FTransform;
    double X1, Y1, X2, Y2;
    T.ToMap(0, T.Height, X1, Y1);
    T.ToMap(T.Width, 0, X2, Y2);
    const THostProject& P = FContext->Project;
    // Layers bottom first: as set, else in the maps' order; objects of one
    // layer in the order they were added. Each object's rank is looked up
    // once, not in every comparison.
    std::unordered_map<std::string, std::size_t> MapsOrder;
    if (!FLayerOrderSet)
      for (const TKxID& M : P.Maps())
        for (const TKxID& L : P.Map(M).Layers) MapsOrder.emplace(IDKey(L), MapsOrder.size());
    const auto& Rank = FLayerOrderSet ? FLayerRank : MapsOrder;
    std::vector<std::pair<std::size_t, const THostMapObject*>> InView;
    for (const THostMapObject* O : P.ObjectsInRect({X1, Y1, X2, Y2}))
      if (const auto It = Rank.find(IDKey(O->LayerID)); It != Rank.end())
        InView.emplace_back(It->second, O);
    std::stable_sort(InView.begin(), InView.end(),
                     [](const auto& A, const auto& B) { return A.first < B.first; });
    // An object smaller than a few pixels is one dot in its pen colour: at
    // a small scale most objects are, and a dot is far cheaper than a path.
    // Runs of dots of one colour are drawn together, in order.
    constexpr double DotPixels = 3;
    QPolygonF Dots;
    QColor DotColour;
    const auto FlushDots = [&] {
      if (Dots.isEmpty()) return;
      Painter.setPen(QPen(DotColour, 1.5));
      Painter.drawPoints(Dots);
      Dots.clear();
    };
    for (const auto& [LayerRank, O] : InView) {
      const geo::TDRect& B = O->Bounds;
      const bool Tiny = std::max(B.X2 - B.X1, B.Y2 - B.Y1) < DotPixels * T.MetresPerPixel;
      for (const THostShape& S : O->Shapes) {
        const THostStyle* Style = P.FindStyle(S.StyleID);
        if (!Style) continue;
        if (Tiny) {
          if (!Style->DefinesGeometry()) continue;
          const QColor Colour = HostColor(Style->Pen.Color);
          if (Colour != DotColour) FlushDots();
          DotColour = Colour;
          Dots << T.ToDevice((B.X1 + B.X2) / 2, (B.Y1 + B.Y2) / 2);
          break;
        }
        FlushDots();
        PaintParts(Painter, PartsOfCommands(S.Commands), PenState(Style->Pen),
                   BrushState(Style->Brush), T);
      }
    }
    FlushDots();
  }
  if (!FEditor) return true;
  // The editor may drop itself from the view while painting.
  const compat::TComPtr<kx::IKxEditor> Editor = FEditor;
  FContext->ErrorInfo.Clear();
  if (SUCCEEDED(Editor->Paint())) return true;
  FLastPaintError = FContext->ErrorInfo.MessageUtf8();
  if (FLastPaintError.empty()) FLastPaintError = "Ошибка рисования редактора";
  return false;
}

}  // namespace host
