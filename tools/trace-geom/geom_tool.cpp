#include "tools/trace-geom/geom_tool.h"

#include <cmath>
#include <fstream>
#include <iostream>
#include <iterator>
#include <new>

#include "core/exception.h"
#include "geomio/enclosed_area.h"
#include "geomio/input_error.h"
#include "geomio/input_reader.h"
#include "geomio/number_text.h"
#include "tools/trace-geom/command_line.h"
#include "tools/trace-geom/geom_output.h"
#include "tools/trace-geom/geometry_ops.h"
#include "tools/trace-geom/gis_formats.h"
#include "tools/trace-geom/progress_line.h"
#include "trace/engine/zone_batch.h"

namespace geomio {

namespace {

TUnionOperation OpOf(const std::string& Command) {
  if (Command == "union") return TUnionOperation::Union;
  if (Command == "intersection") return TUnionOperation::Intersection;
  if (Command == "difference") return TUnionOperation::Difference;
  return TUnionOperation::SymDifference;
}

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
// column of a fault; files GDAL recognises go through GDAL. Only the latter
// load the GIS formats module, and with it GDAL.
TInputSet ReadSource(const TOptions& O, const std::string& File, std::istream& In,
                     TProgressLine& Progress) {
  const bool Text = IsStdin(File) || EndsWith(File, ".wkt") || EndsWith(File, ".txt");
  if (!Text && GisFormats().IsGisFile(File))
    return GisFormats().ReadGisLayer(
        File, O.Layer, [&](size_t Done, size_t Total) { Progress.Update("reading", Done, Total); });
  if (!O.Layer.empty()) throw EUsage{"--layer needs a GIS file, and " + File + " is text"};
  TInputSet Set;
  Set.Source = IsStdin(File) ? "<stdin>" : File;
  std::string CrsName;
  Set.Geometries = ReadInput(ReadText(File, In), &CrsName);
  if (!CrsName.empty()) Set.Crs = GisFormats().CrsFromDefinition(CrsName);
  for (size_t i = 0; i < Set.Geometries.size(); ++i)
    Set.Geometries[i].Id = static_cast<int64_t>(i + 1);
  return Set;
}

// A system comes only through the GIS formats module, so input without one
// (WKT text) is checked without loading it.
void CheckCrs(const TOptions& O, std::vector<TInputSet>& Sets) {
  // Assigned, not transformed: for input that names no system, or names a
  // wrong one (GeoJSON without "crs" counts as WGS 84).
  if (!O.Crs.empty()) {
    const std::string Given = GisFormats().CrsFromDefinition(O.Crs);
    for (TInputSet& S : Sets) S.Crs = Given;
  }
  if (Sets.size() == 2) {
    if (!Sets[0].Crs.empty() && !Sets[1].Crs.empty() &&
        !GisFormats().SameCrs(Sets[0].Crs, Sets[1].Crs))
      throw EInputError("the inputs are in different coordinate systems: " + Sets[0].Source +
                        " in " + GisFormats().CrsName(Sets[0].Crs) + ", " + Sets[1].Source +
                        " in " + GisFormats().CrsName(Sets[1].Crs) +
                        "; reproject one of them first");
    // Input without a system (WKT text) is taken to be in the other's.
    if (Sets[0].Crs.empty()) Sets[0].Crs = Sets[1].Crs;
  }
  if (O.Command == "buffer" && !O.AllowDegrees && !Sets[0].Crs.empty() &&
      GisFormats().CrsIsGeographic(Sets[0].Crs))
    throw EInputError("the width is in metres, but " + Sets[0].Source + " is in " +
                      GisFormats().CrsName(Sets[0].Crs) +
                      ", a geographic coordinate system (degrees); " +
                      (GisFormats().FitsDegrees(Sets[0].Geometries)
                           ? "reproject it to a projected one (such as its UTM zone) first, or "
                             "pass --allow-degrees to buffer in degrees"
                           : "its coordinates are out of the range of longitude and latitude, so "
                             "they are likely metres in a system the file does not name (GeoJSON "
                             "without \"crs\" is WGS 84): pass --crs to name it"));
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
  for (const TInputSet& S : Sets)
    if (const std::size_t N = DroppedZMCount(S.Geometries); N && !O.Quiet)
      Err << "trace-geom: note: " << S.Source << ": Z and M values of " << N << " of "
          << S.Geometries.size() << " geometries are left out; results are in x and y\n";
  const std::vector<TInputGeometry>& Inputs = Sets[0].Geometries;

  if (O.Command == "area") {
    // All areas first: a refused one leaves no partial list behind.
    std::string Areas;
    for (const TInputGeometry& G : Inputs) {
      const double A = EnclosedArea(G.Contour);
      // Coordinates near the largest double overflow the products.
      if (!std::isfinite(A))
        throw EInputError("the area of " + G.Label + (G.Line ? "" : " of " + Sets[0].Source) +
                              " is beyond the range of numbers",
                          G.Line);
      Areas += NumberText(A) + '\n';
    }
    Out << Areas;
    return 0;
  }

  std::vector<TResult> Results;
  if (O.Command == "buffer") {
    // Each geometry's zone on a core of its own, in the inputs' order.
    std::vector<const geo::TContour*> Sources;
    for (const TInputGeometry& G : Inputs) Sources.push_back(&G.Contour);
    std::vector<geo::TContour> Zones;
    std::size_t Failed = 0;
    try {
      trace::BuildBufferZones(
          Sources, *O.Width, Zones,
          [&](std::size_t Done) {
            Progress.Update("buffer", Done, Inputs.size());
            return true;
          },
          0, &Failed);
    } catch (const core::Exception& E) {
      throw EGeometric{Inputs[Failed].Label + ": buffer", E.what()};
    }
    for (std::size_t K = 0; K < Inputs.size(); ++K)
      Results.push_back({"buffer of " + Inputs[K].Label, std::move(Zones[K]), &Inputs[K]});
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
    if (!O.Help.empty()) {
      Out << O.Help;
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
