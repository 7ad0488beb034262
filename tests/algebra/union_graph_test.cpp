#include "addonlib/algebra/union_graph_internal.h"

#include <gtest/gtest.h>

#include "tests/geometry/test_util.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <random>

#include "addonlib/geometry/intersect.h"
#include "addonlib/geometry/measures.h"
#include "addonlib/geometry/point_in_contour.h"
#include "addonlib/geometry/primitives.h"
#include "addonlib/geometry/rect.h"
#include "broken_outline_case.h"
#include "oracle.h"
#include "shapes.h"

namespace {

using geo::TContour;
using geo::TDPoint;
using geoalg::TGUnionGraph;

using geo::test::MessageOf;
using namespace test_shapes;

// The operation on two memberships: union, intersection, difference, symmetric difference.
bool Apply(int Op, bool A, bool B) {
  switch (Op) {
    case 0:
      return A || B;
    case 1:
      return A && B;
    case 2:
      return A && !B;
    default:
      return A != B;
  }
}

TContour Combine(const TContour& A, const TContour& B, int Op,
                 geoalg::TUnionGraphOwner* Owner = nullptr) {
  TContour R;
  geoalg::CombineContoursReference(A, B, static_cast<geoalg::TUnionOperation>(Op), 1e-4, R, Owner);
  return R;
}

int PartCount(const TContour& C) {
  int N = 0;
  for (int32_t I = 0; I < C.CommandCount(); ++I)
    if (C.GetCommand(I).Kind == geo::ccMoveTo) ++N;
  return N;
}

struct RecordingOwner : geoalg::TUnionGraphOwner {
  std::vector<std::string> Said;
  void UnionGraphWarning(const std::string& Text) override { Said.push_back(Text); }
};

TEST(UnionGraph, SquaresDisjointAndSharingASide) {
  TContour A, B, Far;
  AddRect(A, 0, 0, 10, 10);
  AddRect(Far, 20, 0, 30, 10);
  AddRect(B, 10, 0, 20, 10);
  const TContour U = Combine(A, Far, 0);
  EXPECT_EQ(PartCount(U), 2);
  EXPECT_NEAR(oracle::EnclosedArea(U), 200, 1e-9);
  EXPECT_EQ(Combine(A, Far, 1).CommandCount(), 0);

  const TContour Joined = Combine(A, B, 0);
  EXPECT_EQ(PartCount(Joined), 1);
  EXPECT_NEAR(oracle::EnclosedArea(Joined), 200, 1e-9);
  // The shared side x = 10 is gone: no vertex of the outline lies inside it.
  for (int32_t I = 0; I < Joined.CommandCount(); ++I) {
    const auto Cmd = Joined.GetCommand(I);
    if (geo::IsToCommand(Cmd)) {
      EXPECT_FALSE(Cmd.Point.X == 10 && Cmd.Point.Y > 0 && Cmd.Point.Y < 10);
    }
  }
  const TContour Diff = Combine(A, B, 2);
  EXPECT_NEAR(oracle::EnclosedArea(Diff), 100, 1e-9);
  EXPECT_NEAR(oracle::EnclosedArea(Combine(A, B, 3)), 200, 1e-9);
}

TEST(UnionGraph, FailuresAndWarnings) {
  TContour A, Flat, Empty;
  AddRect(A, 0, 0, 10, 10);
  Flat.AddMoveTo({0, 5});
  Flat.AddLineTo({10, 5});
  const char* Small = "Размер контура по одной из осей меньше чем 1e-8";
  EXPECT_EQ(MessageOf([&] { Combine(A, Flat, 0); }), Small);
  EXPECT_EQ(MessageOf([&] { Combine(Empty, A, 0); }), Small);
  EXPECT_EQ(MessageOf([&] { Combine(A, A, 4); }), "Bad Operation");
  TGUnionGraph G;
  EXPECT_EQ(MessageOf([&] { G.AddContour(A, 2); }), "Incorrect CBIndex");

  // A slit: the outline runs out along y = 5 and back. The slit is reported
  // once and drops out of the boundary.
  TContour Slit;
  Slit.AddMoveTo({0, 0});
  Slit.AddLineTo({10, 0});
  Slit.AddLineTo({10, 5});
  Slit.AddLineTo({5, 5});
  Slit.AddLineTo({10, 5});
  Slit.AddLineTo({10, 10});
  Slit.AddLineTo({0, 10});
  Slit.AddClose();
  TContour Other;
  AddRect(Other, 20, 20, 30, 30);
  RecordingOwner Owner;
  const TContour R = Combine(Slit, Other, 0, &Owner);
  EXPECT_EQ(Owner.Said, std::vector<std::string>{"Ребро обходится дважды"});
  EXPECT_NEAR(oracle::EnclosedArea(R), 200, 1e-9);
  for (int32_t I = 0; I < R.CommandCount(); ++I) {
    const auto Cmd = R.GetCommand(I);
    if (geo::IsToCommand(Cmd)) {
      EXPECT_FALSE(Cmd.Point.X == 5 && Cmd.Point.Y == 5);
    }
  }
}

TEST(UnionGraph, NearlyStraightArcAndLineBetweenTheSameVerticesAreOneEdge) {
  auto Make = [](const auto& Commands) {
    TContour C;
    for (const TCaseCommand& Cmd : Commands)
      C.AddCommand({static_cast<geo::TComplexCommandKind>(Cmd.Kind), Cmd.Point, Cmd.Convexity});
    return C;
  };
  const TContour A = Make(BrokenOutlineA), B = Make(BrokenOutlineB);
  const TContour U = Combine(A, B, 0);
  const TDPoint Q{497343.925820, 6000495.792535};  // inside both
  EXPECT_NE(geo::PointInContour(A, Q), geo::TPointPlace::Outside);
  EXPECT_NE(geo::PointInContour(B, Q), geo::TPointPlace::Outside);
  EXPECT_NE(geo::PointInContour(U, Q), geo::TPointPlace::Outside);
  const double AreaA = oracle::EnclosedArea(A), AreaB = oracle::EnclosedArea(B);
  const double AreaU = oracle::EnclosedArea(U), AreaI = oracle::EnclosedArea(Combine(A, B, 1));
  EXPECT_NEAR(AreaU + AreaI, AreaA + AreaB, 1e-6);
  EXPECT_GE(AreaU, AreaA - 1e-6);
}

// Pieces of buffer zones a tenth of a metre to a few metres wide, most at
// (500000, 6000000), where the coordinates' own rounding exceeds a tolerance
// of size times 1e-9.
TEST(UnionGraph, SmallZonePiecesKeepTheirOutlines) {
  std::vector<std::pair<TContour, TContour>> Cases;
  {
    // A disc, and a piece of it bounded by a chord and two arcs of the same
    // circle, whose convexities differ from those of the disc's cut arcs by
    // their rounding: the arcs must become the same edges.
    TContour A, B;
    A.AddMoveTo({500079.2665076764, 6000070.7334923232});
    A.AddArcTo({500079.2665076764, 6000069.2665076768}, 0.41421356302390161);
    A.AddCloseArc(2.4142135641342137);
    B.AddMoveTo({500081.03731479193, 6000070});
    B.AddLineTo({500080, 6000068.9626852078});
    B.AddArcTo({500080.7334923236, 6000069.2665076768}, 0.19891236627520537);
    B.AddCloseArc(0.19891236701039242);
    Cases.emplace_back(std::move(A), std::move(B));
  }
  {
    // A disc whose diameter is the end side of a strip, and the strip's long
    // side tangent to the disc at the corner: the side must meet the disc at
    // the corner, not at two points 1e-5 away chosen by the rounding.
    TContour A, B;
    A.AddMoveTo({500044.71393712144, 6000046.9808185352});
    A.AddArcTo({500048.7568024646, 6000046.423434292}, -0.12672327865691735);
    A.AddLineTo({500049.1964998389, 6000043.8289123718});
    A.AddLineTo({500048.93266990519, 6000043.7842007317});
    A.AddLineTo({500048.50978487736, 6000046.2795180539});
    A.AddCloseArc(-0.10674037596408606);
    B.AddMoveTo({500048.98711485619, 6000043.6974706324});
    B.AddArcTo({500049.17367079144, 6000043.729086536}, 0.41421355884383437);
    B.AddCloseArc(2.414213571376767);
    Cases.emplace_back(std::move(A), std::move(B));
  }
  {
    // A strip whose end vertex lies 1e-4 from a vertex of the other input:
    // the crossing there is too near that end to cut the strip, and the
    // other input must be cut at the strip's vertex, not beside it.
    TContour A, B;
    A.AddMoveTo({-41.57884213475684, 21.888535946013196});
    A.AddLineTo({-41.620449527406407, 21.826181082970766});
    A.AddLineTo({-38.463207110892625, 19.809572999651415});
    A.AddClose();
    B.AddMoveTo({-41.382375576463787, 24.74800713806431});
    B.AddArcTo({-43.357921449552428, 23.084140818890578}, 0.56900625853887499);
    B.AddLineTo({-41.578739621248182, 21.888467297937076});
    B.AddLineTo({-43.413069537648006, 23.030885295885248});
    B.AddArcTo({-41.371129123808892, 24.823394371824655}, -0.56953585604978108);
    B.AddCloseArc(-0.18146840231317224);
    Cases.emplace_back(std::move(A), std::move(B));
  }
  {
    // A side of A passes 4e-8 from the end of an arc of B, almost tangent
    // to the arc's circle: the arc crosses the side 1.2e-4 before its end,
    // not at the touching point beyond it, and A must be cut there.
    TContour A, B;
    A.AddMoveTo({500077.39464101638, 6000065.1331443712});
    A.AddLineTo({500048.27923627064, 6000059.0643530693});
    A.AddLineTo({500040.61263561097, 6000068.0847988222});
    A.AddLineTo({500049.27826748887, 6000061.7554716626});
    A.AddClose();
    B.AddMoveTo({500047.83578828088, 6000077.7850044733});
    B.AddLineTo({500040.39307226398, 6000068.9533708626});
    B.AddArcTo({500040.61291264754, 6000068.0845964253}, 0.36043285236003886);
    B.AddArcTo({500038.92653171893, 6000065.776895701}, -1.0000000006197591);
    B.AddCloseArc(-0.38063876585250572);
    Cases.emplace_back(std::move(A), std::move(B));
  }
  {
    // A vertex of B lies on a side of A 9.9e-5 from its end, and B leaves
    // A there: the side must be cut at B's vertex although the piece left
    // is shorter than the split tolerance.
    TContour A, B;
    A.AddMoveTo({500500.59154564433, 5999751.7157567106});
    A.AddLineTo({500482.36958323827, 5999761.7997654984});
    A.AddArcTo({500479.53356449783, 5999762.1208876316}, 0.19891236797738132);
    A.AddArcTo({500478.75830708898, 5999755.2741327258}, 0.19891236758374045);
    A.AddClose();
    B.AddMoveTo({500478.75822011259, 5999755.2741808593});
    B.AddLineTo({500482.36967021466, 5999761.7997173648});
    B.AddLineTo({500474.44216321077, 5999766.18706482});
    B.AddClose();
    Cases.emplace_back(std::move(A), std::move(B));
  }
  {
    // The same on an arc: a vertex of B on a quarter circle of A, 4e-5 from
    // its end. Cutting B's arcs at A's vertex instead, off them, would give
    // pieces of nearly whole circles.
    TContour A, B;
    A.AddMoveTo({89.458195566634728, 52.369713872512257});
    A.AddLineTo({9.5601457327722255, 67.561867765844099});
    A.AddArcTo({19.369495014128887, 57.00484822139839}, -0.27146935741406109);
    A.AddArcTo({21.876175121628965, 51.406883754694782}, -0.19891236737966667);
    A.AddArcTo({21.66958503997699, 51.312467166493512}, -0.41421356237308293);
    A.AddLineTo({19.07027174722062, 56.886772462649425});
    A.AddArcTo({8.5930988656573639, 67.486368446995584}, 0.2893150777877454);
    A.AddLineTo({25.422632638466002, 69.251103319248529});
    A.AddArcTo({18.497631176219706, 87.091894496530159}, -0.15818000073520988);
    A.AddCloseArc(0.1104640907458372);
    B.AddMoveTo({37.832011305705819, 24.11976537027288});
    B.AddLineTo({14.546907789630852, 41.360011601874334});
    B.AddArcTo({21.876160898803086, 51.406845603902198}, 0.1374993740608394);
    B.AddCloseArc(0.19180542081411606);
    Cases.emplace_back(std::move(A), std::move(B));
  }
  {
    // Corners of B lie 9e-5 from corners of A, and the sides cross within
    // the split tolerance of the ends of both: both are cut at the crossing.
    TContour A, B;
    A.AddMoveTo({-10.933206620071248, 49.381617549778646});
    A.AddArcTo({-17.018133294493445, 48.225699623954313}, -0.026294483554090364);
    A.AddLineTo({-17.040983884127236, 48.460133487522484});
    A.AddCloseArc(0.026294483554090364);
    B.AddMoveTo({-20.980942771628847, 48.079227256059035});
    B.AddLineTo({-17.040891720739417, 48.460142434240289});
    B.AddArcTo({-16.964713362416504, 48.441229540677398}, -0.17151739085740683);
    B.AddArcTo({-17.018225457881265, 48.225690677236507}, -0.22659758474766628);
    B.AddClose();
    Cases.emplace_back(std::move(A), std::move(B));
  }
  {
    // The strip's side of the second case is tangent to the disc at the
    // corner; with the tolerance the graph derives for them it meets the disc
    // at the corner alone.
    TGUnionGraph G;
    G.Init(Cases[1].first, Cases[1].second, 1e-4);
    const TDPoint Corner{500049.1964998389, 6000043.8289123718};
    TDPoint R1, R2;
    ASSERT_EQ(geo::IntersectLineWithArcAll({500048.7568024646, 6000046.423434292}, Corner,
                                           {500049.17367079144, 6000043.729086536},
                                           {500048.98711485619, 6000043.6974706324},
                                           2.414213571376767, R1, R2, G.Tolerance()),
              1);
    EXPECT_LT(geo::Distance(R1, Corner), 1e-7);
  }
  std::mt19937 Rng(5);
  for (size_t K = 0; K < Cases.size(); ++K) {
    SCOPED_TRACE("case " + std::to_string(K));
    const TContour &A = Cases[K].first, &B = Cases[K].second;
    const TContour U = Combine(A, B, 0), I = Combine(A, B, 1);
    const oracle::Membership MA(A), MB(B), MU(U), MI(I);
    geo::TDRect R, RB;
    ASSERT_TRUE(geo::GetBounds(A, R) && geo::GetBounds(B, RB));
    geo::ExtendRect(R, RB);
    std::uniform_real_distribution<double> UX(R.X1, R.X2), UY(R.Y1, R.Y2);
    for (int N = 0; N < 2000; ++N) {
      const TDPoint P{UX(Rng), UY(Rng)};
      if (MA.Distance(P) < 1e-5 || MB.Distance(P) < 1e-5) continue;
      ASSERT_EQ(MU.Inside(P), MA.Inside(P) || MB.Inside(P)) << P.X << " " << P.Y;
      ASSERT_EQ(MI.Inside(P), MA.Inside(P) && MB.Inside(P)) << P.X << " " << P.Y;
    }
    // Cut at a vertex 1e-4 away, an edge moves by up to the split tolerance.
    EXPECT_NEAR(oracle::EnclosedArea(U) + oracle::EnclosedArea(I),
                oracle::EnclosedArea(A) + oracle::EnclosedArea(B), 2e-5);
  }
}

TEST(UnionGraph, FigureEightChainsAreWalkedWhole) {
  // Cells touching at a corner, against cells of a grid shifted by half a
  // cell: the symmetric difference has an outline through one vertex twice.
  TContour A, B;
  AddRect(A, 20, 0, 30, 10);
  AddRect(A, 30, 10, 40, 20);
  AddRect(B, 35, 15, 45, 25);
  AddRect(B, 35, 5, 45, 15);
  AddRect(B, 15, 5, 25, 15);
  const oracle::Membership MA(A), MB(B);
  for (int Op = 0; Op < 4; ++Op) {
    const oracle::Membership MR(Combine(A, B, Op));
    for (double X = 12.5; X < 48; X += 2.5)
      for (double Y = -2.5; Y < 28; Y += 2.5) {
        const TDPoint P{X + 0.1, Y + 0.1};
        ASSERT_EQ(MR.Inside(P), Apply(Op, MA.Inside(P), MB.Inside(P)))
            << Op << " " << X << " " << Y;
      }
  }
}

TEST(UnionGraph, NearlyClosedChainIsWrittenClosed) {
  TContour A, Far;
  // The outline ends 5e-5 from its start, below the split tolerance of 1e-4.
  A.AddMoveTo({0, 0});
  A.AddLineTo({10, 0});
  A.AddLineTo({10, 10});
  A.AddLineTo({0, 10});
  A.AddLineTo({0, 5e-5});
  AddRect(Far, 20, 0, 30, 10);
  const TContour U = Combine(A, Far, 0);
  EXPECT_EQ(PartCount(U), 2);
  EXPECT_NEAR(oracle::EnclosedArea(U), 200, 1e-3);
}

// ---- Random inputs ----

void CheckOperations(std::mt19937& Rng, const Shape& A, const Shape& B, TDPoint O) {
  SCOPED_TRACE("A " + oracle::ToWkt(A.C) + "\nB " + oracle::ToWkt(B.C));
  double Area[4];
  for (int Op = 0; Op < 4; ++Op) {
    const TContour R = Combine(A.C, B.C, Op);
    Area[Op] = oracle::EnclosedArea(R);
    const oracle::Membership MA(A.C), MB(B.C), MR(R);
    std::uniform_real_distribution<double> U(-110, 110);
    int Tested = 0;
    for (int I = 0; I < 300; ++I) {
      const TDPoint P{O.X + U(Rng), O.Y + U(Rng)};
      if (MA.Distance(P) < 0.05 || MB.Distance(P) < 0.05) continue;
      ++Tested;
      ASSERT_EQ(MR.Inside(P), Apply(Op, MA.Inside(P), MB.Inside(P)))
          << "op " << Op << " at " << P.X << " " << P.Y;
    }
    EXPECT_GT(Tested, 100);
    if (A.Straight && B.Straight) {
      const double Geos = oracle::GeosArea(A.C, B.C, Op);
      EXPECT_NEAR(Area[Op], Geos, 1e-9 * std::max(1.0, Geos)) << "op " << Op;
    }
  }
  const double AreaA = oracle::EnclosedArea(A.C), AreaB = oracle::EnclosedArea(B.C);
  const double Scale = std::max({1.0, AreaA, AreaB});
  EXPECT_NEAR(Area[0] + Area[1], AreaA + AreaB, 1e-9 * Scale);
  EXPECT_NEAR(Area[2], AreaA - Area[1], 1e-9 * Scale);
  EXPECT_NEAR(Area[3], Area[0] - Area[1], 1e-9 * Scale);
}

TEST(UnionGraph, RandomOperationsAgreeWithMembershipAreasAndGeos) {
  std::mt19937 Rng(77);
  for (int Round = 0; Round < 60; ++Round) {
    const TDPoint O = Round % 2 ? TDPoint{500000, 6000000} : TDPoint{0, 0};
    const bool Arcs = (Round / 2) % 3 == 1;
    const Shape A = RandomShape(Rng, Round / 6, O, Arcs);
    const Shape B = RandomShape(Rng, Round / 3 + 1, O, Arcs || Round % 5 == 0);
    SCOPED_TRACE("round " + std::to_string(Round));
    CheckOperations(Rng, A, B, O);
    if (HasFatalFailure()) return;
  }
}

}  // namespace
