// Form bases of the module. A module form is a top-level window owned by the
// host's main window, so that it stays above it and goes with it. Forms are
// dialogs so that any of them can also be shown modally.
#pragma once

#include <QDialog>

#include "addonkit/addon_form_link.h"

namespace kx {

class TDllForm : public QDialog {
 public:
  // The owner window is the module's form parent window when there is one,
  // else Owner. Flags: Qt::Window for a tool window, Qt::Dialog for a dialog.
  explicit TDllForm(QWidget* Owner = nullptr, Qt::WindowFlags Flags = Qt::Window);

  // The host window behind the module's form parent window, if it lives in
  // this process.
  static QWidget* ParentWindow();
};

// A form of an add-on: it joins the current add-on's forms, which the add-on
// frees at Disconnect.
class TKxAddonForm : public TDllForm, public TKxAddonFormLink {
 public:
  explicit TKxAddonForm(QWidget* Owner = nullptr, Qt::WindowFlags Flags = Qt::Window);
};

}  // namespace kx
