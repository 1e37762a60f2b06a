#include "settings/list_records.h"

namespace quilla {

const RetouchOpInfo& RetouchOpInfoOf(int code) {
  static const RetouchOpInfo kInfo[kRetouchOpCount] = {
      {"No operation", 0, {0, 0, 0}, {0, 0, 0}},
      {"Gamma correction", 3, {-99, -99, -99}, {300, 300, 300}},
      {"Color balance", 3, {-255, -255, -255}, {255, 255, 255}},
      {"Contrast enhance", 1, {-64, 0, 0}, {64, 0, 0}},
      {"HSV enhance", 3, {-359, -255, -255}, {359, 255, 255}},
      {"YCbCr enhance", 3, {-255, -255, -255}, {255, 255, 255}},
      {"Exp enhance", 1, {0, 0, 0}, {5, 0, 0}},
      {"Log enhance", 1, {0, 0, 0}, {200, 0, 0}},
      {"SineH enhance", 1, {0, 0, 0}, {99, 0, 0}},
      {"Image filter", 1, {0, 0, 0}, {19, 0, 0}},
  };
  return kInfo[code >= 0 && code < kRetouchOpCount ? code : 0];
}

}  // namespace quilla
