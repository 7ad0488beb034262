// Writes the buffer zone of every geometry of a WKT or GeoJSON file as WKT,
// one line each: the Linux and the Windows builds of this program must write
// the same bytes.
//   zone_wkt INPUT WIDTH OUTPUT
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "geomio/input_reader.h"
#include "geomio/wkt_writer.h"
#include "trace/engine/buffer_zone.h"

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: zone_wkt INPUT WIDTH OUTPUT\n");
    return 2;
  }
  try {
    std::ifstream In(argv[1], std::ios::binary);
    if (!In) throw std::runtime_error(std::string("cannot read ") + argv[1]);
    const std::string Text{std::istreambuf_iterator<char>(In), std::istreambuf_iterator<char>()};
    const double Width = std::stod(argv[2]);
    std::string Lines;
    for (const geomio::TInputGeometry& G : geomio::ReadInput(Text)) {
      geo::TContour Zone;
      trace::BuildBufferZone(G.Contour, Zone, Width);
      Lines += geomio::WktOfContour(Zone) + "\n";
    }
    std::ofstream Out(argv[3], std::ios::binary);
    Out << Lines;
    if (!Out.flush()) throw std::runtime_error(std::string("cannot write ") + argv[3]);
    return 0;
  } catch (const std::exception& E) {
    std::fprintf(stderr, "zone_wkt: %s\n", E.what());
    return 1;
  }
}
