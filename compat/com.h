// The COM declarations the module and the host speak through.
//
// On Windows the system's own headers are used. Elsewhere these stand-ins keep
// the same values, method order and calling shape: interfaces are classes of
// pure virtual methods in slot order, with no virtual destructor (it would
// shift every slot), and out parameters are pointers.
#pragma once

#include "compat/guid.h"

#ifdef _WIN32
#include <objbase.h>
#include <oleauto.h>
#else

#include <cstdint>

using HRESULT = std::int32_t;
using ULONG = std::uint32_t;
using LONG = std::int32_t;
using DWORD = std::uint32_t;
using BOOL = std::int32_t;
using WORD = std::uint16_t;
using LCID = std::uint32_t;
using DISPID = std::int32_t;
using ULARGE_INTEGER = std::uint64_t;
using LARGE_INTEGER = std::int64_t;
using OLECHAR = char16_t;
using BSTR = OLECHAR*;
using VARTYPE = std::uint16_t;
using VARIANT_BOOL = std::int16_t;
using HWND = std::uintptr_t;    // a window's native id
using HBITMAP = std::uint32_t;  // 32-bit, as records carry it
using HCURSOR = std::uint32_t;

#define STDMETHODCALLTYPE
#define STDAPI extern "C" HRESULT
#define STDAPICALLTYPE

inline constexpr HRESULT MakeHResult(std::uint32_t Value) {
  return static_cast<HRESULT>(Value);
}

inline constexpr HRESULT S_OK = 0;
inline constexpr HRESULT S_FALSE = 1;
inline constexpr HRESULT E_NOTIMPL = MakeHResult(0x80004001u);
inline constexpr HRESULT E_NOINTERFACE = MakeHResult(0x80004002u);
inline constexpr HRESULT E_POINTER = MakeHResult(0x80004003u);
inline constexpr HRESULT E_FAIL = MakeHResult(0x80004005u);
inline constexpr HRESULT E_UNEXPECTED = MakeHResult(0x8000FFFFu);
inline constexpr HRESULT E_OUTOFMEMORY = MakeHResult(0x8007000Eu);
inline constexpr HRESULT E_INVALIDARG = MakeHResult(0x80070057u);
inline constexpr HRESULT CLASS_E_NOAGGREGATION = MakeHResult(0x80040110u);
inline constexpr HRESULT CLASS_E_CLASSNOTAVAILABLE = MakeHResult(0x80040111u);
inline constexpr HRESULT STG_E_CANTSAVE = MakeHResult(0x80030103u);
inline constexpr HRESULT STG_E_MEDIUMFULL = MakeHResult(0x80030070u);

inline constexpr bool SUCCEEDED(HRESULT Hr) {
  return Hr >= 0;
}
inline constexpr bool FAILED(HRESULT Hr) {
  return Hr < 0;
}

using REFIID = const GUID&;
using REFCLSID = const GUID&;
using IID = GUID;
using CLSID = GUID;

inline constexpr GUID IID_IUnknown = compat::ParseGuid("{00000000-0000-0000-C000-000000000046}");
inline constexpr GUID IID_IClassFactory =
    compat::ParseGuid("{00000001-0000-0000-C000-000000000046}");
inline constexpr GUID IID_IDispatch = compat::ParseGuid("{00020400-0000-0000-C000-000000000046}");
inline constexpr GUID IID_ISequentialStream =
    compat::ParseGuid("{0C733A30-2A1C-11CE-ADE5-00AA0044773D}");
inline constexpr GUID IID_IStream = compat::ParseGuid("{0000000C-0000-0000-C000-000000000046}");

class IUnknown {
 public:
  virtual HRESULT STDMETHODCALLTYPE QueryInterface(REFIID Iid, void** Obj) = 0;
  virtual ULONG STDMETHODCALLTYPE AddRef() = 0;
  virtual ULONG STDMETHODCALLTYPE Release() = 0;
};

class IClassFactory : public IUnknown {
 public:
  virtual HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* Outer, REFIID Iid, void** Obj) = 0;
  virtual HRESULT STDMETHODCALLTYPE LockServer(BOOL Lock) = 0;
};

// Automation value; only the members the system passes are spelled out, the
// union keeps the native 16-byte size on 32-bit and 24 on 64-bit platforms.
struct VARIANT {
  VARTYPE vt;
  WORD wReserved1;
  WORD wReserved2;
  WORD wReserved3;
  union {
    std::int32_t lVal;
    std::int16_t iVal;
    double dblVal;
    VARIANT_BOOL boolVal;
    VARIANT_BOOL* pboolVal;  // with VT_BYREF: the caller's flag
    BSTR bstrVal;
    IUnknown* punkVal;
    struct {
      void* pvRecord;
      void* pRecInfo;
    } brecVal;
  };
};

inline constexpr VARTYPE VT_EMPTY = 0;
inline constexpr VARTYPE VT_I2 = 2;
inline constexpr VARTYPE VT_I4 = 3;
inline constexpr VARTYPE VT_R8 = 5;
inline constexpr VARTYPE VT_BSTR = 8;
inline constexpr VARTYPE VT_BOOL = 11;
inline constexpr VARTYPE VT_UNKNOWN = 13;
inline constexpr VARTYPE VT_BYREF = 0x4000;
inline constexpr VARIANT_BOOL VARIANT_TRUE = -1;
inline constexpr VARIANT_BOOL VARIANT_FALSE = 0;

inline void VariantInit(VARIANT* Value) {
  *Value = VARIANT{};
  Value->vt = VT_EMPTY;
}

struct DISPPARAMS {
  VARIANT* rgvarg;
  DISPID* rgdispidNamedArgs;
  std::uint32_t cArgs;
  std::uint32_t cNamedArgs;
};

struct EXCEPINFO;
class ITypeInfo;

class IDispatch : public IUnknown {
 public:
  virtual HRESULT STDMETHODCALLTYPE GetTypeInfoCount(std::uint32_t* Count) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetTypeInfo(std::uint32_t Index, LCID Lcid,
                                                ITypeInfo** Info) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID Iid, OLECHAR** Names, std::uint32_t Count,
                                                  LCID Lcid, DISPID* Ids) = 0;
  virtual HRESULT STDMETHODCALLTYPE Invoke(DISPID Member, REFIID Iid, LCID Lcid, WORD Flags,
                                           DISPPARAMS* Params, VARIANT* Result,
                                           EXCEPINFO* Exception, std::uint32_t* ArgError) = 0;
};

class ISequentialStream : public IUnknown {
 public:
  virtual HRESULT STDMETHODCALLTYPE Read(void* Buffer, ULONG Size, ULONG* Read) = 0;
  virtual HRESULT STDMETHODCALLTYPE Write(const void* Buffer, ULONG Size, ULONG* Written) = 0;
};

struct STATSTG;

class IStream : public ISequentialStream {
 public:
  virtual HRESULT STDMETHODCALLTYPE Seek(LARGE_INTEGER Move, DWORD Origin,
                                         ULARGE_INTEGER* NewPosition) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetSize(ULARGE_INTEGER NewSize) = 0;
  virtual HRESULT STDMETHODCALLTYPE CopyTo(IStream* Target, ULARGE_INTEGER Size,
                                           ULARGE_INTEGER* Read, ULARGE_INTEGER* Written) = 0;
  virtual HRESULT STDMETHODCALLTYPE Commit(DWORD Flags) = 0;
  virtual HRESULT STDMETHODCALLTYPE Revert() = 0;
  virtual HRESULT STDMETHODCALLTYPE LockRegion(ULARGE_INTEGER Offset, ULARGE_INTEGER Size,
                                               DWORD Type) = 0;
  virtual HRESULT STDMETHODCALLTYPE UnlockRegion(ULARGE_INTEGER Offset, ULARGE_INTEGER Size,
                                                 DWORD Type) = 0;
  virtual HRESULT STDMETHODCALLTYPE Stat(STATSTG* Stat, DWORD Flag) = 0;
  virtual HRESULT STDMETHODCALLTYPE Clone(IStream** Copy) = 0;
};

#endif  // _WIN32

#include <cstdint>
#include <type_traits>

namespace compat {

// Handles travel in host records as 32-bit fields, whether the platform's
// handle is a pointer (Windows) or a number (the stand-ins).
template <class THandle>
std::uint32_t HandleField(THandle Handle) {
  if constexpr (std::is_pointer_v<THandle>)
    return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(Handle));
  else
    return static_cast<std::uint32_t>(Handle);
}

template <class THandle>
THandle HandleFromField(std::uint32_t Field) {
  if constexpr (std::is_pointer_v<THandle>)
    return reinterpret_cast<THandle>(static_cast<std::uintptr_t>(Field));
  else
    return static_cast<THandle>(Field);
}

// IStream's 64-bit values: unions on Windows, plain integers in the
// stand-ins.
template <class TLarge>
auto LargeValue(const TLarge& Value) {
  if constexpr (std::is_integral_v<TLarge>)
    return Value;
  else
    return Value.QuadPart;
}

template <class TLarge>
TLarge MakeLarge(decltype(LargeValue(TLarge{})) Value) {
  TLarge Large{};
  if constexpr (std::is_integral_v<TLarge>)
    Large = Value;
  else
    Large.QuadPart = Value;
  return Large;
}

}  // namespace compat
