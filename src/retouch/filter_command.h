// The Image filters command on a document: what the dialog holds while it runs, and the
// whole command in one step for scripts and macros.
#pragma once
#include "core/dib_image.h"
#include "core/display_mode.h"
#include "settings/list_records.h"

namespace quilla {

// Filters need 5 x 5 pixels; the command does nothing on smaller images.
bool IsFilterable(const DIBImage& document);

// The source (the true-colour image as it was), the destination each Exec writes (the
// document itself, or a true-colour working copy of a palette image) and, for a palette
// image, its colour count and the image as it was, kept for undo.
class FilterSession {
 public:
  // Needs the colour quantizer for a palette image. Returns 0 when memory runs out, with
  // the document as it was.
  int Begin(DIBImage& document, DisplayMode display);
  // Exec: filters the source into the destination; a palette image is then reduced into the
  // document, dithered, to its colour count (the Windows colours on a 16-colour display).
  int Apply(const FilterSpec& filter);
  // OK: the image as it was becomes the undo step and the image is marked changed.
  void Keep();
  // Cancel: the image as it was comes back.
  void Restore();

 private:
  DIBImage* document_ = nullptr;
  DIBImage source_;
  DIBImage working_;   // palette images only
  DIBImage original_;  // palette images only
  int colors_ = 0;     // 0 for a true-colour image
  bool windows16_ = false;
};

// Begin, Apply and Keep. Returns 0 when memory runs out (the document is unchanged); the
// caller tells the user.
int FilterImage(DIBImage& document, const FilterSpec& filter, DisplayMode display);

}  // namespace quilla
