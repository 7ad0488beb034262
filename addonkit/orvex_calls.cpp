#include "addonkit/orvex_calls.h"

namespace kx {

namespace {

TKxText HostText(std::string_view Utf8) {
  return TKxText::FromUtf8(Utf8);
}

}  // namespace

std::string TOrvexSettingsStore::ReadValue(std::int32_t Section, std::int32_t Kind,
                                           std::string_view Key, std::string_view Default) const {
  const TKxText K = HostText(Key), D = HostText(Default);
  TKxText Value;
  Value.Clear();
  OleCheck(Checked()->ReadValue(Section, Kind, &K, &D, &Value));
  return Value.ToUtf8();
}

void TOrvexSettingsStore::WriteValue(std::int32_t Section, std::int32_t Kind, std::string_view Key,
                                     std::string_view Value) const {
  const TKxText K = HostText(Key), V = HostText(Value);
  OleCheck(Checked()->WriteValue(Section, Kind, &K, &V));
}

void TOrvexPen::SetStyle(std::int32_t Style) const {
  OleCheck(Checked()->SetStyle(Style));
}
void TOrvexPen::SetWidth(double Width) const {
  OleCheck(Checked()->SetWidth(Width));
}
void TOrvexPen::SetWidthScale(double Scale) const {
  OleCheck(Checked()->SetWidthScale(Scale));
}
void TOrvexPen::SetColor(std::uint32_t Color) const {
  OleCheck(Checked()->SetColor(Color));
}
void TOrvexPen::SetMode(std::int32_t Mode) const {
  OleCheck(Checked()->SetMode(Mode));
}

void TOrvexBrush::SetStyle(std::int32_t Style) const {
  OleCheck(Checked()->SetStyle(Style));
}
void TOrvexBrush::SetBackColor(std::uint32_t Color) const {
  OleCheck(Checked()->SetBackColor(Color));
}
void TOrvexBrush::SetHatchColor(std::uint32_t Color) const {
  OleCheck(Checked()->SetHatchColor(Color));
}
void TOrvexBrush::SetTransparency(std::int32_t Transparent) const {
  OleCheck(Checked()->SetTransparency(Transparent));
}

void TOrvexContourPart::GetVertex(std::int32_t Index, double& X, double& Y,
                                  double& Convexity) const {
  OleCheck(Checked()->GetVertex(Index, &X, &Y, &Convexity));
}
void TOrvexContourPart::SetVertex(std::int32_t Index, double X, double Y, double Convexity) const {
  OleCheck(Checked()->SetVertex(Index, X, Y, Convexity));
}
void TOrvexContourPart::InsertVertex(std::int32_t Index, double X, double Y,
                                     double Convexity) const {
  OleCheck(Checked()->InsertVertex(Index, X, Y, Convexity));
}
void TOrvexContourPart::SetClosed(bool Closed) const {
  OleCheck(Checked()->SetClosed(Closed ? -1 : 0));
}

std::int32_t TOrvexContour::GetPartCount() const {
  std::int32_t Count = 0;
  OleCheck(Checked()->GetPartCount(&Count));
  return Count;
}
TOrvexContourPart TOrvexContour::GetPart(std::int32_t Index) const {
  return TOrvexContourPart(OutInterface<IOrvexContourPart>(
      [&](IOrvexContourPart** P) { return Checked()->GetPart(Index, P); }));
}
TOrvexContourPart TOrvexContour::AddPart(std::int32_t Index) const {
  return TOrvexContourPart(OutInterface<IOrvexContourPart>(
      [&](IOrvexContourPart** P) { return Checked()->AddPart(Index, P); }));
}

compat::TComPtr<IDispatch> TOrvexCanvas::GetScale(double& Scale) const {
  return OutInterface<IDispatch>([&](IDispatch** O) { return Checked()->GetScale(O, &Scale); });
}
TOrvexPen TOrvexCanvas::GetPen() const {
  return TOrvexPen(OutInterface<IOrvexPen>([&](IOrvexPen** P) { return Checked()->GetPen(P); }));
}
TOrvexBrush TOrvexCanvas::GetBrush() const {
  return TOrvexBrush(
      OutInterface<IOrvexBrush>([&](IOrvexBrush** B) { return Checked()->GetBrush(B); }));
}
void TOrvexCanvas::DrawContour(IOrvexContour* Contour, std::int32_t Mode) const {
  OleCheck(Checked()->DrawContour(Contour, Mode));
}

TOrvexApplication TOrvexApplication::FromManager(IUnknown* Manager) {
  if (!Manager) RaiseEmptyHolder();
  IOrvexApplication* App = nullptr;
  if (FAILED(Manager->QueryInterface(IID_IOrvexApplication, reinterpret_cast<void**>(&App))) ||
      !App)
    RaiseEmptyHolder();
  return TOrvexApplication(compat::TComPtr<IOrvexApplication>::Attach(App));
}

TOrvexSettingsStore TOrvexApplication::GetSettingsStore() const {
  return TOrvexSettingsStore(OutInterface<IOrvexSettingsStore>(
      [&](IOrvexSettingsStore** S) { return Checked()->GetSettingsStore(S); }));
}

compat::TComPtr<IOrvexMapView> TOrvexApplication::GetMapView() const {
  auto Document = OutInterface<IOrvexDocument>(
      [&](IOrvexDocument** D) { return Checked()->GetActiveDocument(D); });
  if (!Document) RaiseEmptyHolder();
  auto View =
      OutInterface<IOrvexMapView>([&](IOrvexMapView** V) { return Document->GetMapView(V); });
  if (!View) RaiseEmptyHolder();
  return View;
}

void TOrvexApplication::MapViewOperation7() const {
  OleCheck(GetMapView()->Operation7());
}

TOrvexCanvas TOrvexApplication::GetCanvas() const {
  const auto View = GetMapView();
  return TOrvexCanvas(
      OutInterface<IOrvexCanvas>([&](IOrvexCanvas** C) { return View->GetCanvas(C); }));
}

TOrvexContour TOrvexApplication::NewPaintContour() const {
  VARIANT Empty;
  VariantInit(&Empty);
  auto Object =
      OutInterface<IDispatch>([&](IDispatch** O) { return Checked()->CreateContour(0, Empty, O); });
  if (!Object) RaiseEmptyHolder();
  IOrvexContour* Contour = nullptr;
  if (FAILED(Object->QueryInterface(IID_IOrvexContour, reinterpret_cast<void**>(&Contour))) ||
      !Contour)
    throw EIntfCastError("Interface not supported");
  return TOrvexContour(compat::TComPtr<IOrvexContour>::Attach(Contour));
}

void CallScaleOperation10(IDispatch* ScaleObject) {
  if (!ScaleObject) return;
  OleCheck(static_cast<IOrvexViewport*>(ScaleObject)->Operation10());
}

}  // namespace kx
