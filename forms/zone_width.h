// The pad's zone width: read from the text as typed, and checked against
// the size of what it is built around before a long build begins.
#pragma once

#include <optional>
#include <string>

#include "addonkit/custom_addon.h"
#include "addonkit/host_calls.h"
#include "trace/engine/connect_graph.h"

namespace forms {

// The zone width as typed: a decimal number with "." or "," before the
// fraction whatever the locale, blanks around it ignored. A text that is no
// number raises the numeric edits' conversion error (in Russian, naming the
// text).
double ParseZoneWidth(const std::string& Text);

// A zone this many times larger than the objects it is built around is a
// typing slip more often than a wish: it is asked about first.
inline constexpr double ZoneOversizeFactor = 10;

// The question to ask before building zones of Width around the selection
// and the zones already in Graph, or none when the zones stay within
// ZoneOversizeFactor times their extent (the larger side of their bounding
// box). Points alone have no extent and are never asked about. Reads the
// selected shapes only until the extent is known to be large enough.
std::optional<std::string> OversizedZoneQuestion(kx::TKxCustomAddon& Context,
                                                 const kx::TKxIDsList& Selection,
                                                 const trace::TGConnectGraph& Graph, double Width);

}  // namespace forms
