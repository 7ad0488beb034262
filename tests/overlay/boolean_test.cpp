// Boolean operations of the overlay engine against GEOS (straight shapes),
// against point membership at random points (every shape), against the
// area identities, and against the union graph where that is right.
#include <gtest/gtest.h>

#include <algorithm>
#include <numbers>
#include <random>
#include <string>

#include "addonlib/algebra/union_graph.h"
#include "addonlib/geometry/measures.h"
#include "addonlib/overlay/overlay.h"
#include "oracle.h"
#include "shapes.h"

namespace {

using geoalg::TOverlayOp;
using namespace test_shapes;

constexpr TOverlayOp Ops[4] = {TOverlayOp::Union, TOverlayOp::Intersection, TOverlayOp::Difference,
                               TOverlayOp::SymDifference};

// The operations' truth tables, indexed [op][in A][in B].
bool Apply(TOverlayOp Op, bool A, bool B) {
  static constexpr bool Table[4][2][2] = {
      {{false, true}, {true, true}},    // union
      {{false, false}, {false, true}},  // intersection
      {{false, false}, {true, false}},  // difference
      {{false, true}, {true, false}},   // symmetric difference
  };
  return Table[static_cast<int>(Op)][A][B];
}

geo::TDRect BoundsOf(const TContour& A, const TContour& B) {
  geo::TDRect R{0, 0, 0, 0}, S;
  const bool HA = geo::GetBounds(A, R);
  if (geo::GetBounds(B, S)) {
    if (!HA) R = S;
    R = {std::min(R.X1, S.X1), std::min(R.Y1, S.Y1), std::max(R.X2, S.X2), std::max(R.Y2, S.Y2)};
  }
  return R;
}

// The result's area by the kernel (outer parts clockwise, holes
// counter-clockwise) equals the even-odd area of its rings, and every random
// point clear of all boundaries is in the result exactly when the operation
// says so.
void CheckResult(std::mt19937& Rng, const TContour& A, const TContour& B, TOverlayOp Op,
                 const TContour& R) {
  const double Even = oracle::EnclosedArea(R);
  const geo::TDRect Box = BoundsOf(A, B);
  const double Size = std::max(Box.X2 - Box.X1, Box.Y2 - Box.Y1);
  EXPECT_NEAR(geo::Area(R), Even, 1e-9 * std::max(1.0, Size * Size)) << "orientation";
  const oracle::Membership MA(A), MB(B), MR(R);
  const double Margin = 1e-5 * Size;
  int Checked = 0;
  for (int K = 0; K < 300; ++K) {
    const TDPoint P{Uniform(Rng, Box.X1, Box.X2), Uniform(Rng, Box.Y1, Box.Y2)};
    if (MA.Distance(P) < Margin || MB.Distance(P) < Margin || MR.Distance(P) < Margin) continue;
    ++Checked;
    ASSERT_EQ(MR.Inside(P), Apply(Op, MA.Inside(P), MB.Inside(P)))
        << "at " << P.X << " " << P.Y << " op " << static_cast<int>(Op);
  }
  EXPECT_GT(Checked, 50);
}

// All four operations: membership, identities, and GEOS for straight inputs.
void CheckAll(std::mt19937& Rng, const TContour& A, const TContour& B, bool Straight,
              const geoalg::TOverlayTolerance& Tol = {}) {
  double Area[4];
  for (int K = 0; K < 4; ++K) {
    const TContour R = geoalg::OverlayContours(A, B, Ops[K], Tol);
    CheckResult(Rng, A, B, Ops[K], R);
    if (testing::Test::HasFatalFailure()) return;
    Area[K] = oracle::EnclosedArea(R);
    if (Straight) {
      const double G = oracle::GeosArea(A, B, K);
      EXPECT_NEAR(Area[K], G, 1e-9 * std::max(1.0, G)) << "op " << K;
    }
  }
  const double Scale = std::max({1.0, Area[0]});
  EXPECT_NEAR(Area[0] - Area[1], Area[3], 1e-9 * Scale);
  EXPECT_NEAR(Area[2] + Area[1] + (Area[0] - Area[2] - Area[1]), Area[0], 1e-9 * Scale);
  EXPECT_NEAR(Area[3], Area[2] + (Area[0] - Area[2] - Area[1]), 1e-9 * Scale);
}

const TDPoint Far{500000, 6000000};

TEST(Overlay, RandomStarsAndStarsWithHoles) {
  std::mt19937 Rng(11);
  for (int Round = 0; Round < 24; ++Round) {
    SCOPED_TRACE("round " + std::to_string(Round));
    const TDPoint O = Round % 2 ? Far : TDPoint{0, 0};
    const int N = 5 + Round * 7;
    const TContour A =
        Round % 3 == 2 ? StarWithHoles(Rng, O, 100, N, 1 + Round % 4) : Star(Rng, O, 100, N);
    const TContour B = StarWithHoles(
        Rng, {O.X + Uniform(Rng, -30, 30), O.Y + Uniform(Rng, -30, 30)}, 90, N + 3, Round % 3);
    CheckAll(Rng, A, B, true);
    if (HasFatalFailure()) return;
  }
}

TEST(Overlay, GridsCheckerboardsAndFans) {
  std::mt19937 Rng(12);
  for (int Round = 0; Round < 24; ++Round) {
    SCOPED_TRACE("round " + std::to_string(Round));
    const TDPoint O = Round % 2 ? Far : TDPoint{0, 0};
    TContour A, B;
    switch (Round % 4) {
      case 0:  // touching cells against touching cells, shifted by whole cells
        A = GridCells(Rng, O, 8, 1, 0.5);
        B = GridCells(Rng, {O.X + 2, O.Y + 1}, 8, 1, 0.5);
        break;
      case 1:  // a checkerboard against a half-shifted one
        A = Checkerboard(O, 6, 1);
        B = Checkerboard({O.X + 0.5, O.Y + 0.5}, 6, 1);
        break;
      case 2:  // a checkerboard against a box through its corners
        A = Checkerboard(O, 6, 1);
        AddRect(B, O.X + 1, O.Y + 1, O.X + 4, O.Y + 5);
        break;
      default:  // fans meeting at one point, turned against each other
        A = Fan(O, 10, 12 + 2 * (Round % 5), 0);
        B = Fan(O, 8, 10 + 2 * (Round % 3), Uniform(Rng, 0, 1));
        break;
    }
    CheckAll(Rng, A, B, true);
    if (HasFatalFailure()) return;
  }
}

TEST(Overlay, RowsOfHolesWithIslandsInThem) {
  // Every hole and island is a component of its own whose outside is read
  // off the edge a ray to its left meets first; the holes stand in rows, so
  // those rays pass exactly through the corners of the holes before them.
  std::mt19937 Rng(21);
  for (const TDPoint O : {TDPoint{0, 0}, Far}) {
    const int N = 20;
    const TContour A = RowsOfHoles(O, N, false);
    TContour B;
    // A diamond whose corners lie on the rows, and discs across holes.
    B.AddMoveTo({O.X + N / 2.0, O.Y + 0.2});
    B.AddLineTo({O.X + N - 0.2, O.Y + N / 2.0});
    B.AddLineTo({O.X + N / 2.0, O.Y + N - 0.2});
    B.AddLineTo({O.X + 0.2, O.Y + N / 2.0});
    B.AddClose();
    for (int K = 0; K < 6; ++K) AddDisc(B, {O.X + 3 * K + 1.5, O.Y + 2.5 * K + 1.4}, 0.7);
    CheckAll(Rng, A, B, false);
    if (HasFatalFailure()) return;
  }
}

TEST(Overlay, EveryHoleFollowsTheOuterRingThatHoldsIt) {
  // Round holes, whose leftmost points lie inside arcs joined across them,
  // squares in them (components of their own, held by faces of others), and
  // stars of strongly bent arcs whose results have holes among slivers.
  std::mt19937 Rng(33);
  for (const TDPoint O : {TDPoint{0, 0}, Far}) {
    const int N = 8;
    const TContour A = RowsOfHoles(O, N, true);
    TContour B;
    AddRect(B, O.X + 2.5, O.Y - 1, O.X + 2.6, O.Y + N + 1);
    for (const TOverlayOp Op : Ops)
      EXPECT_EQ(oracle::NestingFault(geoalg::OverlayContours(A, B, Op)), "");
  }
  for (int Round = 0; Round < 4; ++Round) {
    SCOPED_TRACE("round " + std::to_string(Round));
    const TDPoint O = Round % 2 ? Far : TDPoint{0, 0};
    const TContour A = Star(Rng, O, 1000, 200, 1);
    const TContour B = Star(Rng, {O.X + 300, O.Y + 200}, 1000, 200, 1);
    for (const TOverlayOp Op : Ops)
      EXPECT_EQ(oracle::NestingFault(geoalg::OverlayContours(A, B, Op)), "");
  }
}

TEST(Overlay, ArcShapesAgreeWithMembershipAndTheUnionGraph) {
  std::mt19937 Rng(13);
  for (int Round = 0; Round < 20; ++Round) {
    SCOPED_TRACE("round " + std::to_string(Round));
    const TDPoint O = Round % 2 ? Far : TDPoint{0, 0};
    TContour A, B;
    // Parts that do not cross, as the union graph reads its inputs.
    if (Round % 3 == 0) {
      for (int K = 0; K < 4; ++K)
        AddDisc(A, {O.X + 20 * (K % 2) - 10, O.Y + 20 * (K / 2) - 10}, Uniform(Rng, 3, 9.9));
      AddDisc(B, {O.X + Uniform(Rng, -10, 10), O.Y + Uniform(Rng, -10, 10)}, 20);
    } else {
      A = Star(Rng, O, 50, 6 + Round, 0.05);
      B = StarWithHoles(Rng, {O.X + 5, O.Y - 3}, 45, 9 + Round, Round % 3, 0.05);
    }
    CheckAll(Rng, A, B, false);
    if (HasFatalFailure()) return;
    // The union graph is right on these: the same areas.
    for (int K = 0; K < 4; ++K) {
      TContour Ref;
      geoalg::CombineContoursReference(A, B, static_cast<geoalg::TUnionOperation>(K), 1e-4, Ref);
      const double E = oracle::EnclosedArea(geoalg::OverlayContours(A, B, Ops[K]));
      EXPECT_NEAR(E, oracle::EnclosedArea(Ref), 1e-9 * std::max(1.0, E)) << "op " << K;
    }
  }
}

TEST(Overlay, EmptyOperandsAndDisjointParts) {
  TContour Square, Empty, Far2;
  AddRect(Square, 0, 0, 10, 10);
  AddRect(Far2, 20, 0, 30, 10);
  EXPECT_NEAR(geo::Area(geoalg::OverlayContours(Square, Empty, TOverlayOp::Union)), 100, 1e-12);
  EXPECT_EQ(geoalg::OverlayContours(Square, Empty, TOverlayOp::Intersection).CommandCount(), 0);
  EXPECT_NEAR(geo::Area(geoalg::OverlayContours(Empty, Square, TOverlayOp::SymDifference)), 100,
              1e-12);
  EXPECT_EQ(geoalg::OverlayContours(Empty, Empty, TOverlayOp::Union).CommandCount(), 0);
  const TContour Two = geoalg::OverlayContours(Square, Far2, TOverlayOp::Union);
  EXPECT_NEAR(geo::Area(Two), 200, 1e-12);
  EXPECT_EQ(geoalg::OverlayContours(Square, Far2, TOverlayOp::Intersection).CommandCount(), 0);
  // A hole is written after the outer part that holds it, turned the other way.
  TContour Frame;
  AddRect(Frame, 0, 0, 10, 10);
  TContour Inner;
  AddRect(Inner, 3, 3, 6, 6);
  const TContour F = geoalg::OverlayContours(Frame, Inner, TOverlayOp::Difference);
  ASSERT_EQ(F.CommandCount(), 10);
  EXPECT_NEAR(geo::Area(F), 91, 1e-12);
}

TEST(Overlay, ArcsStayArcsWithTheirConvexity) {
  // Two overlapping discs: the union is two arcs of the input circles, each
  // longer than a half circle written as arcs of at most a half circle.
  TContour A, B;
  AddDisc(A, {0, 0}, 10);
  AddDisc(B, {10, 0}, 10);
  const TContour U = geoalg::OverlayContours(A, B, TOverlayOp::Union);
  int Arcs = 0;
  for (int32_t I = 0; I < U.CommandCount(); ++I) {
    const geo::TComplexCommand C = U.GetCommand(I);
    if (geo::IsArcKind(C.Kind)) {
      ++Arcs;
      EXPECT_LE(std::fabs(C.Convexity), 1 + 1e-12);
    }
    EXPECT_NE(C.Kind, geo::ccLineTo);
  }
  EXPECT_LE(Arcs, 6);
  const double Lens = 2 * (100 * std::acos(0.5) - 5 * std::sqrt(75.0));
  EXPECT_NEAR(geo::Area(U), 2 * std::numbers::pi * 100 - Lens, 1e-9);
  EXPECT_NEAR(geo::Area(geoalg::OverlayContours(A, B, TOverlayOp::Intersection)), Lens, 1e-9);
}

TEST(Overlay, ManyContourUnionReadsEachInputByItsNesting) {
  // Cells sharing sides in one input: a cell's side lies on its neighbour's,
  // and a test point there said the cell below was nested in the one above.
  TContour Cells, Ring, Tangent, Square;
  AddRect(Cells, 0, 0, 1, 1);
  AddRect(Cells, 0, 1, 1, 2);
  AddRect(Cells, 1, 1, 2, 2);
  // Holes of arcs: a disc's chords enclose nothing, yet it holds the hole.
  AddDisc(Ring, {0, 0}, 5);
  AddDisc(Ring, {0, 0}, 2);
  AddDisc(Tangent, {20, 0}, 5);
  AddDisc(Tangent, {22, 0}, 3);  // touching the outer circle from inside
  AddRect(Square, 100, 100, 101, 101);
  const double Pi = std::numbers::pi;
  struct TCase {
    const TContour* Input;
    double Area;
  };
  for (const TCase& C : {TCase{&Cells, 3}, TCase{&Ring, 21 * Pi}, TCase{&Tangent, 16 * Pi}}) {
    const TContour U = geoalg::UniteContours({C.Input, &Square});
    EXPECT_NEAR(oracle::EnclosedArea(U), C.Area + 1, 1e-12 * C.Area);
    EXPECT_NEAR(geo::Area(U), C.Area + 1, 1e-12 * C.Area);
  }
  const TContour Both = geoalg::UniteContours({&Ring, &Tangent, &Square});
  EXPECT_NEAR(geo::Area(Both), 37 * Pi + 1, 1e-12 * 37 * Pi);
  // A ring that crosses itself covers its lobes even-odd, as the Boolean
  // operations read it: a bow tie winds +1 round one lobe and -1 round the
  // other, and a lens with its ends pulled past each other crosses itself
  // twice.
  TContour Bow, Lens;
  Bow.AddMoveTo({0, 0});
  Bow.AddLineTo({2, 2});
  Bow.AddLineTo({2, 0});
  Bow.AddLineTo({0, 2});
  Bow.AddClose();
  Lens.AddMoveTo({0, 0});
  Lens.AddArcTo({4, 0}, 1);
  Lens.AddLineTo({-1, 1});
  Lens.AddLineTo({5, 1});
  Lens.AddClose();
  for (const TContour* C : {&Bow, &Lens}) {
    const double Even = geo::Area(geoalg::OverlayContours(*C, {}, TOverlayOp::Union));
    EXPECT_NEAR(geo::Area(geoalg::UniteContours({C})), Even, 1e-12 * Even);
  }
  EXPECT_NEAR(geo::Area(geoalg::UniteContours({&Bow})), 2, 1e-12);
}

TEST(Overlay, ManyContourUnionAgainstGeosAndTheFoldingUnion) {
  std::mt19937 Rng(14);
  for (int Round = 0; Round < 8; ++Round) {
    SCOPED_TRACE("round " + std::to_string(Round));
    const TDPoint O = Round % 2 ? Far : TDPoint{0, 0};
    std::vector<TContour> Inputs;
    for (int K = 0; K < 30; ++K) {
      const TDPoint C{O.X + Uniform(Rng, -50, 50), O.Y + Uniform(Rng, -50, 50)};
      if (Round < 4)
        Inputs.push_back(Round % 4 == 1 ? StarWithHoles(Rng, C, 20, 12, 1) : Star(Rng, C, 15, 9));
      else
        AddDisc(Inputs.emplace_back(), C, Uniform(Rng, 2, 12));
    }
    std::vector<const TContour*> Ptrs;
    for (const TContour& C : Inputs) Ptrs.push_back(&C);
    const TContour U = geoalg::UniteContours(Ptrs);
    const double Area = oracle::EnclosedArea(U);
    EXPECT_NEAR(geo::Area(U), Area, 1e-9 * Area);
    if (Round < 4) {
      EXPECT_NEAR(Area, oracle::GeosUnionArea(Ptrs), 1e-9 * Area);
    } else {
      geoalg::TGUnionGraphBigReference Big;
      Big.SplitTolerance = 1e-4;
      for (const TContour& C : Inputs) Big.Add(C);
      EXPECT_NEAR(Area, oracle::EnclosedArea(Big.Result), 1e-9 * Area);
    }
    // Membership: inside the union exactly when inside some input.
    std::vector<oracle::Membership> M;
    for (const TContour& C : Inputs) M.emplace_back(C);
    const oracle::Membership MU(U);
    for (int K = 0; K < 300; ++K) {
      const TDPoint P{O.X + Uniform(Rng, -70, 70), O.Y + Uniform(Rng, -70, 70)};
      bool In = false, Clear = MU.Distance(P) > 1e-3;
      for (const auto& X : M) {
        In = In || X.Inside(P);
        Clear = Clear && X.Distance(P) > 1e-3;
      }
      if (Clear) {
        ASSERT_EQ(MU.Inside(P), In) << P.X << " " << P.Y;
      }
    }
  }
}

}  // namespace
