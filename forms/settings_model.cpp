#include "forms/settings_model.h"

#include "core/exception.h"
#include "forms/float_edit_model.h"
#include "trace/editor/trace_settings.h"

namespace forms {

namespace {

constexpr int PenSolid = 0;

struct TNumberInfo {
  const char* Setting;
  bool Integer;
  TSettingsPage Page;
};

// By TSettingsNumber.
constexpr std::array<TNumberInfo, SettingsNumberCount> Numbers = {{
    {"BufferZoneWidth", false, spBufferZone},
    {"BufferZonePenForZoomScale", true, spBufferZone},
    {"TraceWidth", false, spTrace},
    {"TracePenForZoomScale", true, spTrace},
    {"VertexTraceSize", false, spVertices},
    {"VertexTraceSizeForZoomScale", true, spVertices},
    {"VertexTraceWidth", false, spVertices},
    {"VertexTracePenWidthForZoomScale", true, spVertices},
}};

// Colours are written as signed 32-bit numbers.
std::int32_t ColorValue(trace::TColorRef Color) {
  return static_cast<std::int32_t>(Color);
}

void LoadPen(TPenStyleGridModel& Grid, int Style, trace::TColorRef Color) {
  Grid.SetStyle(Style);
  Grid.SetColor(Color);
}

void LoadBrush(TBrushStyleGridModel& Grid, int Style, trace::TColorRef Back, trace::TColorRef Hatch,
               int Transparency) {
  Grid.SetStyle(Style);
  Grid.SetBackColor(Back);
  Grid.SetHatchColor(Hatch);
  Grid.SetTransparency(Transparency != 0);
}

}  // namespace

TSettingsModel::TSettingsModel() {
  for (TStyleGridModel* Pen : {&BufferZonePen, &TracePen}) Pen->SetColCount(3);
  for (TStyleGridModel* Brush : {&BufferZoneBrush, &TraceBrush}) Brush->SetColCount(4);
}

void TSettingsModel::SelectNode(std::string_view NodeText) {
  for (int I = 0; I < static_cast<int>(SettingsPageNames.size()); ++I)
    if (NodeText == SettingsPageNames[static_cast<std::size_t>(I)]) FNode = I;
}

TSettingsPage TSettingsModel::Page() const {
  return FNode < 0 ? spVertices : static_cast<TSettingsPage>(FNode);
}

int TSettingsModel::TransparencyIndex(const TBrushStyleGridModel& Brush) {
  return Brush.Transparency() ? 1 : 0;
}

void TSettingsModel::SetTransparencyIndex(TBrushStyleGridModel& Brush, int Index) {
  Brush.SetTransparency(Index == 1);
}

const std::string& TSettingsModel::NumberText(TSettingsNumber Number) const {
  return FNumbers[static_cast<std::size_t>(Number)];
}

void TSettingsModel::SetNumberText(TSettingsNumber Number, std::string_view Text) {
  FNumbers[static_cast<std::size_t>(Number)] = Text;
}

bool TSettingsModel::NumberEnabled(TSettingsNumber Number) const {
  switch (Number) {
    case snBufferZonePenWidth:
    case snBufferZonePenForZoomScale:
      return BufferZonePen.Style() == PenSolid;
    case snTracePenWidth:
    case snTracePenForZoomScale:
      return TracePen.Style() == PenSolid;
    default:
      return true;
  }
}

TSettingsPage TSettingsModel::PageOf(TSettingsNumber Number) {
  return Numbers[static_cast<std::size_t>(Number)].Page;
}

void TSettingsModel::Load(const kx::TOrvexApplication& App) {
  const trace::TTraceSettings S = trace::ReadTraceSettings(App);
  // Reals as their general text: up to 15 significant digits.
  const auto Real = [this](double V) {
    return TFloatEditModel::FloatToText(V, 15, true, FSeparator);
  };
  LoadPen(BufferZonePen, S.BufferZonePenStyle, S.BufferZonePenColor);
  FNumbers[snBufferZonePenWidth] = Real(S.BufferZonePenWidth);
  FNumbers[snBufferZonePenForZoomScale] = std::to_string(S.BufferZonePenForZoomScale);
  LoadBrush(BufferZoneBrush, S.BufferZoneBrushStyle, S.BufferZoneBackColor, S.BufferZoneHatchColor,
            S.BufferZoneTransparency);
  LoadPen(TracePen, S.TracePenStyle, S.TracePenColor);
  FNumbers[snTracePenWidth] = Real(S.TracePenWidth);
  FNumbers[snTracePenForZoomScale] = std::to_string(S.TracePenForZoomScale);
  LoadBrush(TraceBrush, S.TraceBrushStyle, S.TraceBackColor, S.TraceHatchColor,
            S.TraceTransparency);
  FNumbers[snVertexTraceSize] = Real(S.VertexTraceSize);
  FNumbers[snVertexTraceSizeForZoomScale] = std::to_string(S.VertexTraceSizeForZoomScale);
  FNumbers[snVertexTracePenWidth] = Real(S.VertexTracePenWidth);
  FNumbers[snVertexTracePenWidthForZoomScale] = std::to_string(S.VertexTracePenWidthForZoomScale);
  VertexTracePenColor = S.VertexTracePenColor & 0xFFFFFF;
  VertexTraceBackColor = S.VertexTraceBackColor & 0xFFFFFF;
  VertexTraceTransparencyIndex = S.VertexTraceBrushTransparency != 0 ? 1 : 0;
  // What the store means now: a preview writes what differs from it.
  FLoaded = FInStore = Texts();
  FStored.clear();
}

bool TSettingsModel::NumbersReadable(int* Failed) const {
  for (int N = 0; N < SettingsNumberCount; ++N) {
    const std::string& Text = FNumbers[static_cast<std::size_t>(N)];
    try {
      if (Numbers[static_cast<std::size_t>(N)].Integer)
        trace::SettingTextToInt(Text);
      else
        trace::SettingTextToFloat(Text);
    } catch (const core::EConvertError&) {
      *Failed = N;
      return false;
    }
  }
  return true;
}

void TSettingsModel::Save(const kx::TOrvexApplication& App) {
  // A text that the readers cannot convert would stop every later paint and
  // every later opening of this dialog.
  FFailed = -1;
  if (int N = -1; !NumbersReadable(&N)) {
    FFailed = N;
    FNode = PageOf(static_cast<TSettingsNumber>(N));
    TFloatEditModel::RaiseNotANumber(FNumbers[static_cast<std::size_t>(N)]);
  }
  Write(App);
}

bool TSettingsModel::Preview(const kx::TOrvexApplication& App) {
  // A number half typed ("1," or "") waits for the next change.
  if (int N = -1; FLoaded.empty() || !NumbersReadable(&N)) return false;
  if (FStored.empty()) {
    // What Revert puts back, read before the first write.
    for (const trace::TSettingInfo& Info : trace::TraceSettingTable)
      FStored.push_back(trace::ReadSetting(App, Info.Name));
  }
  WriteChanged(App, Texts(), nullptr);
  return true;
}

void TSettingsModel::Revert(const kx::TOrvexApplication& App) {
  if (!FStored.empty()) WriteChanged(App, FLoaded, &FStored);
}

// Only what changed (usually one value): the store may write its file for
// every value. Wanted are the dialog's texts; Raw, when given, the store's
// own texts to write for them.
void TSettingsModel::WriteChanged(const kx::TOrvexApplication& App,
                                  const std::vector<std::string>& Wanted,
                                  const std::vector<std::string>* Raw) {
  bool Any = false;
  for (std::size_t I = 0; I < Wanted.size(); ++I) {
    if (FInStore[I] == Wanted[I]) continue;
    trace::WriteSetting(App, trace::TraceSettingTable[I].Name, Raw ? (*Raw)[I] : Wanted[I]);
    FInStore[I] = Wanted[I];
    Any = true;
  }
  if (Any) App.MapViewOperation7();
}

void TSettingsModel::Write(const kx::TOrvexApplication& App) const {
  const std::vector<std::string> All = Texts();
  for (std::size_t I = 0; I < All.size(); ++I)
    trace::WriteSetting(App, trace::TraceSettingTable[I].Name, All[I]);
  App.MapViewOperation7();
}

std::vector<std::string> TSettingsModel::Texts() const {
  std::vector<std::string> T;
  const auto Number = [&](TSettingsNumber N) {
    T.push_back(FNumbers[static_cast<std::size_t>(N)]);
  };
  const auto Int = [&](std::int32_t V) { T.push_back(std::to_string(V)); };
  const auto Pen = [&](const TPenStyleGridModel& Grid, TSettingsNumber Width,
                       TSettingsNumber Scale) {
    Int(Grid.Style());
    Int(ColorValue(Grid.Color()));
    Number(Width);
    Number(Scale);
  };
  const auto Brush = [&](const TBrushStyleGridModel& Grid) {
    Int(Grid.Style());
    Int(ColorValue(Grid.BackColor()));
    Int(ColorValue(Grid.HatchColor()));
    Int(TransparencyIndex(Grid));
  };
  // In the setting table's order.
  Pen(BufferZonePen, snBufferZonePenWidth, snBufferZonePenForZoomScale);
  Brush(BufferZoneBrush);
  Pen(TracePen, snTracePenWidth, snTracePenForZoomScale);
  Brush(TraceBrush);
  Number(snVertexTraceSize);
  Number(snVertexTraceSizeForZoomScale);
  Number(snVertexTracePenWidth);
  Number(snVertexTracePenWidthForZoomScale);
  Int(ColorValue(VertexTracePenColor));
  Int(ColorValue(VertexTraceBackColor));
  Int(VertexTraceTransparencyIndex);
  return T;
}

}  // namespace forms
