#include "addonkit/dll_form.h"

#include "addonkit/module_state.h"

namespace kx {

QWidget* TDllForm::ParentWindow() {
  const HWND Parent = ModuleState().FormParentWindow;
  return Parent ? QWidget::find(static_cast<WId>(Parent)) : nullptr;
}

TDllForm::TDllForm(QWidget* Owner, Qt::WindowFlags Flags) : QDialog(nullptr, Flags) {
  if (QWidget* Parent = ParentWindow())
    setParent(Parent, Flags);
  else if (Owner)
    setParent(Owner, Flags);
}

TKxAddonForm::TKxAddonForm(QWidget* Owner, Qt::WindowFlags Flags) : TDllForm(Owner, Flags) {}

}  // namespace kx
