// A counted reference to a COM interface: AddRef on copy, Release on reset.
#pragma once

#include <utility>

#include "compat/com.h"

namespace compat {

template <class T>
class TComPtr {
 public:
  TComPtr() = default;
  TComPtr(std::nullptr_t) {}
  // Takes a new reference on P.
  explicit TComPtr(T* P) : FPtr(P) {
    if (FPtr) FPtr->AddRef();
  }
  TComPtr(const TComPtr& Other) : TComPtr(Other.FPtr) {}
  TComPtr(TComPtr&& Other) noexcept : FPtr(std::exchange(Other.FPtr, nullptr)) {}
  ~TComPtr() { Reset(); }

  TComPtr& operator=(const TComPtr& Other) {
    TComPtr(Other).Swap(*this);
    return *this;
  }
  TComPtr& operator=(TComPtr&& Other) noexcept {
    TComPtr(std::move(Other)).Swap(*this);
    return *this;
  }

  // Adopts a reference that the caller already holds (an out parameter).
  static TComPtr Attach(T* P) {
    TComPtr R;
    R.FPtr = P;
    return R;
  }
  T* Detach() { return std::exchange(FPtr, nullptr); }

  void Reset() {
    if (T* P = std::exchange(FPtr, nullptr)) P->Release();
  }
  void Swap(TComPtr& Other) noexcept { std::swap(FPtr, Other.FPtr); }

  // For out parameters: drops the held reference first.
  T** Out() {
    Reset();
    return &FPtr;
  }
  void** OutVoid() { return reinterpret_cast<void**>(Out()); }

  T* Get() const { return FPtr; }
  T* operator->() const { return FPtr; }
  explicit operator bool() const { return FPtr != nullptr; }

 private:
  T* FPtr = nullptr;
};

}  // namespace compat
