#include "geomio/gdal/gis_reader.h"

#include <gdal_priv.h>
#include <ogr_spatialref.h>
#include <ogrsf_frmts.h>

#include <memory>

#include "geomio/gdal/gdal_support.h"
#include "geomio/input_error.h"
#include "geomio/wkt_reader.h"

namespace geomio {

namespace {

gdal::TDatasetPtr OpenVector(const std::string& Path) {
  return gdal::TDatasetPtr(GDALDataset::Open(Path.c_str(), GDAL_OF_VECTOR | GDAL_OF_READONLY));
}

gdal::TDatasetPtr OpenOrFail(const std::string& Path, const gdal::TGdalMessages& Messages) {
  gdal::TDatasetPtr D = OpenVector(Path);
  if (!D) throw EInputError("cannot read " + Path + ": " + Messages.LastError("not vector data"));
  return D;
}

std::string NameList(GDALDataset& D) {
  std::string S;
  for (OGRLayer* L : D.GetLayers()) S += (S.empty() ? "" : ", ") + std::string(L->GetName());
  return S;
}

OGRLayer& ChooseLayer(GDALDataset& D, const std::string& Path, const std::string& Name) {
  if (!Name.empty()) {
    if (OGRLayer* L = D.GetLayerByName(Name.c_str())) return *L;
    throw EInputError(Path + " has no layer '" + Name + "' (its layers: " + NameList(D) + ")");
  }
  if (D.GetLayerCount() == 0) throw EInputError(Path + " holds no layer");
  if (D.GetLayerCount() > 1)
    throw EInputError(Path + " has " + std::to_string(D.GetLayerCount()) + " layers (" +
                      NameList(D) + "); choose one with --layer");
  return *D.GetLayer(0);
}

TFieldKind KindOf(OGRFieldType T) {
  switch (T) {
    case OFTInteger:
      return TFieldKind::Integer;
    case OFTInteger64:
      return TFieldKind::Integer64;
    case OFTReal:
      return TFieldKind::Real;
    case OFTDate:
      return TFieldKind::Date;
    case OFTTime:
      return TFieldKind::Time;
    case OFTDateTime:
      return TFieldKind::DateTime;
    default:  // lists and binary data travel as their text
      return TFieldKind::String;
  }
}

TFieldValue ValueOf(OGRFeature& F, int i, TFieldKind Kind) {
  if (!F.IsFieldSetAndNotNull(i)) return std::monostate{};
  switch (Kind) {
    case TFieldKind::Integer:
    case TFieldKind::Integer64:
      return static_cast<int64_t>(F.GetFieldAsInteger64(i));
    case TFieldKind::Real:
      return F.GetFieldAsDouble(i);
    default:
      return std::string(F.GetFieldAsString(i));
  }
}

// ISO WKT to full precision: every double reads back bit for bit.
std::string ExactWkt(const OGRGeometry& G) {
  OGRWktOptions Options;
  Options.variant = wkbVariantIso;
  Options.precision = 17;
  Options.round = false;
  Options.format = OGRWktFormat::G;
  OGRErr Err = OGRERR_NONE;
  std::string Text = G.exportToWkt(Options, &Err);
  if (Err != OGRERR_NONE) throw EInputError("a geometry GDAL cannot write as WKT");
  return Text;
}

// The reader's message without its column: the WKT text is ours, not the
// user's.
std::string WithoutColumn(std::string Text) {
  const size_t At = Text.rfind(" (column ");
  if (At != std::string::npos && Text.back() == ')') Text.resize(At);
  if (Text.rfind("WKT: ", 0) == 0) Text.erase(0, 5);
  return Text;
}

void ReadGeometry(const OGRGeometry* G, geo::TContour& Contour) {
  if (!G) return;  // no geometry: an empty contour, as WKT's EMPTY
  std::unique_ptr<OGRGeometry> Surfaces;
  const OGRwkbGeometryType T = wkbFlatten(G->getGeometryType());
  if (T == wkbTriangle || T == wkbTIN || T == wkbPolyhedralSurface) {
    // Faces are polygons to us.
    Surfaces.reset(OGRGeometryFactory::forceToMultiPolygon(G->clone()));
    G = Surfaces.get();
  }
  try {
    ReadWkt(ExactWkt(*G), Contour);
  } catch (const EInputError& E) {
    throw EInputError(WithoutColumn(E.Text));
  }
}

}  // namespace

bool IsGisFile(const std::string& Path) {
  gdal::TGdalMessages Messages;
  return GDALIdentifyDriverEx(Path.c_str(), GDAL_OF_VECTOR, nullptr, nullptr) != nullptr;
}

std::vector<std::string> GisLayerNames(const std::string& Path) {
  gdal::TGdalMessages Messages;
  gdal::TDatasetPtr D = OpenOrFail(Path, Messages);
  std::vector<std::string> Names;
  for (OGRLayer* L : D->GetLayers()) Names.emplace_back(L->GetName());
  return Names;
}

TInputSet ReadGisLayer(const std::string& Path, const std::string& Layer,
                       const TProgressFn& Progress) {
  gdal::TGdalMessages Messages;
  gdal::TDatasetPtr D = OpenOrFail(Path, Messages);
  OGRLayer& L = ChooseLayer(*D, Path, Layer);
  TInputSet Set;
  Set.Source = Path;
  Set.Layer = L.GetName();
  if (const OGRSpatialReference* S = L.GetSpatialRef()) {
    char* Text = nullptr;
    const char* const Options[] = {"FORMAT=WKT2_2019", nullptr};
    if (S->exportToWkt(&Text, Options) == OGRERR_NONE && Text) Set.Crs = Text;
    CPLFree(Text);
  }
  OGRFeatureDefn* Defn = L.GetLayerDefn();
  for (int i = 0; i < Defn->GetFieldCount(); ++i) {
    const OGRFieldDefn* F = Defn->GetFieldDefn(i);
    Set.Fields.push_back({F->GetNameRef(), KindOf(F->GetType()), F->GetWidth(), F->GetPrecision()});
  }
  const GIntBig Count = L.GetFeatureCount(FALSE);
  const size_t Total = Count > 0 ? static_cast<size_t>(Count) : 0;
  L.ResetReading();
  for (auto& F : L) {
    TInputGeometry In;
    In.Id = F->GetFID();
    In.Label = "feature " + std::to_string(In.Id);
    try {
      const OGRGeometry* G = F->GetGeometryRef();
      ReadGeometry(G, In.Contour);
      In.DroppedZM = G && (G->Is3D() || G->IsMeasured());
    } catch (const EInputError& E) {
      throw EInputError(Path + ", layer " + Set.Layer + ", " + In.Label + ": " + E.Text);
    }
    for (int i = 0; i < Defn->GetFieldCount(); ++i)
      In.Values.push_back(ValueOf(*F, i, Set.Fields[static_cast<size_t>(i)].Kind));
    Set.Geometries.push_back(std::move(In));
    if (Progress) Progress(Set.Geometries.size(), Total);
  }
  if (!Messages.Errors.empty())
    throw EInputError("cannot read " + Path + ": " + Messages.Errors.back());
  return Set;
}

}  // namespace geomio
