#include "host/layer_io.h"

#include "geomio/geojson_writer.h"
#include "geomio/input_error.h"
#include "geomio/input_reader.h"
#include "geomio/part_builder.h"
#include "geomio/wkt_writer.h"
#include "host/host_error.h"

namespace host {

std::vector<TKxID> ImportGeometry(THostProject& Project, const TKxID& LayerID, const TKxID& StyleID,
                                  std::string_view Text) {
  std::vector<geomio::TInputGeometry> Input;
  try {
    Input = geomio::ReadInput(Text);
  } catch (const geomio::EInputError& E) {
    throw EHostError("Строка " + std::to_string(E.Line) + ": " + E.Text);
  } catch (const core::Exception& E) {
    throw EHostError(std::string("Ошибка чтения геометрии: ") + E.what());
  }
  return AddGeometries(Project, LayerID, StyleID, Input);
}

std::vector<TKxID> AddGeometries(THostProject& Project, const TKxID& LayerID, const TKxID& StyleID,
                                 const std::vector<geomio::TInputGeometry>& Input) {
  std::vector<std::vector<THostShape>> Objects;
  Objects.reserve(Input.size());
  for (const geomio::TInputGeometry& G : Input) {
    std::vector<THostShape> Shapes{{StyleID, ContourToHost(G.Contour)}};
    try {
      Project.CheckObject(LayerID, Shapes);
    } catch (const EHostError& E) {
      // Text names its lines, GIS files their features.
      const std::string Where =
          G.Line > 0 ? "Строка " + std::to_string(G.Line) : "Объект " + std::to_string(G.Id);
      throw EHostError(Where + ": " + E.what());
    }
    Objects.push_back(std::move(Shapes));
  }
  std::vector<TKxID> IDs;
  IDs.reserve(Objects.size());
  // Checked above, so adding cannot fail half way.
  for (auto& Shapes : Objects) IDs.push_back(Project.AddObject(LayerID, std::move(Shapes)));
  return IDs;
}

geo::TContour ObjectGeometry(const THostProject& Project, const THostMapObject& Object) {
  geo::TContour Result;
  for (const THostShape& S : Object.Shapes) {
    const THostStyle* Style = Project.FindStyle(S.StyleID);
    if (Style && Style->DefinesGeometry())
      geomio::AppendCommands(Result, HostToContour(S.Commands));
  }
  return Result;
}

std::string ExportLayerWkt(const THostProject& Project, const TKxID& LayerID) {
  Project.Layer(LayerID);
  std::string Text;
  for (const THostMapObject* O : Project.Objects(LayerID)) {
    const geo::TContour C = ObjectGeometry(Project, *O);
    if (C.CommandCount() == 0) continue;
    Text += geomio::WktOfContour(C);
    Text += '\n';
  }
  return Text;
}

std::string ExportLayerGeoJson(const THostProject& Project, const TKxID& LayerID,
                               double Tolerance) {
  Project.Layer(LayerID);
  if (!(Tolerance > 0)) throw EHostError("Допуск хорд должен быть положительным");
  std::string Text = "{\"type\":\"FeatureCollection\",\"features\":[";
  bool First = true;
  for (const THostMapObject* O : Project.Objects(LayerID)) {
    const geo::TContour C = ObjectGeometry(Project, *O);
    if (C.CommandCount() == 0) continue;
    Text += First ? "\n" : ",\n";
    First = false;
    Text += geomio::GeoJsonFeature(geomio::GeoJsonGeometry(C, Tolerance),
                                   {{"id", geomio::JsonString(IDText(O->ID))},
                                    {"layer", geomio::JsonString(IDText(O->LayerID))}});
  }
  return Text + "\n]}\n";
}

}  // namespace host
