#include "host/app/selection_marks.h"

#include <QPainter>

#include "host/com/host_painter.h"

namespace host {

const QImage& TSelectionMarks::Layer(const THostProject& Project,
                                     const std::vector<TKxID>& Selection,
                                     const THostViewTransform& T) {
  if (FDrawn && FRevision == Project.Revision() && FTransform == T && FSelection == Selection)
    return FLayer;
  FDrawn = true;
  FRevision = Project.Revision();
  FTransform = T;
  FSelection = Selection;
  if (FLayer.width() != T.Width || FLayer.height() != T.Height)
    FLayer = QImage(T.Width, T.Height, QImage::Format_ARGB32_Premultiplied);
  FLayer.fill(Qt::transparent);
  QPainter P(&FLayer);
  QPen Mark(QColor(0, 120, 255, 150), 4);
  Mark.setJoinStyle(Qt::RoundJoin);
  P.setRenderHint(QPainter::Antialiasing);
  P.setPen(Mark);
  const QBrush Fill(QColor(0, 120, 255, 40));
  const QRectF Shown(FLayer.rect());
  for (const TKxID& ID : Selection) {
    const THostMapObject* O = Project.FindObject(ID);
    if (!O) continue;
    const QRectF B = QRectF(QtPoint(T.ToDevice(O->Bounds.X1, O->Bounds.Y2)),
                            QtPoint(T.ToDevice(O->Bounds.X2, O->Bounds.Y1)))
                         .normalized();
    if (!B.adjusted(-4, -4, 4, 4).intersects(Shown)) continue;
    // Only closed parts are filled: an open line with an arc keeps the
    // space between its chord and its arc clear.
    for (const THostShape& S : O->Shapes)
      for (const THostPaintPart& Part : PartsOfCommands(S.Commands)) {
        P.setBrush(Part.Closed ? Fill : QBrush(Qt::NoBrush));
        P.drawPath(PaintPath({Part}, T));
      }
  }
  return FLayer;
}

}  // namespace host
