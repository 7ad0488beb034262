// Thin stand-ins for host objects, for the trace suites: every object
// lives as long as the fake that made it; reference counts are kept but
// reaching 0 frees nothing. Each interface can be told to fail.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "host/host_object.h"
#include "hostapi/kx_interfaces.h"
#include "hostapi/orvex_interfaces.h"

namespace fake {

template <class Intf, const GUID& Iid>
using TObject = host::THostObject<Intf, Iid>;
template <class Intf, const GUID& Iid>
using TDispatch = host::THostDispatchObject<Intf, Iid>;

template <class T>
HRESULT Hand(T* Object, T** Out) {
  *Out = Object;
  if (Object) Object->AddRef();
  return S_OK;
}

#define FAKE_RESERVED(N) HOST_RESERVED(N)

inline constexpr GUID IID_None = {};

// ---- Settings store ----

class TSettingsStore : public TDispatch<kx::IOrvexSettingsStore, IID_None> {
 public:
  HRESULT STDMETHODCALLTYPE ReadValue(std::int32_t Section, std::int32_t Kind,
                                      const kx::TKxText* Key, const kx::TKxText* Default,
                                      kx::TKxText* Value) override {
    if (Fail) return E_FAIL;
    Reads.push_back(Key->ToUtf8());
    if (Section != 1 || Kind != 0) return E_INVALIDARG;
    auto It = Values.find(Key->ToUtf8());
    *Value = It == Values.end() ? *Default : kx::TKxText::FromUtf8(It->second);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE WriteValue(std::int32_t Section, std::int32_t Kind,
                                       const kx::TKxText* Key, const kx::TKxText* Value) override {
    if (Fail) return E_FAIL;
    if (Section != 1 || Kind != 0) return E_INVALIDARG;
    Writes.push_back(Key->ToUtf8());
    Values[Key->ToUtf8()] = Value->ToUtf8();
    return S_OK;
  }
  std::map<std::string, std::string> Values;
  std::vector<std::string> Reads, Writes;
  bool Fail = false;
};

// ---- Drawing objects: every call is written to one log ----

struct TLog {
  std::vector<std::string> Lines;
  void Add(std::string S) { Lines.push_back(std::move(S)); }
  template <class T>
  HRESULT Put(const char* What, T V) {
    Lines.push_back(std::string(What) + "=" + std::to_string(V));
    return S_OK;
  }
};

class TPen : public TDispatch<kx::IOrvexPen, IID_None> {
 public:
  explicit TPen(TLog& L) : Log(L) {}
  FAKE_RESERVED(0)
  HRESULT STDMETHODCALLTYPE SetStyle(std::int32_t V) override { return Put("pen.style", V); }
  FAKE_RESERVED(2)
  HRESULT STDMETHODCALLTYPE SetWidth(double V) override { return Put("pen.width", V); }
  FAKE_RESERVED(4)
  HRESULT STDMETHODCALLTYPE SetWidthScale(double V) override { return Put("pen.scale", V); }
  FAKE_RESERVED(6)
  HRESULT STDMETHODCALLTYPE SetColor(std::uint32_t V) override { return Put("pen.color", V); }
  FAKE_RESERVED(8)
  HRESULT STDMETHODCALLTYPE SetMode(std::int32_t V) override { return Put("pen.mode", V); }
  template <class T>
  HRESULT Put(const char* What, T V) {
    return Log.Put(What, V);
  }
  TLog& Log;
};

class TBrush : public TDispatch<kx::IOrvexBrush, IID_None> {
 public:
  explicit TBrush(TLog& L) : Log(L) {}
  FAKE_RESERVED(0)
  HRESULT STDMETHODCALLTYPE SetStyle(std::int32_t V) override { return Put("brush.style", V); }
  FAKE_RESERVED(2)
  HRESULT STDMETHODCALLTYPE SetBackColor(std::uint32_t V) override { return Put("brush.back", V); }
  FAKE_RESERVED(4)
  HRESULT STDMETHODCALLTYPE SetHatchColor(std::uint32_t V) override {
    return Put("brush.hatch", V);
  }
  FAKE_RESERVED(6)
  HRESULT STDMETHODCALLTYPE SetTransparency(std::int32_t V) override {
    return Put("brush.transparency", V);
  }
  template <class T>
  HRESULT Put(const char* What, T V) {
    return Log.Put(What, V);
  }
  TLog& Log;
};

struct TVertex {
  double X, Y, Convexity;
};

class TPart : public TDispatch<kx::IOrvexContourPart, kx::IID_IOrvexContourPart> {
 public:
  FAKE_RESERVED(0)
  HRESULT STDMETHODCALLTYPE GetVertex(std::int32_t I, double* X, double* Y, double* C) override {
    if (I < 0 || I >= static_cast<int>(Vertices.size())) return E_INVALIDARG;
    *X = Vertices[I].X;
    *Y = Vertices[I].Y;
    *C = Vertices[I].Convexity;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE SetVertex(std::int32_t I, double X, double Y, double C) override {
    if (I < 0 || I >= static_cast<int>(Vertices.size())) return E_INVALIDARG;
    Vertices[I] = {X, Y, C};
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE InsertVertex(std::int32_t I, double X, double Y, double C) override {
    if (I == -1) I = static_cast<int>(Vertices.size());
    if (I < 0 || I > static_cast<int>(Vertices.size())) return E_INVALIDARG;
    Vertices.insert(Vertices.begin() + I, TVertex{X, Y, C});
    return S_OK;
  }
  FAKE_RESERVED(4)
  HRESULT STDMETHODCALLTYPE SetClosed(std::int32_t C) override {
    if (C != 0 && C != -1) return E_INVALIDARG;
    Closed = C == -1;
    return S_OK;
  }
  std::vector<TVertex> Vertices;
  bool Closed = false;
};

class TPaintContour : public TDispatch<kx::IOrvexContour, kx::IID_IOrvexContour> {
 public:
  HRESULT STDMETHODCALLTYPE GetPartCount(std::int32_t* Count) override {
    *Count = static_cast<std::int32_t>(Parts.size());
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetPart(std::int32_t I, kx::IOrvexContourPart** P) override {
    if (I < 0 || I >= static_cast<int>(Parts.size())) return E_INVALIDARG;
    return Hand<kx::IOrvexContourPart>(Parts[I].get(), P);
  }
  FAKE_RESERVED(2)
  HRESULT STDMETHODCALLTYPE AddPart(std::int32_t I, kx::IOrvexContourPart** P) override {
    if (I != -1) return E_INVALIDARG;
    Parts.push_back(std::make_unique<TPart>());
    return Hand<kx::IOrvexContourPart>(Parts.back().get(), P);
  }
  std::vector<std::unique_ptr<TPart>> Parts;
};

class TScaleObject : public TDispatch<kx::IOrvexViewport, IID_None> {
 public:
  FAKE_RESERVED(0)
  FAKE_RESERVED(1)
  FAKE_RESERVED(2)
  FAKE_RESERVED(3)
  FAKE_RESERVED(4)
  FAKE_RESERVED(5)
  FAKE_RESERVED(6)
  FAKE_RESERVED(7)
  FAKE_RESERVED(8)
  FAKE_RESERVED(9)
  HRESULT STDMETHODCALLTYPE Operation10() override {
    ++Calls;
    return S_OK;
  }
  int Calls = 0;
};

// A drawn contour, copied at DrawContour.
struct TDrawn {
  std::vector<std::vector<TVertex>> Parts;
  std::vector<bool> Closed;
};

class TCanvas : public TDispatch<kx::IOrvexCanvas, IID_None> {
 public:
  TCanvas() : Pen(Log), Brush(Log) {}
  FAKE_RESERVED(0)
  FAKE_RESERVED(1)
  FAKE_RESERVED(2)
  FAKE_RESERVED(3)
  HRESULT STDMETHODCALLTYPE GetScale(IDispatch** Object, double* S) override {
    *S = Scale;
    return Hand<IDispatch>(&ScaleObject, Object);
  }
  HRESULT STDMETHODCALLTYPE GetPen(kx::IOrvexPen** P) override {
    return Hand<kx::IOrvexPen>(&Pen, P);
  }
  HRESULT STDMETHODCALLTYPE GetBrush(kx::IOrvexBrush** B) override {
    return Hand<kx::IOrvexBrush>(&Brush, B);
  }
  FAKE_RESERVED(7)
  HRESULT STDMETHODCALLTYPE DrawContour(kx::IOrvexContour* C, std::int32_t Mode) override {
    if (Mode != -1) return E_INVALIDARG;
    auto* Contour = static_cast<TPaintContour*>(C);
    TDrawn D;
    for (auto& P : Contour->Parts) {
      D.Parts.push_back(P->Vertices);
      D.Closed.push_back(P->Closed);
    }
    Drawn.push_back(D);
    Log.Add("draw");
    return S_OK;
  }
  TLog Log;
  TPen Pen;
  TBrush Brush;
  TScaleObject ScaleObject;
  double Scale = 0.001;
  std::vector<TDrawn> Drawn;
};

class TOrvexView : public TDispatch<kx::IOrvexMapView, IID_None> {
 public:
  HRESULT STDMETHODCALLTYPE GetCanvas(kx::IOrvexCanvas** C) override {
    return Hand<kx::IOrvexCanvas>(&Canvas, C);
  }
  FAKE_RESERVED(1)
  FAKE_RESERVED(2)
  FAKE_RESERVED(3)
  FAKE_RESERVED(4)
  FAKE_RESERVED(5)
  FAKE_RESERVED(6)
  HRESULT STDMETHODCALLTYPE Operation7() override {
    if (Fail7) return E_FAIL;
    ++Operation7Calls;
    return S_OK;
  }
  TCanvas Canvas;
  int Operation7Calls = 0;
  bool Fail7 = false;
};

class TDocument : public TDispatch<kx::IOrvexDocument, IID_None> {
 public:
  FAKE_RESERVED(0)
  HRESULT STDMETHODCALLTYPE GetMapView(kx::IOrvexMapView** V) override {
    return Hand<kx::IOrvexMapView>(&View, V);
  }
  TOrvexView View;
};

class TApplication : public TDispatch<kx::IOrvexApplication, kx::IID_IOrvexApplication> {
 public:
  HRESULT STDMETHODCALLTYPE GetActiveDocument(kx::IOrvexDocument** D) override {
    return Hand<kx::IOrvexDocument>(&Document, D);
  }
  FAKE_RESERVED(1)
  FAKE_RESERVED(2)
  FAKE_RESERVED(3)
  HRESULT STDMETHODCALLTYPE GetSettingsStore(kx::IOrvexSettingsStore** S) override {
    ++StoreFetches;
    return Hand<kx::IOrvexSettingsStore>(&Store, S);
  }
  HRESULT STDMETHODCALLTYPE CreateContour(std::int32_t Kind, VARIANT, IDispatch** C) override {
    if (Kind != 0) return E_INVALIDARG;
    Contours.push_back(std::make_unique<TPaintContour>());
    return Hand<IDispatch>(Contours.back().get(), C);
  }
  TCanvas& Canvas() { return Document.View.Canvas; }
  TSettingsStore Store;
  TDocument Document;
  std::vector<std::unique_ptr<TPaintContour>> Contours;
  int StoreFetches = 0;
};

}  // namespace fake
