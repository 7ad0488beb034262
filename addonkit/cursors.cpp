#include "addonkit/cursors.h"

#include <iterator>

#include "compat/module_resources.h"
#include "compat/screen_cursors.h"

namespace kx {

namespace {

int NextIndex = 1;

int RegisterRange(const char* const* First, const char* const* Last) {
  const int Start = NextIndex;
  for (const char* const* Name = First; Name != Last; ++Name) {
    if (auto Cursor = compat::LoadCursorResource(*Name))
      compat::SetScreenCursor(NextIndex, std::move(*Cursor));
    ++NextIndex;
  }
  return Start;
}

}  // namespace

int RegisterCursors(std::initializer_list<const char*> Names) {
  return RegisterRange(Names.begin(), Names.end());
}

int RegisterModuleCursors() {
  if (auto Cross = compat::LoadCursorResource("CR_CROSS"))
    compat::SetScreenCursor(compat::crCross, std::move(*Cross));
  return RegisterRange(std::begin(ModuleCursorNames), std::end(ModuleCursorNames));
}

int NextCursorIndex() {
  return NextIndex;
}

}  // namespace kx
