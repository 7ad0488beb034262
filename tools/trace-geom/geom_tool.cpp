#include "tools/trace-geom/geom_tool.h"

#include <fstream>
#include <iostream>
#include <iterator>
#include <new>
#include <optional>

#include "addonlib/core/exception.h"
#include "geomio/enclosed_area.h"
#include "geomio/geojson_writer.h"
#include "geomio/input_error.h"
#include "geomio/input_reader.h"
#include "geomio/number_text.h"
#include "geomio/svg_writer.h"
#include "geomio/wkt_writer.h"
#include "tools/trace-geom/geometry_ops.h"

namespace geomio {

namespace {

const char* const Usage =
    "usage: trace-geom COMMAND [options] [FILE]\n"
    "\n"
    "commands:\n"
    "  buffer --width W     the buffer zone of each input geometry\n"
    "  union                the first two geometries combined\n"
    "  intersection\n"
    "  difference           the first minus the second\n"
    "  symdifference\n"
    "  area                 the enclosed area of each geometry (holes subtract)\n"
    "\n"
    "options:\n"
    "  --format wkt|geojson|svg  output format (default wkt; arcs stay arcs in wkt\n"
    "                            and svg, geojson gets chords)\n"
    "  --tolerance T        largest distance of a geojson chord from its arc\n"
    "                       (default width/1000 for buffer, else 0.001)\n"
    "  -h, --help           this text\n"
    "\n"
    "Input is FILE, or standard input when FILE is missing or '-': WKT, one\n"
    "geometry a line ('#' starts a comment line), or GeoJSON when it begins with\n"
    "'{'. Exit status: 0 done, 1 geometric failure, 2 bad input or usage.\n";

// Bad usage; reported with a pointer to --help.
struct EUsage {
  std::string Text;
};

enum class TFormat { Wkt, GeoJson, Svg };

struct TOptions {
  std::string Command;
  std::optional<double> Width;
  std::optional<double> Tolerance;
  TFormat Format = TFormat::Wkt;
  std::string File;  // empty or "-": standard input
  bool Help = false;
};

double PositiveNumber(const std::string& Option, const std::string& Value) {
  double V = 0;
  if (!ParseNumber(Value, V) || V <= 0)
    throw EUsage{Option + " needs a positive number, not '" + Value + "'"};
  return V;
}

TOptions ParseArgs(const std::vector<std::string>& Args) {
  TOptions O;
  for (size_t i = 0; i < Args.size(); ++i) {
    std::string A = Args[i];
    if (A == "-h" || A == "--help") {
      O.Help = true;
      continue;
    }
    if (A.size() > 2 && A.compare(0, 2, "--") == 0) {
      std::string Value;
      const size_t Eq = A.find('=');
      if (Eq != std::string::npos) {
        Value = A.substr(Eq + 1);
        A.resize(Eq);
      } else if (A == "--width" || A == "--format" || A == "--tolerance") {
        if (i + 1 >= Args.size()) throw EUsage{A + " needs a value"};
        Value = Args[++i];
      }
      if (A == "--width") {
        O.Width = PositiveNumber(A, Value);
      } else if (A == "--tolerance") {
        O.Tolerance = PositiveNumber(A, Value);
      } else if (A == "--format") {
        if (Value == "wkt") {
          O.Format = TFormat::Wkt;
        } else if (Value == "geojson") {
          O.Format = TFormat::GeoJson;
        } else if (Value == "svg") {
          O.Format = TFormat::Svg;
        } else {
          throw EUsage{"unknown format '" + Value + "' (wkt, geojson or svg)"};
        }
      } else {
        throw EUsage{"unknown option " + A};
      }
      continue;
    }
    if (A.size() > 1 && A[0] == '-') throw EUsage{"unknown option " + A};
    if (O.Command.empty()) {
      O.Command = A;
    } else if (O.File.empty()) {
      O.File = A;
    } else {
      throw EUsage{"more than one input file: " + O.File + " and " + A};
    }
  }
  if (O.Help) return O;
  if (O.Command.empty()) throw EUsage{"no command given"};
  static const char* const Commands[] = {"buffer",     "union",         "intersection",
                                         "difference", "symdifference", "area"};
  bool Known = false;
  for (const char* C : Commands) Known = Known || O.Command == C;
  if (!Known) throw EUsage{"unknown command '" + O.Command + "'"};
  if (O.Command == "buffer" && !O.Width) throw EUsage{"buffer needs --width"};
  if (O.Command != "buffer" && O.Width) throw EUsage{"--width applies to buffer only"};
  return O;
}

TCombineOp OpOf(const std::string& Command) {
  if (Command == "union") return opUnion;
  if (Command == "intersection") return opIntersection;
  if (Command == "difference") return opDifference;
  return opSymDifference;
}

struct TResult {
  std::string Label;
  geo::TContour Contour;
};

// A kernel failure, with what it was working on.
struct EGeometric {
  std::string Where;
  std::string Text;
};

void WriteResults(const TOptions& O, const std::vector<TInputGeometry>& Inputs,
                  const std::vector<TResult>& Results, std::ostream& Out) {
  if (O.Format == TFormat::Wkt) {
    for (const TResult& R : Results) Out << WktOfContour(R.Contour) << '\n';
    return;
  }
  if (O.Format == TFormat::Svg) {
    std::vector<TSvgItem> In, Res;
    for (const TInputGeometry& G : Inputs) In.push_back({&G.Contour, G.Label});
    for (const TResult& R : Results) Res.push_back({&R.Contour, R.Label});
    Out << SvgPicture(In, Res);
    return;
  }
  const double Tolerance = O.Tolerance ? *O.Tolerance : O.Width ? *O.Width * 1e-3 : 1e-3;
  std::vector<std::pair<std::string, std::string>> Props{{"operation", JsonString(O.Command)},
                                                         {"source", ""}};
  if (O.Width) Props.emplace_back("width", NumberText(*O.Width));
  Props.emplace_back("tolerance", NumberText(Tolerance));
  Out << "{\"type\":\"FeatureCollection\",\"features\":[";
  for (size_t k = 0; k < Results.size(); ++k) {
    Props[1].second = JsonString(Results[k].Label);
    Out << (k ? ",\n" : "\n")
        << GeoJsonFeature(GeoJsonGeometry(Results[k].Contour, Tolerance), Props);
  }
  Out << "\n]}\n";
}

int Run(const TOptions& O, std::istream& In, std::ostream& Out) {
  std::string Text;
  if (O.File.empty() || O.File == "-") {
    Text.assign(std::istreambuf_iterator<char>(In), std::istreambuf_iterator<char>());
  } else {
    std::ifstream F(O.File, std::ios::binary);
    if (!F) throw EInputError("cannot open " + O.File);
    // A folder opens like a file on some systems and fails only on reading.
    try {
      Text.assign(std::istreambuf_iterator<char>(F), std::istreambuf_iterator<char>());
    } catch (const std::exception&) {
      throw EInputError("cannot read " + O.File);
    }
    if (F.bad()) throw EInputError("cannot read " + O.File);
  }
  const std::vector<TInputGeometry> Inputs = ReadInput(Text);

  if (O.Command == "area") {
    for (const TInputGeometry& G : Inputs) Out << NumberText(EnclosedArea(G.Contour)) << '\n';
    return 0;
  }

  std::vector<TResult> Results;
  if (O.Command == "buffer") {
    for (const TInputGeometry& G : Inputs) {
      TResult R{"buffer of " + G.Label, {}};
      try {
        BufferZone(G.Contour, *O.Width, R.Contour);
      } catch (const core::Exception& E) {
        throw EGeometric{G.Label + ": buffer", E.what()};
      }
      Results.push_back(std::move(R));
    }
  } else {
    if (Inputs.size() < 2)
      throw EInputError(O.Command + " needs two geometries, the input has " +
                        std::to_string(Inputs.size()));
    const TInputGeometry& A = Inputs[0];
    const TInputGeometry& B = Inputs[1];
    TResult R{A.Label + " " + O.Command + " " + B.Label, {}};
    try {
      Combine(A.Contour, B.Contour, OpOf(O.Command), R.Contour);
    } catch (const core::Exception& E) {
      throw EGeometric{R.Label, E.what()};
    }
    Results.push_back(std::move(R));
  }
  WriteResults(O, Inputs, Results, Out);
  return 0;
}

}  // namespace

int RunGeomTool(const std::vector<std::string>& Args, std::istream& In, std::ostream& Out,
                std::ostream& Err) {
  std::string Source = "<stdin>";
  try {
    const TOptions O = ParseArgs(Args);
    if (O.Help) {
      Out << Usage;
      return 0;
    }
    if (!O.File.empty() && O.File != "-") Source = O.File;
    return Run(O, In, Out);
  } catch (const EUsage& E) {
    Err << "trace-geom: " << E.Text << " (see trace-geom --help)\n";
    return 2;
  } catch (const EInputError& E) {
    Err << "trace-geom: ";
    if (E.Line > 0) Err << Source << ':' << E.Line << ": ";
    Err << E.Text << '\n';
    return 2;
  } catch (const EGeometric& E) {
    Err << "trace-geom: " << E.Where << " failed: " << E.Text << '\n';
    return 1;
  } catch (const std::bad_alloc&) {
    Err << "trace-geom: out of memory\n";
    return 1;
  } catch (const std::exception& E) {
    Err << "trace-geom: " << E.what() << '\n';
    return 1;
  }
}

}  // namespace geomio
