// Host-call records of the host application's own interfaces: the settings
// store and the drawing objects. Like the IKx records, every failed call
// raises EHResultError with the host's last error text.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "addonkit/host_calls.h"
#include "hostapi/orvex_interfaces.h"

namespace kx {

class TOrvexSettingsStore : public TKxHolder<IOrvexSettingsStore> {
 public:
  using TKxHolder::TKxHolder;
  // Texts are UTF-8 here and cp1251 at the host.
  std::string ReadValue(std::int32_t Section, std::int32_t Kind, std::string_view Key,
                        std::string_view Default) const;
  void WriteValue(std::int32_t Section, std::int32_t Kind, std::string_view Key,
                  std::string_view Value) const;
};

class TOrvexPen : public TKxHolder<IOrvexPen> {
 public:
  using TKxHolder::TKxHolder;
  void SetStyle(std::int32_t Style) const;
  void SetWidth(double Width) const;
  void SetWidthScale(double Scale) const;
  void SetColor(std::uint32_t Color) const;
  void SetMode(std::int32_t Mode) const;
};

class TOrvexBrush : public TKxHolder<IOrvexBrush> {
 public:
  using TKxHolder::TKxHolder;
  void SetStyle(std::int32_t Style) const;
  void SetBackColor(std::uint32_t Color) const;
  void SetHatchColor(std::uint32_t Color) const;
  void SetTransparency(std::int32_t Transparent) const;
};

class TOrvexContourPart : public TKxHolder<IOrvexContourPart> {
 public:
  using TKxHolder::TKxHolder;
  void GetVertex(std::int32_t Index, double& X, double& Y, double& Convexity) const;
  void SetVertex(std::int32_t Index, double X, double Y, double Convexity) const;
  // Index -1 appends.
  void InsertVertex(std::int32_t Index, double X, double Y, double Convexity) const;
  void SetClosed(bool Closed) const;
};

class TOrvexContour : public TKxHolder<IOrvexContour> {
 public:
  using TKxHolder::TKxHolder;
  std::int32_t GetPartCount() const;
  TOrvexContourPart GetPart(std::int32_t Index) const;
  // Index -1 appends.
  TOrvexContourPart AddPart(std::int32_t Index = -1) const;
};

class TOrvexCanvas : public TKxHolder<IOrvexCanvas> {
 public:
  using TKxHolder::TKxHolder;
  // The view's scale object and scale value ([4]).
  compat::TComPtr<IDispatch> GetScale(double& Scale) const;
  TOrvexPen GetPen() const;
  TOrvexBrush GetBrush() const;
  void DrawContour(IOrvexContour* Contour, std::int32_t Mode) const;
};

class TOrvexApplication : public TKxHolder<IOrvexApplication> {
 public:
  using TKxHolder::TKxHolder;
  // The application interface of the host behind Manager (by QueryInterface).
  static TOrvexApplication FromManager(IUnknown* Manager);

  TOrvexSettingsStore GetSettingsStore() const;
  // The view's drawing surface: the application's [0], [1] on that, [0] on
  // the result.
  TOrvexCanvas GetCanvas() const;
  // The map view's operation 7 (the same way as to the drawing surface, then
  // [7]), which the settings dialog calls after storing the settings; its
  // effect is the host's.
  void MapViewOperation7() const;
  // A new empty paint contour.
  TOrvexContour NewPaintContour() const;

 private:
  // The application's [0], then [1] on that.
  compat::TComPtr<IOrvexMapView> GetMapView() const;
};

// The parameterless operation [10] of the scale object that
// TOrvexCanvas::GetScale returns; nothing when there is no object.
void CallScaleOperation10(IDispatch* ScaleObject);

}  // namespace kx
