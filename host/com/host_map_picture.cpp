#include "host/com/host_map_picture.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <string_view>
#include <unordered_map>

#include "host/com/host_painter.h"

namespace host {

namespace {

void Prefetch(const void* P) {
#if defined(__GNUC__)
  __builtin_prefetch(P);
#else
  (void)P;
#endif
}

int Mod8(int V) {
  return ((V % 8) + 8) % 8;
}

// Moves the image's pixels by (DX, DY); what comes in from outside keeps
// its old pixels.
void ShiftImage(QImage& Image, int DX, int DY) {
  const int W = Image.width(), H = Image.height();
  const int Pixels = W - std::abs(DX);
  if (Pixels <= 0 || std::abs(DY) >= H) return;
  const std::size_t Bytes = static_cast<std::size_t>(Pixels) * 4;
  const int To = std::max(DX, 0) * 4, From = std::max(-DX, 0) * 4;
  // Rows are moved away from the side they move towards first, so that no
  // row is overwritten before it was moved.
  if (DY > 0)
    for (int Y = H - 1; Y >= DY; --Y)
      std::memmove(Image.scanLine(Y) + To, Image.scanLine(Y - DY) + From, Bytes);
  else
    for (int Y = 0; Y < H + DY; ++Y)
      std::memmove(Image.scanLine(Y) + To, Image.scanLine(Y - DY) + From, Bytes);
}

// The whole pixels (DX, DY) by which the picture moved from view A to view
// B, when B is A with its centre moved by less than its size.
bool WholeShift(const THostViewTransform& A, const THostViewTransform& B, int& DX, int& DY) {
  if (A.MetresPerPixel != B.MetresPerPixel || A.Width != B.Width || A.Height != B.Height)
    return false;
  const double FX = (A.CenterX - B.CenterX) / B.MetresPerPixel;
  const double FY = (B.CenterY - A.CenterY) / B.MetresPerPixel;
  const double RX = std::round(FX), RY = std::round(FY);
  if (std::fabs(FX - RX) > 1e-3 || std::fabs(FY - RY) > 1e-3) return false;
  if (std::fabs(RX) >= A.Width || std::fabs(RY) >= A.Height) return false;
  DX = static_cast<int>(RX);
  DY = static_cast<int>(RY);
  return true;
}

}  // namespace

THostMapPicture::THostMapPicture(THostMapView& View) : FView(View) {
  FView.SetCanvas(this);
}

THostMapPicture::~THostMapPicture() {
  if (FView.Canvas() == this) FView.SetCanvas(nullptr);
}

QImage& THostMapPicture::Image() {
  const THostViewTransform& T = FView.Transform();
  if (FImage.width() != T.Width || FImage.height() != T.Height)
    FImage = QImage(T.Width, T.Height, QImage::Format_ARGB32_Premultiplied);
  return FImage;
}

void THostMapPicture::RestoreUnderlay() {
  const THostViewTransform& T = FView.Transform();
  // Nothing kept at this size: the map as it stands, without the editor.
  if (FUnderlay.width() != T.Width || FUnderlay.height() != T.Height) {
    DrawMap(true);
    FUnderlay = FImage;
  }
  FImage = FUnderlay;
}

void THostMapPicture::DrawParts(const THostDrawRecord& Record) {
  QPainter Painter(&Image());
  PaintParts(Painter, Record.Parts, Record.Pen, Record.Brush, FView.Transform());
}

void THostMapPicture::DrawMapOn(QImage& Image, const THostViewTransform& T,
                                QPoint BrushOrigin) const {
  const THostProject& P = FView.Project();
  Image.fill(Qt::white);
  QPainter Painter(&Image);
  Painter.setBrushOrigin(BrushOrigin);
  // A pen reaches beyond its object's bounds by half its width (a dot by
  // one pixel): look that far beyond the picture.
  double Reach = 2;
  for (const TKxID& S : P.StyleOrder())
    Reach = std::max(Reach, PenPixels(PenState(P.Style(S).Pen), T) / 2 + 1);
  double X1, Y1, X2, Y2;
  T.ToMap(-Reach, T.Height + Reach, X1, Y1);
  T.ToMap(T.Width + Reach, -Reach, X2, Y2);
  // Layers bottom first: as set, else in the maps' order; objects of one
  // layer in the order they were added, so one bucket a layer. Neighbours
  // mostly share a layer and a style: a lookup is made only when they
  // change.
  TIDKeyMap<std::size_t> MapsOrder;
  if (!FView.LayerOrderSet())
    for (const TKxID& M : P.Maps())
      for (const TKxID& L : P.Map(M).Layers) MapsOrder.emplace(IDKey(L), MapsOrder.size());
  const auto& Rank = FView.LayerOrderSet() ? FView.LayerRanks() : MapsOrder;
  std::size_t Ranks = 0;
  for (const auto& R : Rank) Ranks = std::max(Ranks, R.second + 1);
  std::vector<std::vector<const THostMapObject*>> ByRank(Ranks);
  const TKxID* LastLayer = nullptr;
  std::vector<const THostMapObject*>* Bucket = nullptr;
  const std::vector<const THostMapObject*> Found = P.ObjectsInRect({X1, Y1, X2, Y2});
  // With many objects in view the time goes into fetching them from
  // memory: ask for them a little ahead.
  constexpr std::size_t Ahead = 8;
  for (std::size_t I = 0; I < Found.size(); ++I) {
    if (I + Ahead < Found.size()) Prefetch(Found[I + Ahead]);
    const THostMapObject* O = Found[I];
    if (!LastLayer || !(O->LayerID == *LastLayer)) {
      LastLayer = &O->LayerID;
      const auto It = Rank.find(O->LayerID.Bytes());
      Bucket = It == Rank.end() ? nullptr : &ByRank[It->second];
    }
    if (Bucket) Bucket->push_back(O);
  }
  // An object smaller than a few pixels is one dot in its pen colour: at
  // a small scale most objects are, and a dot is far cheaper than a path.
  constexpr double DotPixels = 3;
  const double DotMetres = DotPixels * T.MetresPerPixel;
  constexpr double DecorationPixels = 8;
  const double DecorationMetres = DecorationPixels * T.MetresPerPixel;
  // Dots are two pixels square, written straight into the image.
  const QRect DotArea = Image.rect();
  const auto Dot = [&](QPointF At, QRgb Colour) {
    const int X = static_cast<int>(std::floor(At.x() - 0.5)),
              Y = static_cast<int>(std::floor(At.y() - 0.5));
    for (int DY = 0; DY < 2; ++DY) {
      if (Y + DY < DotArea.top() || Y + DY > DotArea.bottom()) continue;
      auto* Row = reinterpret_cast<QRgb*>(Image.scanLine(Y + DY));
      for (int DX = 0; DX < 2; ++DX)
        if (X + DX >= DotArea.left() && X + DX <= DotArea.right()) Row[X + DX] = Colour;
    }
  };
  // Each style's pen and brushes are made once a redraw, at first use.
  struct TResolved {
    const THostStyle* Style = nullptr;
    THostDrawStyle Draw;
    QRgb DotColour = 0;
  };
  std::unordered_map<std::string_view, TResolved> Resolved;
  const TKxID* LastStyleID = nullptr;
  const TResolved* Style = nullptr;
  Painter.setRenderHint(QPainter::Antialiasing, true);
  for (const auto& Objects : ByRank)
    for (std::size_t I = 0; I < Objects.size(); ++I) {
      if (I + Ahead < Objects.size()) Prefetch(Objects[I + Ahead]->Shapes.data());
      const THostMapObject* O = Objects[I];
      const geo::TDRect& B = O->Bounds;
      const bool Tiny = std::max(B.X2 - B.X1, B.Y2 - B.Y1) < DotMetres;
      for (const THostShape& S : O->Shapes) {
        if (!LastStyleID || !(S.StyleID == *LastStyleID)) {
          LastStyleID = &S.StyleID;
          auto [It, New] = Resolved.try_emplace(S.StyleID.Bytes());
          if (New) {
            It->second.Style = P.FindStyle(S.StyleID);
            if (const THostStyle* Found = It->second.Style) {
              It->second.Draw = DrawStyle(PenState(Found->Pen), BrushState(Found->Brush), T);
              It->second.DotColour = HostColor(Found->Pen.Color).rgba();
            }
          }
          Style = &It->second;
        }
        if (!Style->Style) continue;
        if (Tiny) {
          if (!Style->Style->DefinesGeometry()) continue;
          Dot(QtPoint(T.ToDevice((B.X1 + B.X2) / 2, (B.Y1 + B.Y2) / 2)), Style->DotColour);
          break;
        }
        // A decoration (a hatch, a name's baseline) a few pixels long
        // shows nothing but noise.
        geo::TDRect SB;
        if (!Style->Style->DefinesGeometry() && HostBounds(S.Commands, SB) &&
            std::max(SB.X2 - SB.X1, SB.Y2 - SB.Y1) < DecorationMetres)
          continue;
        PaintParts(Painter, PartsOfCommands(S.Commands), Style->Draw, T);
      }
    }
}

void THostMapPicture::DrawMap(bool KeepMap) {
  const THostViewTransform& T = FView.Transform();
  int DX = 0, DY = 0;
  const std::uint64_t Revision = FView.Project().Revision();
  if (KeepMap && FMapDrawn && FMapRevision == Revision &&
      FMapLayerOrder == FView.LayerOrderVersion() && WholeShift(FMapTransform, T, DX, DY)) {
    FLastMapRedraw = DX == 0 && DY == 0 ? TMapRedraw::Kept : TMapRedraw::Shifted;
    if (DX != 0 || DY != 0) {
      ShiftImage(FMapImage, DX, DY);
      FBrushOrigin = QPoint(Mod8(FBrushOrigin.x() + DX), Mod8(FBrushOrigin.y() + DY));
      // The uncovered columns at one side and rows at the top or bottom,
      // each drawn on a picture of its own: a clip on the whole picture
      // would make Qt draw thin lines differently from an unclipped one.
      const auto Uncovered = [&](const QRect& Area) {
        THostViewTransform S = T;
        S.Width = Area.width();
        S.Height = Area.height();
        S.CenterX = T.CenterX - (T.Width / 2.0 - S.Width / 2.0 - Area.left()) * T.MetresPerPixel;
        S.CenterY = T.CenterY + (T.Height / 2.0 - S.Height / 2.0 - Area.top()) * T.MetresPerPixel;
        QImage Strip(Area.size(), QImage::Format_ARGB32_Premultiplied);
        DrawMapOn(
            Strip, S,
            QPoint(Mod8(FBrushOrigin.x() - Area.left()), Mod8(FBrushOrigin.y() - Area.top())));
        const std::size_t Bytes = static_cast<std::size_t>(Area.width()) * 4;
        for (int Y = 0; Y < Area.height(); ++Y)
          std::memcpy(FMapImage.scanLine(Area.top() + Y) + Area.left() * 4, Strip.constScanLine(Y),
                      Bytes);
      };
      if (DX != 0)
        Uncovered(DX > 0 ? QRect(0, 0, DX, T.Height) : QRect(T.Width + DX, 0, -DX, T.Height));
      if (DY != 0)
        Uncovered(DY > 0 ? QRect(0, 0, T.Width, DY) : QRect(0, T.Height + DY, T.Width, -DY));
    }
  } else {
    FLastMapRedraw = TMapRedraw::Full;
    if (FMapImage.width() != T.Width || FMapImage.height() != T.Height)
      FMapImage = QImage(T.Width, T.Height, QImage::Format_ARGB32_Premultiplied);
    const QPointF Origin = QtPoint(T.ToDevice(0, 0));
    FBrushOrigin = QPoint(Mod8(static_cast<int>(std::lround(std::fmod(Origin.x(), 8.0)))),
                          Mod8(static_cast<int>(std::lround(std::fmod(Origin.y(), 8.0)))));
    DrawMapOn(FMapImage, T, FBrushOrigin);
  }
  FMapTransform = T;
  FMapDrawn = true;
  FMapRevision = Revision;
  FMapLayerOrder = FView.LayerOrderVersion();
  // The editor draws on a copy; the map stays clean for the next shift.
  FImage = FMapImage;
}

}  // namespace host
