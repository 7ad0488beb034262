// State that the framework shares across the whole module.
#pragma once

#include <string>
#include <vector>

#include "compat/com_ptr.h"
#include "hostapi/kx_interfaces.h"

namespace kx {

class TKxCustomAddon;

struct TKxModuleState {
  // Every add-on of the module, in creation order.
  std::vector<TKxCustomAddon*> AddOns;
  // The add-on whose forms new add-on forms join.
  TKxCustomAddon* CurrentAddon = nullptr;
  // Owner window for the module's forms; 0 when none.
  HWND FormParentWindow = 0;
  HWND ApplicationWindow = 0;
  std::string ApplicationTitle;
  // Where errors of host-called methods are reported; held while connected.
  compat::TComPtr<IKxErrorInfo> ErrorInfo;
  // Live COM objects handed out by the module (add-on objects, lists,
  // editors) and locks on the server.
  int ObjectCount = 0;
};

TKxModuleState& ModuleState();

}  // namespace kx
