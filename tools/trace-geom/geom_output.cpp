#include "tools/trace-geom/geom_output.h"

#include <cctype>
#include <iostream>
#include <sstream>

#include "compat/atomic_file.h"
#include "core/exception.h"
#include "geomio/geojson_writer.h"
#include "geomio/input_error.h"
#include "geomio/svg_writer.h"
#include "geomio/wkt_writer.h"
#include "tools/trace-geom/gis_formats.h"
#include "tools/trace-geom/progress_line.h"

namespace geomio {

namespace {

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

std::vector<const geo::TContour*> ContoursOf(const std::vector<TResult>& Results) {
  std::vector<const geo::TContour*> C;
  for (const TResult& R : Results) C.push_back(&R.Contour);
  return C;
}

void WriteGeoJson(const TOptions& O, const TInputSet& First, const std::vector<TResult>& Results,
                  std::ostream& Out) {
  const double Tolerance = ToleranceOf(O);
  const TTable T = OutputTable(O, First, Results, true);
  std::vector<geo::TContour> Reprojected;
  if (O.Rfc7946) Reprojected = GisFormats().ToWgs84(First.Crs, ContoursOf(Results), Tolerance);
  Out << "{\"type\":\"FeatureCollection\",";
  // As GDAL does: a system other than WGS 84 is named. Text without one
  // needs no GIS formats module.
  const std::string Urn = O.Rfc7946 || First.Crs.empty() ? "" : GisFormats().CrsUrn(First.Crs);
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
        O.Rfc7946 ? GeoJsonGeometry(Reprojected[k], Tolerance)
                  : GeoJsonGeometry(Results[k].Contour, Tolerance, Results[k].Nesting);
    Out << (k ? ",\n" : "\n") << GeoJsonFeature(Geometry, Props);
  }
  Out << "\n]}\n";
}

void WriteText(const TOptions& O, const std::vector<TInputSet>& Sets,
               const std::vector<TResult>& Results, std::ostream& Out) {
  const TFormat Format = TextFormat(O);
  if (Format == TFormat::Wkt) {
    for (const TResult& R : Results) Out << WktOfContour(R.Contour, R.Nesting) << '\n';
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

}  // namespace

void WriteOutput(const TOptions& O, const std::vector<TInputSet>& Sets,
                 const std::vector<TResult>& Results, std::ostream& Out, std::ostream& Err,
                 TProgressLine& Progress) {
  if (TextOutput(O)) {
    if (O.Output.empty()) {
      WriteText(O, Sets, Results, Out);
      return;
    }
    // Written whole beside the old file and renamed over it: a full disk
    // leaves the old file as it was.
    std::ostringstream Text;
    WriteText(O, Sets, Results, Text);
    try {
      compat::WriteFileAtomically(O.Output, Text.str());
    } catch (const compat::EFileWriteError& E) {
      throw core::Exception("cannot write " + O.Output + ": " + E.Reason);
    }
    return;
  }
  TGisOutput G;
  G.Path = O.Output;
  G.Driver = O.Driver;
  G.Crs = Sets[0].Crs;
  G.Tolerance = ToleranceOf(O);
  G.Overwrite = O.Overwrite;
  G.Rfc7946 = O.Rfc7946;
  IGisFormats& Gis = GisFormats();
  const std::string Driver = O.Driver.empty() ? Gis.DriverForPath(O.Output) : O.Driver;
  const TTable T = OutputTable(O, Sets[0], Results, O.Rfc7946 || !Gis.DriverKeepsArcs(Driver));
  G.Fields = T.Fields;
  std::vector<geo::TContour> Reprojected;
  if (O.Rfc7946) {
    Reprojected = Gis.ToWgs84(Sets[0].Crs, ContoursOf(Results), G.Tolerance);
    G.Crs = Gis.Wgs84Crs();
  }
  std::vector<TGisFeature> Features;
  for (size_t k = 0; k < Results.size(); ++k)
    Features.push_back({O.Rfc7946 ? &Reprojected[k] : &Results[k].Contour, &T.Rows[k]});
  const std::vector<std::string> Notes = Gis.WriteGisLayer(
      G, Features, [&](size_t Done, size_t Total) { Progress.Update("writing", Done, Total); });
  Progress.Finish();
  if (!O.Quiet)
    for (const std::string& N : Notes) Err << "trace-geom: note: " << O.Output << ": " << N << '\n';
}

}  // namespace geomio
