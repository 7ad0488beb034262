// Thin stand-ins for the host's map interfaces: contours, shape lists, ID
// lists, styles, the database, the map objects and the view. Objects live as
// long as the fake that made them.
#pragma once

#include <cmath>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "fake_host.h"

namespace fake {

using Commands = std::vector<kx::TKxContourCommand>;

inline kx::TKxContourCommand Cmd(std::int32_t Kind, double X = 0, double Y = 0, double C = 0) {
  kx::TKxContourCommand R{};
  R.Kind = Kind;
  if (Kind == kx::kxCloseArc) {
    R.CloseConvexity = X;
  } else if (Kind >= kx::kxMoveTo && Kind <= kx::kxArcTo) {
    R.Point = {X, Y};
    R.Convexity = C;
  }
  return R;
}

class TContour : public TObject<kx::IKxContour, kx::IID_IKxContour> {
 public:
  TContour() = default;
  explicit TContour(Commands C) : List(std::move(C)) {}
  HRESULT STDMETHODCALLTYPE Clear() override {
    List.clear();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetFirstCommand(kx::TKxContourCommand* C) override {
    Cursor = 0;
    return GetNextCommand(C);
  }
  HRESULT STDMETHODCALLTYPE GetNextCommand(kx::TKxContourCommand* C) override {
    if (Cursor >= List.size()) return S_FALSE;
    *C = List[Cursor++];
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE AddCommand(const kx::TKxContourCommand* C) override {
    if (FailAdds > 0 && --FailAdds == 0) return E_FAIL;
    List.push_back(*C);
    return S_OK;
  }
  HOST_RESERVED(4)
  HOST_RESERVED(5)
  HRESULT STDMETHODCALLTYPE DeleteCommand(std::int32_t I) override {
    if (I < 0 || I >= static_cast<int>(List.size())) return E_INVALIDARG;
    List.erase(List.begin() + I);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetCommand(std::int32_t I, kx::TKxContourCommand* C) override {
    if (I < 0 || I >= static_cast<int>(List.size())) return E_INVALIDARG;
    *C = List[I];
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetCommandCount(std::int32_t* N) override {
    *N = static_cast<std::int32_t>(List.size());
    return S_OK;
  }
  Commands List;
  size_t Cursor = 0;
  int FailAdds = 0;  // the N-th AddCommand from now fails
};

struct TShape {
  std::string Style;
  Commands List;
};

class TShapeList : public TObject<kx::IKxShapeList, kx::IID_IKxShapeList> {
 public:
  HOST_RESERVED(0)
  HRESULT STDMETHODCALLTYPE AddShape(kx::IKxContour* C, const kx::TKxID* Style) override {
    Shapes.push_back({std::string(Style->Bytes()), static_cast<TContour*>(C)->List});
    return S_OK;
  }
  HOST_RESERVED(2)
  HOST_RESERVED(3)
  HRESULT STDMETHODCALLTYPE GetCount(std::int32_t* N) override {
    *N = static_cast<std::int32_t>(Shapes.size());
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetShapeContour(std::int32_t I, kx::IKxContour** C) override {
    Contours.push_back(std::make_unique<TContour>(Shapes.at(I).List));
    return Hand<kx::IKxContour>(Contours.back().get(), C);
  }
  HRESULT STDMETHODCALLTYPE GetShapeStyle(std::int32_t I, kx::TKxID* Style) override {
    *Style = kx::TKxID::FromBytes(Shapes.at(I).Style);
    return S_OK;
  }
  std::vector<TShape> Shapes;
  std::vector<std::unique_ptr<TContour>> Contours;
};

class TIDsList : public TObject<kx::IKxIDsList, kx::IID_IKxIDsList> {
 public:
  explicit TIDsList(std::vector<std::string> A = {}) : IDs(std::move(A)) {}
  HRESULT STDMETHODCALLTYPE GetID(std::int32_t I, kx::TKxID* ID) override {
    if (I < 0 || I >= static_cast<int>(IDs.size())) return E_INVALIDARG;
    *ID = kx::TKxID::FromBytes(IDs[I]);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetCount(std::int32_t* N) override {
    *N = static_cast<std::int32_t>(IDs.size());
    return S_OK;
  }
  std::vector<std::string> IDs;
};

class TStyle : public TObject<kx::IKxStyle, kx::IID_IKxStyle> {
 public:
  HOST_RESERVED(0)
  HRESULT STDMETHODCALLTYPE GetStyleLayers(kx::IKxIDsList**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetStyleInfo(kx::TKxStyleInfo* I) override {
    *I = Info;
    return S_OK;
  }
  kx::TKxStyleInfo Info{};
};

class TDatabase : public TObject<kx::IKxGISDatabase, kx::IID_IKxGISDatabase> {
 public:
  HOST_RESERVED(0)
  HOST_RESERVED(1)
  HOST_RESERVED(2)
  HOST_RESERVED(3)
  HOST_RESERVED(4)
  HRESULT STDMETHODCALLTYPE GetMapInfo(const kx::TKxID*, kx::TKxMapInfo*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE GetMapLayers(const kx::TKxID*, kx::IKxIDsList**) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE GetLayerInfo(const kx::TKxID*, kx::TKxLayerInfo*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE GetLayerStyles(const kx::TKxID*, kx::IKxIDsList**) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE GetStyle(const kx::TKxID* ID, kx::IKxStyle** S) override {
    GetStyleCalls.push_back(std::string(ID->Bytes()));
    auto It = Styles.find(std::string(ID->Bytes()));
    if (It == Styles.end()) return E_INVALIDARG;
    return Hand<kx::IKxStyle>(It->second.get(), S);
  }
  void AddStyle(const std::string& ID, std::uint32_t Flags) {
    auto S = std::make_unique<TStyle>();
    S->Info.Flags = Flags;
    S->Info.Value1 = 88;
    S->Info.Value2 = 92;
    Styles[ID] = std::move(S);
  }
  std::map<std::string, std::unique_ptr<TStyle>> Styles;
  std::vector<std::string> GetStyleCalls;
};

struct TCreated {
  std::string Layer;
  std::vector<TShape> Shapes;
};

class TMapObjects : public TObject<kx::IKxMapObjects, kx::IID_IKxMapObjects> {
 public:
  HRESULT STDMETHODCALLTYPE NewContour(kx::IKxContour** C) override {
    Contours.push_back(std::make_unique<TContour>());
    return Hand<kx::IKxContour>(Contours.back().get(), C);
  }
  HRESULT STDMETHODCALLTYPE NewShapeList(kx::IKxShapeList** L) override {
    Lists.push_back(std::make_unique<TShapeList>());
    return Hand<kx::IKxShapeList>(Lists.back().get(), L);
  }
  HRESULT STDMETHODCALLTYPE CreateObject(const kx::TKxID* Layer, kx::IKxShapeList* Shapes,
                                         kx::TKxID* NewID) override {
    if (FailCreate) return E_FAIL;
    Created.push_back({std::string(Layer->Bytes()), static_cast<TShapeList*>(Shapes)->Shapes});
    *NewID = kx::TKxID::FromBytes("new" + std::to_string(Created.size()));
    return S_OK;
  }
  HOST_RESERVED(3)
  HRESULT STDMETHODCALLTYPE GetObjectShapes(const kx::TKxID* ID, kx::IKxShapeList** L) override {
    auto It = Objects.find(std::string(ID->Bytes()));
    if (It == Objects.end()) return E_INVALIDARG;
    Lists.push_back(std::make_unique<TShapeList>());
    Lists.back()->Shapes = It->second;
    return Hand<kx::IKxShapeList>(Lists.back().get(), L);
  }
  std::map<std::string, std::vector<TShape>> Objects;
  std::vector<std::unique_ptr<TContour>> Contours;
  std::vector<std::unique_ptr<TShapeList>> Lists;
  std::vector<TCreated> Created;
  bool FailCreate = false;
};

// Map metres to pixels: x to the right, y down, Scale metres per pixel,
// Centre at pixel (0, 0).
class TMapView : public TObject<kx::IKxMapView, kx::IID_IKxMapView> {
 public:
  HOST_RESERVED(0)
  HOST_RESERVED(1)
  HOST_RESERVED(2)
  HOST_RESERVED(3)
  HOST_RESERVED(4)
  HRESULT STDMETHODCALLTYPE Operation5() override { return S_OK; }
  HOST_RESERVED(6)
  HRESULT STDMETHODCALLTYPE GetSelection(kx::IKxIDsList** L) override {
    return Hand<kx::IKxIDsList>(&Selection, L);
  }
  HOST_RESERVED(8)
  HOST_RESERVED(9)
  HOST_RESERVED(10)
  HOST_RESERVED(11)
  HOST_RESERVED(12)
  HOST_RESERVED(13)
  HOST_RESERVED(14)
  HOST_RESERVED(15)
  HRESULT STDMETHODCALLTYPE SetEditor(kx::IKxEditor* E) override {
    Editor = compat::TComPtr<kx::IKxEditor>(E);
    return S_OK;
  }
  HOST_RESERVED(17)
  HOST_RESERVED(18)
  HRESULT STDMETHODCALLTYPE Invalidate() override {
    ++Invalidates;
    return S_OK;
  }
  HOST_RESERVED(20)
  HOST_RESERVED(21)
  HOST_RESERVED(22)
  HOST_RESERVED(23)
  HOST_RESERVED(24)
  HOST_RESERVED(25)
  HOST_RESERVED(26)
  HRESULT STDMETHODCALLTYPE Operation27() override {
    ++Operation27Calls;
    return S_OK;
  }
  HOST_RESERVED(28)
  HRESULT STDMETHODCALLTYPE MapToDevice(double X, double Y, std::int32_t* DX,
                                        std::int32_t* DY) override {
    *DX = static_cast<std::int32_t>(std::lround((X - CX) / Scale));
    *DY = static_cast<std::int32_t>(std::lround((CY - Y) / Scale));
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE DeviceToMap(std::int32_t X, std::int32_t Y, double* MX,
                                        double* MY) override {
    *MX = CX + X * Scale;
    *MY = CY - Y * Scale;
    return S_OK;
  }
  double CX = 0, CY = 0, Scale = 1;
  TIDsList Selection;
  compat::TComPtr<kx::IKxEditor> Editor;
  int Invalidates = 0;
  int Operation27Calls = 0;
};

// The add-on manager; its QueryInterface also gives the application.
class TManager : public TObject<kx::IKxAddOnManager, kx::IID_IKxAddOnManager> {
 public:
  explicit TManager(TApplication& A) : App(A) {}
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID Id, void** Obj) override {
    if (Id == kx::IID_IOrvexApplication) {
      *Obj = static_cast<kx::IOrvexApplication*>(&App);
      App.AddRef();
      return S_OK;
    }
    return TObject<kx::IKxAddOnManager, kx::IID_IKxAddOnManager>::QueryInterface(Id, Obj);
  }
  HRESULT STDMETHODCALLTYPE GetMainWindow(HWND* W) override {
    *W = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetApplicationWindow(HWND* W) override {
    *W = 0;
    return S_OK;
  }
  TApplication& App;
};

// The host side that an add-on object holds after Connect.
struct TFakeHost {
  TApplication App;
  TManager Manager{App};
  TDatabase Database;
  TMapObjects Objects;
  TMapView View;

  template <class AddOn>
  void Attach(AddOn& A) {
    A.AddOnManager = kx::TKxAddOnManager(compat::TComPtr<kx::IKxAddOnManager>(&Manager));
    A.GISDatabase = kx::TKxGISDatabase(compat::TComPtr<kx::IKxGISDatabase>(&Database));
    A.MapObjects = kx::TKxMapObjects(compat::TComPtr<kx::IKxMapObjects>(&Objects));
    A.MapView = kx::TKxMapView(compat::TComPtr<kx::IKxMapView>(&View));
  }
};

}  // namespace fake
