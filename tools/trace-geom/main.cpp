// trace-geom: buffer zones, Boolean operations and areas of WKT, GeoJSON and
// GIS files, arcs kept as arcs.
#include <unistd.h>
#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include <iostream>
#include <string>
#include <vector>

#include "tools/trace-geom/geom_tool.h"

int main(int argc, char** argv) {
  try {
#ifdef _WIN32
    // The same bytes as elsewhere: no CR added before each line feed, none
    // taken from the input.
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stdin), _O_BINARY);
#endif
    std::ios::sync_with_stdio(false);
    const std::vector<std::string> Args(argv + 1, argv + argc);
    const int Status =
        geomio::RunGeomTool(Args, std::cin, std::cout, std::cerr, ::isatty(STDERR_FILENO) == 1);
    std::cout.flush();
    if (!std::cout) {
      std::cerr << "trace-geom: cannot write the output\n";
      return 1;
    }
    return Status;
  } catch (...) {
    std::cerr << "trace-geom: unexpected failure\n";
    return 1;
  }
}
