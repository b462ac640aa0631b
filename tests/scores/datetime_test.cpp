// datetime_test.cpp — date-time stamps made from date and time texts, and
// shown again as texts.
#include <gtest/gtest.h>

#include "scores/datetime.h"

namespace {

TEST(DateStamp, RoundTripsThroughTheTexts) {
  int64_t stamp = StampOf("15 Mar 2026", "09:05:07");
  EXPECT_EQ(DateText(stamp), "15-03-2026");
  EXPECT_EQ(TimeText(stamp), "09:05:07");
  EXPECT_EQ(StampOf("15 MAR 2026", "09:05:07"), stamp);  // month in any case
  EXPECT_EQ(StampOf("15 mar 2026", "09:05:07"), stamp);
}

TEST(DateStamp, YearEndsBeforeTheNextBegins) {
  int64_t last = StampOf("31 Dec 2026", "23:59:59");
  int64_t first = StampOf("01 Jan 2027", "00:00:00");
  EXPECT_EQ(DateText(last), "31-12-2026");
  EXPECT_EQ(TimeText(last), "23:59:59");
  EXPECT_EQ(DateText(first), "01-01-2027");
  EXPECT_EQ(TimeText(first), "00:00:00");
  EXPECT_LT(last, first);
  EXPECT_LT(StampOf("31 Jan 2026", "23:59:59"), StampOf("01 Feb 2026", "00:00:00"));
}

TEST(DateStamp, OddTextReadsAsZeroOrMagnitude) {
  EXPECT_EQ(StampOf("01 Xyz 2026", "00:00:00"), StampOf("01 Jan 2026", "00:00:00") - 31 * 86400);
  EXPECT_EQ(StampOf("-5 Jan 2026", "00:00:00"), StampOf("05 Jan 2026", "00:00:00"));
  EXPECT_EQ(StampOf("", ""), 0);
}

TEST(DateStamp, YearsPastNineThousandShowFourDigits) {
  // 12345-06-07 by the stamp's own formula.
  int64_t stamp = (((int64_t(12345) * 12 + 6) * 31 + 7) * 24 * 60 * 60);
  EXPECT_EQ(DateText(stamp), "07-06-2345");
  EXPECT_EQ(DateText(StampOf("09 Sep 0007", "12:00:00")), "09-09-0007");
}

}  // namespace
