#include "tools/trace-geom/geom_tool.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iostream>
#include <iterator>
#include <new>
#include <optional>

#include "core/exception.h"
#include "geomio/enclosed_area.h"
#include "geomio/gdal/crs.h"
#include "geomio/gdal/gis_reader.h"
#include "geomio/gdal/gis_writer.h"
#include "geomio/geojson_writer.h"
#include "geomio/input_error.h"
#include "geomio/input_reader.h"
#include "geomio/number_text.h"
#include "geomio/svg_writer.h"
#include "geomio/wkt_writer.h"
#include "tools/trace-geom/geometry_ops.h"
#include "tools/trace-geom/progress_line.h"

namespace geomio {

namespace {

const char* const Usage =
    "usage: trace-geom COMMAND [options] [FILE [FILE2]]\n"
    "\n"
    "commands:\n"
    "  buffer --width W     the buffer zone of each input geometry\n"
    "  union                the first two geometries combined (from FILE, or the\n"
    "  intersection         first of FILE and the first of FILE2)\n"
    "  difference           the first minus the second\n"
    "  symdifference\n"
    "  area                 the enclosed area of each geometry (holes subtract)\n"
    "\n"
    "options:\n"
    "  --format wkt|geojson|svg  format on standard output (default wkt; arcs stay\n"
    "                       arcs in wkt and svg, geojson gets chords)\n"
    "  -o, --output OUT     write to OUT instead: .wkt and .svg as above, any other\n"
    "                       through GDAL by its extension (.gpkg, .geojson, .fgb,\n"
    "                       .dxf, .shp, .gml, .csv, ...), attributes carried\n"
    "  --driver NAME        GDAL driver for OUT, whatever its extension\n"
    "  --overwrite          replace OUT when it exists\n"
    "  --layer NAME         the layer of FILE to read (files with several layers)\n"
    "  --crs DEF            coordinate system of the input, whatever it names\n"
    "                       (EPSG:25832, WKT or PROJ text); nothing is reprojected\n"
    "  --allow-degrees      buffer in degrees on a geographic coordinate system\n"
    "  --rfc7946            GeoJSON in WGS 84 longitude and latitude, as RFC 7946\n"
    "                       asks (arcs become chords before reprojecting)\n"
    "  --tolerance T        largest distance of a chord from its arc where the\n"
    "                       output has no arcs (default width/1000 for buffer,\n"
    "                       else 0.001)\n"
    "  -q, --quiet          no progress line and no notes on standard error\n"
    "  -h, --help           this text\n"
    "\n"
    "Input is FILE, or standard input when FILE is missing or '-': WKT, one\n"
    "geometry a line ('#' starts a comment line), or GeoJSON when it begins with\n"
    "'{'; a FILE in any vector format GDAL reads is read through GDAL.\n"
    "Exit status: 0 done, 1 geometric failure, 2 bad input or usage.\n";

// Bad usage; reported with a pointer to --help.
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
  bool Help = false;
};

double PositiveNumber(const std::string& Option, const std::string& Value) {
  double V = 0;
  if (!ParseNumber(Value, V) || V <= 0)
    throw EUsage{Option + " needs a positive number, not '" + Value + "'"};
  return V;
}

bool IsBoolean(const std::string& Command) {
  return Command == "union" || Command == "intersection" || Command == "difference" ||
         Command == "symdifference";
}

bool EndsWith(const std::string& S, const char* Ext) {
  const std::string E = Ext;
  if (S.size() < E.size()) return false;
  for (size_t i = 0; i < E.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(S[S.size() - E.size() + i])) != E[i]) return false;
  return true;
}

// The output is written by our own text writers rather than through GDAL.
bool TextOutput(const TOptions& O) {
  return O.Output.empty() ||
         (O.Driver.empty() && (EndsWith(O.Output, ".wkt") || EndsWith(O.Output, ".svg")));
}

TFormat TextFormat(const TOptions& O) {
  if (!O.Output.empty()) return EndsWith(O.Output, ".svg") ? TFormat::Svg : TFormat::Wkt;
  return O.Format.value_or(TFormat::Wkt);
}

TOptions ParseArgs(const std::vector<std::string>& Args) {
  static const char* const Valued[] = {"--width",  "--format", "--tolerance", "--output",
                                       "--driver", "--layer",  "--crs"};
  TOptions O;
  for (size_t i = 0; i < Args.size(); ++i) {
    std::string A = Args[i];
    if (A == "-h" || A == "--help") {
      O.Help = true;
      continue;
    }
    if (A == "-o") A = "--output";
    if (A == "-q") A = "--quiet";
    if (A.size() > 2 && A.compare(0, 2, "--") == 0) {
      std::string Value;
      const size_t Eq = A.find('=');
      if (Eq != std::string::npos) {
        Value = A.substr(Eq + 1);
        A.resize(Eq);
      } else if (std::find(std::begin(Valued), std::end(Valued), A) != std::end(Valued)) {
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
      } else if (A == "--output" || A == "--driver" || A == "--layer" || A == "--crs") {
        if (Value.empty()) throw EUsage{A + " needs a value"};
        (A == "--output"   ? O.Output
         : A == "--driver" ? O.Driver
         : A == "--layer"  ? O.Layer
                           : O.Crs) = Value;
      } else if (A == "--overwrite") {
        O.Overwrite = true;
      } else if (A == "--allow-degrees") {
        O.AllowDegrees = true;
      } else if (A == "--rfc7946") {
        O.Rfc7946 = true;
      } else if (A == "--quiet") {
        O.Quiet = true;
      } else {
        throw EUsage{"unknown option " + A};
      }
      continue;
    }
    if (A.size() > 1 && A[0] == '-') throw EUsage{"unknown option " + A};
    if (O.Command.empty()) {
      O.Command = A;
    } else {
      O.Files.push_back(A);
    }
  }
  if (O.Help) return O;
  if (O.Command.empty()) throw EUsage{"no command given"};
  static const char* const Commands[] = {"buffer",     "union",         "intersection",
                                         "difference", "symdifference", "area"};
  bool Known = false;
  for (const char* C : Commands) Known = Known || O.Command == C;
  if (!Known) throw EUsage{"unknown command '" + O.Command + "'"};
  if (O.Files.size() > (IsBoolean(O.Command) ? 2u : 1u))
    throw EUsage{"more than one input file: " + O.Files[0] + " and " + O.Files[1]};
  if (O.Command == "buffer" && !O.Width) throw EUsage{"buffer needs --width"};
  if (O.Command != "buffer" && O.Width) throw EUsage{"--width applies to buffer only"};
  if (O.Command == "area" && !O.Output.empty()) throw EUsage{"area writes numbers, not to -o"};
  if (!O.Output.empty() && O.Format)
    throw EUsage{"--format is for standard output; -o takes the format from the file name"};
  if (O.Output.empty() && !O.Driver.empty()) throw EUsage{"--driver needs -o"};
  if (O.Rfc7946 && TextOutput(O) && TextFormat(O) != TFormat::GeoJson)
    throw EUsage{"--rfc7946 applies to GeoJSON output only"};
  return O;
}

TUnionOperation OpOf(const std::string& Command) {
  if (Command == "union") return TUnionOperation::Union;
  if (Command == "intersection") return TUnionOperation::Intersection;
  if (Command == "difference") return TUnionOperation::Difference;
  return TUnionOperation::SymDifference;
}

struct TResult {
  std::string Label;
  geo::TContour Contour;
  const TInputGeometry* Source;  // whose attributes the result keeps
};

// A kernel failure, with what it was working on.
struct EGeometric {
  std::string Where;
  std::string Text;
};

bool IsStdin(const std::string& File) {
  return File.empty() || File == "-";
}

std::string ReadText(const std::string& File, std::istream& In) {
  std::string Text;
  if (IsStdin(File)) {
    Text.assign(std::istreambuf_iterator<char>(In), std::istreambuf_iterator<char>());
    return Text;
  }
  std::ifstream F(File, std::ios::binary);
  if (!F) throw EInputError("cannot open " + File);
  // A folder opens like a file on some systems and fails only on reading.
  try {
    Text.assign(std::istreambuf_iterator<char>(F), std::istreambuf_iterator<char>());
  } catch (const std::exception&) {
    throw EInputError("cannot read " + File);
  }
  if (F.bad()) throw EInputError("cannot read " + File);
  return Text;
}

// Text (WKT, or GeoJSON) goes to our own readers, which name the line and
// column of a fault; files GDAL recognises go through GDAL.
TInputSet ReadSource(const TOptions& O, const std::string& File, std::istream& In,
                     TProgressLine& Progress) {
  const bool Text = IsStdin(File) || EndsWith(File, ".wkt") || EndsWith(File, ".txt");
  if (!Text && IsGisFile(File))
    return ReadGisLayer(
        File, O.Layer, [&](size_t Done, size_t Total) { Progress.Update("reading", Done, Total); });
  if (!O.Layer.empty()) throw EUsage{"--layer needs a GIS file, and " + File + " is text"};
  TInputSet Set;
  Set.Source = IsStdin(File) ? "<stdin>" : File;
  std::string CrsName;
  Set.Geometries = ReadInput(ReadText(File, In), &CrsName);
  if (!CrsName.empty()) Set.Crs = CrsFromDefinition(CrsName);
  for (size_t i = 0; i < Set.Geometries.size(); ++i)
    Set.Geometries[i].Id = static_cast<int64_t>(i + 1);
  return Set;
}

void CheckCrs(const TOptions& O, std::vector<TInputSet>& Sets) {
  // Assigned, not transformed: for input that names no system, or names a
  // wrong one (GeoJSON without "crs" counts as WGS 84).
  if (!O.Crs.empty()) {
    const std::string Given = CrsFromDefinition(O.Crs);
    for (TInputSet& S : Sets) S.Crs = Given;
  }
  if (Sets.size() == 2) {
    if (!Sets[0].Crs.empty() && !Sets[1].Crs.empty() && !SameCrs(Sets[0].Crs, Sets[1].Crs))
      throw EInputError("the inputs are in different coordinate systems: " + Sets[0].Source +
                        " in " + CrsName(Sets[0].Crs) + ", " + Sets[1].Source + " in " +
                        CrsName(Sets[1].Crs) + "; reproject one of them first");
    // Input without a system (WKT text) is taken to be in the other's.
    if (Sets[0].Crs.empty()) Sets[0].Crs = Sets[1].Crs;
  }
  if (O.Command == "buffer" && !O.AllowDegrees && CrsIsGeographic(Sets[0].Crs))
    throw EInputError("the width is in metres, but " + Sets[0].Source + " is in " +
                      CrsName(Sets[0].Crs) + ", a geographic coordinate system (degrees); " +
                      (FitsDegrees(Sets[0].Geometries)
                           ? "reproject it to a projected one (such as its UTM zone) first, or "
                             "pass --allow-degrees to buffer in degrees"
                           : "its coordinates are out of the range of longitude and latitude, so "
                             "they are likely metres in a system the file does not name (GeoJSON "
                             "without \"crs\" is WGS 84): pass --crs to name it"));
}

double ToleranceOf(const TOptions& O) {
  return O.Tolerance ? *O.Tolerance : O.Width ? *O.Width * 1e-3 : 1e-3;
}

// The output's attributes: the first input's fields, then the source's
// identifier (unless the input has an "id" already), the operation and the
// width. Added names that the input uses already get a "trace_" prefix, so
// that no input value is overwritten.
struct TTable {
  std::vector<TFieldDef> Fields;
  std::vector<std::vector<TFieldValue>> Rows;  // one per result
};

TTable OutputTable(const TOptions& O, const TInputSet& First, const std::vector<TResult>& Results,
                   bool Chords) {
  TTable T;
  T.Fields = First.Fields;
  auto Taken = [&](const std::string& Name) {
    for (const TFieldDef& F : T.Fields) {
      if (F.Name.size() != Name.size()) continue;
      bool Same = true;
      for (size_t i = 0; i < Name.size(); ++i)
        Same = Same && std::tolower(static_cast<unsigned char>(F.Name[i])) == Name[i];
      if (Same) return true;
    }
    return false;
  };
  auto Add = [&](const std::string& Name, TFieldKind Kind) {
    T.Fields.push_back({Taken(Name) ? "trace_" + Name : Name, Kind, 0, 0});
  };
  const bool AddId = !Taken("id");
  if (AddId) Add("id", TFieldKind::Integer64);
  Add("operation", TFieldKind::String);
  if (O.Width) Add("width", TFieldKind::Real);
  if (Chords) Add("tolerance", TFieldKind::Real);
  for (const TResult& R : Results) {
    std::vector<TFieldValue> Row = R.Source->Values;
    Row.resize(First.Fields.size());
    if (AddId) Row.emplace_back(R.Source->Id);
    Row.emplace_back(O.Command);
    if (O.Width) Row.emplace_back(*O.Width);
    if (Chords) Row.emplace_back(ToleranceOf(O));
    T.Rows.push_back(std::move(Row));
  }
  return T;
}

void WriteGeoJson(const TOptions& O, const TInputSet& First, const std::vector<TResult>& Results,
                  std::ostream& Out) {
  const double Tolerance = ToleranceOf(O);
  const TTable T = OutputTable(O, First, Results, true);
  std::optional<TToWgs84> ToWgs84;
  if (O.Rfc7946) ToWgs84.emplace(First.Crs);
  Out << "{\"type\":\"FeatureCollection\",";
  // As GDAL does: a system other than WGS 84 is named.
  const std::string Urn = O.Rfc7946 ? "" : CrsUrn(First.Crs);
  if (!Urn.empty())
    Out << "\"crs\":{\"type\":\"name\",\"properties\":{\"name\":" << JsonString(Urn) << "}},";
  Out << "\"features\":[";
  for (size_t k = 0; k < Results.size(); ++k) {
    std::vector<std::pair<std::string, std::string>> Props;
    for (size_t i = 0; i < T.Fields.size(); ++i) {
      Props.emplace_back(T.Fields[i].Name, JsonOfValue(T.Rows[k][i]));
      // Where the label stood before attributes came along.
      if (T.Fields[i].Name == "operation")
        Props.emplace_back("source", JsonString(Results[k].Label));
    }
    const std::string Geometry =
        ToWgs84 ? GeoJsonGeometry(ToWgs84->Apply(Results[k].Contour, Tolerance), Tolerance)
                : GeoJsonGeometry(Results[k].Contour, Tolerance);
    Out << (k ? ",\n" : "\n") << GeoJsonFeature(Geometry, Props);
  }
  Out << "\n]}\n";
}

void WriteText(const TOptions& O, const std::vector<TInputSet>& Sets,
               const std::vector<TResult>& Results, std::ostream& Out) {
  const TFormat Format = TextFormat(O);
  if (Format == TFormat::Wkt) {
    for (const TResult& R : Results) Out << WktOfContour(R.Contour) << '\n';
  } else if (Format == TFormat::Svg) {
    std::vector<TSvgItem> In, Res;
    for (const TInputSet& S : Sets)
      for (const TInputGeometry& G : S.Geometries) In.push_back({&G.Contour, G.Label});
    for (const TResult& R : Results) Res.push_back({&R.Contour, R.Label});
    Out << SvgPicture(In, Res);
  } else {
    WriteGeoJson(O, Sets[0], Results, Out);
  }
}

void WriteOutput(const TOptions& O, const std::vector<TInputSet>& Sets,
                 const std::vector<TResult>& Results, std::ostream& Out, std::ostream& Err,
                 TProgressLine& Progress) {
  if (TextOutput(O)) {
    if (O.Output.empty()) {
      WriteText(O, Sets, Results, Out);
      return;
    }
    std::ofstream F(O.Output, std::ios::binary);
    if (!F) throw EInputError("cannot create " + O.Output);
    WriteText(O, Sets, Results, F);
    F.close();
    if (!F) throw core::Exception("cannot write " + O.Output);
    return;
  }
  TGisOutput G;
  G.Path = O.Output;
  G.Driver = O.Driver;
  G.Crs = Sets[0].Crs;
  G.Tolerance = ToleranceOf(O);
  G.Overwrite = O.Overwrite;
  G.Rfc7946 = O.Rfc7946;
  const std::string Driver = O.Driver.empty() ? DriverForPath(O.Output) : O.Driver;
  const TTable T = OutputTable(O, Sets[0], Results, O.Rfc7946 || !DriverKeepsArcs(Driver));
  G.Fields = T.Fields;
  std::vector<geo::TContour> Reprojected;
  if (O.Rfc7946) {
    const TToWgs84 ToWgs84(Sets[0].Crs);
    for (const TResult& R : Results) Reprojected.push_back(ToWgs84.Apply(R.Contour, G.Tolerance));
    G.Crs = Wgs84Crs();
  }
  std::vector<TGisFeature> Features;
  for (size_t k = 0; k < Results.size(); ++k)
    Features.push_back({O.Rfc7946 ? &Reprojected[k] : &Results[k].Contour, &T.Rows[k]});
  const std::vector<std::string> Notes = WriteGisLayer(
      G, Features, [&](size_t Done, size_t Total) { Progress.Update("writing", Done, Total); });
  Progress.Finish();
  if (!O.Quiet)
    for (const std::string& N : Notes) Err << "trace-geom: note: " << O.Output << ": " << N << '\n';
}

int Run(const TOptions& O, std::istream& In, std::ostream& Out, std::ostream& Err,
        bool ErrIsTerminal) {
  TProgressLine Progress(Err, ErrIsTerminal && !O.Quiet);
  std::vector<TInputSet> Sets;
  if (O.Files.empty()) {
    Sets.push_back(ReadSource(O, "", In, Progress));
  } else {
    for (const std::string& F : O.Files) Sets.push_back(ReadSource(O, F, In, Progress));
  }
  CheckCrs(O, Sets);
  const std::vector<TInputGeometry>& Inputs = Sets[0].Geometries;

  if (O.Command == "area") {
    for (const TInputGeometry& G : Inputs) Out << NumberText(EnclosedArea(G.Contour)) << '\n';
    return 0;
  }

  std::vector<TResult> Results;
  if (O.Command == "buffer") {
    for (const TInputGeometry& G : Inputs) {
      TResult R{"buffer of " + G.Label, {}, &G};
      try {
        BufferZone(G.Contour, *O.Width, R.Contour);
      } catch (const core::Exception& E) {
        throw EGeometric{G.Label + ": buffer", E.what()};
      }
      Results.push_back(std::move(R));
      Progress.Update("buffer", Results.size(), Inputs.size());
    }
  } else {
    std::vector<const TInputGeometry*> Pair;
    for (const TInputSet& S : Sets)
      for (size_t i = 0; i < S.Geometries.size() && Pair.size() < 2; ++i)
        if (Sets.size() == 1 || i == 0) Pair.push_back(&S.Geometries[i]);
    if (Pair.size() < 2)
      throw EInputError(O.Command + " needs two geometries, the input has " +
                        std::to_string(Pair.size()));
    const TInputGeometry& A = *Pair[0];
    const TInputGeometry& B = *Pair[1];
    TResult R{A.Label + " " + O.Command + " " + B.Label, {}, &A};
    try {
      Combine(A.Contour, B.Contour, OpOf(O.Command), R.Contour);
    } catch (const core::Exception& E) {
      throw EGeometric{R.Label, E.what()};
    }
    Results.push_back(std::move(R));
  }
  Progress.Finish();
  WriteOutput(O, Sets, Results, Out, Err, Progress);
  return 0;
}

}  // namespace

int RunGeomTool(const std::vector<std::string>& Args, std::istream& In, std::ostream& Out,
                std::ostream& Err, bool ErrIsTerminal) {
  std::string Source = "<stdin>";
  try {
    const TOptions O = ParseArgs(Args);
    if (O.Help) {
      Out << Usage;
      return 0;
    }
    if (!O.Files.empty() && !IsStdin(O.Files[0])) Source = O.Files[0];
    return Run(O, In, Out, Err, ErrIsTerminal);
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
