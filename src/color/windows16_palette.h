// The 16 standard colours every Windows display shows without a palette of its own.
#pragma once
#include <array>

#include "core/dib_image.h"

namespace quilla {

// In colour-table order and layout (blue, green, red, 0).
inline constexpr std::array<RgbQuad, 16> Windows16Palette = {{
    {0, 0, 0, 0},       {0, 0, 128, 0},     {0, 128, 0, 0},     {0, 128, 128, 0},
    {128, 0, 0, 0},     {128, 0, 128, 0},   {128, 128, 0, 0},   {128, 128, 128, 0},
    {192, 192, 192, 0}, {0, 0, 255, 0},     {0, 255, 0, 0},     {0, 255, 255, 0},
    {255, 0, 0, 0},     {255, 0, 255, 0},   {255, 255, 0, 0},   {255, 255, 255, 0},
}};

}  // namespace quilla
