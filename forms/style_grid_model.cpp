#include "forms/style_grid_model.h"

#include <algorithm>
#include <array>
#include <span>

namespace forms {

namespace {

constexpr std::array<int, 8> BrushSamples = {1, 0, 2, 3, 4, 5, 6, 7};
constexpr std::array<int, 6> PenSamples = {5, 1, 2, 3, 4, 0};
constexpr int PenSolid = 0;
constexpr int PenClear = 5;
constexpr int PenInsideFrame = 6;
constexpr int BrushClear = 1;

int SampleOf(std::span<const int> Samples, int Index) {
  return Index >= 0 && Index < static_cast<int>(Samples.size())
             ? Samples[static_cast<std::size_t>(Index)]
             : -1;
}

// The first sample of a grid stands for no selection.
int SelectedStyle(std::span<const int> Samples, int Index) {
  const int S = SampleOf(Samples, Index);
  return S < 0 ? Samples[0] : S;
}

void SelectStyle(TStyleGridModel& Grid, std::span<const int> Samples, int Style) {
  for (int I = 0; I < Grid.Count(); ++I)
    if (SampleOf(Samples, I) == Style) {
      Grid.SetStyleIndex(I);
      return;
    }
}

}  // namespace

void TStyleGridModel::SetCount(int Value) {
  FCount = std::max(Value, 0);
  if (FColCount > FCount) FColCount = FCount;
  if (FStyleIndex >= FCount || FColCount == 0) SetStyleIndex(-1);
  Repaint();
}

void TStyleGridModel::SetColCount(int Value) {
  if (Value > FCount || Value < 0) return;
  FColCount = Value;
  if (FColCount == 0) SetStyleIndex(-1);
  Repaint();
}

void TStyleGridModel::SetWrapStyle(TWrapStyle Value) {
  FWrapStyle = Value;
  Repaint();
}

void TStyleGridModel::SetStyleIndex(int Value) {
  const int New = Value >= 0 && Value < FCount && FColCount > 0 ? Value : -1;
  if (New == FStyleIndex) return;
  FStyleIndex = New;
  Repaint();
  Changed();
}

void TStyleGridModel::SelectByUser(int Index) {
  FStyleIndex = Index;
  Repaint();
  Changed();
}

void TStyleGridModel::Changed() {
  if (OnChanged) OnChanged();
}

int TStyleGridModel::CellIndex(int Col, int Row) const {
  const int Rows = RowCount();
  if (Col < 0 || Row < 0 || Col >= FColCount || Row >= Rows) return -1;
  return FWrapStyle == wrHorVer ? Row * FColCount + Col : Col * Rows + Row;
}

bool TStyleGridModel::SampleCell(int Index, int& Col, int& Row) const {
  if (Index < 0 || Index >= FCount || FColCount < 1) return false;
  if (FWrapStyle == wrHorVer) {
    Row = Index / FColCount;
    Col = Index % FColCount;
  } else {
    Col = Index / RowCount();
    Row = Index % RowCount();
  }
  return true;
}

TCellRect TStyleGridModel::CellRect(int Col, int Row, int Width, int Height) const {
  const int W = FColCount < 1 ? Width : Width / FColCount;
  const int H = FColCount < 1 ? Height : Height / RowCount();
  return {Col * W, Row * H, W, H};
}

TCellLook TStyleGridModel::CellLook(int Col, int Row, bool Enabled) const {
  const int Index = CellIndex(Col, Row);
  if (Index < 0 || Index >= FCount) return TCellLook::Empty;
  if (!Enabled) return TCellLook::Disabled;
  return Index == FStyleIndex ? TCellLook::Selected : TCellLook::Normal;
}

void TStyleGridModel::Click(int X, int Y, int Width, int Height) {
  if (FColCount < 1) return;
  const TCellRect First = CellRect(0, 0, Width, Height);
  if (First.Width < 1 || First.Height < 1 || X < 0 || Y < 0) return;
  const int Index = CellIndex(X / First.Width, Y / First.Height);
  if (Index >= 0 && Index < FCount) SelectByUser(Index);
}

void TStyleGridModel::Step(int Cols, int Rows) {
  int Col = 0, Row = 0;
  if (!SampleCell(FStyleIndex, Col, Row)) return;
  const int Index = CellIndex(Col + Cols, Row + Rows);
  if (Index >= 0 && Index < FCount) SelectByUser(Index);
}

TSampleLook TStyleGridModel::Sample(int) const {
  return {};
}

// ---------------------------------------------------------------------------

TBrushStyleGridModel::TBrushStyleGridModel() {
  SetCount(static_cast<int>(BrushSamples.size()));
}

int TBrushStyleGridModel::SampleStyle(int Index) {
  return SampleOf(BrushSamples, Index);
}

int TBrushStyleGridModel::Style() const {
  return SelectedStyle(BrushSamples, StyleIndex());
}

void TBrushStyleGridModel::SetStyle(int Value) {
  SelectStyle(*this, BrushSamples, Value);
}

TSampleLook TBrushStyleGridModel::Sample(int Index) const {
  TSampleLook Look;
  const int Style = SampleStyle(Index);
  if (Style == BrushClear) {
    Look.Kind = TSampleLook::Label;
    Look.Text = "Нет";
  } else if (Style >= 0) {
    Look.Kind = TSampleLook::Fill;
    Look.Pen.Style = PenClear;
    Look.Brush.Style = static_cast<std::uint8_t>(Style);
    Look.Brush.BackColor = FBackColor;
    Look.Brush.HatchColor = FHatchColor;
    Look.Brush.Transparency = FTransparency ? 1 : 0;
  }
  return Look;
}

// ---------------------------------------------------------------------------

TPenStyleGridModel::TPenStyleGridModel() {
  SetCount(static_cast<int>(PenSamples.size()));
}

void TPenStyleGridModel::SetCount(int) {
  TStyleGridModel::SetCount(static_cast<int>(PenSamples.size()));
}

int TPenStyleGridModel::SampleStyle(int Index) {
  return SampleOf(PenSamples, Index);
}

int TPenStyleGridModel::Style() const {
  return SelectedStyle(PenSamples, StyleIndex());
}

void TPenStyleGridModel::SetStyle(int Value) {
  SelectStyle(*this, PenSamples, Value == PenInsideFrame ? PenSolid : Value);
}

TSampleLook TPenStyleGridModel::Sample(int Index) const {
  TSampleLook Look;
  const int Style = SampleStyle(Index);
  if (Style == PenSolid) {
    Look.Kind = TSampleLook::Label;
    Look.Text = "Сплошная";
    Look.TextInPenColor = true;
  } else if (Style == PenClear) {
    Look.Kind = TSampleLook::Label;
    Look.Text = "Нет";
  } else if (Style >= 0) {
    Look.Kind = TSampleLook::Line;
    Look.Pen.Style = static_cast<std::uint8_t>(Style);
    Look.Brush.Style = BrushClear;
  }
  Look.Pen.Color = FColor;
  return Look;
}

}  // namespace forms
