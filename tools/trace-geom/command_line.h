// trace-geom's command line: the options a run was given, checked for the
// combinations the tool can carry out.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace geomio {

// Bad usage; reported with a pointer to --help and exit status 2.
struct EUsage {
  std::string Text;
};

enum class TFormat { Wkt, GeoJson, Svg };

struct TOptions {
  std::string Command;
  std::optional<double> Width;
  std::optional<double> Tolerance;
  std::optional<TFormat> Format;
  std::vector<std::string> Files;  // none, or "-": standard input
  std::string Output, Driver, Layer, Crs;
  bool Overwrite = false;
  bool AllowDegrees = false;
  bool Rfc7946 = false;
  bool Quiet = false;
  std::string Help;  // the text of --help when it was asked for; nothing else is set then
};

// Args excludes the program name. Raises EUsage.
TOptions ParseArgs(const std::vector<std::string>& Args);

// Ends with Ext (lower case), whatever the case of S.
bool EndsWith(const std::string& S, const char* Ext);

// The output is written by our own text writers rather than through GDAL.
bool TextOutput(const TOptions& O);
TFormat TextFormat(const TOptions& O);

// The largest distance of a chord from its arc where the output has none.
double ToleranceOf(const TOptions& O);

}  // namespace geomio
