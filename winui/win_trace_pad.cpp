#include "winui/win_trace_pad.h"

#include <commctrl.h>

#include <vector>

#include "addonkit/module_state.h"
#include "compat/module_file.h"
#include "compat/module_images.h"
#include "compat/win32_text.h"
#include "winui/pad_controls.h"
#include "winui/win_settings_form.h"
#include "winui/win_tree_chooser.h"

namespace winui {

namespace {

using forms::TPadAction;

constexpr int ButtonSize = 26, Margin = 4;

HWND Item(HWND Window, int Id) {
  return GetDlgItem(Window, Id);
}

bool Checked(HWND Window, int Id) {
  return SendMessageW(Item(Window, Id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void SetChecked(HWND Window, int Id, bool On) {
  SendMessageW(Item(Window, Id), BM_SETCHECK, On ? BST_CHECKED : BST_UNCHECKED, 0);
}

forms::TPadRect FromRect(const RECT& R) {
  return {R.left, R.top, R.right - R.left, R.bottom - R.top};
}

kx::TTracePadLink* CreateTracePad(kx::TTraceAddOn* AddOn) {
  return new TWinTracePad(*AddOn);
}

// The add-on's command makes its pad through this hook, so that the module
// below the windows never names it.
struct TPadInstaller {
  TPadInstaller() { kx::TracePadCreator = &CreateTracePad; }
} PadInstaller;

}  // namespace

TWinTracePad::TWinTracePad(kx::TTraceAddOn& AAddon) : FAddon(AAddon) {
  FWindow = CreateFormWindow(PadClassName, forms::PadCaption,
                             WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME,
                             forms::PadWidth, forms::PadHeight, FormOwner(), *this);
  try {
    CreateControls();
    FModel = std::make_unique<forms::TTracePadModel>(FAddon, *this);
  } catch (...) {
    // No pad: nothing of it stays on the screen or in the module.
    ReleaseWindow();
    throw;
  }
  PadChanged(forms::pcAll);
}

void TWinTracePad::ReleaseWindow() {
  SetWindowLongPtrW(FWindow, GWLP_USERDATA, 0);
  DestroyWindow(FWindow);
  if (FImages) ImageList_Destroy(FImages);
}

TWinTracePad::~TWinTracePad() {
  FModel.reset();
  ReleaseWindow();
  if (kx::TracePadForm == static_cast<kx::TTracePadLink*>(this)) kx::TracePadForm = nullptr;
}

void TWinTracePad::CreateControls() {
  // The tool bar: the actions' images in an image list, their hints as tool
  // tips, groups apart.
  const HWND Bar = CreateControl(
      FWindow, TOOLBARCLASSNAMEW, "",
      TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_NODIVIDER | CCS_NORESIZE | CCS_NOPARENTALIGN,
      PadToolBar, Margin, Margin, forms::PadWidth - 2 * Margin, ButtonSize);
  SendMessageW(Bar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  FImages = ImageList_Create(16, 16, ILC_COLOR24 | ILC_MASK, forms::PadActionCount, 0);
  std::vector<TBBUTTON> Buttons;
  for (int I = 0; I < forms::PadActionCount; ++I) {
    const forms::TPadActionText& T = forms::PadActionText(static_cast<TPadAction>(I));
    // The images' transparent pixels are the classic face grey.
    const auto Image = static_cast<HBITMAP>(
        LoadImageW(static_cast<HINSTANCE>(compat::ModuleInstance()), compat::Widen(T.Image).c_str(),
                   IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    const int Index = Image ? ImageList_AddMasked(FImages, Image, RGB(192, 192, 192)) : I_IMAGENONE;
    if (Image) DeleteObject(Image);
    TBBUTTON B{};
    B.iBitmap = Index;
    B.idCommand = PadActionBase + I;
    B.fsState = TBSTATE_ENABLED;
    B.fsStyle = BTNS_BUTTON;
    Buttons.push_back(B);
    if (T.SeparatorAfter) {
      TBBUTTON Gap{};
      Gap.fsStyle = BTNS_SEP;
      Buttons.push_back(Gap);
    }
  }
  SendMessageW(Bar, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(FImages));
  SendMessageW(Bar, TB_ADDBUTTONSW, Buttons.size(), reinterpret_cast<LPARAM>(Buttons.data()));
  int Y = Margin + ButtonSize + 6;
  CreateControl(FWindow, L"STATIC", forms::PadNoStyleText, SS_LEFT | SS_ENDELLIPSIS, PadStyleLabel,
                Margin, Y, forms::PadWidth - 2 * Margin, 16);
  Y += 20;
  const int Checks[] = {PadCheckTraceOn, PadCheckAlong, PadCheckCloseBy};
  const char* Texts[] = {forms::PadTraceOnText, forms::PadAlongText, forms::PadCloseByText};
  for (int I = 0; I < 3; ++I, Y += 20)
    CreateControl(FWindow, L"BUTTON", Texts[I], BS_AUTOCHECKBOX | WS_TABSTOP, Checks[I], Margin, Y,
                  forms::PadWidth - 2 * Margin, 18);
  Y += 4;
  CreateControl(FWindow, L"STATIC", forms::PadWidthLabelText, SS_LEFT, PadWidthLabel, Margin, Y + 3,
                120, 16);
  const HWND Edit = CreateControl(FWindow, L"EDIT", "", WS_BORDER | ES_AUTOHSCROLL | WS_TABSTOP,
                                  PadWidthEdit, 128, Y, 80, 21);
  // The widths with a meaning of their own, in the edit's tool tip.
  FWidthTip = CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                              CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, FWindow, nullptr,
                              static_cast<HINSTANCE>(compat::ModuleInstance()), nullptr);
  FWidthTipText = compat::Widen(forms::PadWidthTip);
  TTTOOLINFOW Tool{};
  Tool.cbSize = sizeof Tool;
  Tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  Tool.hwnd = FWindow;
  Tool.uId = reinterpret_cast<UINT_PTR>(Edit);
  Tool.lpszText = FWidthTipText.data();
  SendMessageW(FWidthTip, TTM_SETMAXTIPWIDTH, 0, 300);
  SendMessageW(FWidthTip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&Tool));
  CreateControl(FWindow, L"STATIC", "", SS_LEFT | SS_ENDELLIPSIS, PadProgressLabel, Margin,
                forms::PadHeight - 18, forms::PadWidth - 2 * Margin, 16);
}

void TWinTracePad::Layout(int Width) {
  for (int Id :
       {PadStyleLabel, PadCheckTraceOn, PadCheckAlong, PadCheckCloseBy, PadProgressLabel}) {
    const HWND Control = Item(FWindow, Id);
    RECT R;
    GetWindowRect(Control, &R);
    MapWindowPoints(nullptr, FWindow, reinterpret_cast<POINT*>(&R), 2);
    SetWindowPos(Control, nullptr, 0, 0, std::max(1, Width - 2 * Margin), R.bottom - R.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

void TWinTracePad::ShowPad() {
  if (IsWindowVisible(FWindow)) return;
  ShowWindow(FWindow, SW_SHOW);
  FModel->Shown();
}

void TWinTracePad::PadChanged(unsigned Changes) {
  if (!FModel) return;  // the model's own construction; shown once it is made
  const forms::TTracePadModel& M = *FModel;
  if (Changes & forms::pcActions) {
    for (int I = 0; I < forms::PadActionCount; ++I)
      SendMessageW(Item(FWindow, PadToolBar), TB_ENABLEBUTTON, PadActionBase + I,
                   MAKELPARAM(M.Enabled(static_cast<TPadAction>(I)), 0));
    EnableWindow(Item(FWindow, PadCheckTraceOn), M.TraceOnEnabled());
  }
  if (Changes & forms::pcChecks) {
    SetChecked(FWindow, PadCheckTraceOn, M.TraceOn());
    SetChecked(FWindow, PadCheckAlong, M.Along());
    SetChecked(FWindow, PadCheckCloseBy, M.CloseBy());
  }
  if (Changes & forms::pcStyleLine) SetControlText(Item(FWindow, PadStyleLabel), M.StyleLine());
  if ((Changes & forms::pcWidthText) && ControlText(Item(FWindow, PadWidthEdit)) != M.WidthText()) {
    FShowing = true;
    SetControlText(Item(FWindow, PadWidthEdit), M.WidthText());
    FShowing = false;
  }
}

void TWinTracePad::ShowError(const std::string& Message) {
  MessageBoxW(FWindow, compat::Widen(Message).c_str(),
              compat::Widen(kx::ModuleState().ApplicationTitle).c_str(), MB_OK | MB_ICONERROR);
}

bool TWinTracePad::Confirm(const std::string& Question) {
  return MessageBoxW(FWindow, compat::Widen(Question).c_str(),
                     compat::Widen(forms::PadCaption).c_str(), MB_YESNO | MB_ICONQUESTION) == IDYES;
}

// Progress shows in the pad's bottom line; the window keeps painting while
// zones are built.
void TWinTracePad::BeginProgress(const std::string& Text, const std::string&, int Total) {
  FProgressTotal = Total;
  StepProgress(Text, 0);
}

bool TWinTracePad::StepProgress(const std::string& Text, int Done) {
  SetControlText(Item(FWindow, PadProgressLabel),
                 Text + " (" + std::to_string(Done) + "/" + std::to_string(FProgressTotal) + ")");
  UpdateWindow(FWindow);
  return true;
}

void TWinTracePad::EndProgress() {
  SetControlText(Item(FWindow, PadProgressLabel), "");
}

bool TWinTracePad::ChooseFromProjectTree(const std::string& Caption, std::uint8_t Kind,
                                         kx::TKxID& ID) {
  return winui::ChooseFromProjectTree(FAddon, Caption, Kind, ID);
}

void TWinTracePad::ShowSettingsDialog(const kx::TOrvexApplication& App) {
  winui::ShowSettingsDialog(App, FWindow);
}

forms::TPadPlacement TWinTracePad::Placement() const {
  WINDOWPLACEMENT Place{};
  Place.length = sizeof Place;
  GetWindowPlacement(FWindow, &Place);
  forms::TPadPlacement P;
  // A maximised or minimised pad keeps the rectangle it returns to.
  P.Bounds = FromRect(Place.rcNormalPosition);
  P.State = IsIconic(FWindow)   ? forms::TPadWindowState::Minimized
            : IsZoomed(FWindow) ? forms::TPadWindowState::Maximized
                                : forms::TPadWindowState::Normal;
  return P;
}

std::optional<forms::TPadRect> TWinTracePad::WorkArea(const forms::TPadRect& Near) const {
  const RECT R{Near.Left, Near.Top, Near.Left + Near.Width, Near.Top + Near.Height};
  MONITORINFO Info{};
  Info.cbSize = sizeof Info;
  if (!GetMonitorInfoW(MonitorFromRect(&R, MONITOR_DEFAULTTONEAREST), &Info)) return std::nullopt;
  return FromRect(Info.rcWork);
}

std::optional<forms::TPadRect> TWinTracePad::OwnerBounds() const {
  const HWND Owner = GetWindow(FWindow, GW_OWNER);
  RECT R;
  if (!Owner || !IsWindowVisible(Owner) || !GetWindowRect(Owner, &R)) return std::nullopt;
  return FromRect(R);
}

void TWinTracePad::Place(const forms::TPadPlacement& P) {
  WINDOWPLACEMENT Place{};
  Place.length = sizeof Place;
  GetWindowPlacement(FWindow, &Place);
  Place.rcNormalPosition = {P.Bounds.Left, P.Bounds.Top, P.Bounds.Left + P.Bounds.Width,
                            P.Bounds.Top + P.Bounds.Height};
  const bool Visible = IsWindowVisible(FWindow);
  Place.showCmd = !Visible                                       ? SW_HIDE
                  : P.State == forms::TPadWindowState::Minimized ? SW_SHOWMINIMIZED
                  : P.State == forms::TPadWindowState::Maximized ? SW_SHOWMAXIMIZED
                                                                 : SW_SHOWNORMAL;
  SetWindowPlacement(FWindow, &Place);
}

void TWinTracePad::Command(int Id, int Code) {
  if (Id >= PadActionBase && Id < PadActionBase + forms::PadActionCount) {
    if (Code == BN_CLICKED) FModel->Execute(static_cast<TPadAction>(Id - PadActionBase));
  } else if (Id == PadCheckTraceOn && Code == BN_CLICKED) {
    FModel->SetTraceOn(Checked(FWindow, Id));
  } else if (Id == PadCheckAlong && Code == BN_CLICKED) {
    FModel->SetAlong(Checked(FWindow, Id));
  } else if (Id == PadCheckCloseBy && Code == BN_CLICKED) {
    FModel->SetCloseBy(Checked(FWindow, Id));
  } else if (Id == PadWidthEdit && Code == EN_CHANGE && !FShowing) {
    FModel->SetWidthText(ControlText(Item(FWindow, Id)));
  }
}

LRESULT TWinTracePad::Handle(HWND Window, UINT Message, WPARAM W, LPARAM L) {
  switch (Message) {
    case WM_COMMAND:
      if (FModel) Command(LOWORD(W), HIWORD(W));
      return 0;
    case WM_NOTIFY: {
      // The tool tips: each button's hint.
      auto* Tip = reinterpret_cast<NMTTDISPINFOW*>(L);
      if (Tip->hdr.code == TTN_GETDISPINFOW && Tip->hdr.idFrom >= PadActionBase &&
          Tip->hdr.idFrom < static_cast<UINT_PTR>(PadActionBase + forms::PadActionCount)) {
        FTip = compat::Widen(
            forms::PadActionTip(static_cast<TPadAction>(Tip->hdr.idFrom - PadActionBase)));
        Tip->lpszText = FTip.data();
      }
      return 0;
    }
    case WM_SIZE:
      Layout(LOWORD(L));
      return 0;
    case WM_GETMINMAXINFO: {
      // The width can change down to the minimum, the height cannot.
      auto* Limits = reinterpret_cast<MINMAXINFO*>(L);
      RECT Frame{0, 0, forms::PadMinWidth, forms::PadHeight};
      AdjustWindowRectEx(&Frame, static_cast<DWORD>(GetWindowLongW(Window, GWL_STYLE)), FALSE,
                         static_cast<DWORD>(GetWindowLongW(Window, GWL_EXSTYLE)));
      Limits->ptMinTrackSize.x = Frame.right - Frame.left;
      Limits->ptMinTrackSize.y = Limits->ptMaxTrackSize.y = Frame.bottom - Frame.top;
      return 0;
    }
    case WM_CLOSE:
      // Closing hides the pad and suspends tracing; showing it again resumes.
      ShowWindow(Window, SW_HIDE);
      if (FModel) FModel->Hidden();
      return 0;
    default:
      return DefWindowProcW(Window, Message, W, L);
  }
}

}  // namespace winui
