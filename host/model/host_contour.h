// Host contours: lists of TKxContourCommand records, as objects keep their
// shapes. Checking, conversion to and from command contours, and bounds.
#pragma once

#include <string>
#include <vector>

#include "addonlib/geometry/contour.h"
#include "hostapi/kx_records.h"

namespace host {

using THostCommands = std::vector<kx::TKxContourCommand>;

kx::TKxContourCommand HostMoveTo(double X, double Y);
kx::TKxContourCommand HostLineTo(double X, double Y);
kx::TKxContourCommand HostArcTo(double X, double Y, double Convexity);
kx::TKxContourCommand HostClose();
kx::TKxContourCommand HostCloseArc(double Convexity);

// Raises EHostError unless the commands form one or more parts, each a move
// followed by at least one piece or close, kinds 1 to 5 only, finite numbers;
// with ClosedParts every part must end with a close command.
void CheckHostCommands(const THostCommands& Commands, bool ClosedParts);

// Kinds map 1..5 to ccMoveTo..ccCloseArc; the commands must be checked.
geo::TContour HostToContour(const THostCommands& Commands);
THostCommands ContourToHost(const geo::TContour& Contour);

// Bounding rectangle, arc bulges included; false for no point.
bool HostBounds(const THostCommands& Commands, geo::TDRect& R);

// Two command lists with the same kinds and bitwise the same numbers.
bool SameCommands(const THostCommands& A, const THostCommands& B);

}  // namespace host
