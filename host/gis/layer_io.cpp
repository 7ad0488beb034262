#include "host/gis/layer_io.h"

#include "geomio/part_builder.h"
#include "geomio/wkt_writer.h"
#include "host/model/host_error.h"

namespace host {

std::vector<TKxID> AddGeometries(THostProject& Project, const TKxID& LayerID, const TKxID& StyleID,
                                 const std::vector<geomio::TInputGeometry>& Input,
                                 const std::vector<geomio::TFieldDef>& Fields,
                                 const std::string& Source) {
  std::vector<std::size_t> Slots;
  std::vector<geomio::TFieldDef> Merged = Project.MergedFields(LayerID, Fields, Slots);
  std::vector<std::vector<THostShape>> Objects;
  std::vector<std::vector<geomio::TFieldValue>> Values(Input.size());
  Objects.reserve(Input.size());
  for (const geomio::TInputGeometry& G : Input) {
    std::vector<geomio::TFieldValue>& V = Values[Objects.size()];
    for (std::size_t I = 0; I < Slots.size() && I < G.Values.size(); ++I) {
      if (std::holds_alternative<std::monostate>(G.Values[I])) continue;
      if (V.size() <= Slots[I]) V.resize(Slots[I] + 1);
      V[Slots[I]] = WidenedValue(G.Values[I], Merged[Slots[I]].Kind);
    }
    std::vector<THostShape> Shapes{{StyleID, ContourToHost(G.Contour)}};
    try {
      Project.CheckObject(LayerID, Shapes);
    } catch (const EHostError& E) {
      // Text names its lines, GIS files their features.
      const std::string Where =
          G.Line > 0 ? "строка " + std::to_string(G.Line) : "объект " + std::to_string(G.Id);
      throw EHostError(Source + (Source.empty() ? "" : ", ") + Where + ": " + E.what());
    }
    Objects.push_back(std::move(Shapes));
  }
  std::vector<TKxID> IDs;
  IDs.reserve(Objects.size());
  // Checked above, and the values made to fit the merged fields, so adding
  // cannot fail half way.
  if (!Fields.empty()) Project.SetLayerFields(LayerID, std::move(Merged));
  for (std::size_t I = 0; I < Objects.size(); ++I)
    IDs.push_back(Project.AddObject(LayerID, std::move(Objects[I]), nullptr, std::move(Values[I])));
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

}  // namespace host
