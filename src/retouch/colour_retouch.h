// A colour retouch in progress on a document. The context keeps the image as it was (a
// duplicate of a true-colour image, a copy of a palette image's colour table) and every
// application computes the document from that source, so repeated previews never
// accumulate. A palette image changes only its colour table; its pixels keep their indices.
#pragma once
#include <array>

#include "core/dib_image.h"
#include "retouch/colour_tables.h"
#include "settings/list_records.h"

namespace quilla {

class ColourRetouch {
 public:
  // Without an image, or when the duplicate can't be made, the context is false and does
  // nothing; the caller says "Not enough memory !". Without keepSource the context is for one
  // application that keeps no undo step: a true-colour image is worked on in place, and Cancel
  // can't restore it; a palette image can still be put back.
  explicit ColourRetouch(DIBImage& document, bool keepSource = true);
  // Ending without Ok is a Cancel.
  ~ColourRetouch();
  ColourRetouch(const ColourRetouch&) = delete;
  ColourRetouch& operator=(const ColourRetouch&) = delete;
  explicit operator bool() const { return active; }

  // One macro operation, Gamma correction (1) to SineH enhance (8); parameters beyond the
  // operation's count are ignored, the others are held to their ranges. False for other codes.
  bool Apply(RetouchOp op, const std::array<int, 3>& parameters);
  // Interactive RGB: each channel through its own curve.
  void ApplyCurves(const TransferTables& curves);
  void ApplyGrayScale();
  void ApplyNegative();

  // Ok keeps the result: the source becomes the undo step (when kept) and the image is marked
  // modified.
  void Ok();
  // Cancel puts the image back as it was.
  void Cancel();

 private:
  template <class Map>
  void MapColours(Map map);

  DIBImage& document;
  bool active = false;
  bool trueColor = false;
  bool inPlace = false;
  bool keepUndo = true;
  DibBlock source;        // true colour, unless in place
  size_t bitsOffset = 0;  // of the pixels in source
  std::array<RgbQuad, 256> sourceColors{};  // palette
};

// The one-step commands: the undo step is recorded first, then the image changes and is
// marked modified. 0 when memory runs out (the document is unchanged).
int GrayScaleImage(DIBImage& document);
int NegativeImage(DIBImage& document);
// One macro operation applied and kept, as a macro step does; 0 when memory runs out or
// op is not a colour operation.
int ApplyColourRetouch(DIBImage& document, RetouchOp op, const std::array<int, 3>& parameters);
// Interactive RGB's Exec with its three curves, kept.
int ApplyTransferCurves(DIBImage& document, const TransferTables& curves);

}  // namespace quilla
