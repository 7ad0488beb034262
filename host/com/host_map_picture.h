// The Qt host's picture of a map view: the map drawn with QPainter on an
// image, and over it what the drawing objects draw while an editor paints.
// It sets itself as the view's canvas for its lifetime.
#pragma once

#include <QImage>
#include <cstdint>

#include "host/com/host_map_view.h"
#include "host/com/host_painter.h"

namespace host {

class THostMapPicture : public THostViewCanvas {
 public:
  explicit THostMapPicture(THostMapView& View);
  ~THostMapPicture() override;
  THostMapPicture(const THostMapPicture&) = delete;
  THostMapPicture& operator=(const THostMapPicture&) = delete;

  // Draws the objects in view, each shape in its style, over white.
  //
  // With KeepMap the map drawn last is reused while the project's revision
  // and the layer order stay: as it is when the view did not move, and
  // shifted, with only the uncovered strips drawn, when the view moved by
  // whole pixels at the same resolution. An add-on's Invalidate alone does
  // not redraw the map; what it changed in the project does.
  void DrawMap(bool KeepMap) override;
  // Draws on the image.
  void DrawParts(const THostDrawRecord& Record) override;
  // A copy of the image shares its pixels until either is drawn on: both
  // cost one image copy at most.
  void KeepUnderlay() override { FUnderlay = FImage; }
  void RestoreUnderlay() override;

  enum class TMapRedraw { Full, Shifted, Kept };
  TMapRedraw LastMapRedraw() const { return FLastMapRedraw; }
  // The size of the view's transform.
  QImage& Image();

 private:
  // Draws the objects that show in a view of transform T (the size of
  // Image) over white.
  void DrawMapOn(QImage& Image, const THostViewTransform& T, QPoint BrushOrigin) const;

  THostMapView& FView;
  QImage FImage;
  // The map and the editor's Paint, under the editor's overlay.
  QImage FUnderlay;
  // The map alone, as drawn at FMapTransform; hatches start at FBrushOrigin
  // so that they stay put on the map when the picture is shifted.
  QImage FMapImage;
  THostViewTransform FMapTransform;
  QPoint FBrushOrigin;
  TMapRedraw FLastMapRedraw = TMapRedraw::Full;
  // The next DrawMap draws the map whole unless one was drawn at the
  // project's revision and the view's layer order that still hold.
  bool FMapDrawn = false;
  std::uint64_t FMapRevision = 0;
  std::uint64_t FMapLayerOrder = 0;
};

}  // namespace host
