// Layout figures of both windows and their rounding rules.
#include "app/model/layout.h"

#include <gtest/gtest.h>

namespace velbrook::app {
namespace {

TEST(RoundingTest, HalfFromDivisionByTwoGoesToEvenNeighbour) {
  EXPECT_EQ(HalfToEven(462), 231);
  EXPECT_EQ(HalfToEven(463), 232);  // 231.5 -> 232
  EXPECT_EQ(HalfToEven(461), 230);  // 230.5 -> 230
  EXPECT_EQ(HalfToEven(1), 0);
  EXPECT_EQ(HalfToEven(3), 2);
  EXPECT_EQ(HalfToEven(-1), 0);   // -0.5 -> 0
  EXPECT_EQ(HalfToEven(-3), -2);  // -1.5 -> -2
}

TEST(RoundingTest, HalfFromProductGoesUp) {
  EXPECT_EQ(TenthsHalfUp(5, 7), 4);      // 3.5 -> 4
  EXPECT_EQ(TenthsHalfUp(15, 7), 11);    // 10.5 -> 11
  EXPECT_EQ(TenthsHalfUp(5, 13), 7);     // 6.5 -> 7
  EXPECT_EQ(TenthsHalfUp(764, 6), 458);  // 458.4
  EXPECT_EQ(TenthsHalfUp(764, 4), 306);  // 305.6
  EXPECT_EQ(TenthsHalfUp(-5, 7), -3);    // -3.5 -> -3 (up)
}

TEST(RoundingTest, ThirdsAndPercents) {
  EXPECT_EQ(ThirdRounded(458), 153);  // 152.67
  EXPECT_EQ(ThirdRounded(457), 152);  // 152.33
  EXPECT_EQ(PercentTruncated(767, 15), 115);
  EXPECT_EQ(PercentTruncated(767, 35), 268);
  EXPECT_EQ(PercentTruncated(799, 35), 279);  // 279.65 truncated
}

TEST(MainLayoutTest, ClientWidth800) {
  MainLayout layout = ComputeMainLayout(800, 562);
  EXPECT_EQ(layout.list_width, 788);
  EXPECT_EQ(layout.list_height, 466);
  EXPECT_EQ(layout.columns[0], 115);
  EXPECT_EQ(layout.columns[1], 268);
  EXPECT_EQ(layout.columns[2], 268);
  EXPECT_EQ(layout.columns[3], 116);
  EXPECT_EQ(layout.columns[4], 0);
  EXPECT_EQ(layout.count_suffix_left, 690);
  EXPECT_EQ(layout.count_text_left, 658);
  EXPECT_EQ(layout.button_top, 526);
}

TEST(MainLayoutTest, CreationPositions) {
  EXPECT_EQ(kRefreshLeft, 12);
  EXPECT_EQ(kSearchLeft, 99);
  EXPECT_EQ(kAbortLeft, 186);
  EXPECT_EQ(kHelpLeft, 273);
  EXPECT_EQ(kFilesOptionLeft, 372);
  EXPECT_EQ(kBitsOptionLeft, 616);
}

TEST(MainLayoutTest, BitsAndProblemColumnsTakeTheirWidthFromTheFirstFour) {
  const MainLayout plain = ComputeMainLayout(800, 562);
  EXPECT_EQ(plain.columns[5], 0);
  EXPECT_EQ(plain.columns[6], 0);
  const MainLayout both = ComputeMainLayout(800, 562, true, true);
  EXPECT_EQ(both.columns[5], kBitsColumnWidth);
  EXPECT_EQ(both.columns[6], kProblemColumnWidth);
  int total = 0;
  for (int width : both.columns) total += width;
  EXPECT_EQ(total, both.list_width - 21);
  EXPECT_LT(both.columns[0], plain.columns[0]);
}

TEST(MainLayoutTest, TinyWindowNeverAsksForSpecialWidths) {
  // -1 and -2 are the list view's "fit" requests, never real widths.
  MainLayout layout = ComputeMainLayout(10, 10);
  for (int width : layout.columns) EXPECT_GE(width, 0);
  EXPECT_EQ(layout.list_width, 0);
  EXPECT_EQ(layout.list_height, 0);
}

TEST(ResultsLayoutTest, ListFillsTheWindowBelowTheCountPathTakesTheRest) {
  ResultsLayout layout = ComputeResultsLayout(744, 362);
  EXPECT_EQ(layout.count_text, (Rect{5, 2, 734, 20}));
  EXPECT_EQ(layout.list, (Rect{4, 24, 736, 334}));
  EXPECT_EQ(layout.columns, (std::array<int, 6>{85, 78, 121, 121, 99, 208}));
  for (int width : ComputeResultsLayout(10, 10).columns) EXPECT_GE(width, 0);
}

TEST(ContentsLayoutTest, Client784By562) {
  ContentsLayout layout = ComputeContentsLayout(784, 562);
  EXPECT_EQ(layout.w2, 764);
  EXPECT_EQ(layout.h2, 211);
  EXPECT_EQ(layout.classes, (Rect{5, 24, 458, 274}));
  EXPECT_EQ(layout.types, (Rect{473, 24, 306, 211}));
  EXPECT_EQ(layout.enumerations, (Rect{473, 275, 306, 211}));
  EXPECT_EQ(layout.events, (Rect{5, 338, 458, 148}));
  EXPECT_EQ(layout.class_columns[0], 146);
  EXPECT_EQ(layout.event_columns[0], 219);
  EXPECT_EQ(layout.event_columns[1], 218);
  EXPECT_EQ(layout.types_column, 284);
  EXPECT_EQ(layout.enumerations_column, 284);
  EXPECT_EQ(layout.toggles[0], (Rect{5, 302, 120, 21}));
  EXPECT_EQ(layout.toggles[1], (Rect{5, 490, 120, 21}));
  EXPECT_EQ(layout.toggles[2], (Rect{473, 239, 120, 21}));
  EXPECT_EQ(layout.toggles[3], (Rect{473, 490, 120, 21}));
  EXPECT_EQ(layout.use_invoke, (Rect{285, 498, 125, 20}));
  EXPECT_EQ(layout.include_generics, (Rect{285, 526, 240, 20}));
  EXPECT_EQ(layout.button_top, 526);
  // The selection buttons end inside the window; the status line fills the
  // strip above the lists.
  EXPECT_EQ(layout.save_selection, (Rect{537, 526, 110, 24}));
  EXPECT_EQ(layout.load_selection, (Rect{659, 526, 110, 24}));
  EXPECT_EQ(layout.check_needed, (Rect{5, 0, 150, 24}));
  EXPECT_EQ(layout.status, (Rect{165, 2, 614, 20}));
}

TEST(ContentsLayoutTest, OddHeightHalvesToEven) {
  // (563 - 100) / 2 = 231.5 -> 232; (565 - 100) / 2 = 232.5 -> 232.
  EXPECT_EQ(ComputeContentsLayout(784, 563).h2, 212);
  EXPECT_EQ(ComputeContentsLayout(784, 565).h2, 212);
}

TEST(CenterOnScreenTest, CentresDroppingHalves) {
  EXPECT_EQ(CenterOnScreen(800, 600, 1024, 768), (Rect{112, 84, 800, 600}));
  EXPECT_EQ(CenterOnScreen(800, 600, 1025, 769), (Rect{112, 84, 800, 600}));
}

TEST(CenterOnScreenTest, ScreenSmallerThanWindow) {
  EXPECT_EQ(CenterOnScreen(800, 600, 640, 480), (Rect{0, 0, 640, 480}));
  EXPECT_EQ(CenterOnScreen(800, 600, 700, 800), (Rect{0, 100, 700, 600}));
}

}  // namespace
}  // namespace velbrook::app
