// The module's mouse cursors, registered at module load.
#pragma once

#include <initializer_list>

namespace kx {

// The 23 custom cursors in the order they are numbered.
inline constexpr const char* ModuleCursorNames[] = {
    "CR_CROSS_PLUS",  "CR_CROSS_MINUS",      "CR_HAND",          "CR_FIGURE_COPY",
    "CR_ARROW_FRAME", "CR_ARROW_FRAME_PLUS", "CR_FIGURE_SELECT", "CR_ARROW_VERTEX",
    "CR_FIGURE_MOVE", "CR_VERTEX",           "CR_VERTEX_MOVE",   "CR_ARROW_CONNECTIONPOINT",
    "CR_CROSS_ARC",   "CR_CROSS_CURVE",      "CR_CROSS_ELLIPSE", "CR_CROSS_LINE",
    "CR_CROSS_RECT",  "CR_CROSS_STAMP",      "CR_CROSS_TEXT",    "CR_ORTO_ROTATE",
    "CR_ROTATE_EX",   "CR_ROTATE_CENTER",    "FIND_OBJECT"};

// Loads the named cursor resources as custom cursors under consecutive
// numbers from a running next-free number (1 at first) and returns the first
// number of the batch. A missing resource keeps its number, showing the
// standard cursor.
int RegisterCursors(std::initializer_list<const char*> Names);

// Replaces the standard cross with "CR_CROSS" and registers the 23 custom
// cursors; returns the number of the first.
int RegisterModuleCursors();

// The number the next registered cursor gets.
int NextCursorIndex();

}  // namespace kx
