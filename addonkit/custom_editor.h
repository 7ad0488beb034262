// Map editors: objects that take the host map view's mouse, keyboard and
// paint events. The host reaches an editor through its IKxEditor, and the
// editor lives exactly as long as the last reference to that interface.
#pragma once

#include <cstdint>
#include <memory>

#include "addonkit/ref_counting.h"
#include "compat/com_ptr.h"
#include "hostapi/kx_interfaces.h"

namespace kx {

class TKxCustomEditor;

// Also answers for IKxEditorOverlay, which a host asks for to redraw an
// editor's transient drawing alone.
class IKxEditorImp : public TInterfaceImpl<IKxEditor, IID_IKxEditor, TControlledInterface>,
                     public IKxEditorOverlay {
 public:
  explicit IKxEditorImp(TKxCustomEditor* Editor);

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID Id, void** Obj) override {
    return DoQueryInterface(Id, Obj);
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return DoAddRef(); }
  ULONG STDMETHODCALLTYPE Release() override { return DoRelease(); }

  TKxCustomEditor* Editor() const { return FEditor; }

  HRESULT STDMETHODCALLTYPE GetOptions(std::uint32_t* Options) override;
  HRESULT STDMETHODCALLTYPE Hook1() override;
  HRESULT STDMETHODCALLTYPE Hook2(std::int32_t X, std::int32_t Y) override;
  HRESULT STDMETHODCALLTYPE MouseDown(std::int32_t Button, std::int32_t Shift, std::int32_t X,
                                      std::int32_t Y) override;
  HRESULT STDMETHODCALLTYPE MouseMove(std::int32_t Shift, std::int32_t X, std::int32_t Y) override;
  HRESULT STDMETHODCALLTYPE MouseUp(std::int32_t Button, std::int32_t Shift, std::int32_t X,
                                    std::int32_t Y) override;
  HRESULT STDMETHODCALLTYPE KeyDown(std::uint16_t Key, std::int32_t Shift) override;
  HRESULT STDMETHODCALLTYPE KeyUp(std::uint16_t Key, std::int32_t Shift) override;
  HRESULT STDMETHODCALLTYPE Hook8() override;
  HRESULT STDMETHODCALLTYPE Hook9(std::int32_t Value) override;
  HRESULT STDMETHODCALLTYPE GetContextMacros(IKxContextMacroAttrsList** List, std::int32_t X,
                                             std::int32_t Y) override;
  HRESULT STDMETHODCALLTYPE ExecuteContextMacro(std::int32_t Value1, std::int32_t Value2) override;
  HRESULT STDMETHODCALLTYPE Hook12() override;
  HRESULT STDMETHODCALLTYPE Paint() override;
  HRESULT STDMETHODCALLTYPE PaintOverlay() override;

 protected:
  void* FindInterface(REFIID Id) override;

 private:
  TKxCustomEditor* FEditor;
};

struct TKxViewPoint {
  std::int32_t X;
  std::int32_t Y;
};

class TKxCustomEditor : public TInterfaceOwner {
 public:
  // Creates the IKxEditor and holds one reference on it; the code that
  // installs the editor hands the interface to the host and then drops that
  // reference with ReleaseOwnReference.
  TKxCustomEditor();
  ~TKxCustomEditor() override;
  TKxCustomEditor(const TKxCustomEditor&) = delete;
  TKxCustomEditor& operator=(const TKxCustomEditor&) = delete;

  IKxEditor* Editor() const { return FEditorImp; }
  IKxEditorImp* EditorImp() const { return FEditorImp; }
  // May destroy this editor when nobody else holds its IKxEditor.
  void ReleaseOwnReference();

  // Operations in the host's slot order; the defaults do nothing.
  virtual std::uint32_t GetOptions();
  virtual void Hook1() {}
  virtual void Hook2(TKxViewPoint) {}
  virtual void MouseDown(std::int32_t /*Button*/, std::int32_t /*Shift*/, TKxViewPoint) {}
  virtual void MouseMove(std::int32_t /*Shift*/, TKxViewPoint) {}
  virtual void MouseUp(std::int32_t /*Button*/, std::int32_t /*Shift*/, TKxViewPoint) {}
  virtual void KeyDown(std::uint16_t /*Key*/, std::int32_t /*Shift*/) {}
  virtual void KeyUp(std::uint16_t /*Key*/, std::int32_t /*Shift*/) {}
  virtual void Hook8() {}
  virtual void Hook9(std::int32_t) {}
  virtual compat::TComPtr<IKxContextMacroAttrsList> GetContextMacros(TKxViewPoint Point);
  virtual void ExecuteContextMacro(std::int32_t, std::int32_t) {}
  virtual void Hook12() {}
  virtual void Paint() {}
  // Transient drawing over Paint's, for hosts that redraw it alone.
  virtual void PaintOverlay() {}

 private:
  IKxEditorImp* FEditorImp;  // owned; freed by the destructor
  bool FOwnReference = true;
};

inline constexpr char EditorErrorSource[] = "Редактор карты";

}  // namespace kx
