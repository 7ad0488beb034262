// One add-on as the host drives it: its module, its COM object and the
// commands it offers.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "compat/com_ptr.h"
#include "host/com/addon_module.h"
#include "hostapi/kx_interfaces.h"

namespace host {

class THostComManager;

struct THostCommand {
  kx::TKxMacroAttrs Attrs;
  // The image as the add-on saved it, a BMP file's bytes; empty when it
  // has none. CommandImage (command_image.h) reads it for the Qt host.
  std::vector<std::uint8_t> Bitmap;
};

class THostAddOn {
 public:
  // Obtains the class factory through DllGetClassObject and creates the
  // add-on's COM object; raises EHostError on failure.
  THostAddOn(std::shared_ptr<THostModule> Module, const GUID& ClassID);
  ~THostAddOn();
  THostAddOn(const THostAddOn&) = delete;
  THostAddOn& operator=(const THostAddOn&) = delete;

  kx::IKxAddOn* AddOn() const { return FAddOn.Get(); }
  THostModule& Module() const { return *FModule; }

  kx::TKxAddOnInfo Info() const;
  void Connect(THostComManager& Manager);
  void Disconnect();
  // The add-on's commands with their images; an image whose length prefix
  // exceeds what was saved is left out.
  std::vector<THostCommand> Commands() const;
  void Execute(std::int32_t Index) const;
  void Notify(std::int32_t Code, kx::IKxParamsList* Params) const;

 private:
  // Raises EHostError with the add-on's last error text.
  void Check(HRESULT Code, const char* What) const;

  std::shared_ptr<THostModule> FModule;  // outlives the object below
  compat::TComPtr<kx::IKxAddOn> FAddOn;
  THostComManager* FManager = nullptr;
};

}  // namespace host
