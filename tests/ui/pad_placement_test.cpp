// The pad's stored placement text and its fitting into the work area.
#include "ui/pad_placement.h"

#include <gtest/gtest.h>

namespace {

using ui::ParsePadPlacement;

TEST(PadPlacement, ParsesFourIntegersAndAStateWordOrNothing) {
  auto P = ParsePadPlacement("10 20 300 197 maximized");
  ASSERT_TRUE(P);
  EXPECT_EQ(P->Bounds, QRect(10, 20, 300, 197));
  EXPECT_EQ(P->State, Qt::WindowMaximized);
  P = ParsePadPlacement("\t -5\n7 300  197   minimized  ");
  ASSERT_TRUE(P);
  EXPECT_EQ(P->Bounds, QRect(-5, 7, 300, 197));
  EXPECT_EQ(P->State, Qt::WindowMinimized);
  // Anything but the two words is normal; no word at all too.
  EXPECT_EQ(ParsePadPlacement("1 2 3 4 Maximized")->State, Qt::WindowNoState);
  EXPECT_EQ(ParsePadPlacement("1 2 3 4")->State, Qt::WindowNoState);
  EXPECT_EQ(ParsePadPlacement("1 2 3 4maximized"), std::nullopt);

  for (const char* Bad : {"10 20 x 197 normal", "1 2 3", "", "1 2 3 -", "1 - 2 3 4", "1 2- 3 4",
                          "1 --2 3 4", "1 2 3 4.5", "1 2 3 99999999999"})
    EXPECT_EQ(ParsePadPlacement(Bad), std::nullopt) << Bad;

  const ui::TPadPlacement Saved{QRect(-3, 40, 292, 197), Qt::WindowMaximized};
  EXPECT_EQ(ui::FormatPadPlacement(Saved), "-3 40 292 197 maximized");
  const auto Back = ParsePadPlacement(ui::FormatPadPlacement(Saved));
  ASSERT_TRUE(Back);
  EXPECT_EQ(Back->Bounds, Saved.Bounds);
  EXPECT_EQ(ui::FormatPadPlacement({QRect(0, 0, 1, 1), Qt::WindowNoState}), "0 0 1 1 normal");
}

TEST(PadPlacement, FitsIntoTheWorkAreaLeftAndTopFirst) {
  const QRect Area(0, 30, 1000, 700);  // right edge 1000, bottom 730
  EXPECT_EQ(ui::FitIntoWorkArea(QRect(100, 100, 300, 197), Area), QRect(100, 100, 300, 197));
  EXPECT_EQ(ui::FitIntoWorkArea(QRect(-50, 10, 300, 197), Area), QRect(0, 30, 300, 197));
  EXPECT_EQ(ui::FitIntoWorkArea(QRect(900, 600, 300, 197), Area), QRect(700, 533, 300, 197));
  // Exactly at the far edges: stays.
  EXPECT_EQ(ui::FitIntoWorkArea(QRect(700, 533, 300, 197), Area), QRect(700, 533, 300, 197));
  // Wider than the area: the left edge wins.
  EXPECT_EQ(ui::FitIntoWorkArea(QRect(500, 100, 1200, 197), Area), QRect(0, 100, 1200, 197));
}

}  // namespace
