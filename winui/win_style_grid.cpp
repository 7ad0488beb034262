#include "winui/win_style_grid.h"

#include "compat/win32_text.h"
#include "trace/engine/dev_points.h"
#include "winui/settings_controls.h"
#include "winui/win_style_sample.h"

namespace winui {

namespace {

void Fill(HDC Canvas, const RECT& Rect, COLORREF Color) {
  SetBkColor(Canvas, Color);
  ExtTextOutW(Canvas, 0, 0, ETO_OPAQUE, &Rect, nullptr, 0, nullptr);
}

// A one-pixel frame: top and left lines in TopLeft, bottom and right in
// BottomRight; Rect shrinks by one pixel on each side.
void Frame(HDC Canvas, RECT& Rect, COLORREF TopLeft, COLORREF BottomRight) {
  if (Rect.right <= Rect.left || Rect.bottom <= Rect.top) return;
  const LONG L = Rect.left, T = Rect.top, R = Rect.right - 1, B = Rect.bottom - 1;
  Fill(Canvas, {L, T, L + 1, B + 1}, TopLeft);
  Fill(Canvas, {L, T, R, T + 1}, TopLeft);
  Fill(Canvas, {R, T, R + 1, B}, BottomRight);
  Fill(Canvas, {L, B, R + 1, B + 1}, BottomRight);
  InflateRect(&Rect, -1, -1);
}

COLORREF Sys(int Index) {
  return GetSysColor(Index);
}

constexpr COLORREF Black = RGB(0, 0, 0), White = RGB(255, 255, 255);

}  // namespace

TWinStyleGrid::TWinStyleGrid(HWND Parent, int Id, RECT Bounds, forms::TStyleGridModel& Model)
    : FModel(Model) {
  FWindow =
      CreateHandlerControl(StyleGridClassName, Parent, WS_TABSTOP, Id, Bounds.left, Bounds.top,
                           Bounds.right - Bounds.left, Bounds.bottom - Bounds.top, *this);
  FModel.OnRepaint = [this] { InvalidateRect(FWindow, nullptr, FALSE); };
  FModel.OnChanged = [this] {
    InvalidateRect(FWindow, nullptr, FALSE);
    if (OnChanged) OnChanged();
  };
}

TWinStyleGrid::~TWinStyleGrid() {
  FModel.OnRepaint = nullptr;
  FModel.OnChanged = nullptr;
  if (IsWindow(FWindow)) SetWindowLongPtrW(FWindow, GWLP_USERDATA, 0);
}

void TWinStyleGrid::DrawSample(HDC Canvas, int Index, const RECT& Rect) const {
  const forms::TSampleLook Look = FModel.Sample(Index);
  const trace::TDevRect R{Rect.left, Rect.top, Rect.right, Rect.bottom};
  switch (Look.Kind) {
    case forms::TSampleLook::None:
      return;
    case forms::TSampleLook::Label: {
      Fill(Canvas, Rect, Sys(COLOR_WINDOW));
      RECT Text = Rect;
      SetTextColor(Canvas, Look.TextInPenColor ? Look.Pen.Color & 0xFFFFFF : Sys(COLOR_WINDOWTEXT));
      SetBkMode(Canvas, TRANSPARENT);
      DrawTextW(Canvas, compat::Widen(Look.Text).c_str(), -1, &Text,
                DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
      return;
    }
    case forms::TSampleLook::Fill: {
      trace::TDevPointsLease D;
      trace::ResetDevPoints(*D);
      // One pixel wider and taller: a fill leaves out the right and bottom
      // edges of its polygon.
      trace::AddRect(*D, {R.Left, R.Top, R.Right + 1, R.Bottom + 1}, true);
      trace::FinishDevPoints(*D);
      DrawShape(*D, Canvas, Look.Pen, Look.Brush, true, 1, 1);
      return;
    }
    case forms::TSampleLook::Line: {
      Fill(Canvas, Rect, Sys(COLOR_WINDOW));
      trace::TDevPointsLease D;
      trace::ResetDevPoints(*D);
      const int Y = (R.Top + R.Bottom) / 2;
      trace::AddPoint(D->Current, {R.Left + 4, Y});
      trace::AddPoint(D->Current, {R.Right - 4, Y});
      D->Current.Closed = false;
      trace::FinishDevPoints(*D);
      DrawShape(*D, Canvas, Look.Pen, Look.Brush, true, 1, 1);
      return;
    }
  }
}

void TWinStyleGrid::DrawCell(HDC Canvas, int Col, int Row, int Width, int Height) const {
  const forms::TCellRect C = FModel.CellRect(Col, Row, Width, Height);
  RECT Rect{C.Left, C.Top, C.Left + C.Width, C.Top + C.Height};
  const COLORREF Face = Sys(COLOR_BTNFACE), Shadow = Sys(COLOR_BTNSHADOW),
                 Light = Sys(COLOR_BTNHIGHLIGHT);
  const forms::TCellLook Look = FModel.CellLook(Col, Row, IsWindowEnabled(FWindow) != FALSE);
  switch (Look) {
    case forms::TCellLook::Empty:
      Fill(Canvas, Rect, Sys(COLOR_WINDOW));
      return;
    case forms::TCellLook::Disabled:
      Frame(Canvas, Rect, Face, Face);
      Frame(Canvas, Rect, Shadow, Light);
      Frame(Canvas, Rect, Light, Shadow);
      Fill(Canvas, Rect, Face);
      return;
    case forms::TCellLook::Selected:
      Frame(Canvas, Rect, Black, Black);
      Frame(Canvas, Rect, White, White);
      Frame(Canvas, Rect, Black, Black);
      break;
    case forms::TCellLook::Normal:
      Frame(Canvas, Rect, Face, Face);
      Frame(Canvas, Rect, Shadow, Light);
      Frame(Canvas, Rect, Black, Face);
      break;
  }
  const int Saved = SaveDC(Canvas);
  IntersectClipRect(Canvas, Rect.left, Rect.top, Rect.right, Rect.bottom);
  DrawSample(Canvas, FModel.CellIndex(Col, Row), Rect);
  RestoreDC(Canvas, Saved);
  if (Look == forms::TCellLook::Selected && GetFocus() == FWindow) {
    RECT Focus = Rect;
    InflateRect(&Focus, 2, 2);
    SetTextColor(Canvas, Black);
    SetBkColor(Canvas, White);
    DrawFocusRect(Canvas, &Focus);
  }
}

void TWinStyleGrid::Paint(HDC Canvas, int Width, int Height) const {
  const int Saved = SaveDC(Canvas);
  SelectObject(Canvas, GetStockObject(DEFAULT_GUI_FONT));
  Fill(Canvas, {0, 0, Width, Height}, Sys(COLOR_WINDOW));
  for (int Row = 0; Row < FModel.RowCount(); ++Row)
    for (int Col = 0; Col < FModel.ColCount(); ++Col) DrawCell(Canvas, Col, Row, Width, Height);
  RestoreDC(Canvas, Saved);
}

LRESULT TWinStyleGrid::Handle(HWND Window, UINT Message, WPARAM W, LPARAM L) {
  switch (Message) {
    case WM_PAINT: {
      PAINTSTRUCT Paint;
      const HDC Screen = BeginPaint(Window, &Paint);
      RECT Client;
      GetClientRect(Window, &Client);
      // Drawn off the screen first: the cells do not flicker.
      const HDC Memory = CreateCompatibleDC(Screen);
      const HBITMAP Image = CreateCompatibleBitmap(Screen, Client.right, Client.bottom);
      const HGDIOBJ Old = SelectObject(Memory, Image);
      this->Paint(Memory, Client.right, Client.bottom);
      BitBlt(Screen, 0, 0, Client.right, Client.bottom, Memory, 0, 0, SRCCOPY);
      SelectObject(Memory, Old);
      DeleteObject(Image);
      DeleteDC(Memory);
      EndPaint(Window, &Paint);
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN: {
      SetFocus(Window);
      RECT Client;
      GetClientRect(Window, &Client);
      FModel.Click(static_cast<short>(LOWORD(L)), static_cast<short>(HIWORD(L)), Client.right,
                   Client.bottom);
      return 0;
    }
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS;
    case WM_KEYDOWN: {
      int Col = 0, Row = 0;
      if (!FModel.SampleCell(FModel.StyleIndex(), Col, Row)) break;
      switch (W) {
        case VK_LEFT:
          FModel.Step(-1, 0);
          return 0;
        case VK_RIGHT:
          FModel.Step(1, 0);
          return 0;
        case VK_UP:
          FModel.Step(0, -1);
          return 0;
        case VK_DOWN:
          FModel.Step(0, 1);
          return 0;
        default:
          break;
      }
      break;
    }
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
      InvalidateRect(Window, nullptr, FALSE);
      return 0;
    default:
      break;
  }
  return DefWindowProcW(Window, Message, W, L);
}

}  // namespace winui
