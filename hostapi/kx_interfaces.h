// The host's add-on interfaces: those the module calls and those it
// implements. Own methods follow IUnknown's slots in the host's order; slots
// the module never calls are reserved methods so that every own index holds.
#pragma once

#include "compat/com.h"
#include "hostapi/kx_records.h"

namespace kx {

using compat::ParseGuid;

// Host texts other than identifiers.
using TKxText = compat::ShortString255;

#define KX_RESERVED(N) virtual HRESULT STDMETHODCALLTYPE Reserved##N() = 0

// ---- Implemented by the add-on ----

class IKxMacroAttrsList : public IUnknown {
 public:
  virtual HRESULT STDMETHODCALLTYPE GetItem(std::int32_t Index, TKxMacroAttrs* Rec) = 0;  // 0
  virtual HRESULT STDMETHODCALLTYPE GetCount(std::int32_t* Count) = 0;                    // 1
  virtual HRESULT STDMETHODCALLTYPE Clear() = 0;                                          // 2
  virtual HRESULT STDMETHODCALLTYPE Insert(std::int32_t Index, const TKxMacroAttrs* Rec) = 0;
};

class IKxContextMacroAttrsList : public IUnknown {
 public:
  virtual HRESULT STDMETHODCALLTYPE GetItem(std::int32_t Index, TKxContextMacroAttrs* Rec) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetCount(std::int32_t* Count) = 0;
  virtual HRESULT STDMETHODCALLTYPE Clear() = 0;
  virtual HRESULT STDMETHODCALLTYPE Insert(std::int32_t Index, const TKxContextMacroAttrs* Rec) = 0;
};

class IKxParamsList;

class IKxAddOn : public IUnknown {
 public:
  virtual HRESULT STDMETHODCALLTYPE GetInfo(TKxAddOnInfo* Info) = 0;          // 0
  virtual HRESULT STDMETHODCALLTYPE Connect(IUnknown* Manager) = 0;           // 1
  virtual HRESULT STDMETHODCALLTYPE Disconnect() = 0;                         // 2
  virtual HRESULT STDMETHODCALLTYPE GetMacros(IKxMacroAttrsList** List) = 0;  // 3
  virtual HRESULT STDMETHODCALLTYPE ExecuteMacro(std::int32_t Index, std::int32_t Param) = 0;
  virtual HRESULT STDMETHODCALLTYPE Notify(std::int32_t Code, IKxParamsList* Params) = 0;
  // S_OK when the bitmap was written, S_FALSE when there was none to write.
  virtual HRESULT STDMETHODCALLTYPE SaveBitmap(IStream* Stream, HBITMAP Bitmap) = 0;  // 6
};

// Bits of the Shift argument of the editor's mouse and key events.
inline constexpr std::int32_t kxShiftStateShift = 1;
inline constexpr std::int32_t kxShiftStateAlt = 2;
inline constexpr std::int32_t kxShiftStateCtrl = 4;

// Points are view pixels, passed as two separate 32-bit values.
class IKxEditor : public IUnknown {
 public:
  virtual HRESULT STDMETHODCALLTYPE GetOptions(std::uint32_t* Options) = 0;  // 0
  virtual HRESULT STDMETHODCALLTYPE Hook1() = 0;
  virtual HRESULT STDMETHODCALLTYPE Hook2(std::int32_t X, std::int32_t Y) = 0;
  virtual HRESULT STDMETHODCALLTYPE MouseDown(std::int32_t Button, std::int32_t Shift,
                                              std::int32_t X, std::int32_t Y) = 0;
  virtual HRESULT STDMETHODCALLTYPE MouseMove(std::int32_t Shift, std::int32_t X,
                                              std::int32_t Y) = 0;
  virtual HRESULT STDMETHODCALLTYPE MouseUp(std::int32_t Button, std::int32_t Shift, std::int32_t X,
                                            std::int32_t Y) = 0;
  virtual HRESULT STDMETHODCALLTYPE KeyDown(std::uint16_t Key, std::int32_t Shift) = 0;
  virtual HRESULT STDMETHODCALLTYPE KeyUp(std::uint16_t Key, std::int32_t Shift) = 0;
  virtual HRESULT STDMETHODCALLTYPE Hook8() = 0;
  virtual HRESULT STDMETHODCALLTYPE Hook9(std::int32_t Value) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetContextMacros(IKxContextMacroAttrsList** List,
                                                     std::int32_t X, std::int32_t Y) = 0;  // 10
  virtual HRESULT STDMETHODCALLTYPE ExecuteContextMacro(std::int32_t Value1,
                                                        std::int32_t Value2) = 0;
  virtual HRESULT STDMETHODCALLTYPE Hook12() = 0;
  virtual HRESULT STDMETHODCALLTYPE Paint() = 0;  // 13
};

// ---- Called by the add-on ----

class IKxAddOnManager : public IUnknown {
 public:
  virtual HRESULT STDMETHODCALLTYPE GetMainWindow(HWND* Wnd) = 0;         // 0
  virtual HRESULT STDMETHODCALLTYPE GetApplicationWindow(HWND* Wnd) = 0;  // 1
};

class IKxErrorInfo : public IUnknown {
 public:
  virtual HRESULT STDMETHODCALLTYPE SetLastError(const TKxText* Source, const TKxText* Message) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetLastError(TKxText* Source, TKxText* Message) = 0;
};

class IKxIDsList : public IUnknown {
 public:
  virtual HRESULT STDMETHODCALLTYPE GetID(std::int32_t Index, TKxID* ID) = 0;  // 0
  virtual HRESULT STDMETHODCALLTYPE GetCount(std::int32_t* Count) = 0;         // 1
};

class IKxParamsList : public IUnknown {
 public:
  virtual HRESULT STDMETHODCALLTYPE GetParam(std::int32_t Index, VARIANT* Value) = 0;  // 0
};

class IKxContour : public IUnknown {
 public:
  virtual HRESULT STDMETHODCALLTYPE Clear() = 0;  // 0
  // S_OK: a command was returned; S_FALSE: there are no more.
  virtual HRESULT STDMETHODCALLTYPE GetFirstCommand(TKxContourCommand* Cmd) = 0;   // 1
  virtual HRESULT STDMETHODCALLTYPE GetNextCommand(TKxContourCommand* Cmd) = 0;    // 2
  virtual HRESULT STDMETHODCALLTYPE AddCommand(const TKxContourCommand* Cmd) = 0;  // 3
  KX_RESERVED(4);
  KX_RESERVED(5);
  virtual HRESULT STDMETHODCALLTYPE DeleteCommand(std::int32_t Index) = 0;  // 6
  virtual HRESULT STDMETHODCALLTYPE GetCommand(std::int32_t Index, TKxContourCommand* Cmd) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetCommandCount(std::int32_t* Count) = 0;  // 8
};

class IKxShapeList : public IUnknown {
 public:
  KX_RESERVED(0);
  virtual HRESULT STDMETHODCALLTYPE AddShape(IKxContour* Contour, const TKxID* StyleID) = 0;  // 1
  KX_RESERVED(2);
  KX_RESERVED(3);
  virtual HRESULT STDMETHODCALLTYPE GetCount(std::int32_t* Count) = 0;  // 4
  virtual HRESULT STDMETHODCALLTYPE GetShapeContour(std::int32_t Index, IKxContour** Contour) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetShapeStyle(std::int32_t Index, TKxID* StyleID) = 0;  // 6
};

class IKxStyle : public IUnknown {
 public:
  KX_RESERVED(0);
  virtual HRESULT STDMETHODCALLTYPE GetStyleLayers(IKxIDsList** Layers) = 0;  // 1
  virtual HRESULT STDMETHODCALLTYPE GetStyleInfo(TKxStyleInfo* Info) = 0;     // 2
};

class IKxGISDatabase : public IUnknown {
 public:
  KX_RESERVED(0);
  KX_RESERVED(1);
  KX_RESERVED(2);
  KX_RESERVED(3);
  KX_RESERVED(4);
  virtual HRESULT STDMETHODCALLTYPE GetMapInfo(const TKxID* MapID, TKxMapInfo* Info) = 0;       // 5
  virtual HRESULT STDMETHODCALLTYPE GetMapLayers(const TKxID* MapID, IKxIDsList** Layers) = 0;  // 6
  virtual HRESULT STDMETHODCALLTYPE GetLayerInfo(const TKxID* LayerID, TKxLayerInfo* Info) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetLayerStyles(const TKxID* LayerID, IKxIDsList** Styles) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetStyle(const TKxID* StyleID, IKxStyle** Style) = 0;  // 9
};

class IKxMapProject : public IUnknown {
 public:
  KX_RESERVED(0);
  KX_RESERVED(1);
  KX_RESERVED(2);
  KX_RESERVED(3);
  KX_RESERVED(4);
  KX_RESERVED(5);
  KX_RESERVED(6);
  virtual HRESULT STDMETHODCALLTYPE GetMaps(IKxIDsList** Maps) = 0;  // 7
};

class IKxMapObjects : public IUnknown {
 public:
  virtual HRESULT STDMETHODCALLTYPE NewContour(IKxContour** Contour) = 0;   // 0
  virtual HRESULT STDMETHODCALLTYPE NewShapeList(IKxShapeList** List) = 0;  // 1
  virtual HRESULT STDMETHODCALLTYPE CreateObject(const TKxID* LayerID, IKxShapeList* Shapes,
                                                 TKxID* NewID) = 0;  // 2
  KX_RESERVED(3);
  virtual HRESULT STDMETHODCALLTYPE GetObjectShapes(const TKxID* ObjectID,
                                                    IKxShapeList** Shapes) = 0;  // 4
};

// The parameterless operations at 5 and 27 are the host's; the add-on calls
// 5 before it installs its editor and 27 before it handles a click.
class IKxMapView : public IUnknown {
 public:
  KX_RESERVED(0);
  KX_RESERVED(1);
  KX_RESERVED(2);
  KX_RESERVED(3);
  KX_RESERVED(4);
  virtual HRESULT STDMETHODCALLTYPE Operation5() = 0;  // 5
  KX_RESERVED(6);
  virtual HRESULT STDMETHODCALLTYPE GetSelection(IKxIDsList** Selection) = 0;  // 7
  KX_RESERVED(8);
  KX_RESERVED(9);
  KX_RESERVED(10);
  KX_RESERVED(11);
  KX_RESERVED(12);
  KX_RESERVED(13);
  KX_RESERVED(14);
  KX_RESERVED(15);
  virtual HRESULT STDMETHODCALLTYPE SetEditor(IKxEditor* Editor) = 0;  // 16
  KX_RESERVED(17);
  KX_RESERVED(18);
  virtual HRESULT STDMETHODCALLTYPE Invalidate() = 0;  // 19
  KX_RESERVED(20);
  KX_RESERVED(21);
  KX_RESERVED(22);
  KX_RESERVED(23);
  KX_RESERVED(24);
  KX_RESERVED(25);
  KX_RESERVED(26);
  virtual HRESULT STDMETHODCALLTYPE Operation27() = 0;  // 27
  KX_RESERVED(28);
  virtual HRESULT STDMETHODCALLTYPE MapToDevice(double X, double Y, std::int32_t* DX,
                                                std::int32_t* DY) = 0;  // 29
  virtual HRESULT STDMETHODCALLTYPE DeviceToMap(std::int32_t X, std::int32_t Y, double* MX,
                                                double* MY) = 0;  // 30
};

// ---- Optional: asked for by QueryInterface, absent from older hosts ----

// An editor's transient drawing (a rubber line, a snap marker), kept apart
// from its Paint so that a mouse move redraws only that.
class IKxEditorOverlay : public IUnknown {
 public:
  // Draws through the same drawing surface as Paint, over what Paint drew;
  // the host calls it after every Paint and on IKxMapViewOverlay's
  // InvalidateOverlay.
  virtual HRESULT STDMETHODCALLTYPE PaintOverlay() = 0;  // 0
};

// A map view that keeps the picture of the map and of the editor's Paint
// and redraws the editor's overlay alone over it.
class IKxMapViewOverlay : public IUnknown {
 public:
  // The overlay changed, nothing else: the view shows the picture it kept
  // and asks the editor's IKxEditorOverlay to paint over it.
  virtual HRESULT STDMETHODCALLTYPE InvalidateOverlay() = 0;  // 0
  // The view's size in pixels, so that an editor can leave out what falls
  // outside it.
  virtual HRESULT STDMETHODCALLTYPE GetClientSize(std::int32_t* Width, std::int32_t* Height) = 0;
};

// Taken at Connect, never called.
class IKxGeometryLib : public IUnknown {};
class IKxPreferences : public IUnknown {};

#undef KX_RESERVED

// ---- Interface identifiers ----

inline constexpr GUID IID_IKxAddOnManager = ParseGuid("{C8F84411-1878-11D0-9DF1-444553540000}");
inline constexpr GUID IID_IKxGISDatabase = ParseGuid("{C8F84412-1878-11D0-9DF1-444553540000}");
inline constexpr GUID IID_IKxMapProject = ParseGuid("{C8F84413-1878-11D0-9DF1-444553540000}");
inline constexpr GUID IID_IKxMapObjects = ParseGuid("{C8F84414-1878-11D0-9DF1-444553540000}");
inline constexpr GUID IID_IKxMapView = ParseGuid("{C8F84415-1878-11D0-9DF1-444553540000}");
inline constexpr GUID IID_IKxErrorInfo = ParseGuid("{C8F84416-1878-11D0-9DF1-444553540000}");
inline constexpr GUID IID_IKxGeometryLib = ParseGuid("{C8F84417-1878-11D0-9DF1-444553540000}");
inline constexpr GUID IID_IKxPreferences = ParseGuid("{C8F84418-1878-11D0-9DF1-444553540000}");
inline constexpr GUID IID_IKxIDsList = ParseGuid("{C8F84441-1878-11D0-9DF1-444553540000}");
inline constexpr GUID IID_IKxMacroAttrsList = ParseGuid("{C8F84442-1878-11D0-9DF1-444553540000}");
inline constexpr GUID IID_IKxParamsList = ParseGuid("{C8F84443-1878-11D0-9DF1-444553540000}");
inline constexpr GUID IID_IKxContextMacroAttrsList =
    ParseGuid("{C8F84444-1878-11D0-9DF1-444553540000}");
inline constexpr GUID IID_IKxContour = ParseGuid("{C8F84451-1878-11D0-9DF1-444553540000}");
inline constexpr GUID IID_IKxShapeList = ParseGuid("{C8F84452-1878-11D0-9DF1-444553540000}");
inline constexpr GUID IID_IKxEditor = ParseGuid("{C8F84453-1878-11D0-9DF1-444553540000}");
inline constexpr GUID IID_IKxStyle = ParseGuid("{C8F84458-1878-11D0-9DF1-444553540000}");
inline constexpr GUID IID_IKxAddOn = ParseGuid("{C8F844A1-1878-11D0-9DF1-444553540000}");
inline constexpr GUID IID_IKxEditorOverlay = ParseGuid("{23D3E63B-01DE-4CB5-9ED4-2C8593B4B4CE}");
inline constexpr GUID IID_IKxMapViewOverlay = ParseGuid("{F601933A-7744-4861-925D-A5B213D56685}");

}  // namespace kx
