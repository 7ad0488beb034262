#include "host/gis_layer_io.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "geomio/gdal/crs.h"
#include "geomio/gdal/gis_reader.h"
#include "geomio/gdal/gis_writer.h"
#include "geomio/input_error.h"
#include "host/host_error.h"
#include "host/layer_io.h"

namespace host {

std::vector<TKxID> ImportGisLayer(THostProject& Project, const TKxID& LayerID, const TKxID& StyleID,
                                  const std::string& Path, const std::string& GisLayer) {
  geomio::TInputSet Set;
  try {
    Set = geomio::ReadGisLayer(Path, GisLayer);
  } catch (const geomio::EInputError& E) {
    throw EHostError(E.Text);
  }
  // The map is in metres and so are zone widths: degrees taken as metres
  // would make a "5 m" zone five degrees wide.
  if (geomio::CrsIsGeographic(Set.Crs))
    throw EHostError("Система координат " + Path + " (" + geomio::CrsName(Set.Crs) +
                     ") географическая: координаты в градусах, а карта и ширина буферной зоны в "
                     "метрах. Перепроецируйте слой в прямоугольную систему координат (например, "
                     "в его зону UTM) и импортируйте снова");
  if (!Project.Crs.empty() && !Set.Crs.empty() && !geomio::SameCrs(Project.Crs, Set.Crs))
    throw EHostError("Система координат " + Path + " (" + geomio::CrsName(Set.Crs) +
                     ") не совпадает с системой координат проекта (" +
                     geomio::CrsName(Project.Crs) + ")");
  std::vector<TKxID> IDs = AddGeometries(Project, LayerID, StyleID, Set.Geometries);
  if (Project.Crs.empty()) Project.Crs = Set.Crs;
  return IDs;
}

std::vector<std::string> ExportGisLayer(const THostProject& Project, const TKxID& LayerID,
                                        const std::string& Path, double Tolerance,
                                        const std::string& Driver, bool Overwrite) {
  Project.Layer(LayerID);
  if (!(Tolerance > 0)) throw EHostError("Допуск хорд должен быть положительным");
  std::vector<geo::TContour> Contours;
  std::vector<std::vector<geomio::TFieldValue>> Rows;
  for (const THostMapObject* O : Project.Objects(LayerID)) {
    geo::TContour C = ObjectGeometry(Project, *O);
    if (C.CommandCount() == 0) continue;
    Contours.push_back(std::move(C));
    Rows.push_back({IDText(O->ID), IDText(O->LayerID)});
  }
  geomio::TGisOutput Out;
  Out.Path = Path;
  Out.Driver = Driver;
  Out.Crs = Project.Crs;
  Out.Fields = {{"id", geomio::TFieldKind::String, 0, 0},
                {"layer", geomio::TFieldKind::String, 0, 0}};
  Out.Tolerance = Tolerance;
  Out.Overwrite = Overwrite;
  std::vector<geomio::TGisFeature> Features;
  for (size_t k = 0; k < Contours.size(); ++k) Features.push_back({&Contours[k], &Rows[k]});
  try {
    return geomio::WriteGisLayer(Out, Features);
  } catch (const geomio::EInputError& E) {
    throw EHostError(E.Text);
  } catch (const core::Exception& E) {
    throw EHostError(E.what());
  }
}

bool IsGisFileName(const std::string& Path) {
  std::string Ext = std::filesystem::path(Path).extension().string();
  std::transform(Ext.begin(), Ext.end(), Ext.begin(),
                 [](unsigned char C) { return static_cast<char>(std::tolower(C)); });
  return !Ext.empty() && Ext != ".wkt" && Ext != ".txt" && Ext != ".geojson" && Ext != ".json";
}

}  // namespace host
