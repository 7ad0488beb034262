// The selection's marks over the map: each selected object's outlines again,
// wide and see-through, on a layer of their own. It is drawn again only when
// the selection, the view or the project changed, so that an editor's
// overlay redrawn at every mouse move does not stroke a big selected object
// each time.
#pragma once

#include <QImage>
#include <cstdint>
#include <vector>

#include "host/com/host_drawing.h"
#include "host/model/map_model.h"

namespace host {

class TSelectionMarks {
 public:
  // The marks of Selection on a transparent image of the view's size.
  const QImage& Layer(const THostProject& Project, const std::vector<TKxID>& Selection,
                      const THostViewTransform& T);

 private:
  QImage FLayer;
  bool FDrawn = false;
  THostViewTransform FTransform;
  std::vector<TKxID> FSelection;
  std::uint64_t FRevision = 0;
};

}  // namespace host
