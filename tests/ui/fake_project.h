// A small host project of maps, layers and styles behind the database and
// project interfaces, with call counts and one failure switch.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "host/host_object.h"
#include "hostapi/kx_interfaces.h"

namespace test {

class TFakeIDs : public host::THostObject<kx::IKxIDsList, kx::IID_IKxIDsList> {
 public:
  explicit TFakeIDs(std::vector<kx::TKxID> AIDs) : IDs(std::move(AIDs)) {}
  HRESULT STDMETHODCALLTYPE GetID(std::int32_t Index, kx::TKxID* ID) override {
    if (Index < 0 || Index >= static_cast<int>(IDs.size())) return E_INVALIDARG;
    *ID = IDs[Index];
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetCount(std::int32_t* Count) override {
    *Count = static_cast<std::int32_t>(IDs.size());
    return S_OK;
  }
  std::vector<kx::TKxID> IDs;
};

class TFakeProject;

class TFakeStyle : public host::THostObject<kx::IKxStyle, kx::IID_IKxStyle> {
 public:
  HOST_RESERVED(0)
  HRESULT STDMETHODCALLTYPE GetStyleLayers(kx::IKxIDsList** Layers) override;
  HRESULT STDMETHODCALLTYPE GetStyleInfo(kx::TKxStyleInfo* Info) override {
    *Info = kx::TKxStyleInfo{};
    Info->Name.AssignUtf8(Name);
    return S_OK;
  }
  TFakeProject* Owner = nullptr;
  std::string Name;
  std::vector<kx::TKxID> Layers;
};

inline kx::TKxID ID(const char* Utf8) {
  return kx::TKxID::FromUtf8(Utf8);
}

class TFakeProject : public host::THostObject<kx::IKxGISDatabase, kx::IID_IKxGISDatabase> {
 public:
  struct TMap {
    std::string Name;
    std::vector<kx::TKxID> Layers;
  };
  struct TLayer {
    std::string Name;
    kx::TKxID Map;
    std::vector<kx::TKxID> Styles;
  };

  void AddMap(const char* MapID, const char* Name) {
    Maps[MapID] = {Name, {}};
    MapOrder.push_back(ID(MapID));
  }
  void AddLayer(const char* MapID, const char* LayerID, const char* Name) {
    Layers[LayerID] = {Name, ID(MapID), {}};
    Maps[MapID].Layers.push_back(ID(LayerID));
  }
  void AddStyle(const char* LayerID, const char* StyleID, const char* Name) {
    auto& S = Styles[StyleID];
    if (!S) {
      S = std::make_unique<TFakeStyle>();
      S->Owner = this;
      S->Name = Name;
    }
    S->Layers.push_back(ID(LayerID));
    Layers[LayerID].Styles.push_back(ID(StyleID));
  }

  HOST_RESERVED(0)
  HOST_RESERVED(1)
  HOST_RESERVED(2)
  HOST_RESERVED(3)
  HOST_RESERVED(4)
  HRESULT STDMETHODCALLTYPE GetMapInfo(const kx::TKxID* MapID, kx::TKxMapInfo* Info) override {
    const auto It = Maps.find(MapID->ToUtf8());
    if (It == Maps.end()) return E_INVALIDARG;
    *Info = kx::TKxMapInfo{};
    Info->ID = *MapID;
    Info->Name.AssignUtf8(It->second.Name);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetMapLayers(const kx::TKxID* MapID, kx::IKxIDsList** Out) override {
    const auto It = Maps.find(MapID->ToUtf8());
    return It == Maps.end() ? E_INVALIDARG : List(It->second.Layers, Out);
  }
  HRESULT STDMETHODCALLTYPE GetLayerInfo(const kx::TKxID* LayerID,
                                         kx::TKxLayerInfo* Info) override {
    const auto It = Layers.find(LayerID->ToUtf8());
    if (It == Layers.end()) return E_INVALIDARG;
    *Info = kx::TKxLayerInfo{};
    Info->MapID = It->second.Map;
    Info->Name.AssignUtf8(It->second.Name);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetLayerStyles(const kx::TKxID* LayerID,
                                           kx::IKxIDsList** Out) override {
    if (FailLayerStyles) return E_FAIL;
    const auto It = Layers.find(LayerID->ToUtf8());
    return It == Layers.end() ? E_INVALIDARG : List(It->second.Styles, Out);
  }
  HRESULT STDMETHODCALLTYPE GetStyle(const kx::TKxID* StyleID, kx::IKxStyle** Out) override {
    ++GetStyleCalls;
    const auto It = Styles.find(StyleID->ToUtf8());
    if (It == Styles.end()) return E_INVALIDARG;
    *Out = It->second.get();
    (*Out)->AddRef();
    return S_OK;
  }

  HRESULT List(const std::vector<kx::TKxID>& IDs, kx::IKxIDsList** Out) {
    Lists.push_back(std::make_unique<TFakeIDs>(IDs));
    *Out = Lists.back().get();
    (*Out)->AddRef();
    return S_OK;
  }

  // The project interface: the maps in display order.
  class TProject : public host::THostObject<kx::IKxMapProject, kx::IID_IKxMapProject> {
   public:
    explicit TProject(TFakeProject* AOwner) : Owner(AOwner) {}
    HOST_RESERVED(0)
    HOST_RESERVED(1)
    HOST_RESERVED(2)
    HOST_RESERVED(3)
    HOST_RESERVED(4)
    HOST_RESERVED(5)
    HOST_RESERVED(6)
    HRESULT STDMETHODCALLTYPE GetMaps(kx::IKxIDsList** Out) override {
      return Owner->List(Owner->MapOrder, Out);
    }
    TFakeProject* Owner;
  };

  TProject Project{this};
  std::map<std::string, TMap> Maps;
  std::vector<kx::TKxID> MapOrder;
  std::map<std::string, TLayer> Layers;
  std::map<std::string, std::unique_ptr<TFakeStyle>> Styles;
  std::vector<std::unique_ptr<TFakeIDs>> Lists;
  int GetStyleCalls = 0;
  bool FailLayerStyles = false;
};

inline HRESULT STDMETHODCALLTYPE TFakeStyle::GetStyleLayers(kx::IKxIDsList** Out) {
  return Owner->List(Layers, Out);
}

}  // namespace test
