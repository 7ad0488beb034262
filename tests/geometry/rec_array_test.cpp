#include "addonlib/geometry/rec_array.h"

#include <gtest/gtest.h>

#include "tests/geometry/test_util.h"

#include <functional>
#include <numeric>
#include <vector>

namespace {

using geo::ERecArray;
using geo::TRecArray;

using geo::test::MessageOf;

std::vector<int32_t> Values(const TRecArray& A) {
  std::vector<int32_t> V;
  for (int32_t I = 0; I < A.Count; ++I) V.push_back(A.Item<int32_t>(I));
  return V;
}

TEST(RecArray, GrowSteps) {
  for (auto [From, To] :
       std::vector<std::pair<int, int>>{{0, 4}, {8, 12}, {9, 25}, {64, 80}, {65, 81}, {100, 125}}) {
    TRecArray A(4);
    A.SetCapacity(From);
    A.Grow();
    EXPECT_EQ(A.Capacity, To) << "from " << From;
  }
  // Add grows only when full, following the same steps.
  TRecArray A(sizeof(int32_t));
  std::vector<int32_t> Seen;
  for (int32_t I = 0; I < 30; ++I) {
    A.Add(&I);
    if (Seen.empty() || Seen.back() != A.Capacity) Seen.push_back(A.Capacity);
  }
  EXPECT_EQ(Seen, (std::vector<int32_t>{4, 8, 12, 28, 44}));
  std::vector<int32_t> Expected(30);
  std::iota(Expected.begin(), Expected.end(), 0);
  EXPECT_EQ(Values(A), Expected);
}

TEST(RecArray, ExactCapacities) {
  std::vector<int32_t> Src(10);
  std::iota(Src.begin(), Src.end(), 100);
  TRecArray A(sizeof(int32_t));
  A.InsertRecs(0, Src.data(), 10);
  EXPECT_EQ(A.Capacity, 10);
  EXPECT_EQ(A.Count, 10);
  A.InsertRecs(3, Src.data(), 2);  // short by two: exactly Count + N, no Grow
  EXPECT_EQ(A.Capacity, 12);
  EXPECT_EQ(Values(A),
            (std::vector<int32_t>{100, 101, 102, 100, 101, 103, 104, 105, 106, 107, 108, 109}));

  TRecArray B(sizeof(int32_t));
  for (int32_t I = 0; I < 3; ++I) B.Add(&I);
  EXPECT_EQ(B.Capacity, 4);
  B.SetCapacity(0);  // never below Count
  EXPECT_EQ(B.Capacity, 3);
  EXPECT_EQ(Values(B), (std::vector<int32_t>{0, 1, 2}));
  B.DeleteRecs(0, 3);
  EXPECT_EQ(B.Capacity, 3);  // deleting keeps the block
  B.SetCapacity(0);
  EXPECT_EQ(B.Capacity, 0);
  EXPECT_EQ(B.Data, nullptr);
}

TEST(RecArray, InsertDeleteAssign) {
  TRecArray A(sizeof(int32_t));
  for (int32_t I : {1, 2, 3, 4, 5}) A.Add(&I);
  int32_t X = 9;
  A.Insert(0, &X);
  A.Insert(6, &X);
  A.DeleteRecs(2, 2);
  EXPECT_EQ(Values(A), (std::vector<int32_t>{9, 1, 4, 5, 9}));
  A.Delete(4);
  EXPECT_EQ(Values(A), (std::vector<int32_t>{9, 1, 4, 5}));

  TRecArray B(sizeof(int32_t));
  B.Assign(A);
  EXPECT_EQ(Values(B), Values(A));
  TRecArray Moved(std::move(B));
  EXPECT_EQ(Values(Moved), Values(A));
  EXPECT_EQ(B.Data, nullptr);

  TRecArray C(8);
  EXPECT_EQ(MessageOf([&] { C.Assign(A); }), "Не совпадает размер элемента (TRecArray.Assign)");
  EXPECT_EQ(C.Count, 0);
}

TEST(RecArray, IndexErrorsLeaveArrayUnchanged) {
  TRecArray A(sizeof(int32_t));
  EXPECT_EQ(MessageOf([&] { A.GetPtr(0); }),
            "Индекс массива 0 выходит за пределы [0, -1] (TRecArray.GetPtr)");
  for (int32_t I = 0; I < 5; ++I) A.Add(&I);
  EXPECT_EQ(MessageOf([&] { A.GetPtr(5); }),
            "Индекс массива 5 выходит за пределы [0, 4] (TRecArray.GetPtr)");
  EXPECT_EQ(MessageOf([&] { A.GetPtr(-1); }),
            "Индекс массива -1 выходит за пределы [0, 4] (TRecArray.GetPtr)");
  int32_t X = 7;
  const int32_t Capacity = A.Capacity;
  for (int32_t Bad : {-1, 6}) {
    EXPECT_EQ(MessageOf([&] { A.InsertRecs(Bad, &X, 1); }),
              "Индекс массива выходит за пределы (TRecArray.InsertRecs)");
    EXPECT_EQ(MessageOf([&] { A.Insert(Bad, &X); }),
              "Индекс массива выходит за пределы (TRecArray.InsertRecs)");
  }
  EXPECT_EQ(MessageOf([&] { A.DeleteRecs(-1, 1); }),
            "Индекс массива выходит за пределы (TRecArray.DeleteRecs)");
  EXPECT_EQ(MessageOf([&] { A.DeleteRecs(3, 3); }),
            "Индекс массива выходит за пределы (TRecArray.DeleteRecs)");
  EXPECT_THROW(A.Delete(5), ERecArray);
  EXPECT_EQ(Values(A), (std::vector<int32_t>{0, 1, 2, 3, 4}));
  EXPECT_EQ(A.Capacity, Capacity);
}

}  // namespace
