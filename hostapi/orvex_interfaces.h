// The host application's own interfaces, reached from IOrvexApplication.
// They derive from IDispatch; own index 0 is the first method after
// IDispatch's. Slots the module never calls are reserved methods.
#pragma once

#include "compat/com.h"
#include "hostapi/kx_interfaces.h"

namespace kx {

#define ORVEX_RESERVED(N) virtual HRESULT STDMETHODCALLTYPE Reserved##N() = 0

// The host's persistent settings store; the two leading arguments select the
// store's section and are the host's.
class IOrvexSettingsStore : public IDispatch {
 public:
  virtual HRESULT STDMETHODCALLTYPE ReadValue(std::int32_t Section, std::int32_t Kind,
                                              const TKxText* Key, const TKxText* Default,
                                              TKxText* Value) = 0;  // 0
  virtual HRESULT STDMETHODCALLTYPE WriteValue(std::int32_t Section, std::int32_t Kind,
                                               const TKxText* Key, const TKxText* Value) = 0;
};

class IOrvexPen : public IDispatch {
 public:
  ORVEX_RESERVED(0);
  virtual HRESULT STDMETHODCALLTYPE SetStyle(std::int32_t Style) = 0;  // 1
  ORVEX_RESERVED(2);
  virtual HRESULT STDMETHODCALLTYPE SetWidth(double Width) = 0;  // 3
  ORVEX_RESERVED(4);
  virtual HRESULT STDMETHODCALLTYPE SetWidthScale(double Scale) = 0;  // 5
  ORVEX_RESERVED(6);
  virtual HRESULT STDMETHODCALLTYPE SetColor(std::uint32_t Color) = 0;  // 7
  ORVEX_RESERVED(8);
  virtual HRESULT STDMETHODCALLTYPE SetMode(std::int32_t Mode) = 0;  // 9
};

class IOrvexBrush : public IDispatch {
 public:
  ORVEX_RESERVED(0);
  virtual HRESULT STDMETHODCALLTYPE SetStyle(std::int32_t Style) = 0;  // 1
  ORVEX_RESERVED(2);
  virtual HRESULT STDMETHODCALLTYPE SetBackColor(std::uint32_t Color) = 0;  // 3
  ORVEX_RESERVED(4);
  virtual HRESULT STDMETHODCALLTYPE SetHatchColor(std::uint32_t Color) = 0;  // 5
  ORVEX_RESERVED(6);
  virtual HRESULT STDMETHODCALLTYPE SetTransparency(std::int32_t Transparent) = 0;  // 7
};

class IOrvexContourPart : public IDispatch {
 public:
  ORVEX_RESERVED(0);
  virtual HRESULT STDMETHODCALLTYPE GetVertex(std::int32_t Index, double* X, double* Y,
                                              double* Convexity) = 0;  // 1
  virtual HRESULT STDMETHODCALLTYPE SetVertex(std::int32_t Index, double X, double Y,
                                              double Convexity) = 0;  // 2
  // Index -1 appends.
  virtual HRESULT STDMETHODCALLTYPE InsertVertex(std::int32_t Index, double X, double Y,
                                                 double Convexity) = 0;  // 3
  ORVEX_RESERVED(4);
  // -1 closed, 0 open.
  virtual HRESULT STDMETHODCALLTYPE SetClosed(std::int32_t Closed) = 0;  // 5
};

class IOrvexContour : public IDispatch {
 public:
  virtual HRESULT STDMETHODCALLTYPE GetPartCount(std::int32_t* Count) = 0;                      // 0
  virtual HRESULT STDMETHODCALLTYPE GetPart(std::int32_t Index, IOrvexContourPart** Part) = 0;  // 1
  ORVEX_RESERVED(2);
  // Index -1 appends.
  virtual HRESULT STDMETHODCALLTYPE AddPart(std::int32_t Index, IOrvexContourPart** Part) = 0;  // 3
};

// The object that the drawing surface hands out with its scale; the add-on
// calls its parameterless operation 10 before it uses the scale.
class IOrvexViewport : public IDispatch {
 public:
  ORVEX_RESERVED(0);
  ORVEX_RESERVED(1);
  ORVEX_RESERVED(2);
  ORVEX_RESERVED(3);
  ORVEX_RESERVED(4);
  ORVEX_RESERVED(5);
  ORVEX_RESERVED(6);
  ORVEX_RESERVED(7);
  ORVEX_RESERVED(8);
  ORVEX_RESERVED(9);
  virtual HRESULT STDMETHODCALLTYPE Operation10() = 0;  // 10
};

// The map view's drawing surface.
class IOrvexCanvas : public IDispatch {
 public:
  ORVEX_RESERVED(0);
  ORVEX_RESERVED(1);
  ORVEX_RESERVED(2);
  ORVEX_RESERVED(3);
  // Object is an IOrvexViewport; Scale is 1/N for the view's scale 1:N.
  virtual HRESULT STDMETHODCALLTYPE GetScale(IDispatch** Object, double* Scale) = 0;  // 4
  virtual HRESULT STDMETHODCALLTYPE GetPen(IOrvexPen** Pen) = 0;                      // 5
  virtual HRESULT STDMETHODCALLTYPE GetBrush(IOrvexBrush** Brush) = 0;                // 6
  ORVEX_RESERVED(7);
  virtual HRESULT STDMETHODCALLTYPE DrawContour(IOrvexContour* Contour, std::int32_t Mode) = 0;
};

// Steps on the way from the application to the drawing surface: the
// application's [0], then [1] on that, then [0] on the result.
class IOrvexMapView : public IDispatch {
 public:
  virtual HRESULT STDMETHODCALLTYPE GetCanvas(IOrvexCanvas** Canvas) = 0;  // 0
  ORVEX_RESERVED(1);
  ORVEX_RESERVED(2);
  ORVEX_RESERVED(3);
  ORVEX_RESERVED(4);
  ORVEX_RESERVED(5);
  ORVEX_RESERVED(6);
  // Called by the settings dialog after it stored new drawing settings.
  virtual HRESULT STDMETHODCALLTYPE Operation7() = 0;  // 7
};

class IOrvexDocument : public IDispatch {
 public:
  ORVEX_RESERVED(0);
  virtual HRESULT STDMETHODCALLTYPE GetMapView(IOrvexMapView** View) = 0;  // 1
};

class IOrvexApplication : public IDispatch {
 public:
  virtual HRESULT STDMETHODCALLTYPE GetActiveDocument(IOrvexDocument** Document) = 0;  // 0
  ORVEX_RESERVED(1);
  ORVEX_RESERVED(2);
  ORVEX_RESERVED(3);
  virtual HRESULT STDMETHODCALLTYPE GetSettingsStore(IOrvexSettingsStore** Store) = 0;  // 4
  // Kind 0 with an empty Param gives a paint contour, taken as IOrvexContour.
  virtual HRESULT STDMETHODCALLTYPE CreateContour(std::int32_t Kind, VARIANT Param,
                                                  IDispatch** Contour) = 0;  // 5
};

#undef ORVEX_RESERVED

inline constexpr GUID IID_IOrvexApplication = ParseGuid("{8D1AFC63-603C-11D3-9632-000021C6D845}");
inline constexpr GUID IID_IOrvexContour = ParseGuid("{87B87C59-9BFA-11D3-968D-000021C6D845}");
inline constexpr GUID IID_IOrvexContourPart = ParseGuid("{87B87C5D-9BFA-11D3-968D-000021C6D845}");

}  // namespace kx
