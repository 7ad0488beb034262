// One record per host interface. Each holds a counted reference and checks
// every HRESULT of its calls: a failure raises EHResultError with the host's
// last error text (OleCheck).
#pragma once

#include <cstdint>

#include "addonkit/hresult_error.h"
#include "compat/com_ptr.h"
#include "hostapi/kx_interfaces.h"

namespace kx {

template <class T>
class TKxHolder {
 public:
  TKxHolder() = default;
  explicit TKxHolder(compat::TComPtr<T> Intf) : FIntf(std::move(Intf)) {}

  T* Intf() const { return FIntf.Get(); }
  explicit operator bool() const { return static_cast<bool>(FIntf); }
  void Release() { FIntf.Reset(); }

 protected:
  // Raises instead of dereferencing an empty holder.
  T* Checked() const;

 private:
  compat::TComPtr<T> FIntf;
};

class TKxAddOnManager : public TKxHolder<IKxAddOnManager> {
 public:
  using TKxHolder::TKxHolder;
  HWND GetMainWindow() const;
  HWND GetApplicationWindow() const;
};

class TKxIDsList : public TKxHolder<IKxIDsList> {
 public:
  using TKxHolder::TKxHolder;
  TKxID GetID(std::int32_t Index) const;
  std::int32_t GetCount() const;
};

class TKxParamsList : public TKxHolder<IKxParamsList> {
 public:
  using TKxHolder::TKxHolder;
  // The caller owns the value (VariantClear where the host gives strings).
  VARIANT GetParam(std::int32_t Index) const;
};

class TKxContour : public TKxHolder<IKxContour> {
 public:
  using TKxHolder::TKxHolder;
  void Clear() const;
  // False when there is no command to return.
  bool GetFirstCommand(TKxContourCommand& Cmd) const;
  bool GetNextCommand(TKxContourCommand& Cmd) const;
  void AddCommand(const TKxContourCommand& Cmd) const;
  void DeleteCommand(std::int32_t Index) const;
  TKxContourCommand GetCommand(std::int32_t Index) const;
  std::int32_t GetCommandCount() const;
};

class TKxShapeList : public TKxHolder<IKxShapeList> {
 public:
  using TKxHolder::TKxHolder;
  void AddShape(const TKxID& StyleID, IKxContour* Contour) const;
  std::int32_t GetCount() const;
  TKxContour GetShapeContour(std::int32_t Index) const;
  TKxID GetShapeStyle(std::int32_t Index) const;
};

class TKxStyle : public TKxHolder<IKxStyle> {
 public:
  using TKxHolder::TKxHolder;
  TKxIDsList GetStyleLayers() const;
  TKxStyleInfo GetStyleInfo() const;
};

class TKxGISDatabase : public TKxHolder<IKxGISDatabase> {
 public:
  using TKxHolder::TKxHolder;
  TKxMapInfo GetMapInfo(const TKxID& MapID) const;
  TKxIDsList GetMapLayers(const TKxID& MapID) const;
  TKxLayerInfo GetLayerInfo(const TKxID& LayerID) const;
  TKxIDsList GetLayerStyles(const TKxID& LayerID) const;
  TKxStyle GetStyle(const TKxID& StyleID) const;
};

class TKxMapProject : public TKxHolder<IKxMapProject> {
 public:
  using TKxHolder::TKxHolder;
  TKxIDsList GetMaps() const;
};

class TKxMapObjects : public TKxHolder<IKxMapObjects> {
 public:
  using TKxHolder::TKxHolder;
  TKxContour NewContour() const;
  TKxShapeList NewShapeList() const;
  TKxID CreateObject(const TKxID& LayerID, IKxShapeList* Shapes) const;
  TKxShapeList GetObjectShapes(const TKxID& ObjectID) const;
};

struct TKxDevicePoint {
  std::int32_t X;
  std::int32_t Y;
};

class TKxMapView : public TKxHolder<IKxMapView> {
 public:
  using TKxHolder::TKxHolder;
  void Operation5() const;
  TKxIDsList GetSelection() const;
  void SetEditor(IKxEditor* Editor) const;
  void Invalidate() const;
  void Operation27() const;
  TKxDevicePoint MapToDevice(const TKxPoint& P) const;
  TKxPoint DeviceToMap(const TKxDevicePoint& P) const;
};

// Held from Connect to Disconnect; never called.
using TKxGeometryLib = TKxHolder<IKxGeometryLib>;
using TKxPreferences = TKxHolder<IKxPreferences>;

[[noreturn]] void RaiseEmptyHolder();

// Runs a host call C(&Out) that hands out an interface, checks its result
// and adopts the reference.
template <class T, class Call>
compat::TComPtr<T> OutInterface(Call&& C) {
  T* Raw = nullptr;
  OleCheck(C(&Raw));
  return compat::TComPtr<T>::Attach(Raw);
}

template <class T>
T* TKxHolder<T>::Checked() const {
  if (!FIntf) RaiseEmptyHolder();
  return FIntf.Get();
}

}  // namespace kx
