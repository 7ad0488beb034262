// Small GIS files made with GDAL itself, and GDAL's ogrinfo as the judge of
// files we write: the tests of the GDAL-backed readers, writers and the tool.
#pragma once

#include <gdal_priv.h>
#include <gtest/gtest.h>
#include <ogr_spatialref.h>
#include <ogrsf_frmts.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "geomio/json_value.h"
#include "tests/support/temp_folder.h"

namespace geomio::test {

struct TTestFeature {
  std::string Wkt;
  std::string Name;
  int64_t Count = 0;
  double Share = 0;
};

// A new file of one layer with the fields name (String), count (Integer64)
// and share (Real), in EPSG:Epsg (0: none). DXF gets the geometries only.
inline void MakeGisFile(const std::filesystem::path& Path, const char* Driver, const char* Layer,
                        int Epsg, const std::vector<TTestFeature>& Features) {
  GDALAllRegister();
  GDALDriver* D = GetGDALDriverManager()->GetDriverByName(Driver);
  ASSERT_NE(D, nullptr) << Driver;
  GDALDataset* Ds = D->Create(Path.c_str(), 0, 0, 0, GDT_Unknown, nullptr);
  ASSERT_NE(Ds, nullptr) << Path;
  OGRSpatialReference Srs;
  Srs.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
  if (Epsg) Srs.importFromEPSG(Epsg);
  OGRLayer* L = Ds->CreateLayer(Layer, Epsg ? &Srs : nullptr, wkbUnknown, nullptr);
  ASSERT_NE(L, nullptr);
  const bool Fields = L->TestCapability(OLCCreateField);
  if (Fields) {
    OGRFieldDefn Name("name", OFTString), Count("count", OFTInteger64), Share("share", OFTReal);
    L->CreateField(&Name);
    L->CreateField(&Count);
    L->CreateField(&Share);
  }
  for (const TTestFeature& T : Features) {
    OGRFeature F(L->GetLayerDefn());
    OGRGeometry* G = nullptr;
    ASSERT_EQ(OGRGeometryFactory::createFromWkt(T.Wkt.c_str(), nullptr, &G), OGRERR_NONE) << T.Wkt;
    F.SetGeometryDirectly(G);
    if (Fields) {
      F.SetField("name", T.Name.c_str());
      F.SetField("count", static_cast<GIntBig>(T.Count));
      F.SetField("share", T.Share);
    }
    ASSERT_EQ(L->CreateFeature(&F), OGRERR_NONE) << Driver << " " << T.Wkt;
  }
  GDALClose(Ds);
}

// What ogrinfo says on standard error about the whole file: empty when it
// reads it without a warning.
inline std::string OgrinfoComplaints(const std::filesystem::path& Path) {
  const std::string Cmd = "ogrinfo -al -q '" + Path.string() + "' 2>&1 >/dev/null";
  std::string Text;
  if (FILE* P = ::popen(Cmd.c_str(), "r")) {
    char Buf[512];
    while (size_t N = std::fread(Buf, 1, sizeof Buf, P)) Text.append(Buf, N);
    if (::pclose(P) != 0) Text += "(ogrinfo failed)";
  } else {
    Text = "(ogrinfo did not start)";
  }
  return Text;
}

// Signed area of a GeoJSON ring, counter-clockwise positive.
inline double RingArea(const TJsonValue& Ring) {
  long double A = 0;
  const auto& P = Ring.Items;
  for (size_t i = 0; i + 1 < P.size(); ++i)
    A += (P[i].Items[0].Number - P[0].Items[0].Number) *
             (P[i + 1].Items[1].Number - P[0].Items[1].Number) -
         (P[i + 1].Items[0].Number - P[0].Items[0].Number) *
             (P[i].Items[1].Number - P[0].Items[1].Number);
  return static_cast<double>(A / 2);
}

// Every polygon of a GeoJSON document: exterior rings counter-clockwise,
// holes clockwise. Returns the number of rings checked.
inline int CheckOrientation(const TJsonValue& V) {
  int Rings = 0;
  if (V.IsObject()) {
    const TJsonValue* Type = V.Find("type");
    const TJsonValue* Coords = V.Find("coordinates");
    if (Type && Coords && (Type->String == "Polygon" || Type->String == "MultiPolygon")) {
      std::vector<const TJsonValue*> Polygons;
      if (Type->String == "Polygon") {
        Polygons.push_back(Coords);
      } else {
        for (const TJsonValue& P : Coords->Items) Polygons.push_back(&P);
      }
      for (const TJsonValue* P : Polygons)
        for (size_t r = 0; r < P->Items.size(); ++r, ++Rings) {
          if (r == 0) {
            EXPECT_GT(RingArea(P->Items[r]), 0) << "exterior ring clockwise";
          } else {
            EXPECT_LT(RingArea(P->Items[r]), 0) << "hole counter-clockwise";
          }
        }
      return Rings;
    }
    for (const auto& [Key, M] : V.Members) Rings += CheckOrientation(M);
  } else if (V.IsArray()) {
    for (const TJsonValue& M : V.Items) Rings += CheckOrientation(M);
  }
  return Rings;
}

using support::TTempFolder;

}  // namespace geomio::test
