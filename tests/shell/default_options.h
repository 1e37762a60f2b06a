// The options at their defaults (on a true-colour display) for each test, and again after it.
#pragma once
#include <gtest/gtest.h>

#include "settings/app_options.h"

namespace quilla {

class DefaultOptionsTest : public ::testing::Test {
 protected:
  void SetUp() override { Reset(); }
  void TearDown() override { Reset(); }

 private:
  static void Reset() {
    Options().SetDisplayMode(DisplayMode::TrueColor);
    Options().ResetToDefaults(true);
  }
};

}  // namespace quilla
