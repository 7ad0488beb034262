#include "compat/bitmap_handle.h"

#include <map>

namespace compat {

namespace {

struct THandleTable {
  std::map<HBITMAP, QImage> Images;
  HBITMAP Next = 1;
};

THandleTable& Table() {
  static THandleTable T;
  return T;
}

}  // namespace

HBITMAP CreateBitmapHandle(QImage Image) {
  THandleTable& T = Table();
  // Skip 0 and handles still live after the counter wraps.
  while (T.Next == 0 || T.Images.count(T.Next)) ++T.Next;
  const HBITMAP H = T.Next++;
  T.Images.emplace(H, std::move(Image));
  return H;
}

const QImage* BitmapFromHandle(HBITMAP Handle) {
  const auto It = Table().Images.find(Handle);
  return It == Table().Images.end() ? nullptr : &It->second;
}

bool DeleteBitmapHandle(HBITMAP Handle) {
  return Table().Images.erase(Handle) > 0;
}

}  // namespace compat
