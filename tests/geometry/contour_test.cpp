#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "addonlib/geometry/arc.h"
#include "addonlib/geometry/complex_enum.h"
#include "addonlib/geometry/contour.h"
#include "addonlib/geometry/contour_split.h"
#include "addonlib/geometry/typed_lists.h"
#include "core/exception.h"
#include "test_util.h"

namespace geo {
namespace {

using test::MessageOf;

const double kPi = 3.14159265358979323846;

// Every arc command's cache must be what GetCenter2 gives for its edge, the
// edge found by replaying the pen independently of the contour's own walk.
void ExpectConsistent(const TContour& C) {
  int32_t Points = 0;
  std::vector<bool> ArcUsed(static_cast<size_t>(C.ArcCount()), false);
  TDPoint Start{0, 0}, Pen{0, 0};
  for (int32_t I = 0; I < C.CommandCount(); ++I) {
    const TContourCmdRec& R = C.CmdRec(I);
    if (IsToKind(R.Kind)) ++Points;
    ASSERT_EQ(IsArcKind(R.Kind), R.ArcIndex != NoArc) << I;
    TDPoint From = Pen;
    if (I == 0 || R.Kind == ccMoveTo) {
      Start = Pen = R.Point;
      continue;
    }
    const TDPoint To = IsCloseKind(R.Kind) ? Start : R.Point;
    Pen = To;
    if (R.ArcIndex == NoArc) continue;
    ASSERT_LT(R.ArcIndex, ArcUsed.size());
    ASSERT_FALSE(ArcUsed[R.ArcIndex]) << "shared arc record";
    ArcUsed[R.ArcIndex] = true;
    const TContourArcRec& A = C.ArcRec(R.ArcIndex);
    if (std::fabs(A.Convexity) <= 1E-15) continue;
    double Sweep;
    TDPoint Center;
    ASSERT_TRUE(GetCenter2(From, To, Sweep, A.Convexity, Center))
        << "arc with coinciding ends " << I;
    EXPECT_EQ(A.Center.X, Center.X) << I;
    EXPECT_EQ(A.Center.Y, Center.Y) << I;
    EXPECT_EQ(A.Angle, Sweep) << I;
    EXPECT_EQ(A.Radius, Distance(Center, From)) << I;
  }
  EXPECT_EQ(C.PointCount(), Points);
}

TEST(Contour, BuildsArcCacheAndDegradesFlatArcs) {
  TContour C;
  C.AddMoveTo({0, 0});
  C.AddArcTo({2, 0}, 1);
  EXPECT_EQ(C.AddCloseArc(1), 2);
  EXPECT_EQ(C.PointCount(), 2);
  EXPECT_EQ(C.CommandCount(), 3);
  for (int32_t I : {1, 2}) {
    const TContourArcRec& A = C.ArcRec(C.CmdRec(I).ArcIndex);
    EXPECT_NEAR(A.Center.X, 1, 1E-15);
    EXPECT_NEAR(A.Center.Y, 0, 1E-15);
    EXPECT_NEAR(A.Radius, 1, 1E-15);
    EXPECT_NEAR(A.Angle, kPi, 1E-15);
  }
  ExpectConsistent(C);
  // An arc back to the current point cannot be drawn: it becomes a line.
  C.AddArcTo({0, 0}, 0.5);
  EXPECT_EQ(C.GetCommand(3).Kind, ccLineTo);
  EXPECT_EQ(C.GetCommand(3).Convexity, 0.0);
  EXPECT_EQ(C.ArcCount(), 3);  // its record stays behind
  EXPECT_EQ(C.GetCommand(1).Convexity, 1.0);
  EXPECT_EQ(MessageOf([&] { C.GetCommand(4); }), "Нет команды с таким индексом");
  EXPECT_EQ(MessageOf([&] { C.GetCommand(-1); }), "Нет команды с таким индексом");
  EXPECT_EQ(MessageOf([&] { C.DeleteCommand(4); }), "Неверный индекс удаляемой команды");
  EXPECT_EQ(MessageOf([&] { C.ReplaceCommand(4, MakeClose()); }),
            "Неверный индекс изменяемой команды");
  EXPECT_THROW(C.InsertCommand(5, MakeArcTo({1, 1}, 0.5)), ERecArray);
  EXPECT_EQ(C.ArcCount(), 3);  // no orphan from the failed insertion
  EXPECT_EQ(C.CommandCount(), 4);
  EXPECT_TRUE(LastIsClose(C) == false);

  TContour D;
  D.Assign(&C);
  EXPECT_EQ(D.CommandCount(), 4);
  EXPECT_EQ(D.PointCount(), 3);
  D.Assign(&D);
  EXPECT_EQ(D.CommandCount(), 4);
  D.Assign(nullptr);
  EXPECT_EQ(D.CommandCount(), 0);
  EXPECT_EQ(D.PointCount(), 0);
  EXPECT_FALSE(LastIsClose(D));
}

TEST(Contour, EditingRefreshesDependentArcs) {
  TContour C;
  C.AddMoveTo({0, 0});
  C.AddArcTo({2, 0}, 1);
  C.AddCloseArc(1);
  EXPECT_FALSE(C.ReplaceCommand(0, MakeMoveTo({5E-7, 0})));  // equal: nothing
  EXPECT_EQ(C.GetCommand(0).Point.X, 0.0);
  // Moving the start of the lens moves both arcs' ends. Done as delete then
  // insert with refreshes in between, the closing arc would momentarily run
  // from (2, 0) to (2, 0) and be lost.
  EXPECT_TRUE(C.ReplaceCommand(0, MakeMoveTo({0, 2})));
  EXPECT_EQ(C.GetCommand(2).Kind, ccCloseArc);
  EXPECT_EQ(C.GetCommand(2).Convexity, 1.0);
  ExpectConsistent(C);

  // Deleting the first of two arcs renumbers the second's record.
  TContour D;
  D.AddMoveTo({0, 0});
  D.AddArcTo({2, 0}, 0.5);
  D.AddArcTo({4, 0}, -0.5);
  D.DeleteCommand(1);
  EXPECT_EQ(D.CmdRec(1).ArcIndex, 0u);
  EXPECT_EQ(D.GetCommand(1).Convexity, -0.5);
  EXPECT_NEAR(D.ArcRec(0).Center.X, 2, 1E-12);  // now the arc (0,0)-(4,0)
  ExpectConsistent(D);

  // Deleting a part's ccMoveTo hands its pieces to the pen of the part
  // before: the first of them now starts elsewhere.
  TContour E;
  E.AddMoveTo({0, 0});
  E.AddLineTo({4, 0});
  E.AddClose();
  E.AddMoveTo({10, 0});
  E.AddArcTo({10, 5}, 0.4);
  E.AddCloseArc(0.7);
  E.DeleteCommand(3);
  ExpectConsistent(E);
}

// Random edits with points on a coarse grid, so that ends often coincide:
// after every step every cached arc must match its edge.
TEST(Contour, RandomEditsKeepArcCachesConsistent) {
  std::mt19937 Rng(2024);
  std::uniform_int_distribution<int> Coord(0, 3);
  std::uniform_int_distribution<int> KindD(0, 9);
  std::uniform_real_distribution<double> Conv(-2, 2);
  auto RandomCmd = [&] {
    const TDPoint P{500000 + Coord(Rng) * 1.0, 6000000 + Coord(Rng) * 1.0};
    const double Cv = Conv(Rng) + 0.01;
    switch (KindD(Rng)) {
      case 0:
        return MakeMoveTo(P);
      case 1:
      case 2:
        return MakeLineTo(P);
      case 3:
        return MakeClose();
      case 4:
        return MakeCloseArc(Cv);
      default:
        return MakeArcTo(P, Cv);
    }
  };
  // R gets the same edits with room reserved now and then: room changes
  // nothing but where the records live.
  auto ExpectSame = [](const TContour& A, const TContour& B) {
    ASSERT_EQ(A.CommandCount(), B.CommandCount());
    ASSERT_EQ(A.ArcCount(), B.ArcCount());
    EXPECT_EQ(A.PointCount(), B.PointCount());
    for (int32_t I = 0; I < A.CommandCount(); ++I) {
      EXPECT_EQ(A.CmdRec(I).Kind, B.CmdRec(I).Kind) << I;
      EXPECT_EQ(A.CmdRec(I).ArcIndex, B.CmdRec(I).ArcIndex) << I;
      EXPECT_EQ(A.CmdRec(I).Point.X, B.CmdRec(I).Point.X) << I;
      EXPECT_EQ(A.CmdRec(I).Point.Y, B.CmdRec(I).Point.Y) << I;
    }
    for (int32_t I = 0; I < A.ArcCount(); ++I) {
      const TContourArcRec &X = A.ArcRec(static_cast<uint32_t>(I)),
                           &Y = B.ArcRec(static_cast<uint32_t>(I));
      EXPECT_EQ(X.Convexity, Y.Convexity) << I;
      EXPECT_EQ(X.Center.X, Y.Center.X) << I;
      EXPECT_EQ(X.Angle, Y.Angle) << I;
    }
  };
  for (int Round = 0; Round < 40; ++Round) {
    TContour C, R;
    for (int Step = 0; Step < 120; ++Step) {
      const int32_t N = C.CommandCount();
      const int Op = N == 0 ? 0 : static_cast<int>(Rng() % 4);
      if (Rng() % 8 == 0)
        R.Reserve(static_cast<int32_t>(Rng() % 12), static_cast<int32_t>(Rng() % 6));
      const TComplexCommand Cmd = RandomCmd();
      const int32_t At = static_cast<int32_t>(Rng() % (N + 1));
      if (Op == 0) {
        C.AddCommand(Cmd);
        R.AddCommand(Cmd);
      } else if (Op == 1) {
        C.InsertCommand(At, Cmd);
        R.InsertCommand(At, Cmd);
      } else if (Op == 2) {
        C.DeleteCommand(At % N);
        R.DeleteCommand(At % N);
      } else {
        C.ReplaceCommand(At % N, Cmd);
        R.ReplaceCommand(At % N, Cmd);
      }
      ExpectConsistent(C);
      ExpectSame(C, R);
      if (HasFatalFailure() || HasFailure()) FAIL() << "round " << Round << " step " << Step;
    }
  }
}

TEST(Contour, CommandLevelOperations) {
  EXPECT_EQ(MessageOf([] { GetPointOfComplexCommand(MakeClose()); }),
            "GetPointOfComplexCommand: команда не является ***To");
  EXPECT_EQ(GetPointOfComplexCommand(MakeArcTo({1, 2}, 0.3)).Y, 2.0);
  EXPECT_EQ(MakeCloseByCommand(MakeLineTo({1, 1})).Kind, ccClose);
  EXPECT_EQ(MakeCloseByCommand(MakeArcTo({1, 1}, 0.25)).Kind, ccCloseArc);
  EXPECT_EQ(MakeCloseByCommand(MakeArcTo({1, 1}, 0.25)).Convexity, 0.25);
  EXPECT_EQ(MakeCloseByCommand(MakeCloseArc(0.5)).Convexity, 0.5);
  EXPECT_EQ(MessageOf([] {
              MakeCloseByCommand(MakeMoveTo({0, 0}));
            }),
            "MakeCloseByCommand: команда не должна быть Переход");
  EXPECT_TRUE(CommandsEqual(MakeClose(), MakeClose()));
  EXPECT_TRUE(CommandsEqual(MakeLineTo({0, 0}), MakeLineTo({9E-7, 0})));
  EXPECT_FALSE(CommandsEqual(MakeLineTo({0, 0}), MakeMoveTo({0, 0})));
  EXPECT_FALSE(CommandsEqual(MakeArcTo({0, 0}, 0.5), MakeArcTo({0, 0}, 0.5 + 1E-16)));
  EXPECT_FALSE(CommandsEqual(MakeCloseArc(0.5), MakeCloseArc(0.25)));
  EXPECT_TRUE(IsToCommand(MakeArcTo({0, 0}, 1)) && IsCloseCommand(MakeCloseArc(1)));
}

TEST(Contour, EnumeratorYieldsEdgesAndEnforcesSequence) {
  TContour C;
  C.AddMoveTo({0, 0});
  C.AddLineTo({4, 0});
  C.AddLineTo({4, 5E-7});  // same point: passed over
  C.AddArcTo({4, 4}, 0.5);
  C.AddCloseArc(-0.25);
  C.AddMoveTo({10, 10});
  C.AddLineTo({11, 10});
  TGComplexEnumerater E(C);
  std::vector<TGConnectFull> Got;
  TGConnectFull F;
  while (E.Next(F)) Got.push_back(F);
  ASSERT_EQ(Got.size(), 4u);
  EXPECT_EQ(Got[1].P1.Y, 0.0);  // the skipped piece left the pen where it was
  EXPECT_EQ(Got[1].Kind, TConnectKind::Arc);
  EXPECT_EQ(Got[1].Convexity, 0.5);
  EXPECT_EQ(Got[2].P2.X, 0.0);
  EXPECT_EQ(Got[2].Kind, TConnectKind::Arc);
  EXPECT_EQ(Got[2].Convexity, -0.25);
  EXPECT_EQ(Got[3].P1.X, 10.0);
  EXPECT_EQ(Got[3].Kind, TConnectKind::Line);

  TContour Twice;
  Twice.AddMoveTo({0, 0});
  Twice.AddLineTo({1, 0});
  Twice.AddClose();
  Twice.AddClose();
  TGComplexEnumerater E2(Twice);
  EXPECT_EQ(MessageOf([&] {
              while (E2.Next(F)) {
              }
            }),
            "Две команды 'Замкнуть подряд'");
  TContour First;
  First.AddClose();
  First.AddLineTo({1, 0});
  TGComplexEnumerater E3(First);
  EXPECT_EQ(MessageOf([&] { E3.Next(F); }), "Первая команда не должна быть 'Замкнуть'");
}

std::vector<TComplexCommand> CommandsOf(const TContour& C) {
  std::vector<TComplexCommand> R;
  for (int32_t I = 0; I < C.CommandCount(); ++I) R.push_back(C.GetCommand(I));
  return R;
}

void ExpectSameCommands(const TContour& A, const TContour& B) {
  const auto CA = CommandsOf(A), CB = CommandsOf(B);
  ASSERT_EQ(CA.size(), CB.size());
  for (size_t I = 0; I < CA.size(); ++I) {
    EXPECT_EQ(CA[I].Kind, CB[I].Kind) << I;
    if (IsToKind(CA[I].Kind)) {
      EXPECT_EQ(CA[I].Point.X, CB[I].Point.X) << I;
      EXPECT_EQ(CA[I].Point.Y, CB[I].Point.Y) << I;
    }
    EXPECT_EQ(CA[I].Convexity, CB[I].Convexity) << I;
  }
}

TEST(ContourSplit, PartsAndValidity) {
  TContour C;
  test::BuildThreeParts(C);
  TContourList L;
  SplitIntoParts(C, L);
  ASSERT_EQ(L.size(), 3u);
  EXPECT_EQ(L[0]->CommandCount(), 3);
  ASSERT_EQ(L[1]->CommandCount(), 2);
  EXPECT_EQ(L[1]->GetCommand(0).Kind, ccMoveTo);  // where the pen rests
  EXPECT_EQ(L[1]->GetCommand(0).Point.X, 0.0);
  EXPECT_EQ(L[2]->GetCommand(0).Point.X, 5.0);
  FreeContourList(L);
  TContour Open;
  Open.AddLineTo({3, 3});
  Open.AddLineTo({4, 3});
  SplitIntoParts(Open, L);
  ASSERT_EQ(L.size(), 1u);
  EXPECT_EQ(L[0]->GetCommand(0).Kind, ccMoveTo);
  EXPECT_EQ(L[0]->GetCommand(0).Point.X, 3.0);
  EXPECT_EQ(L[0]->CommandCount(), 3);

  TContour V;
  V.AddMoveTo({0, 0});
  V.AddArcTo({2, 0}, 0.5);
  V.AddCloseArc(-0.5);
  EXPECT_FALSE(IsValidPart(V));  // the closing arc retraces the first
  V.ReplaceCommand(2, MakeCloseArc(0.5));
  EXPECT_TRUE(IsValidPart(V));  // a lens
  TContour S;
  S.AddMoveTo({0, 0});
  S.AddLineTo({2, 0});
  EXPECT_FALSE(IsValidPart(S));
  S.AddClose();
  EXPECT_FALSE(IsValidPart(S));
  S.ReplaceCommand(2, MakeLineTo({2, 2}));
  EXPECT_TRUE(IsValidPart(S));
  TContour Bad;
  Bad.AddClose();
  Bad.AddLineTo({1, 1});
  Bad.AddLineTo({2, 1});
  EXPECT_EQ(MessageOf([&] { IsValidPart(Bad); }), "Первая команда 'Замкнуть'");
}

TEST(ContourSplit, LoopsAtRepeatedVertices) {
  TContour P;
  P.AddMoveTo({0, 0});
  for (const TDPoint& Q :
       {TDPoint{2, 0}, TDPoint{1, 1}, TDPoint{2, 2}, TDPoint{0, 2}, TDPoint{1, 1}})
    P.AddLineTo(Q);
  P.AddClose();
  TContourList L;
  SplitLoops(P, L);
  ASSERT_EQ(L.size(), 2u);
  TContour T1, T2;
  T1.AddMoveTo({1, 1});
  T1.AddLineTo({2, 2});
  T1.AddLineTo({0, 2});
  T1.AddClose();
  T2.AddMoveTo({0, 0});
  T2.AddLineTo({2, 0});
  T2.AddLineTo({1, 1});
  T2.AddClose();
  ExpectSameCommands(*L[0], T1);
  ExpectSameCommands(*L[1], T2);

  // A crossing that is not a shared vertex is not split.
  TContour Bow;
  Bow.AddMoveTo({0, 0});
  Bow.AddLineTo({2, 2});
  Bow.AddLineTo({2, 0});
  Bow.AddLineTo({0, 2});
  Bow.AddClose();
  FreeContourList(L);
  SplitLoops(Bow, L);
  ASSERT_EQ(L.size(), 1u);
  ExpectSameCommands(*L[0], Bow);

  TContour Mid;
  Mid.AddMoveTo({0, 0});
  Mid.AddLineTo({2, 0});
  Mid.AddClose();
  Mid.AddLineTo({0, 2});
  FreeContourList(L);
  EXPECT_EQ(MessageOf([&] { SplitLoops(Mid, L); }),
            "Команда Замкнуть не является последней командой");
}

// The procedure as first written: restart the search on the remainder after
// every loop, finding repeats with the point list's linear IndexOf.
void ReferenceSplitLoops(const TContour& Part, TContourList& List) {
  TContour C;
  C.Assign(&Part);
  if (C.CommandCount() > 0 && IsPieceKind(C.GetCommand(0).Kind))
    C.ReplaceCommand(0, MakeMoveTo(C.GetCommand(0).Point));
  while (IsValidPart(C)) {
    TTDPointList Seen;
    int32_t I = 0, J = -1;
    for (; I < C.CommandCount(); ++I) {
      const TComplexCommand Cmd = C.GetCommand(I);
      if (IsCloseKind(Cmd.Kind)) {
        if (I != C.CommandCount() - 1)
          throw core::Exception("Команда Замкнуть не является последней командой");
        continue;
      }
      J = Seen.IndexOf(Cmd.Point);
      if (J >= 0) break;
      Seen.Add(Cmd.Point);
    }
    if (J < 0) {
      auto Copy = std::make_unique<TContour>();
      Copy->Assign(&C);
      List.push_back(std::move(Copy));
      return;
    }
    auto B = std::make_unique<TContour>();
    TContour A;
    B->AddMoveTo(C.GetCommand(J).Point);
    for (int32_t K = J + 1; K < I; ++K) B->AddCommand(C.GetCommand(K));
    B->AddCommand(MakeCloseByCommand(C.GetCommand(I)));
    for (int32_t K = 0; K <= J; ++K) A.AddCommand(C.GetCommand(K));
    for (int32_t K = I + 1; K < C.CommandCount(); ++K) A.AddCommand(C.GetCommand(K));
    if (IsValidPart(*B)) List.push_back(std::move(B));
    C.Assign(&A);
  }
}

TEST(ContourSplit, LoopsMatchRestartingReference) {
  std::mt19937 Rng(77);
  std::uniform_int_distribution<int> Coord(0, 4);
  std::uniform_real_distribution<double> Conv(-1.5, 1.5);
  for (int Round = 0; Round < 300; ++Round) {
    TContour P;
    // Jitter below the point tolerance: repeats are found by SamePoint, not
    // by exact equality, and across grid cells.
    std::uniform_real_distribution<double> Jit(-4E-7, 4E-7);
    auto Pt = [&] {
      return TDPoint{500000 + Coord(Rng) + Jit(Rng), 6000000 + Coord(Rng) + Jit(Rng)};
    };
    P.AddMoveTo(Pt());
    const int N = 2 + Round % 25;
    for (int I = 0; I < N; ++I) {
      if (Rng() % 3 == 0)
        P.AddArcTo(Pt(), Conv(Rng) + 0.05);
      else
        P.AddLineTo(Pt());
    }
    if (Round % 4 != 3) {
      if (Rng() % 2)
        P.AddClose();
      else
        P.AddCloseArc(0.3);
    }
    TContourList Got, Want;
    std::string GotErr = MessageOf([&] { SplitLoops(P, Got); });
    std::string WantErr = MessageOf([&] { ReferenceSplitLoops(P, Want); });
    EXPECT_EQ(GotErr, WantErr) << Round;
    ASSERT_EQ(Got.size(), Want.size()) << Round;
    for (size_t K = 0; K < Got.size(); ++K) ExpectSameCommands(*Got[K], *Want[K]);
  }
}

}  // namespace
}  // namespace geo
