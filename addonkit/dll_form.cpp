#include "addonkit/dll_form.h"

#include "addonkit/custom_addon.h"
#include "addonkit/module_state.h"

namespace kx {

QWidget* TDllForm::ParentWindow() {
  const HWND Parent = ModuleState().FormParentWindow;
  return Parent ? QWidget::find(static_cast<WId>(Parent)) : nullptr;
}

TDllForm::TDllForm(QWidget* Owner) : QWidget(nullptr, Qt::Window) {
  if (QWidget* Parent = ParentWindow())
    setParent(Parent, Qt::Window);
  else if (Owner)
    setParent(Owner, Qt::Window);
}

TKxAddonForm::TKxAddonForm(QWidget* Owner) : TDllForm(Owner), FAddon(ModuleState().CurrentAddon) {
  if (FAddon) FAddon->AddForm(this);
}

TKxAddonForm::~TKxAddonForm() {
  if (FAddon) FAddon->RemoveForm(this);
}

}  // namespace kx
