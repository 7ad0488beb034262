#include "addonkit/cursors.h"

#include <iterator>

#include "compat/module_images.h"

namespace kx {

namespace {

int NextIndex = 1;

int RegisterRange(const char* const* First, const char* const* Last) {
  const int Start = NextIndex;
  for (const char* const* Name = First; Name != Last; ++Name)
    compat::LoadScreenCursor(NextIndex++, *Name);
  return Start;
}

}  // namespace

int RegisterCursors(std::initializer_list<const char*> Names) {
  return RegisterRange(Names.begin(), Names.end());
}

int RegisterModuleCursors() {
  compat::LoadScreenCursor(compat::crCross, "CR_CROSS");
  return RegisterRange(std::begin(ModuleCursorNames), std::end(ModuleCursorNames));
}

int NextCursorIndex() {
  return NextIndex;
}

}  // namespace kx
