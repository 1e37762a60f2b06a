// What the processor the program runs on offers beyond the build's baseline, asked once.
#pragma once

namespace quilla {

// SSSE3's byte shuffle: the three-byte pixel code has faster paths with it.
bool ProcessorHasSsse3();

}  // namespace quilla
