// The trace pad as a native window: a view of forms::TTracePadModel, owned
// by the host's main window. It shows the model's state and passes clicks,
// the typed width and the window's hiding and showing on; the model decides
// everything else.
#pragma once

#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <memory>
#include <string>

#include "addon/trace_addon.h"
#include "addonkit/addon_form_link.h"
#include "forms/trace_pad_model.h"
#include "winui/win_window.h"

namespace winui {

class TWinTracePad final : public kx::TKxAddonFormLink,
                           public kx::TTracePadLink,
                           public forms::TTracePadView,
                           public TWinHandler {
 public:
  // Joins the add-on's forms, makes the window and the model, which loads
  // the stored placement and zone width.
  explicit TWinTracePad(kx::TTraceAddOn& AAddon);
  // The model goes first, so that it stores the placement of a whole window.
  ~TWinTracePad() override;

  void ShowPad() override;
  void UpdateActions() override { FModel->UpdatePadState(); }
  void ProjectReplaced() override { FModel->ProjectReplaced(); }
  bool MayLoseTrace() override { return FModel->MayLoseTrace(); }

  HWND Window() const { return FWindow; }

 private:
  // forms::TTracePadView
  void PadChanged(unsigned Changes) override;
  void ShowError(const std::string& Message) override;
  bool Confirm(const std::string& Question) override;
  void BeginProgress(const std::string& Text, const std::string& CancelText, int Total) override;
  bool StepProgress(const std::string& Text, int Done) override;
  void EndProgress() override;
  bool ChooseFromProjectTree(const std::string& Caption, std::uint8_t Kind, kx::TKxID& ID) override;
  void ShowSettingsDialog(const kx::TOrvexApplication& App) override;
  forms::TPadPlacement Placement() const override;
  std::optional<forms::TPadRect> WorkArea(const forms::TPadRect& Near) const override;
  std::optional<forms::TPadRect> OwnerBounds() const override;
  void Place(const forms::TPadPlacement& Placement) override;

  LRESULT Handle(HWND Window, UINT Message, WPARAM W, LPARAM L) override;
  void Command(int Id, int Code);
  void CreateControls();
  void ReleaseWindow();
  void Layout(int Width);

  kx::TTraceAddOn& FAddon;
  HWND FWindow = nullptr;
  HIMAGELIST FImages = nullptr;
  std::wstring FTip;  // the tool tip being shown
  HWND FWidthTip = nullptr;
  std::wstring FWidthTipText;
  int FProgressTotal = 0;
  bool FShowing = false;  // the model's own changes to the edit are not input
  std::unique_ptr<forms::TTracePadModel> FModel;
};

}  // namespace winui
