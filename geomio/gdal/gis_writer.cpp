#include "geomio/gdal/gis_writer.h"

#include <cpl_vsi.h>
#include <gdal_priv.h>
#include <ogr_spatialref.h>
#include <ogrsf_frmts.h>

#include <fcntl.h>
#include <unistd.h>
#include <algorithm>
#include <cctype>
#include <cerrno>
#include <filesystem>
#include <memory>
#include <optional>
#include <system_error>

#include "compat/atomic_file.h"
#include "core/exception.h"
#include "geomio/arc_linearize.h"
#include "geomio/contour_layout.h"
#include "geomio/gdal/crs.h"
#include "geomio/gdal/gdal_support.h"
#include "geomio/input_error.h"
#include "geomio/number_text.h"
#include "geomio/wkt_writer.h"

namespace geomio {

namespace {

[[noreturn]] void WriteFailure(const std::string& Path, const std::string& What) {
  throw core::Exception("cannot write " + Path + ": " + What);
}

GDALDriver& DriverOf(const TGisOutput& O) {
  const std::string Name = O.Driver.empty() ? DriverForPath(O.Path) : O.Driver;
  if (Name.empty())
    throw EInputError("cannot tell the format of " + O.Path +
                      " from its extension; name a GDAL driver with --driver");
  GDALDriver* D = GetGDALDriverManager()->GetDriverByName(Name.c_str());
  if (!D || !D->GetMetadataItem(GDAL_DCAP_VECTOR) || !D->GetMetadataItem(GDAL_DCAP_CREATE))
    throw EInputError("GDAL has no driver '" + Name + "' that writes vector files");
  return *D;
}

OGRFieldType OgrType(TFieldKind K) {
  switch (K) {
    case TFieldKind::Integer:
      return OFTInteger;
    case TFieldKind::Integer64:
      return OFTInteger64;
    case TFieldKind::Real:
      return OFTReal;
    case TFieldKind::Date:
      return OFTDate;
    case TFieldKind::Time:
      return OFTTime;
    case TFieldKind::DateTime:
      return OFTDateTime;
    case TFieldKind::String:
      break;
  }
  return OFTString;
}

// The field type the driver takes: the wanted one, or text when the driver
// lacks it (a date and time in a Shapefile), so that nothing is lost.
OGRFieldType Supported(GDALDriver& D, OGRFieldType T) {
  const char* Types = D.GetMetadataItem(GDAL_DMD_CREATIONFIELDDATATYPES);
  if (!Types) return T;
  const std::string List = std::string(" ") + Types + " ";
  const std::string Name = OGRFieldDefn::GetFieldTypeName(T);
  return List.find(" " + Name + " ") != std::string::npos ? T : OFTString;
}

bool IsArea(OGRwkbGeometryType T) {
  return T == wkbPolygon || T == wkbCurvePolygon || T == wkbMultiPolygon || T == wkbMultiSurface;
}

bool IsLine(OGRwkbGeometryType T) {
  return T == wkbLineString || T == wkbCircularString || T == wkbCompoundCurve ||
         T == wkbMultiLineString || T == wkbMultiCurve;
}

// One declared type for the layer: the geometries' own when they agree, else
// the collection that holds them all (they are then made into it), else any.
OGRwkbGeometryType LayerType(std::vector<std::unique_ptr<OGRGeometry>>& Geometries) {
  std::vector<OGRwkbGeometryType> Types;
  for (const auto& G : Geometries)
    if (G) Types.push_back(wkbFlatten(G->getGeometryType()));
  if (Types.empty()) return wkbUnknown;
  if (std::all_of(Types.begin(), Types.end(), [&](auto T) { return T == Types[0]; }))
    return Types[0];
  bool Curves = false;
  for (auto T : Types) Curves = Curves || OGR_GT_IsNonLinear(T);
  OGRwkbGeometryType Common = wkbUnknown;
  if (std::all_of(Types.begin(), Types.end(), IsArea))
    Common = Curves ? wkbMultiSurface : wkbMultiPolygon;
  else if (std::all_of(Types.begin(), Types.end(), IsLine))
    Common = Curves ? wkbMultiCurve : wkbMultiLineString;
  if (Common == wkbUnknown) return Common;
  for (auto& G : Geometries)
    if (G && wkbFlatten(G->getGeometryType()) != Common)
      G.reset(OGRGeometryFactory::forceTo(G.release(), Common));
  return Common;
}

std::unique_ptr<OGRGeometry> OgrGeometry(const geo::TContour& Contour, bool Lines, bool KeepArcs,
                                         double Tolerance) {
  TContourLayout L =
      KeepArcs ? LayOutContour(Contour) : LayOutContour(LinearizedContour(Contour, Tolerance));
  if (L.Parts.empty()) return nullptr;
  if (Lines) {
    // Every part as a curve of its own and as drawn, closed ones ending
    // where they start.
    L.Lines.clear();
    L.Polygons.clear();
    for (size_t i = 0; i < L.Parts.size(); ++i) L.Lines.push_back(i);
  } else {
    OrientRings(L);
  }
  const std::string Wkt = WktOfLayout(L);
  OGRGeometry* G = nullptr;
  if (OGRGeometryFactory::createFromWkt(Wkt.c_str(), nullptr, &G) != OGRERR_NONE || !G)
    throw core::Exception("GDAL does not take the geometry " + Wkt.substr(0, 80));
  return std::unique_ptr<OGRGeometry>(G);
}

// The files of the dataset at Path (a Shapefile's .dbf and .shx with it),
// or Path alone when GDAL cannot open it.
std::vector<std::string> DatasetFiles(const std::string& Path) {
  std::vector<std::string> Files;
  gdal::TDatasetPtr D(GDALDataset::Open(Path.c_str(), GDAL_OF_VECTOR | GDAL_OF_READONLY));
  if (char** List = D ? D->GetFileList() : nullptr) {
    for (char** F = List; *F; ++F) Files.emplace_back(*F);
    CSLDestroy(List);
  }
  if (Files.empty()) Files.push_back(Path);
  return Files;
}

// The new file is written under another name beside the target and takes
// the target's name only when complete, so a failure (a full disk) leaves
// the old file as it was.
class TReplacement {
 public:
  explicit TReplacement(const std::string& Target)
      : FTarget(Target), FTemporary(compat::ReplacementName(Target)) {}
  TReplacement(const TReplacement&) = delete;
  TReplacement& operator=(const TReplacement&) = delete;
  ~TReplacement() {
    if (FDone) return;
    gdal::TGdalMessages Quiet;
    for (const std::string& F : Written()) VSIUnlink(F.c_str());
  }
  const std::string& Temporary() const { return FTemporary; }

  // GDAL words a full disk in its drivers' terms (a GeoPackage's "no such
  // table"); after a failure, whether the file can still grow by Bytes
  // tells the system's reason: 0, or ENOSPC, EFBIG, EDQUOT, EIO.
  int RoomLeft(std::size_t Bytes = 64 * 1024) const {
    const int Fd = ::open(FTemporary.c_str(), O_WRONLY | O_CLOEXEC);
    if (Fd < 0) return 0;
    const off_t End = ::lseek(Fd, 0, SEEK_END);
    const std::string Block(Bytes, '\0');
    std::string_view Left = End >= 0 ? std::string_view(Block) : std::string_view();
    int Error = 0;
    while (!Left.empty() && !Error) {
      const ssize_t N = ::write(Fd, Left.data(), Left.size());
      if (N < 0 && errno != EINTR) Error = errno;
      if (N > 0) Left.remove_prefix(static_cast<std::size_t>(N));
    }
    if (End >= 0 && ::ftruncate(Fd, End) != 0) {
      // Removed with the rest in any case.
    }
    ::close(Fd);
    return Error == ENOSPC || Error == EFBIG || Error == EDQUOT || Error == EIO ? Error : 0;
  }

  void Commit() {
    namespace fs = std::filesystem;
    VSIStatBufL Stat;
    const std::vector<std::string> Old =
        VSIStatL(FTarget.c_str(), &Stat) == 0 ? DatasetFiles(FTarget) : std::vector<std::string>{};
    // Side files share the temporary's stem: each takes the target's.
    const std::string TempStem = StemOf(FTemporary);
    const std::string Stem = StemOf(FTarget);
    std::vector<std::pair<std::string, std::string>> Moves;
    for (const std::string& F : Written()) {
      const fs::path P(F);
      const std::string Rest = P.filename().string().substr(TempStem.size());
      Moves.emplace_back(F, (fs::path(FTarget).parent_path() / (Stem + Rest)).string());
    }
    compat::ReplaceFiles(Moves);
    FDone = true;
    // A side file of the old one that the new has not (a .prj) would
    // describe the new one wrongly.
    // Compared as files, not as texts: GDAL may spell a path otherwise.
    for (const std::string& F : Old) {
      std::error_code Ignored;
      if (std::none_of(Moves.begin(), Moves.end(),
                       [&](const auto& M) { return fs::equivalent(F, M.second, Ignored); }))
        VSIUnlink(F.c_str());
    }
  }

 private:
  // The file's name less the target's extension: the part its side files
  // share ("a.tmp.7.0" of "a.tmp.7.0.shp" and "a.tmp.7.0.dbf").
  std::string StemOf(const std::string& Path) const {
    const std::string Name = std::filesystem::path(Path).filename().string();
    return Name.substr(0, Name.size() - std::filesystem::path(FTarget).extension().string().size());
  }

  std::vector<std::string> Written() const {
    namespace fs = std::filesystem;
    std::vector<std::string> Files;
    const fs::path Temp(FTemporary);
    const std::string TempStem = StemOf(FTemporary);
    std::error_code Error;
    const fs::path Folder = Temp.parent_path().empty() ? fs::path(".") : Temp.parent_path();
    for (const fs::directory_entry& E : fs::directory_iterator(Folder, Error))
      if (const std::string Name = E.path().filename().string();
          Name == TempStem || Name.rfind(TempStem + ".", 0) == 0)
        Files.push_back((Temp.parent_path() / E.path().filename()).string());
    return Files;
  }

  std::string FTarget, FTemporary;
  bool FDone = false;
};

// Whether the written file tells its coordinate system; some formats (DXF)
// have no place for it, which only reading the file back shows.
bool KeptCrs(const std::string& Path, const std::string& LayerName) {
  gdal::TDatasetPtr D(GDALDataset::Open(Path.c_str(), GDAL_OF_VECTOR | GDAL_OF_READONLY));
  if (!D || D->GetLayerCount() == 0) return false;
  OGRLayer* L = D->GetLayerByName(LayerName.c_str());
  if (!L) L = D->GetLayer(0);
  return L->GetSpatialRef() != nullptr;
}

bool HasArcs(const geo::TContour& C) {
  for (int32_t i = 0; i < C.CommandCount(); ++i) {
    const geo::TComplexCommand Cmd = C.GetCommand(i);
    if ((Cmd.Kind == geo::ccArcTo || Cmd.Kind == geo::ccCloseArc) && Cmd.Convexity != 0)
      return true;
  }
  return false;
}

void SetValue(OGRFeature& F, int i, const TFieldValue& V) {
  if (const auto* I = std::get_if<int64_t>(&V)) {
    F.SetField(i, static_cast<GIntBig>(*I));
  } else if (const auto* D = std::get_if<double>(&V)) {
    F.SetField(i, *D);
  } else if (const auto* S = std::get_if<std::string>(&V)) {
    F.SetField(i, S->c_str());
  } else {
    F.SetFieldNull(i);
  }
}

std::string LayerNameOf(const TGisOutput& O) {
  return O.Layer.empty() ? std::filesystem::path(O.Path).stem().string() : O.Layer;
}

// The new dataset at Temp, complete and closed; whether it was given a
// coordinate system.
bool WriteDataset(const TGisOutput& O, GDALDriver& Driver, const std::string& Temp,
                  std::vector<std::unique_ptr<OGRGeometry>>& Geometries, OGRwkbGeometryType Type,
                  const std::vector<TGisFeature>& Features, const TProgressFn& Progress,
                  bool HadArcs, std::vector<std::string>& Notes) {
  gdal::TGdalMessages Messages;
  const std::string DriverName = Driver.GetDescription();
  gdal::TDatasetPtr Ds(Driver.Create(Temp.c_str(), 0, 0, 0, GDT_Unknown, nullptr));
  if (!Ds) WriteFailure(O.Path, Messages.LastError("GDAL cannot create it"));

  OGRSpatialReference Srs;
  Srs.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
  const bool HasSrs = !O.Crs.empty() && Srs.importFromWkt(O.Crs.c_str()) == OGRERR_NONE;
  std::vector<const char*> LayerOptions;
  // GDAL rounds RFC 7946 output to 7 decimals (about a centimetre) unless told.
  if (O.Rfc7946) {
    LayerOptions.push_back("RFC7946=YES");
    LayerOptions.push_back("COORDINATE_PRECISION=9");
  }
  if (DriverName == "CSV") LayerOptions.push_back("GEOMETRY=AS_WKT");
  LayerOptions.push_back(nullptr);
  const std::string LayerName = LayerNameOf(O);
  OGRLayer* L = Ds->CreateLayer(LayerName.c_str(), HasSrs ? &Srs : nullptr, Type,
                                const_cast<char**>(LayerOptions.data()));
  if (!L) WriteFailure(O.Path, Messages.LastError("GDAL cannot create the layer"));

  // Field i of the output goes to the layer's field Index[i], or nowhere.
  std::vector<int> Index(O.Fields.size(), -1);
  if (!O.Fields.empty() && !L->TestCapability(OLCCreateField)) {
    Notes.push_back(DriverName + " keeps no attributes; they are left out");
  } else {
    for (size_t i = 0; i < O.Fields.size(); ++i) {
      const TFieldDef& F = O.Fields[i];
      OGRFieldDefn Defn(F.Name.c_str(), Supported(Driver, OgrType(F.Kind)));
      if (F.Width > 0) Defn.SetWidth(F.Width);
      if (F.Precision > 0) Defn.SetPrecision(F.Precision);
      if (L->CreateField(&Defn) != OGRERR_NONE)
        WriteFailure(O.Path, Messages.LastError("field " + F.Name + " cannot be created"));
      Index[i] = L->GetLayerDefn()->GetFieldCount() - 1;
    }
  }
  if (HadArcs)
    Notes.push_back(DriverName + " holds no arcs; they are written as chords within " +
                    NumberText(O.Tolerance));

  const bool Transaction = Ds->StartTransaction(FALSE) == OGRERR_NONE;
  for (size_t k = 0; k < Features.size(); ++k) {
    OGRFeature F(L->GetLayerDefn());
    if (Geometries[k]) F.SetGeometryDirectly(Geometries[k].release());
    const std::vector<TFieldValue>& Values = *Features[k].Values;
    for (size_t i = 0; i < Index.size() && i < Values.size(); ++i)
      if (Index[i] >= 0) SetValue(F, Index[i], Values[i]);
    if (L->CreateFeature(&F) != OGRERR_NONE)
      WriteFailure(O.Path, Messages.LastError("feature " + std::to_string(k + 1) + " refused"));
    if (Progress) Progress(k + 1, Features.size());
  }
  if (Transaction && Ds->CommitTransaction() != OGRERR_NONE)
    WriteFailure(O.Path, Messages.LastError("the features cannot be committed"));
  Ds.reset();
  if (!Messages.Errors.empty()) WriteFailure(O.Path, Messages.Errors.back());
  for (const std::string& W : Messages.Warnings) Notes.push_back("GDAL: " + W);
  return HasSrs;
}

}  // namespace

std::string DriverForPath(const std::string& Path) {
  std::string Ext = std::filesystem::path(Path).extension().string();
  for (char& C : Ext) C = static_cast<char>(std::tolower(static_cast<unsigned char>(C)));
  static const std::pair<const char*, const char*> Known[] = {
      {".gpkg", "GPKG"},
      {".geojson", "GeoJSON"},
      {".json", "GeoJSON"},
      {".fgb", "FlatGeobuf"},
      {".dxf", "DXF"},
      {".shp", "ESRI Shapefile"},
      {".gml", "GML"},
      {".csv", "CSV"},
      {".kml", "KML"},
      {".sqlite", "SQLite"},
      {".geojsonl", "GeoJSONSeq"},
      {".geojsons", "GeoJSONSeq"},
      {".gmt", "OGR_GMT"},
      {".gpx", "GPX"},
  };
  for (const auto& [E, Driver] : Known)
    if (Ext == E) return Driver;
  return "";
}

bool DriverKeepsArcs(const std::string& Driver) {
  gdal::TGdalMessages Messages;
  GDALDriver* D = GetGDALDriverManager()->GetDriverByName(Driver.c_str());
  return D && D->GetMetadataItem(GDAL_DCAP_CURVE_GEOMETRIES);
}

std::vector<std::string> WriteGisLayer(const TGisOutput& O,
                                       const std::vector<TGisFeature>& Features,
                                       const TProgressFn& Progress) {
  gdal::TGdalMessages Messages;
  GDALDriver& Driver = DriverOf(O);
  const std::string DriverName = Driver.GetDescription();
  const bool GeoJson = DriverName == "GeoJSON";
  if (O.Rfc7946 && !GeoJson) throw EInputError("--rfc7946 applies to GeoJSON output only");
  const bool KeepArcs = Driver.GetMetadataItem(GDAL_DCAP_CURVE_GEOMETRIES) != nullptr;

  std::vector<std::string> Notes;
  std::vector<std::unique_ptr<OGRGeometry>> Geometries;
  bool HadArcs = false;
  for (const TGisFeature& F : Features) {
    HadArcs = HadArcs || (!KeepArcs && HasArcs(*F.Contour));
    Geometries.push_back(OgrGeometry(*F.Contour, F.Lines, KeepArcs, O.Tolerance));
  }
  const OGRwkbGeometryType Type = LayerType(Geometries);

  VSIStatBufL Stat;
  if (!O.Overwrite && VSIStatL(O.Path.c_str(), &Stat) == 0)
    throw EInputError(O.Path + " exists; --overwrite replaces it");
  std::optional<TReplacement> Replacement;
  try {
    Replacement.emplace(O.Path);
  } catch (const compat::EFileWriteError& E) {
    WriteFailure(O.Path, E.Reason);
  }
  bool HasSrs = false;
  try {
    HasSrs = WriteDataset(O, Driver, Replacement->Temporary(), Geometries, Type, Features, Progress,
                          HadArcs, Notes);
  } catch (const core::Exception&) {
    if (const int Error = Replacement->RoomLeft())
      WriteFailure(O.Path, std::generic_category().message(Error));
    throw;
  }
  // Some drivers (GeoJSON) do not check their writes and report success on
  // a full disk: a file that cannot grow by one byte more may have been cut
  // short (a failed write fills the disk or the size limit to the last
  // byte), so it does not replace the old one.
  if (const int Error = Replacement->RoomLeft(1))
    WriteFailure(O.Path, std::generic_category().message(Error));
  try {
    Replacement->Commit();
  } catch (const compat::EFileWriteError& E) {
    WriteFailure(O.Path, E.Reason);
  }
  if (HasSrs && !KeptCrs(O.Path, LayerNameOf(O)))
    Notes.push_back(DriverName + " keeps no coordinate system; the coordinates are in " +
                    CrsName(O.Crs));
  for (const std::string& W : Messages.Warnings) Notes.push_back("GDAL: " + W);
  return Notes;
}

}  // namespace geomio
