// A GeoPackage made with GDAL itself for the host's import and export
// tests: two layers in ETRS89 / UTM zone 32N near (500000, 6000000), curved
// geometries, and attributes of several kinds with nulls among them.
#pragma once

#include <gdal_priv.h>
#include <gtest/gtest.h>
#include <ogr_spatialref.h>
#include <ogrsf_frmts.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace host::test {

struct TParcel {
  const char* Wkt;
  std::optional<std::string> Name;
  std::optional<std::int64_t> Count;
  std::optional<double> Share;
};

// "parcels": name (String), count (Integer64), share (Real).
inline const std::vector<TParcel>& Parcels() {
  static const std::vector<TParcel> List = {
      {"CURVEPOLYGON (COMPOUNDCURVE (CIRCULARSTRING (500000 6000000,500010 6000010,500020 "
       "6000000),(500020 6000000,500020 5999980,500000 5999980,500000 6000000)))",
       "Участок «1»", 5000000000, 0.25},
      {"POLYGON ((500100 6000000,500140 6000000,500140 6000030,500100 6000000))", std::nullopt, 7,
       std::nullopt},
  };
  return List;
}

// "roads": kind (String); the first an arc.
inline const std::vector<std::pair<const char*, std::optional<std::string>>>& Roads() {
  static const std::vector<std::pair<const char*, std::optional<std::string>>> List = {
      {"CIRCULARSTRING (500000 6000100,500050 6000150,500100 6000100)", "main"},
      {"LINESTRING (500000 6000200,500100 6000200)", std::nullopt},
  };
  return List;
}

inline void AddFeature(OGRLayer& L, const char* Wkt,
                       const std::vector<std::optional<std::string>>& Text,
                       std::optional<std::int64_t> Count = {}, std::optional<double> Share = {}) {
  OGRFeature F(L.GetLayerDefn());
  OGRGeometry* G = nullptr;
  ASSERT_EQ(OGRGeometryFactory::createFromWkt(Wkt, nullptr, &G), OGRERR_NONE) << Wkt;
  F.SetGeometryDirectly(G);
  for (int i = 0; i < F.GetFieldCount(); ++i) F.SetFieldNull(i);
  if (!Text.empty() && Text[0]) F.SetField(0, Text[0]->c_str());
  if (Count) F.SetField(1, static_cast<GIntBig>(*Count));
  if (Share) F.SetField(2, *Share);
  ASSERT_EQ(L.CreateFeature(&F), OGRERR_NONE) << Wkt;
}

// Writes the two layers into a new GeoPackage at Path, in EPSG:Epsg.
inline void MakeTownGpkg(const std::string& Path, int Epsg = 25832) {
  GDALAllRegister();
  GDALDriver* D = GetGDALDriverManager()->GetDriverByName("GPKG");
  ASSERT_NE(D, nullptr);
  GDALDataset* Ds = D->Create(Path.c_str(), 0, 0, 0, GDT_Unknown, nullptr);
  ASSERT_NE(Ds, nullptr) << Path;
  OGRSpatialReference Srs;
  Srs.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
  Srs.importFromEPSG(Epsg);
  OGRLayer* P = Ds->CreateLayer("parcels", &Srs, wkbUnknown, nullptr);
  ASSERT_NE(P, nullptr);
  OGRFieldDefn Name("name", OFTString), Count("count", OFTInteger64), Share("share", OFTReal);
  P->CreateField(&Name);
  P->CreateField(&Count);
  P->CreateField(&Share);
  for (const TParcel& T : Parcels()) AddFeature(*P, T.Wkt, {T.Name}, T.Count, T.Share);
  OGRLayer* R = Ds->CreateLayer("roads", &Srs, wkbUnknown, nullptr);
  ASSERT_NE(R, nullptr);
  OGRFieldDefn Kind("kind", OFTString);
  R->CreateField(&Kind);
  for (const auto& [Wkt, K] : Roads()) AddFeature(*R, Wkt, {K});
  GDALClose(Ds);
}

}  // namespace host::test
