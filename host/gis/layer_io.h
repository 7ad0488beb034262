// Geometry in and out of a layer: geometries read by geomio's readers added
// as objects with their attributes, and a layer as curved WKT (one geometry
// a line, arcs as CIRCULARSTRING pieces). Files of every format, and the
// coordinate system checks, are gis_layer_io's.
#pragma once

#include <string>
#include <vector>

#include "geomio/input_geometry.h"
#include "host/model/map_model.h"

namespace host {

// Adds one object per geometry to the layer, each a single shape in the
// style, with the geometry's values of Fields (the layer's fields are
// extended by them, as THostProject::MergedFields does). All or nothing:
// a geometry the style refuses raises EHostError naming Source (the file)
// and its input line or feature, and nothing is added. Returns the new IDs.
std::vector<TKxID> AddGeometries(THostProject& Project, const TKxID& LayerID, const TKxID& StyleID,
                                 const std::vector<geomio::TInputGeometry>& Input,
                                 const std::vector<geomio::TFieldDef>& Fields = {},
                                 const std::string& Source = "");

// The geometry of an object: its shapes whose styles define geometry, as
// one contour (labels and hatching are not geometry).
geo::TContour ObjectGeometry(const THostProject& Project, const THostMapObject& Object);

// One WKT line per object of the layer that has geometry, arcs kept.
std::string ExportLayerWkt(const THostProject& Project, const TKxID& LayerID);

}  // namespace host
