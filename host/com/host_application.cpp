#include "host/com/host_application.h"

#include <cmath>

#include "host/com/host_call.h"

namespace host {

namespace {

// Index -1 appends; otherwise 0 to Count inserts before.
std::size_t InsertIndex(std::int32_t Index, std::size_t Count, const char* What) {
  if (Index == -1) return Count;
  if (Index < 0 || static_cast<std::size_t>(Index) > Count)
    throw EHostError(std::string(What) + ": индекс вставки " + std::to_string(Index) +
                         " вне границ [0, " + std::to_string(Count) + "]",
                     E_INVALIDARG);
  return static_cast<std::size_t>(Index);
}

void CheckVertex(double X, double Y, double Convexity) {
  if (!std::isfinite(X) || !std::isfinite(Y) || !std::isfinite(Convexity))
    throw EHostError("Вершина контура рисования: не конечное число", E_INVALIDARG);
}

}  // namespace

// ---- Pen, brush, viewport ----

HRESULT THostPen::SetStyle(std::int32_t Style) {
  State.Style = Style;
  return S_OK;
}
HRESULT THostPen::SetWidth(double Width) {
  State.Width = Width;
  return S_OK;
}
HRESULT THostPen::SetWidthScale(double Scale) {
  State.WidthScale = Scale;
  return S_OK;
}
HRESULT THostPen::SetColor(std::uint32_t Color) {
  State.Color = Color;
  return S_OK;
}
HRESULT THostPen::SetMode(std::int32_t Mode) {
  State.Mode = Mode;
  return S_OK;
}

HRESULT THostBrush::SetStyle(std::int32_t Style) {
  State.Style = Style;
  return S_OK;
}
HRESULT THostBrush::SetBackColor(std::uint32_t Color) {
  State.BackColor = Color;
  return S_OK;
}
HRESULT THostBrush::SetHatchColor(std::uint32_t Color) {
  State.HatchColor = Color;
  return S_OK;
}
HRESULT THostBrush::SetTransparency(std::int32_t Transparent) {
  State.Transparency = Transparent;
  return S_OK;
}

HRESULT THostViewport::Operation10() {
  ++FCount;
  return S_OK;
}

// ---- Paint contours ----

HRESULT THostPaintContour::QueryInterface(REFIID Iid, void** Obj) {
  if (Obj && Iid == IID_HostPaintContour) {
    *Obj = this;
    AddRef();
    return S_OK;
  }
  return THostDispatchValue<kx::IOrvexContour, kx::IID_IOrvexContour>::QueryInterface(Iid, Obj);
}

HRESULT THostPaintContour::GetPartCount(std::int32_t* Count) {
  return HostCall(FContext->ErrorInfo, "IOrvexContour.GetPartCount", [&] {
    Required(Count, "Count") = static_cast<std::int32_t>(FParts.size());
    return S_OK;
  });
}

HRESULT THostPaintContour::GetPart(std::int32_t Index, kx::IOrvexContourPart** Part) {
  if (Part) *Part = nullptr;
  return HostCall(FContext->ErrorInfo, "IOrvexContour.GetPart", [&] {
    kx::IOrvexContourPart*& Out = Required(Part, "Part");
    const auto& P = FParts[CheckIndex(Index, FParts.size(), "Контур рисования")];
    return HandOut(MakeValue<THostPaintContourPart>(FContext, P), &Out);
  });
}

HRESULT THostPaintContour::AddPart(std::int32_t Index, kx::IOrvexContourPart** Part) {
  if (Part) *Part = nullptr;
  return HostCall(FContext->ErrorInfo, "IOrvexContour.AddPart", [&] {
    kx::IOrvexContourPart*& Out = Required(Part, "Part");
    const std::size_t At = InsertIndex(Index, FParts.size(), "Контур рисования");
    auto New = std::make_shared<THostPaintPart>();
    auto Result = MakeValue<THostPaintContourPart>(FContext, New);
    FParts.insert(FParts.begin() + static_cast<std::ptrdiff_t>(At), std::move(New));
    return HandOut(std::move(Result), &Out);
  });
}

std::vector<THostPaintPart> THostPaintContour::Parts() const {
  std::vector<THostPaintPart> Result;
  Result.reserve(FParts.size());
  for (const auto& P : FParts) Result.push_back(*P);
  return Result;
}

HRESULT THostPaintContourPart::GetVertex(std::int32_t Index, double* X, double* Y,
                                         double* Convexity) {
  return HostCall(FContext->ErrorInfo, "IOrvexContourPart.GetVertex", [&] {
    double& OX = Required(X, "X");
    double& OY = Required(Y, "Y");
    double& OC = Required(Convexity, "Convexity");
    const THostPaintVertex& V =
        FPart->Vertices[CheckIndex(Index, FPart->Vertices.size(), "Часть контура рисования")];
    OX = V.X;
    OY = V.Y;
    OC = V.Convexity;
    return S_OK;
  });
}

HRESULT THostPaintContourPart::SetVertex(std::int32_t Index, double X, double Y, double Convexity) {
  return HostCall(FContext->ErrorInfo, "IOrvexContourPart.SetVertex", [&] {
    const std::size_t I = CheckIndex(Index, FPart->Vertices.size(), "Часть контура рисования");
    CheckVertex(X, Y, Convexity);
    FPart->Vertices[I] = {X, Y, Convexity};
    return S_OK;
  });
}

HRESULT THostPaintContourPart::InsertVertex(std::int32_t Index, double X, double Y,
                                            double Convexity) {
  return HostCall(FContext->ErrorInfo, "IOrvexContourPart.InsertVertex", [&] {
    const std::size_t At = InsertIndex(Index, FPart->Vertices.size(), "Часть контура рисования");
    CheckVertex(X, Y, Convexity);
    FPart->Vertices.insert(FPart->Vertices.begin() + static_cast<std::ptrdiff_t>(At),
                           {X, Y, Convexity});
    return S_OK;
  });
}

HRESULT THostPaintContourPart::SetClosed(std::int32_t Closed) {
  FPart->Closed = Closed != 0;
  return S_OK;
}

// ---- Surface, view, document ----

HRESULT THostCanvas::GetScale(IDispatch** Object, double* Scale) {
  if (Object) *Object = nullptr;
  return HostCall(FContext->ErrorInfo, "IOrvexCanvas.GetScale", [&] {
    IDispatch*& OutObject = Required(Object, "Object");
    double& OutScale = Required(Scale, "Scale");
    OutScale = 1 / FView.Transform().ScaleDenominator();
    FViewport.AddRef();
    OutObject = &FViewport;
    return S_OK;
  });
}

HRESULT THostCanvas::GetPen(kx::IOrvexPen** Pen) {
  if (!Pen) return E_POINTER;
  FPen.AddRef();
  *Pen = &FPen;
  return S_OK;
}

HRESULT THostCanvas::GetBrush(kx::IOrvexBrush** Brush) {
  if (!Brush) return E_POINTER;
  FBrush.AddRef();
  *Brush = &FBrush;
  return S_OK;
}

HRESULT THostCanvas::DrawContour(kx::IOrvexContour* Contour, std::int32_t Mode) {
  return HostCall(FContext->ErrorInfo, "IOrvexCanvas.DrawContour", [&] {
    compat::TComPtr<THostPaintContour> Own;
    if (FAILED(Required(Contour, "Contour").QueryInterface(IID_HostPaintContour, Own.OutVoid())))
      throw EHostError("Контур рисования создан не этим приложением", E_INVALIDARG);
    THostDrawRecord Record;
    Record.Pen = FPen.State;
    Record.Brush = FBrush.State;
    Record.Mode = Mode;
    Record.Parts = Own->Parts();
    FView.DrawParts(Record);
    return S_OK;
  });
}

HRESULT THostOrvexMapView::GetCanvas(kx::IOrvexCanvas** Canvas) {
  if (!Canvas) return E_POINTER;
  FCanvas.AddRef();
  *Canvas = &FCanvas;
  return S_OK;
}

HRESULT THostOrvexMapView::Operation7() {
  ++FOperation7Count;
  return FView.Invalidate();
}

HRESULT THostDocument::GetMapView(kx::IOrvexMapView** View) {
  if (!View) return E_POINTER;
  FView.AddRef();
  *View = &FView;
  return S_OK;
}

// ---- Application ----

THostApplication::THostApplication(THostContextPtr Context, THostMapView& View,
                                   std::string SettingsPath)
    : FContext(Context), FSettings(Context, std::move(SettingsPath)), FDocument(Context, View) {}

HRESULT THostApplication::GetActiveDocument(kx::IOrvexDocument** Document) {
  if (!Document) return E_POINTER;
  FDocument.AddRef();
  *Document = &FDocument;
  return S_OK;
}

HRESULT THostApplication::GetSettingsStore(kx::IOrvexSettingsStore** Store) {
  if (!Store) return E_POINTER;
  *Store = nullptr;
  ++FSettingsStoreCount;
  return HostCall(FContext->ErrorInfo, "IOrvexApplication.GetSettingsStore", [&] {
    if (FFailSettings) throw EHostError("Хранилище настроек недоступно");
    FSettings.AddRef();
    *Store = &FSettings;
    return S_OK;
  });
}

HRESULT THostApplication::CreateContour(std::int32_t Kind, VARIANT Param, IDispatch** Contour) {
  if (Contour) *Contour = nullptr;
  return HostCall(FContext->ErrorInfo, "IOrvexApplication.CreateContour", [&] {
    IDispatch*& Out = Required(Contour, "Contour");
    if (Kind != 0 || Param.vt != VT_EMPTY)
      throw EHostError("Неизвестный вид контура рисования " + std::to_string(Kind), E_INVALIDARG);
    return HandOut(MakeValue<THostPaintContour>(FContext), &Out);
  });
}

}  // namespace host
