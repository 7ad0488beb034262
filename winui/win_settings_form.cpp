#include "winui/win_settings_form.h"

#include <array>
#include <memory>
#include <vector>

#include "addonkit/module_state.h"
#include "compat/win32_text.h"
#include "forms/settings_model.h"
#include "winui/settings_controls.h"
#include "winui/win_color_box.h"
#include "winui/win_float_edit.h"
#include "winui/win_style_grid.h"
#include "winui/win_window.h"

namespace winui {

namespace {

using forms::TSettingsNumber;

// The client area; the pages lie right of the list of their names.
constexpr int FormWidth = 413, FormHeight = 425;
constexpr int TreeWidth = 145, Margin = 8, PageLeft = Margin + TreeWidth + 6;
constexpr int PageWidth = FormWidth - PageLeft - Margin;
// Inside a group box.
constexpr int Inner = PageLeft + 8, InnerWidth = PageWidth - 16;
constexpr int RowStep = 28, EditWidth = 80, BoxWidth = 118;
constexpr int ColorItemHeight = 16;

class TSettingsDialog final : public TWinHandler {
 public:
  explicit TSettingsDialog(const kx::TOrvexApplication& App) : FApp(App) {}
  ~TSettingsDialog() {
    // The controls' views go before the window that holds the controls.
    FGrids = {};
    FEdits = {};
    if (FWindow) DestroyWindow(FWindow);
  }

  bool Run(HWND Owner) {
    FModel.SetLocaleSeparator(TWinFloatEdit::LocaleSeparator());
    FModel.Load(FApp);
    FWindow = CreateFormWindow(SettingsClassName, "Настройки", WS_POPUP | WS_CAPTION | WS_SYSMENU,
                               FormWidth, FormHeight, Owner, *this);
    CreateControls();
    ShowModel();

    RunModal(FWindow, Owner, FTree, FDone);
    // Closed without saving: the map goes back to the stored settings.
    if (!FSaved) {
      try {
        FModel.Revert(FApp);
      } catch (const std::exception&) {
        // The store refused the preview's values as well; nothing to put back.
      }
    }
    return FSaved;
  }

  LRESULT Handle(HWND Window, UINT Message, WPARAM W, LPARAM L) override {
    switch (Message) {
      case WM_COMMAND:
        Command(LOWORD(W), HIWORD(W));
        return 0;
      case WM_MEASUREITEM: {
        auto* Item = reinterpret_cast<MEASUREITEMSTRUCT*>(L);
        if (Item->CtlType != ODT_COMBOBOX) break;
        Item->itemHeight = ColorItemHeight;
        return TRUE;
      }
      case WM_DRAWITEM: {
        const auto* Item = reinterpret_cast<const DRAWITEMSTRUCT*>(L);
        if (TWinColorBox* Box = ColorBox(static_cast<int>(Item->CtlID))) {
          Box->Draw(*Item);
          return TRUE;
        }
        break;
      }
      case WM_CLOSE:
        FDone = true;
        return 0;
      default:
        break;
    }
    return DefWindowProcW(Window, Message, W, L);
  }

 private:
  using TPage = forms::TSettingsPage;

  HWND Add(TPage Page, HWND Control) {
    FPages[Page].push_back(Control);
    return Control;
  }
  void Label(TPage Page, const char* Text, int X, int Y, int Width) {
    Add(Page, CreateControl(FWindow, L"STATIC", Text, SS_LEFT | SS_NOPREFIX, 0xFFFF, X, Y + 3,
                            Width, 16));
  }
  void Group(TPage Page, const char* Text, int Y, int Height) {
    Add(Page, CreateControl(FWindow, L"BUTTON", Text, BS_GROUPBOX, 0xFFFF, PageLeft, Y, PageWidth,
                            Height));
  }
  // A label, and at the right a numeric edit.
  // LabelWidth 0: the label has a line of its own above the edit.
  void Number(TPage Page, const char* Text, TSettingsNumber N, int Y, int Precision, bool Strict,
              bool Trunc, int LabelWidth = InnerWidth - EditWidth - 4) {
    Label(Page, Text, Inner, Y, LabelWidth > 0 ? LabelWidth : InnerWidth);
    if (LabelWidth == 0) Y += 20;
    auto& Edit = FEdits[N];
    Edit = std::make_unique<TWinFloatEdit>(FWindow, SettingsNumberBase + N,
                                           Inner + InnerWidth - EditWidth, Y, EditWidth);
    Add(Page, Edit->Window());
    forms::TFloatEditModel& M = Edit->Model();
    M.SetPrecision(Precision);
    M.IsSigned = false;
    M.StrictCheck = Strict;
    M.TruncZeros = Trunc;
    Edit->OnEdited = [this, N](const std::string& Text) {
      if (FShowing) return;
      FModel.SetNumberText(N, Text);
      ShowModel();
    };
  }
  // "Для масштаба:" "1:" and the scale's edit.
  void Scale(TPage Page, TSettingsNumber N, int Y) {
    Number(Page, "Для масштаба:", N, Y, 0, false, false, InnerWidth - EditWidth - 20);
    Label(Page, "1:", Inner + InnerWidth - EditWidth - 16, Y, 12);
  }
  void Color(TPage Page, const char* Text, TSettingsColorBox Box, int Y) {
    Label(Page, Text, Inner, Y, InnerWidth - BoxWidth - 2);
    FColors[Box] = std::make_unique<TWinColorBox>(FWindow, SettingsColorBase + Box,
                                                  Inner + InnerWidth - BoxWidth, Y, BoxWidth);
    Add(Page, FColors[Box]->Window());
    FColors[Box]->OnChanged = [this] { ColorsChanged(); };
  }
  void Transparency(TPage Page, int Id, int Y) {
    Label(Page, "Прозрачность фона:", Inner, Y, InnerWidth - BoxWidth - 2);
    const HWND Box = Add(
        Page, CreateControl(FWindow, L"COMBOBOX", "", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP,
                            Id, Inner + InnerWidth - BoxWidth, Y, BoxWidth, 100));
    for (const char* Name : forms::TransparencyNames)
      SendMessageW(Box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(compat::Widen(Name).c_str()));
  }
  TWinStyleGrid& Grid(TPage Page, int Id, int Y, int Height, forms::TStyleGridModel& Model) {
    Label(Page, "Стиль:", Inner, Y, InnerWidth);
    auto Made = std::make_unique<TWinStyleGrid>(
        FWindow, Id, RECT{Inner, Y + 20, Inner + InnerWidth, Y + 20 + Height}, Model);
    Add(Page, Made->Window());
    Made->OnChanged = [this] { ShowModel(); };
    TWinStyleGrid& G = *Made;
    FGrids[static_cast<std::size_t>(Id - SettingsBufferZonePenGrid)] = std::move(Made);
    return G;
  }

  // The zone's and the trace's page: outline, then fill.
  void StylePage(TPage Page, forms::TPenStyleGridModel& Pen, forms::TBrushStyleGridModel& Brush,
                 int PenGrid, int BrushGrid, TSettingsColorBox PenColor, TSettingsNumber Width,
                 TSettingsNumber WidthScale, bool TraceWidth, int TransparencyId) {
    int Y = Margin;
    Group(Page, "Окантовка", Y, 196);
    Grid(Page, PenGrid, Y + 18, 64, Pen);
    Y += 110;
    Color(Page, "Цвет:", PenColor, Y);
    Number(Page, "Толщина (мм):", Width, Y += RowStep, 2, TraceWidth, TraceWidth);
    Scale(Page, WidthScale, Y += RowStep);
    Y = Margin + 204;
    Group(Page, "Закраска", Y, 204);
    Grid(Page, BrushGrid, Y + 18, 64, Brush);
    Y += 110;
    Color(Page, "Цвет фона:", static_cast<TSettingsColorBox>(PenColor + 1), Y);
    Color(Page, "Цвет штрихов:", static_cast<TSettingsColorBox>(PenColor + 2), Y += RowStep);
    Transparency(Page, TransparencyId, Y += RowStep);
  }

  void CreateControls() {
    FTree = CreateControl(FWindow, L"LISTBOX", "",
                          WS_BORDER | WS_VSCROLL | WS_TABSTOP | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT,
                          SettingsTree, Margin, Margin, TreeWidth, FormHeight - 3 * Margin - 25);
    for (const char* Name : forms::SettingsPageNames)
      SendMessageW(FTree, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(compat::Widen(Name).c_str()));
    FClose = CreateControl(FWindow, L"BUTTON", "Закрыть", BS_DEFPUSHBUTTON | WS_TABSTOP,
                           SettingsClose, Margin, FormHeight - Margin - 25, 75, 25);

    using forms::spVertices;
    int Y = Margin;
    Group(spVertices, "Вершины контура обрисовки", Y, 8 * RowStep + 2 * 20);
    // The long labels take a line of their own.
    Number(spVertices, "Размер стороны квадрата (м):", forms::snVertexTraceSize, Y += 20, 4, false,
           false, 0);
    Scale(spVertices, forms::snVertexTraceSizeForZoomScale, Y += RowStep + 20);
    Number(spVertices, "Толщина линии окантовки (мм):", forms::snVertexTracePenWidth, Y += RowStep,
           2, false, false, 0);
    Scale(spVertices, forms::snVertexTracePenWidthForZoomScale, Y += RowStep + 20);
    Color(spVertices, "Цвет окантовки:", scVertexPen, Y += RowStep);
    Color(spVertices, "Цвет фона:", scVertexBack, Y += RowStep);
    Transparency(spVertices, SettingsVertexTransparency, Y += RowStep);
    // The vertex width has no strict check nor sign limit of its own.
    FEdits[forms::snVertexTracePenWidth]->Model().IsSigned = true;

    StylePage(forms::spBufferZone, FModel.BufferZonePen, FModel.BufferZoneBrush,
              SettingsBufferZonePenGrid, SettingsBufferZoneBrushGrid, scBufferZonePen,
              forms::snBufferZonePenWidth, forms::snBufferZonePenForZoomScale, false,
              SettingsBufferZoneTransparency);
    StylePage(forms::spTrace, FModel.TracePen, FModel.TraceBrush, SettingsTracePenGrid,
              SettingsTraceBrushGrid, scTracePen, forms::snTracePenWidth,
              forms::snTracePenForZoomScale, true, SettingsTraceTransparency);
    // A click on it must not leave a field first: the saving checks them all.
    for (auto& Edit : FEdits) Edit->ExemptFocus = FClose;
  }

  TWinColorBox* ColorBox(int Id) const {
    const int I = Id - SettingsColorBase;
    return I >= 0 && I < SettingsColorCount ? FColors[static_cast<std::size_t>(I)].get() : nullptr;
  }

  // Every colour box's colour to the model.
  void ColorsChanged() {
    if (FShowing) return;
    FModel.BufferZonePen.SetColor(FColors[scBufferZonePen]->Selected());
    FModel.BufferZoneBrush.SetBackColor(FColors[scBufferZoneBack]->Selected());
    FModel.BufferZoneBrush.SetHatchColor(FColors[scBufferZoneHatch]->Selected());
    FModel.TracePen.SetColor(FColors[scTracePen]->Selected());
    FModel.TraceBrush.SetBackColor(FColors[scTraceBack]->Selected());
    FModel.TraceBrush.SetHatchColor(FColors[scTraceHatch]->Selected());
    FModel.VertexTracePenColor = FColors[scVertexPen]->Selected();
    FModel.VertexTraceBackColor = FColors[scVertexBack]->Selected();
    ShowModel();
  }

  void Command(int Id, int Code) {
    if (FShowing) return;
    const auto Index = [&] {
      return static_cast<int>(SendMessageW(GetDlgItem(FWindow, Id), CB_GETCURSEL, 0, 0));
    };
    if (Id == SettingsTree && Code == LBN_SELCHANGE) {
      const int I = static_cast<int>(SendMessageW(FTree, LB_GETCURSEL, 0, 0));
      if (I >= 0 && I < static_cast<int>(forms::SettingsPageNames.size()))
        FModel.SelectNode(forms::SettingsPageNames[static_cast<std::size_t>(I)]);
      ShowModel();
    } else if (Id >= SettingsNumberBase && Id < SettingsNumberBase + forms::SettingsNumberCount) {
      if (Code == EN_CHANGE) FEdits[static_cast<std::size_t>(Id - SettingsNumberBase)]->Changed();
    } else if (TWinColorBox* Box = ColorBox(Id)) {
      if (Code == CBN_SELCHANGE) Box->Activated(Index());
    } else if (Code == CBN_SELCHANGE && Id == SettingsBufferZoneTransparency) {
      forms::TSettingsModel::SetTransparencyIndex(FModel.BufferZoneBrush, Index());
      ShowModel();
    } else if (Code == CBN_SELCHANGE && Id == SettingsTraceTransparency) {
      forms::TSettingsModel::SetTransparencyIndex(FModel.TraceBrush, Index());
      ShowModel();
    } else if (Code == CBN_SELCHANGE && Id == SettingsVertexTransparency) {
      FModel.VertexTraceTransparencyIndex = Index();
      ShowModel();
    } else if (Id == SettingsClose && Code == BN_CLICKED) {
      Save();
    } else if (Id == SettingsCancel) {
      FDone = true;
    }
  }

  void Save() {
    try {
      FModel.Save(FApp);
    } catch (const std::exception& E) {
      ShowModel();
      if (FModel.FailedNumber() >= 0)
        SetFocus(FEdits[static_cast<std::size_t>(FModel.FailedNumber())]->Window());
      MessageBoxW(FWindow, compat::Widen(E.what()).c_str(),
                  compat::Widen(kx::ModuleState().ApplicationTitle).c_str(), MB_OK | MB_ICONERROR);
      return;
    }
    FSaved = FDone = true;
  }

  // Shows the whole state of the model.
  void ShowModel() {
    if (FShowing) return;
    FShowing = true;
    const TPage Page = FModel.Page();
    if (SendMessageW(FTree, LB_GETCURSEL, 0, 0) != Page)
      SendMessageW(FTree, LB_SETCURSEL, static_cast<WPARAM>(Page), 0);
    for (int N = 0; N < forms::SettingsNumberCount; ++N) {
      const auto Number = static_cast<TSettingsNumber>(N);
      TWinFloatEdit& Edit = *FEdits[static_cast<std::size_t>(N)];
      Edit.SetText(FModel.NumberText(Number));
      EnableWindow(Edit.Window(), FModel.NumberEnabled(Number));
    }
    FColors[scBufferZonePen]->SetSelected(FModel.BufferZonePen.Color());
    FColors[scBufferZoneBack]->SetSelected(FModel.BufferZoneBrush.BackColor());
    FColors[scBufferZoneHatch]->SetSelected(FModel.BufferZoneBrush.HatchColor());
    FColors[scTracePen]->SetSelected(FModel.TracePen.Color());
    FColors[scTraceBack]->SetSelected(FModel.TraceBrush.BackColor());
    FColors[scTraceHatch]->SetSelected(FModel.TraceBrush.HatchColor());
    FColors[scVertexPen]->SetSelected(FModel.VertexTracePenColor);
    FColors[scVertexBack]->SetSelected(FModel.VertexTraceBackColor);
    const auto Select = [&](int Id, int Index) {
      SendMessageW(GetDlgItem(FWindow, Id), CB_SETCURSEL, static_cast<WPARAM>(Index), 0);
    };
    Select(SettingsBufferZoneTransparency,
           forms::TSettingsModel::TransparencyIndex(FModel.BufferZoneBrush));
    Select(SettingsTraceTransparency, forms::TSettingsModel::TransparencyIndex(FModel.TraceBrush));
    Select(SettingsVertexTransparency, FModel.VertexTraceTransparencyIndex);
    for (int P = 0; P < static_cast<int>(FPages.size()); ++P)
      for (HWND Control : FPages[static_cast<std::size_t>(P)])
        ShowWindow(Control, P == Page ? SW_SHOWNA : SW_HIDE);
    FShowing = false;
    // Every change shows on the map at once.
    try {
      FModel.Preview(FApp);
    } catch (const std::exception&) {
      // A store that refuses the preview refuses the saving too, which says so.
    }
  }

  forms::TSettingsModel FModel;
  kx::TOrvexApplication FApp;
  HWND FWindow = nullptr, FTree = nullptr, FClose = nullptr;
  std::array<std::vector<HWND>, 3> FPages;
  std::array<std::unique_ptr<TWinStyleGrid>, 4> FGrids;
  std::array<std::unique_ptr<TWinColorBox>, SettingsColorCount> FColors;
  std::array<std::unique_ptr<TWinFloatEdit>, forms::SettingsNumberCount> FEdits;
  bool FShowing = false, FDone = false, FSaved = false;
};

}  // namespace

bool ShowSettingsDialog(const kx::TOrvexApplication& App, HWND Owner) {
  TSettingsDialog Dialog(App);
  return Dialog.Run(Owner);
}

}  // namespace winui
