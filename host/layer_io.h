// Geometry in and out of a layer: curved WKT (one geometry a line, arcs as
// CIRCULARSTRING pieces) and GeoJSON, through the readers and writers of
// geomio.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "geomio/input_geometry.h"
#include "host/map_model.h"

namespace host {

// Adds one object per geometry of Text (WKT, or GeoJSON when it begins with
// "{") to the layer, each a single shape in the style. All or nothing: any
// error (syntax, a geometry that the style refuses) raises EHostError
// naming the input line, and nothing is added. Returns the new IDs.
std::vector<TKxID> ImportGeometry(THostProject& Project, const TKxID& LayerID, const TKxID& StyleID,
                                  std::string_view Text);

// The same for geometries already read: one object per geometry, all or
// nothing; errors name the geometry's label ("line 3", "feature 7").
std::vector<TKxID> AddGeometries(THostProject& Project, const TKxID& LayerID, const TKxID& StyleID,
                                 const std::vector<geomio::TInputGeometry>& Input);

// The geometry of an object: its shapes whose styles define geometry, as
// one contour (labels and hatching are not geometry).
geo::TContour ObjectGeometry(const THostProject& Project, const THostMapObject& Object);

// One WKT line per object of the layer that has geometry, arcs kept.
std::string ExportLayerWkt(const THostProject& Project, const TKxID& LayerID);
// A FeatureCollection; arcs become chords within Tolerance metres; each
// feature carries the object's ID and layer.
std::string ExportLayerGeoJson(const THostProject& Project, const TKxID& LayerID, double Tolerance);

}  // namespace host
