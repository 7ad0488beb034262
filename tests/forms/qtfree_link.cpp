// Linked from the libraries' archives alone, without Qt: what the pad's model
// needs must come without the toolkit, so that a native view can use it.
#include "addon/trace_addon.h"
#include "forms/trace_pad_model.h"

int main(int Argc, char**) {
  // Never run; it only makes the linker resolve the model.
  if (Argc > 1000)
    delete new forms::TTracePadModel(*kx::TraceAddOn, *(forms::TTracePadView*)nullptr);
  return 0;
}
