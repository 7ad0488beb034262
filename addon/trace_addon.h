// The trace add-on: the one add-on of this module, its command and the
// module-wide state that the add-on, the trace pad and the trace editor share.
#pragma once

#include <array>

#include "addonkit/custom_addon.h"
#include "hostapi/kx_records.h"
#include "trace/editor/gully_editor.h"

namespace kx {

class TKxCustomEditor;

inline constexpr GUID CLASS_TraceAddOn =
    compat::ParseGuid("{92544842-89A1-11D0-B4C6-00C00C100ADA}");

// What the add-on asks of the trace pad. The pad belongs to the user
// interface, which installs TracePadCreator.
class TTracePadLink {
 public:
  // Shows the pad, non-modal, unless it is visible already.
  virtual void ShowPad() = 0;
  // Re-evaluates which of the pad's actions are enabled.
  virtual void UpdateActions() = 0;
  // The host replaced its project (notification 32).
  virtual void ProjectReplaced() = 0;
  // The host is about to replace its project or to quit (notification 64):
  // false when the user keeps a trace in progress, and with it the project.
  virtual bool MayLoseTrace() = 0;

 protected:
  ~TTracePadLink() = default;
};

class TTraceAddOn;
using TTracePadCreator = TTracePadLink* (*)(TTraceAddOn* AddOn);

class TTraceAddOn : public TKxCustomAddon {
 public:
  // Empties the new object's style and layer, registers the add-on and
  // loads the command bitmap "TRACE" into the command record.
  TTraceAddOn();
  // Deletes the command bitmap.
  ~TTraceAddOn() override;

  // The command table with its one record.
  static std::array<TKxMacroAttrs, 1>& Macros();

  compat::TComPtr<IKxMacroAttrsList> GetMacros() override;
  void ExecuteMacro(std::int32_t Index, std::int32_t Param) override;
  void Notify(std::int32_t Code, IKxParamsList* Params) override;
  // Writes the bitmap as a BMP file image: its length (4 bytes, little
  // endian), then its bytes. False when Bitmap is 0.
  bool SaveBitmap(IStream* Stream, HBITMAP Bitmap) override;
};

// ---- Module-wide trace state ----

// The add-on object, from module load to unload.
extern TTraceAddOn* TraceAddOn;
// The pad, created on the first run of the command; none until then and
// after it was destroyed.
extern TTracePadLink* TracePadForm;
// Creates the pad; none until the user interface installs it.
extern TTracePadCreator TracePadCreator;
// The trace editor while one exists; it clears this itself when destroyed.
using trace::CurrentEditor;
// The style chosen for the new object and that style's layer.
extern TKxID NewObjectStyleID;
extern TKxID NewObjectLayerID;

inline constexpr std::int32_t NotifyCode16 = 16;
inline constexpr std::int32_t NotifyCode32 = 32;
// Asked before the project goes; parameter 5 refers to the host's flag
// (VT_BYREF | VT_BOOL) that an add-on sets to keep the project.
inline constexpr std::int32_t NotifyCode64 = 64;
inline constexpr std::int32_t NotifyKeepParam = 5;

}  // namespace kx
