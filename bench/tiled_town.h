// The sample town tiled into a large map for the host benchmarks: each tile
// gets the town's objects moved by the tile's offset, their IDs suffixed with
// the tile number, until the map holds the asked number of objects.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "host/model/project_file.h"

namespace bench {

// The tiles' grid and each tile's size in metres.
inline constexpr int Tiles = 20;
inline constexpr double TileW = 1300, TileH = 1000;

inline host::THostProject TiledSampleTown(std::int32_t Count,
                                          std::vector<host::TKxID>* IDs = nullptr) {
  using namespace host;
  const THostProject Sample = LoadProjectFile(TRACE_DATA_DIR "/sample_town.json");
  // Maps, layers and styles as in the sample; objects only from the tiles.
  THostProject Town = ProjectFromJson(ProjectToJson(Sample));
  const auto All = Sample.Objects();
  for (const THostMapObject* O : All) Town.RemoveObject(O->ID);
  for (int Tile = 0; Tile < Tiles * Tiles && Town.ObjectCount() < Count; ++Tile) {
    const double DX = (Tile % Tiles) * TileW, DY = (Tile / Tiles) * TileH;
    for (const THostMapObject* O : All) {
      if (Town.ObjectCount() == Count) break;
      std::vector<THostShape> Shapes = O->Shapes;
      for (THostShape& S : Shapes)
        for (kx::TKxContourCommand& C : S.Commands)
          if (C.Kind >= kx::kxMoveTo && C.Kind <= kx::kxArcTo)
            C.Point = {C.Point.X + DX, C.Point.Y + DY};
      const TKxID ID = TKxID::FromBytes(std::string(O->ID.Bytes()) + "_" + std::to_string(Tile));
      const TKxID Added = Town.AddObject(O->LayerID, std::move(Shapes), &ID);
      if (IDs) IDs->push_back(Added);
    }
  }
  return Town;
}

}  // namespace bench
