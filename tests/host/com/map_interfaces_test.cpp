// The map model as an add-on sees it: every call through the host
// interfaces taken from the manager, as Connect takes them.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstring>
#include <random>

#include "compat/cp1251.h"

#include "compat/com_ptr.h"
#include "host/com/host_values.h"
#include "host/model/small_project.h"
#include "tests/support/test_host.h"

namespace {

using compat::TComPtr;
using host::MakeID;
using kx::TKxContourCommand;
using kx::TKxID;

class HostModel : public ::testing::Test {
 protected:
  void SetUp() override {
    host::AddSmallProject(Host.Project());
    Objects = Host.Query<kx::IKxMapObjects>(kx::IID_IKxMapObjects);
    Database = Host.Query<kx::IKxGISDatabase>(kx::IID_IKxGISDatabase);
    Project = Host.Query<kx::IKxMapProject>(kx::IID_IKxMapProject);
    View = Host.Query<kx::IKxMapView>(kx::IID_IKxMapView);
    Errors = Host.Query<kx::IKxErrorInfo>(kx::IID_IKxErrorInfo);
    ASSERT_TRUE(Objects && Database && Project && View && Errors);
  }
  void TearDown() override {
    Objects.Reset();
    Database.Reset();
    Project.Reset();
    View.Reset();
    Errors.Reset();
    EXPECT_EQ(Host.Manager().OutstandingReferences(), 0);
  }

  std::string LastError() {
    kx::TKxText Source, Message;
    EXPECT_EQ(Errors->GetLastError(&Source, &Message), S_OK);
    return Message.ToUtf8();
  }

  TComPtr<kx::IKxContour> Contour(const std::vector<TKxContourCommand>& Commands) {
    TComPtr<kx::IKxContour> C;
    EXPECT_EQ(Objects->NewContour(C.Out()), S_OK);
    for (const TKxContourCommand& Cmd : Commands) EXPECT_EQ(C->AddCommand(&Cmd), S_OK);
    return C;
  }

  // CreateObject with one shape; the HRESULT, the new ID in NewID.
  HRESULT Create(const char* Layer, const char* Style, const std::vector<TKxContourCommand>& Cmds,
                 TKxID& NewID) {
    TComPtr<kx::IKxShapeList> Shapes;
    EXPECT_EQ(Objects->NewShapeList(Shapes.Out()), S_OK);
    const TKxID StyleID = TKxID::FromUtf8(Style), LayerID = TKxID::FromUtf8(Layer);
    EXPECT_EQ(Shapes->AddShape(Contour(Cmds).Get(), &StyleID), S_OK);
    NewID.Clear();
    return Objects->CreateObject(&LayerID, Shapes.Get(), &NewID);
  }

  std::vector<TKxContourCommand> ReadCommands(kx::IKxContour* C) {
    std::vector<TKxContourCommand> Result;
    TKxContourCommand Cmd{};
    for (HRESULT R = C->GetFirstCommand(&Cmd); R != S_FALSE; R = C->GetNextCommand(&Cmd)) {
      EXPECT_EQ(R, S_OK);
      if (R != S_OK) break;
      Result.push_back(Cmd);
    }
    EXPECT_EQ(C->GetNextCommand(&Cmd), S_FALSE);
    return Result;
  }

  std::vector<TKxID> ReadIDs(kx::IKxIDsList* L) {
    std::int32_t N = -1;
    EXPECT_EQ(L->GetCount(&N), S_OK);
    std::vector<TKxID> R(static_cast<std::size_t>(std::max(N, 0)));
    for (std::int32_t I = 0; I < N; ++I)
      EXPECT_EQ(L->GetID(I, &R[static_cast<std::size_t>(I)]), S_OK);
    return R;
  }

  host::TTestHost Host;
  TComPtr<kx::IKxMapObjects> Objects;
  TComPtr<kx::IKxGISDatabase> Database;
  TComPtr<kx::IKxMapProject> Project;
  TComPtr<kx::IKxMapView> View;
  TComPtr<kx::IKxErrorInfo> Errors;
};

const double X0 = 500000, Y0 = 6000000;

TEST_F(HostModel, ObjectsWithArcsReadBackCommandByCommand) {
  using namespace host;
  const std::vector<TKxContourCommand> Street = {
      HostMoveTo(X0 + 0.125, Y0 + 0.375), HostArcTo(X0 + 30.5, Y0 + 10.25, 0.7),
      HostLineTo(X0 + 50, Y0 + 10.25), HostArcTo(X0 + 60, Y0 + 20, -1)};
  const std::vector<TKxContourCommand> Pond = {HostMoveTo(X0 + 200, Y0), HostArcTo(X0 + 220, Y0, 1),
                                               HostCloseArc(1)};
  TKxID Street1, Pond1;
  ASSERT_EQ(Create("L1", "S1", Street, Street1), S_OK) << LastError();
  ASSERT_EQ(Create("L2", "S2", Pond, Pond1), S_OK) << LastError();
  EXPECT_FALSE(Street1.Empty());
  EXPECT_FALSE(Street1 == Pond1);

  for (const auto& [ID, Expected, Style] :
       {std::tuple{Street1, Street, "S1"}, std::tuple{Pond1, Pond, "S2"}}) {
    TComPtr<kx::IKxShapeList> Shapes;
    ASSERT_EQ(Objects->GetObjectShapes(&ID, Shapes.Out()), S_OK);
    std::int32_t N = 0;
    ASSERT_EQ(Shapes->GetCount(&N), S_OK);
    ASSERT_EQ(N, 1);
    TKxID StyleID;
    ASSERT_EQ(Shapes->GetShapeStyle(0, &StyleID), S_OK);
    EXPECT_EQ(StyleID.ToUtf8(), Style);
    TComPtr<kx::IKxContour> C;
    ASSERT_EQ(Shapes->GetShapeContour(0, C.Out()), S_OK);
    EXPECT_TRUE(SameCommands(ReadCommands(C.Get()), Expected));
    // A copy: changing it leaves the object as it was.
    ASSERT_EQ(C->DeleteCommand(0), S_OK);
    EXPECT_TRUE(SameCommands(Host.Project().Object(ID).Shapes[0].Commands, Expected));
  }

  // The small project's object with a label shape: both shapes, in order.
  const TKxID One = MakeID("1");
  TComPtr<kx::IKxShapeList> Shapes;
  ASSERT_EQ(Objects->GetObjectShapes(&One, Shapes.Out()), S_OK);
  std::int32_t N = 0;
  ASSERT_EQ(Shapes->GetCount(&N), S_OK);
  EXPECT_EQ(N, 2);
  TKxID S;
  EXPECT_EQ(Shapes->GetShapeStyle(1, &S), S_OK);
  EXPECT_EQ(S.ToUtf8(), "S3");
  EXPECT_EQ(Shapes->GetShapeStyle(2, &S), E_INVALIDARG);

  const TKxID Missing = MakeID("нет");
  EXPECT_EQ(Objects->GetObjectShapes(&Missing, Shapes.Out()), E_FAIL);
  EXPECT_EQ(Shapes.Get(), nullptr);
  EXPECT_NE(LastError().find("«нет»"), std::string::npos) << LastError();
}

TEST_F(HostModel, ContourEditingAndReadingPosition) {
  using namespace host;
  auto C = Contour({HostMoveTo(1, 2), HostLineTo(3, 4), HostArcTo(5, 6, 0.5)});
  TKxContourCommand Cmd{};
  EXPECT_EQ(C->GetFirstCommand(&Cmd), S_OK);
  EXPECT_EQ(Cmd.Kind, kx::kxMoveTo);
  EXPECT_EQ(C->DeleteCommand(0), S_OK);  // the position follows the command it pointed at
  EXPECT_EQ(C->GetNextCommand(&Cmd), S_OK);
  EXPECT_EQ(Cmd.Kind, kx::kxLineTo);
  std::int32_t N = 0;
  EXPECT_EQ(C->GetCommandCount(&N), S_OK);
  EXPECT_EQ(N, 2);
  EXPECT_EQ(C->GetCommand(1, &Cmd), S_OK);
  EXPECT_EQ(double{Cmd.Convexity}, 0.5);  // a copy: the record is packed
  EXPECT_EQ(C->GetCommand(2, &Cmd), E_INVALIDARG);
  EXPECT_EQ(C->DeleteCommand(-1), E_INVALIDARG);
  EXPECT_EQ(C->Clear(), S_OK);
  EXPECT_EQ(C->GetFirstCommand(&Cmd), S_FALSE);
  EXPECT_EQ(C->GetCommandCount(nullptr), E_POINTER);
}

TEST_F(HostModel, FailingCreateObjectReportsAndAddsNothing) {
  using namespace host;
  const std::vector<TKxContourCommand> Ring = {HostMoveTo(X0, Y0), HostLineTo(X0 + 10, Y0),
                                               HostLineTo(X0 + 10, Y0 + 10), HostClose()};
  auto WithKind = [&](std::int32_t Kind) {
    auto R = Ring;
    R[2].Kind = Kind;
    return R;
  };
  struct TCase {
    const char* Layer;
    const char* Style;
    std::vector<TKxContourCommand> Commands;
    const char* Says;
  };
  const std::vector<TCase> Cases = {
      {"L9", "S2", Ring, "Неизвестный слой «L9»"},
      {"L2", "S9", Ring, "Неизвестный стиль «S9»"},
      {"L2", "S1", Ring, "не принадлежит слою «L2»"},
      {"L2", "S2", WithKind(0), "недопустимый вид 0"},
      {"L2", "S2", WithKind(6), "недопустимый вид 6"},
      {"L2",
       "S2",
       {HostMoveTo(X0, Y0), HostLineTo(X0 + 1, Y0), HostLineTo(X0, Y0 + 1)},
       "не замкнута"},
      {"L2",
       "S2",
       {Ring[0], Ring[1], Ring[2], Ring[3], HostMoveTo(X0, Y0), HostLineTo(X0, Y0 + 1)},
       "не замкнута"},
      {"L1", "S1", {HostMoveTo(X0, Y0)}, "не содержит отрезков"},
      {"L1", "S1", {HostLineTo(X0, Y0), HostLineTo(X0 + 1, Y0)}, "начинаться с перемещения"},
      {"L1", "S1", {}, "Пустой контур"},
      {"L1", "S1", {HostMoveTo(X0, Y0), HostLineTo(NAN, Y0)}, "конечными"},
      {"L1", "S1", {HostMoveTo(X0, Y0), HostArcTo(X0 + 1, Y0, INFINITY)}, "кривизна"},
  };
  const auto Before = Host.Project().ObjectCount();
  for (const TCase& C : Cases) {
    TKxID NewID = MakeID("x");
    EXPECT_EQ(Create(C.Layer, C.Style, C.Commands, NewID), E_FAIL) << C.Says;
    EXPECT_NE(LastError().find(C.Says), std::string::npos) << LastError() << " / " << C.Says;
  }
  EXPECT_EQ(Host.Project().ObjectCount(), Before);
  // An open line is fine in a line style.
  TKxID NewID;
  EXPECT_EQ(Create("L1", "S1", {HostMoveTo(X0, Y0), HostLineTo(X0 + 1, Y0)}, NewID), S_OK);
  EXPECT_EQ(Host.Project().ObjectCount(), Before + 1);

  // An empty shape list and missing arguments.
  TComPtr<kx::IKxShapeList> Empty;
  ASSERT_EQ(Objects->NewShapeList(Empty.Out()), S_OK);
  const TKxID L1 = MakeID("L1");
  EXPECT_EQ(Objects->CreateObject(&L1, Empty.Get(), &NewID), E_FAIL);
  EXPECT_EQ(LastError(), "Объект без фигур");
  EXPECT_EQ(Objects->CreateObject(&L1, nullptr, &NewID), E_POINTER);
  EXPECT_EQ(Empty->AddShape(nullptr, &L1), E_POINTER);
  EXPECT_EQ(Host.Project().ObjectCount(), Before + 1);
}

TEST_F(HostModel, ProjectTreeAndStyleRecords) {
  TComPtr<kx::IKxIDsList> Maps;
  ASSERT_EQ(Project->GetMaps(Maps.Out()), S_OK);
  const auto MapIDs = ReadIDs(Maps.Get());
  ASSERT_EQ(MapIDs.size(), 1u);
  kx::TKxMapInfo MapInfo{};
  ASSERT_EQ(Database->GetMapInfo(&MapIDs[0], &MapInfo), S_OK);
  // The name as the add-on reads it: the ShortString at byte 16.
  const auto* Raw = reinterpret_cast<const std::uint8_t*>(&MapInfo);
  EXPECT_EQ(compat::Cp1251ToUtf8(std::string(reinterpret_cast<const char*>(Raw + 17), Raw[16])),
            "Город");

  TComPtr<kx::IKxIDsList> Layers;
  ASSERT_EQ(Database->GetMapLayers(&MapIDs[0], Layers.Out()), S_OK);
  const auto LayerIDs = ReadIDs(Layers.Get());
  ASSERT_EQ(LayerIDs.size(), 2u);
  kx::TKxLayerInfo LayerInfo{};
  ASSERT_EQ(Database->GetLayerInfo(&LayerIDs[1], &LayerInfo), S_OK);
  EXPECT_TRUE(LayerInfo.MapID == MapIDs[0]);
  EXPECT_EQ(LayerInfo.Name.ToUtf8(), "Участки");

  TComPtr<kx::IKxIDsList> Styles;
  ASSERT_EQ(Database->GetLayerStyles(&LayerIDs[0], Styles.Out()), S_OK);
  const auto StyleIDs = ReadIDs(Styles.Get());
  ASSERT_EQ(StyleIDs.size(), 2u);
  EXPECT_EQ(StyleIDs[0].ToUtf8(), "S1");
  TComPtr<kx::IKxStyle> Street, Label;
  ASSERT_EQ(Database->GetStyle(&StyleIDs[0], Street.Out()), S_OK);
  ASSERT_EQ(Database->GetStyle(&StyleIDs[1], Label.Out()), S_OK);
  kx::TKxStyleInfo Info{};
  ASSERT_EQ(Street->GetStyleInfo(&Info), S_OK);
  const auto* Bytes = reinterpret_cast<const std::uint8_t*>(&Info);
  const auto Word = [&](int At) {
    std::uint32_t W;
    std::memcpy(&W, Bytes + At, 4);
    return W;
  };
  EXPECT_EQ(Word(64) & 1, 1u);
  EXPECT_EQ(Word(88), 11u);
  EXPECT_EQ(Word(92), 12u);
  EXPECT_EQ(Info.Name.ToUtf8(), "Улица");
  ASSERT_EQ(Label->GetStyleInfo(&Info), S_OK);
  EXPECT_EQ(Word(64) & 1, 0u);
  TComPtr<kx::IKxIDsList> StyleLayers;
  ASSERT_EQ(Label->GetStyleLayers(StyleLayers.Out()), S_OK);
  const auto Owners = ReadIDs(StyleLayers.Get());
  ASSERT_EQ(Owners.size(), 1u);
  EXPECT_EQ(Owners[0].ToUtf8(), "L1");

  // IDs are bytes: another case is another ID.
  const TKxID Lower = MakeID("l1");
  EXPECT_EQ(Database->GetLayerInfo(&Lower, &LayerInfo), E_FAIL);
  EXPECT_EQ(LastError(), "Неизвестный слой «l1»");
  std::int32_t N = 0;
  TKxID Out;
  EXPECT_EQ(Styles->GetID(2, &Out), E_INVALIDARG);
  EXPECT_EQ(Styles->GetCount(&N), S_OK);
}

TEST_F(HostModel, SelectionEditorAndViewTransform) {
  Host.View().SetSelection({MakeID("3"), MakeID("1")});
  TComPtr<kx::IKxIDsList> Sel;
  ASSERT_EQ(View->GetSelection(Sel.Out()), S_OK);
  const auto IDs = ReadIDs(Sel.Get());
  ASSERT_EQ(IDs.size(), 2u);
  EXPECT_EQ(IDs[0].ToUtf8(), "3");
  EXPECT_EQ(IDs[1].ToUtf8(), "1");
  Host.View().SetSelection({});
  ASSERT_EQ(View->GetSelection(Sel.Out()), S_OK);
  EXPECT_TRUE(ReadIDs(Sel.Get()).empty());

  const int Before = Host.View().InvalidateCount();
  EXPECT_EQ(View->Invalidate(), S_OK);
  EXPECT_EQ(View->Operation5(), S_OK);
  EXPECT_EQ(View->Operation27(), S_OK);
  EXPECT_EQ(Host.View().InvalidateCount(), Before + 1);
  EXPECT_EQ(Host.View().Operation5Count(), 1);
  EXPECT_EQ(Host.View().Operation27Count(), 1);

  std::mt19937 Rng(7);
  for (const double Resolution : {0.001, 0.05, 1.0, 37.5}) {
    Host.View().SetTransform({X0 + 123.456, Y0 - 78.9, Resolution, 1024, 768});
    std::uniform_int_distribution<std::int32_t> PX(-5000, 5000);
    for (int I = 0; I < 2000; ++I) {
      const std::int32_t DX = PX(Rng), DY = PX(Rng);
      double MX = 0, MY = 0;
      ASSERT_EQ(View->DeviceToMap(DX, DY, &MX, &MY), S_OK);
      std::int32_t BX = 0, BY = 0;
      ASSERT_EQ(View->MapToDevice(MX, MY, &BX, &BY), S_OK);
      ASSERT_EQ(BX, DX) << Resolution;
      ASSERT_EQ(BY, DY) << Resolution;
    }
  }
  // North up: a point north-east of the centre is right of and above it.
  Host.View().SetTransform({X0, Y0, 0.5, 800, 600});
  std::int32_t DX = 0, DY = 0;
  ASSERT_EQ(View->MapToDevice(X0 + 10, Y0 + 20, &DX, &DY), S_OK);
  EXPECT_EQ(DX, 420);
  EXPECT_EQ(DY, 260);
  EXPECT_EQ(View->MapToDevice(X0 + 1e12, Y0, &DX, &DY), E_INVALIDARG);
  EXPECT_EQ(View->MapToDevice(X0, Y0, nullptr, &DY), E_POINTER);
  EXPECT_THROW(Host.View().SetTransform({X0, Y0, 0, 800, 600}), host::EHostError);
}

// Ranges of object bounds against a plain scan over every object.
TEST_F(HostModel, RectangleLookupMatchesAScan) {
  using namespace host;
  std::mt19937 Rng(11);
  std::uniform_real_distribution<double> U(0, 5000), Size(0.5, 300);
  const TKxID L1 = MakeID("L1"), S1 = MakeID("S1");
  for (int I = 0; I < 3000; ++I) {
    const double X = X0 + U(Rng), Y = Y0 + U(Rng);
    Host.Project().AddObject(
        L1, {{S1, {HostMoveTo(X, Y), HostArcTo(X + Size(Rng), Y + Size(Rng) / 4, 0.3)}}});
  }
  // One far away, which grows the index.
  Host.Project().AddObject(L1, {{S1, {HostMoveTo(-X0, 0), HostLineTo(-X0 + 1, 1)}}});
  for (int I = 0; I < 300; I += 3)
    Host.Project().RemoveObject(TKxID::FromUtf8(std::to_string(I + 4)));
  const auto All = Host.Project().Objects();
  for (int Q = 0; Q < 200; ++Q) {
    const double X = X0 - 500 + U(Rng) * 1.2, Y = Y0 - 500 + U(Rng) * 1.2, W = Size(Rng) * 3;
    const geo::TDRect R{X, Y, X + W, Y + W / 2};
    std::vector<const THostMapObject*> Expected;
    for (const THostMapObject* O : All)
      if (O->Bounds.X1 <= R.X2 && R.X1 <= O->Bounds.X2 && O->Bounds.Y1 <= R.Y2 &&
          R.Y1 <= O->Bounds.Y2)
        Expected.push_back(O);
    ASSERT_EQ(Host.Project().ObjectsInRect(R), Expected) << Q;
  }
  const geo::TDRect Far{-X0 - 1, -1, -X0 + 2, 2};
  ASSERT_EQ(Host.Project().ObjectsInRect(Far).size(), 1u);
  // Bounds hold the arc's bulge, not just its end points: a counter-clockwise
  // half circle from west to east passes south of its chord.
  const TKxID Half =
      Host.Project().AddObject(L1, {{S1, {HostMoveTo(X0, Y0), HostArcTo(X0 + 20, Y0, 1)}}});
  EXPECT_NEAR(Host.Project().Object(Half).Bounds.Y1, Y0 - 10, 1e-6);
  EXPECT_EQ(Host.Project().ObjectsInRect({X0 + 9, Y0 - 9.5, X0 + 11, Y0 - 9}).back()->ID, Half);
}

}  // namespace

namespace {

TEST(HostParams, ParamsListHandsOutItsValues) {
  host::TTestHost Host;
  VARIANT A, B;
  VariantInit(&A);
  VariantInit(&B);
  A.vt = VT_I4;
  A.lVal = 42;
  B.vt = VT_R8;
  B.dblVal = 2.5;
  auto Params =
      host::MakeValue<host::THostParamsList>(Host.Manager().Context(), std::vector<VARIANT>{A, B});
  VARIANT V;
  ASSERT_EQ(Params->GetParam(1, &V), S_OK);
  EXPECT_EQ(V.vt, VT_R8);
  EXPECT_EQ(V.dblVal, 2.5);
  ASSERT_EQ(Params->GetParam(0, &V), S_OK);
  EXPECT_EQ(V.lVal, 42);
  EXPECT_EQ(Params->GetParam(2, &V), E_INVALIDARG);
  EXPECT_NE(Host.ErrorInfo().MessageUtf8().find("индекс 2"), std::string::npos);
}

}  // namespace
