// The pad's stored placement text and its fitting into the work area.
#include "forms/pad_placement.h"

#include <gtest/gtest.h>

namespace {

using forms::ParsePadPlacement;
using forms::TPadRect;
using forms::TPadWindowState;

TEST(PadPlacement, ParsesFourIntegersAndAStateWordOrNothing) {
  auto P = ParsePadPlacement("10 20 300 197 maximized");
  ASSERT_TRUE(P);
  EXPECT_EQ(P->Bounds, (TPadRect{10, 20, 300, 197}));
  EXPECT_EQ(P->State, TPadWindowState::Maximized);
  P = ParsePadPlacement("\t -5\n7 300  197   minimized  ");
  ASSERT_TRUE(P);
  EXPECT_EQ(P->Bounds, (TPadRect{-5, 7, 300, 197}));
  EXPECT_EQ(P->State, TPadWindowState::Minimized);
  // Anything but the two words is normal; no word at all too.
  EXPECT_EQ(ParsePadPlacement("1 2 3 4 Maximized")->State, TPadWindowState::Normal);
  EXPECT_EQ(ParsePadPlacement("1 2 3 4")->State, TPadWindowState::Normal);
  EXPECT_EQ(ParsePadPlacement("1 2 3 4maximized"), std::nullopt);

  for (const char* Bad : {"10 20 x 197 normal", "1 2 3", "", "1 2 3 -", "1 - 2 3 4", "1 2- 3 4",
                          "1 --2 3 4", "1 2 3 4.5", "1 2 3 99999999999"})
    EXPECT_EQ(ParsePadPlacement(Bad), std::nullopt) << Bad;

  const forms::TPadPlacement Saved{TPadRect{-3, 40, 292, 197}, TPadWindowState::Maximized};
  EXPECT_EQ(forms::FormatPadPlacement(Saved), "-3 40 292 197 maximized");
  const auto Back = ParsePadPlacement(forms::FormatPadPlacement(Saved));
  ASSERT_TRUE(Back);
  EXPECT_EQ(Back->Bounds, Saved.Bounds);
  EXPECT_EQ(forms::FormatPadPlacement({TPadRect{0, 0, 1, 1}, TPadWindowState::Normal}),
            "0 0 1 1 normal");
}

TEST(PadPlacement, FitsIntoTheWorkAreaLeftAndTopFirst) {
  const TPadRect Area{0, 30, 1000, 700};  // right edge 1000, bottom 730
  EXPECT_EQ(forms::FitIntoWorkArea(TPadRect{100, 100, 300, 197}, Area),
            (TPadRect{100, 100, 300, 197}));
  EXPECT_EQ(forms::FitIntoWorkArea(TPadRect{-50, 10, 300, 197}, Area), (TPadRect{0, 30, 300, 197}));
  EXPECT_EQ(forms::FitIntoWorkArea(TPadRect{900, 600, 300, 197}, Area),
            (TPadRect{700, 533, 300, 197}));
  // Exactly at the far edges: stays.
  EXPECT_EQ(forms::FitIntoWorkArea(TPadRect{700, 533, 300, 197}, Area),
            (TPadRect{700, 533, 300, 197}));
  // Wider than the area: the left edge wins.
  EXPECT_EQ(forms::FitIntoWorkArea(TPadRect{500, 100, 1200, 197}, Area),
            (TPadRect{0, 100, 1200, 197}));
}

}  // namespace
