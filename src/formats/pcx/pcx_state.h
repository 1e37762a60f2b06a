// State shared by the PCX reader and writer.
#pragma once
#include <cstdint>
#include <vector>


namespace quilla::pcx {

// Set by the preview reader, cleared by ReadPcx and WritePcx. While set the codec shows no
// message, reports no progress and does not poll for cancel.
extern bool quiet;
// The scan line of the transfer running (planes x bytes per line), and whether the codec
// holds the document's lock.
extern std::vector<uint8_t> scanLine;
extern bool holdsLock;

inline constexpr char kInvalidFile[] = "Invalid or unsupported PCX file";
inline constexpr char kUnexpectedEof[] = "Unexpected EOF in PCX file";
inline constexpr char kQuantizeFailedText[] = "Not enough memory for quantization step";
inline constexpr char kWriteError[] = "File write error";

inline constexpr uint8_t kManufacturer = 10;
inline constexpr uint8_t kPaletteMarker = 12;
inline constexpr uint32_t kPcxHeaderBytes = 128;
inline constexpr uint32_t kTrailingPaletteBytes = 769;

}  // namespace quilla::pcx
