#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "dvt/dvtcatalogue.h"
#include "tests/dvt/golden.h"

namespace {

TEST(DvtCatalogue, EveryCaseViewMatchesGolden) {
  const std::vector<GoldenCase> golden = ReadGoldenCases();
  ASSERT_EQ(30u, golden.size());
  ASSERT_EQ(30, GetDvtTestCaseCount());
  for (int i = 0; i < GetDvtTestCaseCount(); ++i) {
    SCOPED_TRACE("case " + std::to_string(i));
    const GoldenCase& g = golden[i];
    ASSERT_EQ(std::to_string(i), g.at("number"));
    EXPECT_EQ(i, DvtTestCatalogue[i].index);
    const std::optional<DvtCaseView> view = ComposeCaseView(i);
    ASSERT_TRUE(view.has_value());
    EXPECT_EQ(g.at("title"), view->title);
    EXPECT_EQ(g.at("file"), view->fileName);
    EXPECT_EQ(g.at("error"), view->typicalError);
    EXPECT_EQ(g.at("description"), view->description);
    EXPECT_EQ(g.at("serial"), view->serialResult);
    EXPECT_EQ(g.at("ota"), view->otaResult);
    EXPECT_EQ(g.at("initiation"), view->initiation);
    EXPECT_EQ(g.at("additional"), view->additional);
  }
}

TEST(DvtCatalogue, NoViewOutsideTheCatalogue) {
  for (int position : {-1, 30, 31, INT_MIN, INT_MAX}) {
    EXPECT_FALSE(ComposeCaseView(position).has_value()) << position;
  }
}

TEST(DvtCatalogue, NavigationWrapsBothWays) {
  EXPECT_EQ(29, PreviousDvtCase(0));
  EXPECT_EQ(0, NextDvtCase(29));
  EXPECT_EQ(4, PreviousDvtCase(5));
  EXPECT_EQ(6, NextDvtCase(5));
  for (int start = 0; start < 30; ++start) {
    int forward = start;
    int backward = start;
    for (int step = 0; step < 30; ++step) {
      forward = NextDvtCase(forward);
      backward = PreviousDvtCase(backward);
      ASSERT_TRUE(forward >= 0 && forward < 30);
      ASSERT_TRUE(backward >= 0 && backward < 30);
    }
    EXPECT_EQ(start, forward);
    EXPECT_EQ(start, backward);
    EXPECT_EQ(start, PreviousDvtCase(NextDvtCase(start)));
  }
}

TEST(DvtCatalogue, NavigationFromAStrayPositionLandsInside) {
  for (int stray : {-1, 30, INT_MIN, INT_MAX}) {
    EXPECT_EQ(0, NextDvtCase(stray)) << stray;
    EXPECT_EQ(29, PreviousDvtCase(stray)) << stray;
  }
}

}  // namespace
