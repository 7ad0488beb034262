// Splitting a contour into its parts and a part into simple closed loops.
// Results are new contours appended to a list that owns them.
#pragma once

#include <memory>
#include <vector>

#include "addonlib/geometry/contour.h"

namespace geo {

using TContourList = std::vector<std::unique_ptr<TContour>>;

// Appends one contour per part, each beginning with a ccMoveTo: a part that
// begins with a piece gets a ccMoveTo to where the pen rests (the first
// command's own point, or the start of the part closed before it).
void SplitIntoParts(const TContour& Contour, TContourList& List);
// Cuts one part at its repeated vertices (SamePoint) into simple loops, in
// the order the repetitions are met, the rest of the part last. A loop that
// no longer encloses anything (IsValidPart) is dropped. A close command
// other than the last raises "Команда Замкнуть не является последней командой".
// Runs in linear expected time: vertices are found again through a hash grid.
void SplitLoops(const TContour& Part, TContourList& List);
// SplitIntoParts, then SplitLoops of every part.
void SplitContour(const TContour& Contour, TContourList& List);
// Whether a part still encloses something: at least 3 commands, and with
// exactly 3 neither a segment out and back (ccMoveTo, ccLineTo, ccClose) nor
// an arc retraced by its closing arc (convexities summing to below 1E-9).
// A close command in first position raises "Первая команда 'Замкнуть'".
bool IsValidPart(const TContour& Part);
inline void FreeContourList(TContourList& List) {
  List.clear();
}

}  // namespace geo
