#include "addonlib/geometry/rec_list.h"

#include <gtest/gtest.h>

#include "tests/geometry/test_util.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <random>
#include <vector>

#include "addonlib/geometry/typed_lists.h"

namespace {

using namespace geo;

using geo::test::MessageOf;

std::vector<int32_t> Values(const TLongintList& L) {
  return std::vector<int32_t>(L.List(), L.List() + L.Count());
}

TEST(LongintList, SortedAddUnderEachDuplicatesPolicy) {
  TLongintList Ignore;
  Ignore.SetSorted(true);
  EXPECT_EQ(Ignore.Add(5), 0);
  EXPECT_EQ(Ignore.Add(3), 0);
  EXPECT_EQ(Ignore.Add(5), 1);  // found, not inserted
  EXPECT_EQ(Values(Ignore), (std::vector<int32_t>{3, 5}));
  EXPECT_EQ(Ignore.IndexOf(5), 1);
  EXPECT_EQ(Ignore.IndexOf(4), -1);

  TLongintList Error;
  Error.SetDuplicates(dpError);
  Error.SetSorted(true);
  Error.Add(5);
  Error.Add(3);
  EXPECT_EQ(MessageOf([&] { Error.Add(5); }), "Значение уже имеется в списке");
  EXPECT_EQ(Values(Error), (std::vector<int32_t>{3, 5}));

  TLongintList Accept;
  Accept.SetDuplicates(dpAccept);
  Accept.SetSorted(true);
  for (int32_t V : {5, 3, 5, 4, 5}) Accept.Add(V);
  EXPECT_EQ(Values(Accept), (std::vector<int32_t>{3, 4, 5, 5, 5}));
  // An accepted duplicate goes before its equal run, and Find reports the run's start.
  EXPECT_EQ(Accept.Add(5), 2);
  int32_t Index = -1;
  EXPECT_TRUE(Accept.Find(5, Index));
  EXPECT_EQ(Index, 2);
  EXPECT_FALSE(Accept.Find(6, Index));
  EXPECT_EQ(Index, 6);
}

TEST(LongintList, SortingOnOffAndNullCompare) {
  TLongintList L;
  for (int32_t V : {4, -7, 9, 0, 4, 2}) L.Add(V);
  int Changes = 0;
  L.OnChange = [&](TListBase*) { ++Changes; };
  L.SetSorted(true);
  EXPECT_EQ(Values(L), (std::vector<int32_t>{-7, 0, 2, 4, 4, 9}));
  EXPECT_EQ(Changes, 1);  // one notification for the whole sort
  L.Sort();               // already sorted: nothing happens
  EXPECT_EQ(Changes, 1);
  L.SetSorted(false);
  L.Add(1);
  EXPECT_EQ(Values(L), (std::vector<int32_t>{-7, 0, 2, 4, 4, 9, 1}));

  // A reversed compare sorts descending; the sort goes through Compare.
  TLongintList R;
  R.Compare = [](int32_t A, int32_t B) { return DefaultLongintCompare(B, A); };
  for (int32_t V : {1, 3, 2}) R.Add(V);
  R.SetSorted(true);
  EXPECT_EQ(Values(R), (std::vector<int32_t>{3, 2, 1}));

  TLongintList N;
  N.Add(2);
  N.Add(1);
  N.Compare = nullptr;
  EXPECT_EQ(MessageOf([&] { N.SetSorted(true); }),
            "Не установлена функция сравнения у TLongintList");
  EXPECT_EQ(MessageOf([&] { N.IndexOf(1); }), "Не установлена функция сравнения у TLongintList");
  EXPECT_FALSE(N.Sorted());
  EXPECT_EQ(N.UpdateCount(), 0);
}

TEST(LongintList, QuickSortMatchesStdSortOnRandomInput) {
  std::mt19937 Rng(7);
  for (int Round = 0; Round < 50; ++Round) {
    TLongintList L;
    std::vector<int32_t> Ref;
    const int N = static_cast<int>(Rng() % 200);
    for (int I = 0; I < N; ++I) {
      const int32_t V = static_cast<int32_t>(Rng() % 50) - 25;
      L.Add(V);
      Ref.push_back(V);
    }
    L.SetSorted(true);
    std::sort(Ref.begin(), Ref.end());
    ASSERT_EQ(Values(L), Ref);
  }
}

TEST(LongintList, IndexErrorsCarryIndexAndBound) {
  TLongintList L;
  for (int32_t V : {10, 20, 30}) L.Add(V);
  EXPECT_EQ(MessageOf([&] { L.Items(3); }), "Индекс массива 3 выходит за пределы [0, 2]");
  EXPECT_EQ(MessageOf([&] { L.Delete(-1); }), "Индекс массива -1 выходит за пределы [0, 2]");
  EXPECT_EQ(MessageOf([&] { L.Exchange(0, 3); }), "Индекс массива 3 выходит за пределы [0, 2]");
  EXPECT_EQ(MessageOf([&] { L.Put(5, 1); }), "Индекс массива 5 выходит за пределы [0, 2]");
  // InsertItem may append, so its bound is Count + 1.
  EXPECT_EQ(MessageOf([&] { L.InsertItem(4, 1); }), "Индекс массива 4 выходит за пределы [0, 3]");
  L.InsertItem(3, 40);
  L.InsertItem(0, 0);
  EXPECT_EQ(Values(L), (std::vector<int32_t>{0, 10, 20, 30, 40}));
  TLongintList Empty;
  EXPECT_EQ(MessageOf([&] { Empty.Items(0); }), "Индекс массива 0 выходит за пределы [0, -1]");
}

TEST(LongintList, NotificationsAndUpdateCounter) {
  TLongintList L;
  std::vector<std::string> Log;
  L.OnChanging = [&](TListBase* S) {
    EXPECT_EQ(S, &L);
    Log.push_back("changing");
  };
  L.OnChange = [&](TListBase*) { Log.push_back("change"); };
  L.Add(1);
  EXPECT_EQ(Log, (std::vector<std::string>{"changing", "change"}));
  Log.clear();
  L.BeginUpdate();
  L.BeginUpdate();
  L.Add(2);
  L.Add(3);
  L.Delete(0);
  L.EndUpdate();
  EXPECT_EQ(Log, (std::vector<std::string>{"changing"}));
  L.EndUpdate();
  EXPECT_EQ(Log, (std::vector<std::string>{"changing", "change"}));
  Log.clear();
  L.Clear();
  EXPECT_EQ(Log, (std::vector<std::string>{"changing", "change"}));
  EXPECT_EQ(L.Count(), 0);
  EXPECT_EQ(L.Capacity(), 16);  // Clear keeps the block
}

TEST(LongintList, CapacityGrowsByDeltaAndAssign) {
  TLongintList L;
  for (int32_t I = 0; I < 17; ++I) L.Add(I);
  EXPECT_EQ(L.Capacity(), 32);
  L.SetCapacity(18);  // exactly N when above Count, even if smaller
  EXPECT_EQ(L.Capacity(), 18);
  L.SetCapacity(17);  // not above Count: nothing
  EXPECT_EQ(L.Capacity(), 18);
  // Inserting an element of the list itself survives the block moving.
  L.InsertItem(0, L.Items(16));
  EXPECT_EQ(L.Items(0), 16);

  TLongintList Copy;
  Copy.Add(99);
  int Notified = 0;
  Copy.OnChange = [&](TListBase*) { ++Notified; };
  Copy.Assign(L);
  EXPECT_EQ(Values(Copy), Values(L));
  EXPECT_EQ(Notified, 1);

  TRecList Other(4);
  EXPECT_EQ(MessageOf([&] { Other.Assign(L); }), "Cannot assign a TLongintList to a TRecList");
}

TEST(RecList, BytewiseOrderAndCustomCompare) {
  TRecList L(sizeof(int32_t));
  for (int32_t V : {1, 256, 2}) L.Add(&V);
  L.SetSorted(true);
  // Little-endian bytes: 256 is 00 01 00 00, so it sorts before 1 and 2.
  std::vector<int32_t> Got;
  for (int32_t I = 0; I < L.Count(); ++I) Got.push_back(*static_cast<int32_t*>(L.Get(I)));
  EXPECT_EQ(Got, (std::vector<int32_t>{256, 1, 2}));
  EXPECT_LT(CompareBytes("\x00\xff", "\x01\x00", 2), 0);
  EXPECT_GT(CompareBytes("\x80", "\x7f", 1), 0);  // unsigned bytes

  struct Pair {
    int32_t Key;
    int32_t Payload;
  };
  TRecList P(sizeof(Pair));
  P.Compare = [](const void* A, const void* B) -> int32_t {
    return DefaultLongintCompare(static_cast<const Pair*>(A)->Key,
                                 static_cast<const Pair*>(B)->Key);
  };
  P.SetDuplicates(dpAccept);
  P.SetSorted(true);
  for (Pair X : {Pair{3, 0}, Pair{1, 1}, Pair{3, 2}, Pair{2, 3}}) P.Add(&X);
  std::vector<int32_t> Payloads;
  for (int32_t I = 0; I < P.Count(); ++I) Payloads.push_back(static_cast<Pair*>(P.Get(I))->Payload);
  EXPECT_EQ(Payloads, (std::vector<int32_t>{1, 3, 2, 0}));  // later duplicate first
}

TEST(TypedLists, ToleranceEquality) {
  TTDPointList Points;
  Points.Add({10.0, 20.0});
  Points.Add({500000.25, 6000000.5});
  EXPECT_EQ(Points.IndexOf({10.0 + 5E-7, 20.0 - 5E-7}), 0);
  EXPECT_EQ(Points.IndexOf({10.0 + 2E-6, 20.0}), -1);
  EXPECT_EQ(Points.IndexOf({10.0, 20.0 + 1E-6}), -1);  // strict: exactly the tolerance differs
  EXPECT_EQ(Points.IndexOf({500000.25 + 5E-7, 6000000.5}), 1);

  const auto Unknown = static_cast<TConnectKind>(7);
  TGConnectBriefList Loose;
  TGConnectBriefListStrict Strict;
  for (TGConnectBriefList* L :
       {static_cast<TGConnectBriefList*>(&Loose), static_cast<TGConnectBriefList*>(&Strict)}) {
    L->Add({1, 2, TConnectKind::Arc, 0.5});
    L->Add({1, 2, TConnectKind::Line, 0.7});
    L->Add({3, 4, Unknown, 0.0});
  }
  const TGConnectBrief NearArc{1, 2, TConnectKind::Arc, 0.5 + 5E-10};
  EXPECT_EQ(Loose.IndexOf(NearArc), 0);
  EXPECT_EQ(Strict.IndexOf(NearArc), -1);
  EXPECT_EQ(Loose.IndexOf({1, 2, TConnectKind::Arc, 0.5 + 2E-9}), -1);
  EXPECT_EQ(Strict.IndexOf({1, 2, TConnectKind::Arc, 0.5}), 0);
  EXPECT_EQ(Loose.IndexOf({1, 2, TConnectKind::Line, -3.0}), 1);  // straight: convexity ignored
  EXPECT_EQ(Loose.IndexOf({2, 1, TConnectKind::Arc, -0.5}), -1);  // reversed is another edge
  EXPECT_EQ(Loose.IndexOf({3, 4, Unknown, 0.0}), -1);             // unknown kind never equal

  TTMGullyElemList Gully;
  Gully.Add(MakeGullyElem({1, 1}, 4, 5));
  EXPECT_EQ(Gully.IndexOf(MakeGullyElem({1 + 5E-7, 1}, 4, -1)), 0);  // Index2 not compared
  EXPECT_EQ(Gully.IndexOf(MakeGullyElem({1, 1}, 3, 5)), -1);
  Gully.Put(0, MakeGullyElem({2, 2}, 1, -1));
  TMGullyElem E;
  Gully.Get(0, E);
  EXPECT_EQ(E.Point.X, 2);
  EXPECT_EQ(E.Index2, -1);

  TGBelongEdgePairList Belong;
  Belong.Add(TGBelongEdgePairList::FromWord(0x0201));
  EXPECT_EQ(Belong.Items(0).Belong[0], TEdgeSide::Right);
  EXPECT_EQ(Belong.Items(0).Belong[1], TEdgeSide::None);
  EXPECT_EQ(TGBelongEdgePairList::AsWord(Belong.Items(0)), 0x0201);
  EXPECT_EQ(Belong.IndexOf({{TEdgeSide::None, TEdgeSide::Right}}), -1);

  TDoubleList D;
  D.Add(1.5);
  D.Add(-2.0);
  EXPECT_EQ(D.Items(1), -2.0);
  EXPECT_EQ(D.IndexOf(-2.0), 1);
}

TEST(TypedLists, ConnectLongOwnsItsEdgeList) {
  // Run under AddressSanitizer: a leak or a double free fails the suite.
  TGConnectLongList Longs;
  for (int32_t I = 0; I < 4; ++I) {
    TGConnectLong L;
    L.V1 = I;
    L.V2 = I + 1;
    L.List().Add(I * 10);
    Longs.Add(L);  // a copy: L keeps its own list
    EXPECT_EQ(Values(L.List()), std::vector<int32_t>{I * 10});
  }
  TGConnectLong Copy;
  Longs.Get(1, Copy);
  EXPECT_EQ(Longs.IndexOf(Copy), 1);
  Copy.List().Add(11);  // the copy's list is its own
  EXPECT_EQ(Longs.Ptr(1)->List().Count(), 1);
  EXPECT_EQ(Longs.IndexOf(Copy), -1);  // other edges, another chain
  Longs.Put(1, Copy);                  // frees the replaced list
  EXPECT_EQ(Longs.IndexOf(Copy), 1);
  EXPECT_EQ(Values(Longs.Ptr(1)->List()), (std::vector<int32_t>{10, 11}));
  TGConnectLong Other = Copy;
  Other.Init();
  EXPECT_EQ(Other.List().Count(), 0);
  EXPECT_EQ(Copy.List().Count(), 2);
  // Moving hands the list over.
  const TLongintList* Moved = &Other.List();
  Longs.Put(2, std::move(Other));
  EXPECT_EQ(&Longs.Ptr(2)->List(), Moved);

  Longs.Delete(0);
  EXPECT_EQ(Longs.Count(), 3);
  EXPECT_EQ(Longs.Ptr(0)->V1, 1);
  EXPECT_THROW(Longs.Delete(3), EArray);
  EXPECT_THROW(Longs.Ptr(3), EArray);
  EXPECT_THROW(Longs.Sort(), EArray);  // equality only, no order

  // Assigning copies every chain with a list of its own.
  TGConnectLongList Target;
  Target.Assign(Longs);
  ASSERT_EQ(Target.Count(), 3);
  Target.Ptr(0)->List().Add(99);
  EXPECT_EQ(Values(Longs.Ptr(0)->List()), (std::vector<int32_t>{10, 11}));
  EXPECT_EQ(Target.Ptr(2)->V2, 4);
  TLongintList Plain;
  EXPECT_THROW(Plain.Assign(Longs), core::EConvertError);

  Target.KeepIf([](int32_t I, const TGConnectLong& L) { return I != 1 && L.V1 != 3; });
  ASSERT_EQ(Target.Count(), 1);
  EXPECT_EQ(Values(Target.Ptr(0)->List()), (std::vector<int32_t>{10, 11, 99}));

  Longs.Clear();
  EXPECT_EQ(Longs.Count(), 0);
  Longs.Add(TGConnectLong());  // freed by the destructor
}

}  // namespace
