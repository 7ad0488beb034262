// The overlay cases that fuzzing against GEOS found, minimised, checked as
// the fuzzed cases are.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "fuzz_checks.h"

namespace {

using namespace overlay_fuzz;

// Cases the fuzzing found, minimised; each passes every check of a fuzzed
// case, as one many-contour union and as every pair of its inputs.
TEST(OverlayFuzz, CasesItFound) {
  // Per ring, its vertices and the convexity of the edge leaving each.
  struct TVertex {
    double X, Y, Cv;
  };
  using TRing = std::vector<TVertex>;
  struct TFound {
    const char* What;
    std::vector<std::vector<TRing>> Inputs;
  };
  const TFound Found[] = {
      {"three rays from a fan's centre at one angle, within rounding of each other, crossed by "
       "a side whose end lies just over a tolerance from one of them",
       {{{{0, 0, 0},
          {5.0000000000000009, -8.6602540378443855, 0},
          {8.6602540378443837, -5.0000000000000044, 0}}},
        {{{0, 0, 0},
          {-3.000000000000008, -5.1961524227066267, 0},
          {3.000000000000004, -5.1961524227066294, 0}}},
        {{{0, 0, 0},
          {4.9999999999999929, -8.6602540378443909, 0},
          {10, -2.4492935982947065e-15, 0}}}}},
      {"two rays at one angle far from the origin, crossed by a third triangle's side",
       {{{{0, 0, 0},
          {6234898.0185873341, -7818314.8246802995, 0},
          {9009688.6790241934, -4338837.3911755756, 0}}},
        {{{0, 0, 0},
          {2225209.3395631397, -9749279.121818237, 0},
          {6234898.0185873462, -7818314.8246802902, 0}}},
        {{{0, 0, 0},
          {-1.8369701987210297e-09, -10000000, 0},
          {7071067.8118654741, -7071067.8118654769, 0}}}}},
      {"two triangles of a tiny fan sharing two corners, their third corners just over a "
       "tolerance apart: each lay on the other's side beyond its end and cut it there",
       {{{{0, 0, 0},
          {6.2348980185873331e-06, -7.8183148246802993e-06, 0},
          {9.0096886790241942e-06, -4.3388373911755752e-06, 0}}},
        {{{0, 0, 0},
          {6.2348980185873331e-06, -7.8183148246802993e-06, 0},
          {9.0096886790241858e-06, -4.3388373911755913e-06, 0}}}}},
      {"a disc given twice, crossed at a shallow angle by a flat arc: the copies were cut at "
       "crossings computed in two orders, two tolerances apart",
       {{{{0.0030000000000000001, 0, 1}, {-0.0030000000000000001, 0, 1}}},
        {{{0.0030634043675729925, -0.00056140503438572578, -0.31025643241828055},
          {-0.0016186469737782744, -0.0014961947709354268, 0.0009970138409352014},
          {-0.0031601992596250114, 0.00084641809242428647, 0.39751708961572396},
          {0.002095271471370582, 0.0011286523889676521, -0.17654460877213857}}},
        {{{0.0030000000000000001, 0, 1}, {-0.0030000000000000001, 0, 1}}}}},
      {"discs tangent inside and out at shared points, one contour given twice, a square with its "
       "inscribed disc: right, where GEOS's union of the chords at the usual step is 2.2 short",
       {{{{1, 0, 0},
          {1, 0, 0.41421356237309503},
          {2, 1, 0},
          {2, 5, 0.41421356237309503},
          {1, 6, 0},
          {1, 6, 0.41421356237309503},
          {0, 5, 0},
          {0, 1, 0.41421356237309503}}},
        {{{5, 0, 1}, {-5, 0, 1}}, {{5, 0, 1}, {-3, 0, 1}}},
        {{{5, 0, 1}, {-1, 0, 1}}, {{11, 0, 1}, {5, 0, 1}}},
        {{{5, 0, 1}, {-5, 0, 1}}, {{5, 0, 1}, {-3, 0, 1}}},
        {{{3.7016347866576838, -1.7414923391111321, 0.5869628493278064},
          {2.9159004760494414, -2.9471582851794413, -0.39656436872941092},
          {-0.36281524228837964, -4.9749682607874783, 0.34013733818684122},
          {-0.70690944951764501, -2.5782880241177093, 0.18019251522329893},
          {-2.967331772831618, -2.2780296759133742, 0.52647604110639301},
          {-4.661659701121792, -1.0193665378721299, -0.43461788384875333},
          {-3.8614488566095524, 1.4661149881196254, -0.38709416478284775},
          {-2.166614053354095, 3.0903271025352721, 0.11629929456330812},
          {0.6032343942801055, 4.6679968646686678, 0.059819357620228941},
          {1.3724527765125119, 1.2771905287190999, 0.40932477207948248},
          {2.3964891183260244, 0.37046213463455108, -0.24244857849871693}}},
        {{{0, 0, 0}, {5, 0, 0}, {5, 5, 0}, {0, 5, 0}},
         {{10, 2.5, 1}, {5, 2.5, 1}},
         {{5, 2.5, 1}, {0, 2.5, 1}}}}},
  };
  for (const TFound& F : Found) {
    SCOPED_TRACE(F.What);
    std::vector<TContour> In;
    for (const auto& Rings : F.Inputs) {
      TContour C;
      for (const TRing& R : Rings) {
        C.AddMoveTo({R[0].X, R[0].Y});
        for (size_t K = 1; K < R.size(); ++K) {
          if (R[K - 1].Cv != 0)
            C.AddArcTo({R[K].X, R[K].Y}, R[K - 1].Cv);
          else
            C.AddLineTo({R[K].X, R[K].Y});
        }
        if (R.back().Cv != 0)
          C.AddCloseArc(R.back().Cv);
        else
          C.AddClose();
      }
      In.push_back(std::move(C));
    }
    std::mt19937 Rng(1);
    TRun Run;
    CheckUnion(Run, Rng, In);
    for (size_t I = 0; I < In.size(); ++I)
      for (size_t J = I + 1; J < In.size(); ++J) CheckCase(Run, Rng, In[I], In[J]);
    EXPECT_FALSE(Run.Failed) << Run.Log.str();
  }
}

}  // namespace
