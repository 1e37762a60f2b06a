#include "shell/slideshow_rules.h"

#include <gtest/gtest.h>

#include "default_options.h"

namespace quilla {

using SlideshowRulesTest = DefaultOptionsTest;

TEST(SlideshowRules, PauseIsTheDelayInMillisecondsWithNoneForZeroOrLess) {
  EXPECT_EQ(SlidePauseMilliseconds(0), 0u);
  EXPECT_EQ(SlidePauseMilliseconds(-3), 0u);
  EXPECT_EQ(SlidePauseMilliseconds(1), 1000u);
  EXPECT_EQ(SlidePauseMilliseconds(5), 5000u);
  EXPECT_EQ(SlidePauseMilliseconds(2147483), 2147483000u);
  EXPECT_EQ(SlidePauseMilliseconds(2147484), kLongestTimerMs);
  EXPECT_EQ(SlidePauseMilliseconds(2147483647), kLongestTimerMs);
}

TEST(SlideshowRules, DelayFieldTakesOnlyNonNegativeWholeNumbers) {
  EXPECT_EQ(ParseSlideDelay("0"), 0);
  EXPECT_EQ(ParseSlideDelay(" 12 "), 12);
  EXPECT_EQ(ParseSlideDelay("2147483647"), 2147483647);
  for (const char* refused : {"", "  ", "-1", "+3", "1.5", "5s", "1 2", "2147483648", "99999999999999999999"}) {
    EXPECT_EQ(ParseSlideDelay(refused), std::nullopt) << refused;
  }
}

TEST_F(SlideshowRulesTest, OkStoresTheChoiceAndTheDelayOnlyWhenAutomatic) {
  EXPECT_FALSE(StoreSlideshowOptions({true, false, true}, "-2"));
  EXPECT_EQ(Options().SSCycle(), 0);  // a refused delay stores nothing
  EXPECT_EQ(Options().SSFullScreen(), 1);
  EXPECT_EQ(Options().SSNSecondsDelay(), 5);

  EXPECT_TRUE(StoreSlideshowOptions({true, false, true}, "7"));
  EXPECT_EQ(Options().SSAuto(), 1);
  EXPECT_EQ(Options().SSNSecondsDelay(), 7);
  EXPECT_EQ(Options().SSCycle(), 1);
  EXPECT_EQ(Options().SSFullScreen(), 0);

  // Interactive: the field is not looked at and the delay is kept.
  EXPECT_TRUE(StoreSlideshowOptions({false, true, false}, "-2"));
  EXPECT_EQ(Options().SSAuto(), 0);
  EXPECT_EQ(Options().SSNSecondsDelay(), 7);
  EXPECT_EQ(Options().SSCycle(), 0);
  EXPECT_EQ(Options().SSFullScreen(), 1);
}

}  // namespace quilla
