// The trace-geom command line: options, input, the operation and the output.
// Kept apart from main so that tests run it in-process as well.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace geomio {

// Exit statuses: 0 done, 1 a geometric failure (the kernel's message), 2 bad
// input or bad usage. Args excludes the program name; In is read when no
// file is named (or the file is "-"). Messages go to Err, one line each; a
// progress line too, when ErrIsTerminal and the job runs over a second.
int RunGeomTool(const std::vector<std::string>& Args, std::istream& In, std::ostream& Out,
                std::ostream& Err, bool ErrIsTerminal = false);

}  // namespace geomio
