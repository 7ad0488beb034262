#include "host/gis/gis_layer_io.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "compat/atomic_file.h"
#include "geomio/gdal/crs.h"
#include "geomio/gdal/gis_reader.h"
#include "geomio/gdal/gis_writer.h"
#include "geomio/input_error.h"
#include "geomio/input_reader.h"
#include "host/gis/layer_io.h"
#include "host/model/host_error.h"

namespace host {

namespace {

// Refuses the set for the project: degrees anywhere, another system than
// the project's. An empty system (WKT, a file that names none) is taken as
// the project's.
void CheckCrs(const THostProject& Project, const std::string& Source,
              const geomio::TInputSet& Set) {
  const std::string& Crs = Set.Crs;
  // The map is in metres and so are zone widths: degrees taken as metres
  // would make a "5 m" zone five degrees wide.
  if (geomio::CrsIsGeographic(Crs)) {
    const std::string Head = "Система координат " + Source + " (" + geomio::CrsName(Crs) +
                             ") географическая: координаты в градусах, а карта и ширина "
                             "буферной зоны в метрах. ";
    // Most often a file in metres that names no system: GeoJSON without
    // "crs" is longitude and latitude by definition.
    if (!geomio::FitsDegrees(Set.Geometries))
      throw EHostError(Head +
                       "Но координаты лежат вне пределов долготы и широты: видимо, они в "
                       "метрах, а система координат в файле не указана. Укажите её в файле "
                       "(в GeoJSON — член \"crs\") и импортируйте снова");
    throw EHostError(Head +
                     "Перепроецируйте слой в прямоугольную систему координат (например, в "
                     "его зону UTM) и импортируйте снова");
  }
  if (!Project.Crs.empty() && !Crs.empty() && !geomio::SameCrs(Project.Crs, Crs))
    throw EHostError("Система координат " + Source + " (" + geomio::CrsName(Crs) +
                     ") не совпадает с системой координат проекта (" +
                     geomio::CrsName(Project.Crs) + ")");
}

std::vector<TKxID> AddChecked(THostProject& Project, const TKxID& LayerID, const TKxID& StyleID,
                              const std::string& Source, const geomio::TInputSet& Set,
                              std::vector<std::string>* Notes) {
  CheckCrs(Project, Source, Set);
  std::vector<TKxID> IDs =
      AddGeometries(Project, LayerID, StyleID, Set.Geometries, Set.Fields, Source);
  if (Project.Crs.empty()) Project.Crs = Set.Crs;
  if (const std::size_t N = geomio::DroppedZMCount(Set.Geometries); N && Notes)
    Notes->push_back(Source + ": the map keeps x and y only; Z and M values of " +
                     std::to_string(N) + " of " + std::to_string(Set.Geometries.size()) +
                     " objects were left out");
  return IDs;
}

std::string ReadFile(const std::string& Path) {
  std::ifstream In(Path, std::ios::binary);
  std::ostringstream Text;
  if (!In || !(Text << In.rdbuf())) throw EHostError("Файл " + Path + " не читается");
  return Text.str();
}

}  // namespace

std::vector<TKxID> ImportLayerFile(THostProject& Project, const TKxID& LayerID,
                                   const TKxID& StyleID, const std::string& Path,
                                   const std::string& GisLayer, std::vector<std::string>* Notes) {
  if (IsGisFileName(Path)) return ImportGisLayer(Project, LayerID, StyleID, Path, GisLayer, Notes);
  return ImportGeometry(Project, LayerID, StyleID, ReadFile(Path), Path, Notes);
}

std::vector<TKxID> ImportGeometry(THostProject& Project, const TKxID& LayerID, const TKxID& StyleID,
                                  std::string_view Text, const std::string& Source,
                                  std::vector<std::string>* Notes) {
  geomio::TInputSet Set;
  std::string CrsName;
  try {
    Set.Geometries = geomio::ReadInput(Text, &CrsName);
  } catch (const geomio::EInputError& E) {
    throw EHostError(Source + ", строка " + std::to_string(E.Line) + ": " + E.Text);
  } catch (const core::Exception& E) {
    throw EHostError(Source + ": ошибка чтения геометрии: " + E.what());
  }
  // RFC 7946: GeoJSON is longitude and latitude on WGS 84 unless it says
  // otherwise (as GDAL's output in other systems does).
  if (geomio::IsGeoJsonText(Text)) try {
      Set.Crs = CrsName.empty() ? geomio::Wgs84Crs() : geomio::CrsFromDefinition(CrsName);
    } catch (const geomio::EInputError& E) {
      throw EHostError(Source + ": " + E.Text);
    }
  return AddChecked(Project, LayerID, StyleID, Source, Set, Notes);
}

std::vector<TKxID> ImportGisLayer(THostProject& Project, const TKxID& LayerID, const TKxID& StyleID,
                                  const std::string& Path, const std::string& GisLayer,
                                  std::vector<std::string>* Notes) {
  geomio::TInputSet Set;
  try {
    Set = geomio::ReadGisLayer(Path, GisLayer);
  } catch (const geomio::EInputError& E) {
    throw EHostError(E.Text);
  }
  return AddChecked(Project, LayerID, StyleID, Path, Set, Notes);
}

std::vector<std::string> FileLayerNames(const std::string& Path) {
  if (!IsGisFileName(Path)) return {};
  try {
    return geomio::GisLayerNames(Path);
  } catch (const geomio::EInputError& E) {
    throw EHostError(E.Text);
  }
}

std::vector<std::string> ExportGisLayer(const THostProject& Project, const TKxID& LayerID,
                                        const std::string& Path, double Tolerance,
                                        const std::string& Driver, bool Overwrite) {
  const std::vector<geomio::TFieldDef>& Fields = Project.Layer(LayerID).Fields;
  if (!(Tolerance > 0)) throw EHostError("Допуск хорд должен быть положительным");
  // Told in the host's words: GDAL's own message names the tool's option.
  if (Driver.empty() && geomio::DriverForPath(Path).empty())
    throw EHostError("Файл " + Path + " не записан: формат не определить по расширению «" +
                     std::filesystem::path(Path).extension().string() +
                     "»; выберите .wkt, .gpkg, .geojson, .fgb, .dxf или .shp");
  const auto Taken = [&](const char* Name) {
    return std::any_of(Fields.begin(), Fields.end(),
                       [&](const geomio::TFieldDef& F) { return SameFieldName(F.Name, Name); });
  };
  const bool WriteID = !Taken("id"), WriteLayer = !Taken("layer");
  geomio::TGisOutput Out;
  if (WriteID) Out.Fields.push_back({"id", geomio::TFieldKind::String, 0, 0});
  if (WriteLayer) Out.Fields.push_back({"layer", geomio::TFieldKind::String, 0, 0});
  Out.Fields.insert(Out.Fields.end(), Fields.begin(), Fields.end());

  std::vector<geo::TContour> Contours;
  std::vector<std::vector<geomio::TFieldValue>> Rows;
  std::vector<bool> Lines;
  for (const THostMapObject* O : Project.Objects(LayerID)) {
    geo::TContour C = ObjectGeometry(Project, *O);
    if (C.CommandCount() == 0) continue;
    Contours.push_back(std::move(C));
    // Drawn in line styles only, a closed contour is a ring road, not an
    // area: the layer then keeps one kind, lines.
    Lines.push_back(std::none_of(O->Shapes.begin(), O->Shapes.end(), [&](const THostShape& S) {
      const THostStyle* Style = Project.FindStyle(S.StyleID);
      return Style && Style->DefinesGeometry() && Style->Area;
    }));
    std::vector<geomio::TFieldValue> Row;
    Row.reserve(Out.Fields.size());
    if (WriteID) Row.emplace_back(IDText(O->ID));
    if (WriteLayer) Row.emplace_back(IDText(O->LayerID));
    Row.insert(Row.end(), O->Values.begin(), O->Values.end());
    Row.resize(Out.Fields.size());  // trailing nulls
    Rows.push_back(std::move(Row));
  }
  Out.Path = Path;
  Out.Driver = Driver;
  Out.Crs = Project.Crs;
  Out.Tolerance = Tolerance;
  Out.Overwrite = Overwrite;
  std::vector<geomio::TGisFeature> Features;
  Features.reserve(Contours.size());
  for (size_t k = 0; k < Contours.size(); ++k)
    Features.push_back({&Contours[k], &Rows[k], Lines[k]});
  try {
    return geomio::WriteGisLayer(Out, Features);
  } catch (const geomio::EInputError& E) {
    throw EHostError(E.Text);
  } catch (const core::Exception& E) {
    throw EHostError(E.what());
  }
}

std::vector<std::string> ExportLayerFile(const THostProject& Project, const TKxID& LayerID,
                                         const std::string& Path, double Tolerance) {
  if (IsGisFileName(Path)) return ExportGisLayer(Project, LayerID, Path, Tolerance, "", true);
  const std::string Text = ExportLayerWkt(Project, LayerID);
  try {
    compat::WriteFileAtomically(Path, Text);
  } catch (const compat::EFileWriteError& E) {
    throw EHostError("Файл " + Path + " не записан: " + E.Reason);
  }
  std::vector<std::string> Notes;
  if (!Project.Layer(LayerID).Fields.empty())
    Notes.push_back("WKT keeps no attributes; they are left out");
  if (!Project.Crs.empty())
    Notes.push_back("WKT keeps no coordinate system; the coordinates are in " +
                    geomio::CrsName(Project.Crs));
  return Notes;
}

bool IsGisFileName(const std::string& Path) {
  std::string Ext = std::filesystem::path(Path).extension().string();
  std::transform(Ext.begin(), Ext.end(), Ext.begin(),
                 [](unsigned char C) { return static_cast<char>(std::tolower(C)); });
  return !Ext.empty() && Ext != ".wkt" && Ext != ".txt";
}

}  // namespace host
