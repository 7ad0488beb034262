#include "host/com/memory_stream.h"

#include <cstring>

namespace host {

namespace {
constexpr DWORD STREAM_SEEK_SET = 0;
constexpr DWORD STREAM_SEEK_CUR = 1;
constexpr DWORD STREAM_SEEK_END = 2;
}  // namespace

THostMemoryStream* THostMemoryStream::Create() {
  return new THostMemoryStream;
}

HRESULT THostMemoryStream::QueryInterface(REFIID Iid, void** Obj) {
  if (!Obj) return E_POINTER;
  if (Iid == IID_IUnknown || Iid == IID_ISequentialStream || Iid == IID_IStream) {
    *Obj = static_cast<IStream*>(this);
    AddRef();
    return S_OK;
  }
  *Obj = nullptr;
  return E_NOINTERFACE;
}

ULONG THostMemoryStream::AddRef() {
  return static_cast<ULONG>(++FRefCount);
}

ULONG THostMemoryStream::Release() {
  const int Count = --FRefCount;
  if (Count == 0) delete this;
  return static_cast<ULONG>(Count);
}

HRESULT THostMemoryStream::Read(void* Buffer, ULONG Size, ULONG* Read) {
  if (!Buffer && Size) return E_POINTER;
  const std::size_t Available = FPosition < FData.size() ? FData.size() - FPosition : 0;
  const std::size_t N = Size < Available ? Size : Available;
  if (N) std::memcpy(Buffer, FData.data() + FPosition, N);
  FPosition += N;
  if (Read) *Read = static_cast<ULONG>(N);
  return N == Size ? S_OK : S_FALSE;
}

HRESULT THostMemoryStream::Write(const void* Buffer, ULONG Size, ULONG* Written) {
  if (Written) *Written = 0;
  if (!Buffer && Size) return E_POINTER;
  if (FPosition + Size > FCapacity) return STG_E_MEDIUMFULL;
  if (FPosition + Size > FData.size()) FData.resize(FPosition + Size);
  if (Size) std::memcpy(FData.data() + FPosition, Buffer, Size);
  FPosition += Size;
  if (Written) *Written = Size;
  return S_OK;
}

HRESULT THostMemoryStream::Seek(LARGE_INTEGER Move, DWORD Origin, ULARGE_INTEGER* NewPosition) {
  std::int64_t Base = 0;
  switch (Origin) {
    case STREAM_SEEK_SET:
      break;
    case STREAM_SEEK_CUR:
      Base = static_cast<std::int64_t>(FPosition);
      break;
    case STREAM_SEEK_END:
      Base = static_cast<std::int64_t>(FData.size());
      break;
    default:
      return E_INVALIDARG;
  }
  const std::int64_t To = Base + compat::LargeValue(Move);
  if (To < 0) return E_INVALIDARG;
  FPosition = static_cast<std::size_t>(To);
  if (NewPosition) *NewPosition = compat::MakeLarge<ULARGE_INTEGER>(FPosition);
  return S_OK;
}

HRESULT THostMemoryStream::SetSize(ULARGE_INTEGER NewSize) {
  FData.resize(static_cast<std::size_t>(compat::LargeValue(NewSize)));
  return S_OK;
}

HRESULT THostMemoryStream::CopyTo(IStream*, ULARGE_INTEGER, ULARGE_INTEGER*, ULARGE_INTEGER*) {
  return E_NOTIMPL;
}
HRESULT THostMemoryStream::Commit(DWORD) {
  return S_OK;
}
HRESULT THostMemoryStream::Revert() {
  return S_OK;
}
HRESULT THostMemoryStream::LockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) {
  return E_NOTIMPL;
}
HRESULT THostMemoryStream::UnlockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) {
  return E_NOTIMPL;
}
HRESULT THostMemoryStream::Stat(STATSTG*, DWORD) {
  return E_NOTIMPL;
}
HRESULT THostMemoryStream::Clone(IStream**) {
  return E_NOTIMPL;
}

}  // namespace host
