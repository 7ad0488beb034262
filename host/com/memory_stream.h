// An IStream over a block of memory, as the host hands it to SaveBitmap.
#pragma once

#include <cstdint>
#include <vector>

#include "compat/com.h"

namespace host {

class THostMemoryStream final : public IStream {
 public:
  // A new stream with one reference, owned by that reference.
  static THostMemoryStream* Create();

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID Iid, void** Obj) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  HRESULT STDMETHODCALLTYPE Read(void* Buffer, ULONG Size, ULONG* Read) override;
  HRESULT STDMETHODCALLTYPE Write(const void* Buffer, ULONG Size, ULONG* Written) override;
  HRESULT STDMETHODCALLTYPE Seek(LARGE_INTEGER Move, DWORD Origin,
                                 ULARGE_INTEGER* NewPosition) override;
  HRESULT STDMETHODCALLTYPE SetSize(ULARGE_INTEGER NewSize) override;
  HRESULT STDMETHODCALLTYPE CopyTo(IStream*, ULARGE_INTEGER, ULARGE_INTEGER*,
                                   ULARGE_INTEGER*) override;
  HRESULT STDMETHODCALLTYPE Commit(DWORD) override;
  HRESULT STDMETHODCALLTYPE Revert() override;
  HRESULT STDMETHODCALLTYPE LockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override;
  HRESULT STDMETHODCALLTYPE UnlockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override;
  HRESULT STDMETHODCALLTYPE Stat(STATSTG*, DWORD) override;
  HRESULT STDMETHODCALLTYPE Clone(IStream**) override;

  const std::vector<std::uint8_t>& Data() const { return FData; }
  // After this many bytes every write fails, as a full medium does.
  void SetCapacity(std::size_t Capacity) { FCapacity = Capacity; }

 private:
  THostMemoryStream() = default;
  ~THostMemoryStream() = default;

  int FRefCount = 1;
  std::vector<std::uint8_t> FData;
  std::size_t FPosition = 0;
  std::size_t FCapacity = SIZE_MAX;
};

}  // namespace host
