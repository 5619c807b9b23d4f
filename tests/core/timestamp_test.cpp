#include <gtest/gtest.h>

#include "core/timestamp.h"

TEST(Timestamp, FormatsOfTheSystem) {
  const LocalTime afternoon{2011, 3, 15, 14, 45, 9};
  const LocalTime morning{2011, 2, 1, 9, 5, 0};
  const LocalTime midnight{2011, 12, 31, 0, 0, 0};
  const LocalTime noon{2011, 3, 7, 12, 0, 0};
  EXPECT_EQ("2011.03.15. 14:45", FormatTime(afternoon, "%Y.%m.%d. %H:%M"));
  EXPECT_EQ("[2011.03.15. 14:45]", FormatTime(afternoon, "[%Y.%m.%d. %H:%M]"));
  EXPECT_EQ("20110315_PM1445", FormatTime(afternoon, "%Y%m%d_%p%H%M"));
  EXPECT_EQ("20110201_AM0905", FormatTime(morning, "%Y%m%d_%p%H%M"));
  EXPECT_EQ("2011.02.01. AM 09:05", FormatTime(morning, "%Y.%m.%d. %p %H:%M"));
  EXPECT_EQ("20111231_AM0000", FormatTime(midnight, "%Y%m%d_%p%H%M"));
  EXPECT_EQ("PM12", FormatTime(noon, "%p%H"));
  EXPECT_EQ("100% 00%", FormatTime(morning, "100%% %S%"));
}
