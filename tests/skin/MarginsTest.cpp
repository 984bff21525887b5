#include <gtest/gtest.h>

#include <climits>

#include "skin/data/Margins.h"

namespace {

TEST(Margins, FittedMarginsStayWithinRangeAndDropOnNarrowAxes) {
  struct Case {
    Margins given;
    int width, height;
    Margins expected;
  } cases[] = {
      {{3, 4, 5, 6}, 100, 100, {3, 4, 5, 6}},
      {{3, 4, 5, 6}, 7, 9, {0, 0, 0, 0}},  // narrower than both margins of each axis
      {{3, 4, 5, 6}, 8, 10, {3, 4, 5, 6}},
      {{INT_MAX, 1, INT_MAX, 1}, 100, 100, {0, 1, 0, 1}},
      {{INT_MAX, INT_MAX, 0, 0}, INT_MAX, INT_MAX, {kMaxMargin, kMaxMargin, 0, 0}},
      {{INT_MIN, -5, INT_MIN, 2}, 10, 10, {0, 0, 0, 2}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FittedMargins(c.given, c.width, c.height), c.expected)
        << c.given.left << " " << c.width;
  }
}

}  // namespace
