// What the PCX reader and writer share: the messages and the file's constants.
#pragma once
#include <cstdint>

namespace quilla::pcx {

inline constexpr char kInvalidFile[] = "Invalid or unsupported PCX file";
inline constexpr char kUnexpectedEof[] = "Unexpected EOF in PCX file";
inline constexpr char kQuantizeFailedText[] = "Not enough memory for quantization step";
inline constexpr char kWriteError[] = "File write error";

inline constexpr uint8_t kManufacturer = 10;
inline constexpr uint8_t kPaletteMarker = 12;
inline constexpr uint32_t kPcxHeaderBytes = 128;
inline constexpr uint32_t kTrailingPaletteBytes = 769;

}  // namespace quilla::pcx
