// Drop destination 114: the contact sheet is composed in the main document, which becomes
// an untitled, changed true-colour image. Every file is probed before anything changes; the
// user then sees the layout in the preview, and each file is read at the JPEG scale its box
// needs, resized into its box and labelled with its file title.
#include <new>

#include "app/file_session.h"
#include "color/color_reduction.h"
#include "color/copy_rect.h"
#include "color/quantize_options.h"
#include "core/messages.h"
#include "core/progress.h"
#include "formats/codec_abort.h"
#include "formats/file_types.h"
#include "formats/image_files.h"
#include "formats/jpeg/jpeg_options.h"
#include "retouch/resize.h"
#include "settings/app_options.h"
#include "shell/contact_sheet.h"
#include "shell/dialogs.h"
#include "shell/display.h"
#include "shell/selection_area.h"
#include "shell/shell_state.h"
#include "shell/text_render.h"
#include "shell/window_layout.h"
#include "shell/window_title.h"

namespace quilla {

namespace {

// The main document is marked as being built while the sheet is made, so that commands
// leave it alone.
class BuildingMark {
 public:
  explicit BuildingMark(DIBImage& document) : document_(document) { document_.building = 1; }
  ~BuildingMark() { document_.building = 0; }
  BuildingMark(const BuildingMark&) = delete;
  BuildingMark& operator=(const BuildingMark&) = delete;

 private:
  DIBImage& document_;
};

// The active JPEG set's scale denominator, changed per file and put back at the end.
class KeptJpegDenominator {
 public:
  KeptJpegDenominator() : set_(ActiveJpegSetupIndex()), denominator_(Options().JpegDenom(set_)) {}
  ~KeptJpegDenominator() { Options().SetJpegDenom(set_, denominator_); }
  KeptJpegDenominator(const KeptJpegDenominator&) = delete;
  KeptJpegDenominator& operator=(const KeptJpegDenominator&) = delete;
  void Use(int denominator) const { Options().SetJpegDenom(set_, denominator); }

 private:
  int set_;
  int denominator_;
};

// Every file's type and size, into its item; false (after the message) at the first file
// that cannot be used.
bool ProbeAll(const std::vector<std::string>& names, std::vector<ContactItem>& items) {
  for (size_t i = 0; i < names.size(); ++i) {
    uint32_t width = 0, height = 0;
    const int type = ProbeFileTypeAndSize(names[i], width, height);
    if (type == kUnknownFile || type == kCannotOpen) {
      ShowWarning(type == kUnknownFile ? "File format is not supported: %s" : "Cannot open file: %s",
                  ShownName(names[i].c_str()).c_str());
      return false;
    }
    items[i].fileType = type;
    items[i].imageWidth = int(width);
    items[i].imageHeight = int(height);
  }
  return true;
}

// The sheet in the main document, all of the background colour; false (after the message)
// when memory runs out.
bool MakeSheet(DIBImage& sheet, BoxSize size) {
  if (!sheet.CreateImage(size.width, size.height, true, nullptr, 0, 0)) {
    ShowNoMemory();
    return false;
  }
  sheet.FillRect(sheet.GetImageRect(), PackedToRgb(Options().ContaBack()), false);
  return true;
}

// The picture read into scratch goes into its box, its file title underneath; false (after
// the message) when memory runs out.
bool PlaceItem(DIBImage& sheet, DIBImage& scratch, const ContactItem& item, const std::string& name) {
  const int width = item.BoxWidth(), height = item.BoxHeight();
  if (!ResizeImage(scratch, width, height) ||
      !CopyRect(sheet, item.left, item.top, scratch, 0, 0, width - 1, height - 1, CurrentQuantizeOptions())) {
    ShowNoMemory();
    return false;
  }
  TextStyle style = Options().Style(TextStyleGroup::Contact);
  const ImageRect label = ContactLabelRect(item, style.alignment, {sheet.Width(), sheet.Height()});
  if (label.IsEmpty()) return true;
  style.text = FileTitle(name);
  style.direction = 0;
  if (RenderText(sheet, style, label) != TextRenderResult::Ok) {
    ShowNoMemory();
    return false;
  }
  return true;
}

// Each file read at the scale its box needs and placed, until the batch is cancelled.
void ComposeSheet(DIBImage& sheet, const std::vector<std::string>& names, const std::vector<ContactItem>& items) {
  const KeptJpegDenominator denominator;
  ShowBusyMenu(kLoadingMenu);
  DIBImage scratch;
  scratch.SetUndoEnabled(false);
  for (size_t i = 0; i < items.size() && !IsBatchCancelled(); ++i) {
    const ContactItem& item = items[i];
    if (item.BoxWidth() < 1 || item.BoxHeight() < 1) continue;
    SetBatchIndex(int(i));
    SetProgressName(names[i]);
    ResetProgress();
    CurrentHost().SetWindowTitle(ShownName(names[i].c_str()));
    denominator.Use(ContactDecodeScale(item.imageWidth, item.BoxWidth()));
    const int read = ReadImageFile(scratch, names[i]);
    if (IsBatchCancelled()) break;
    if (!read) {
      AskCancelRemaining();
      continue;
    }
    if (!PlaceItem(sheet, scratch, item, names[i])) CancelBatch();
  }
  RestoreMenu();
}

// The sheet reduced as images are on reading, when the options ask for it.
void QuantizeSheet(DIBImage& sheet) {
  const QuantizeOptions options = CurrentQuantizeOptions();
  if (!options.needQuantizeRead) return;
  if (!ChangeColorDepth(sheet, options.nColorsCreatePal, options.useDithering, options.useSysPalette))
    ShowWarning("Not enough memory to quantize contact sheet to %d colors", options.nColorsCreatePal);
}

// Steps that need the building mark: the sheet, the layout and its preview, the pictures
// and the reduction. A failure leaves what was made so far; a cancelled preview, no image.
void BuildOnSheet(DIBImage& sheet, const std::vector<std::string>& names, std::vector<ContactItem>& items,
                  BoxSize size) {
  const BuildingMark building(sheet);
  if (!MakeSheet(sheet, size)) return;
  {
    const GdiObject<HFONT> font = MakeFont(Options().Style(TextStyleGroup::Contact));
    if (!font) {
      ShowNoMemory();
      return;
    }
    LayoutContactSheet(items, names, font.Get(), size);
  }
  if (!PreviewContactSheet(items, names, size)) {
    sheet.FreeImage();
    return;
  }
  ComposeSheet(sheet, names, items);
  SetUntitled();
  imageChanged = true;
  QuantizeSheet(sheet);
}

}  // namespace

void BuildContactSheet(const std::vector<std::string>& names) {
  if (names.empty()) return;
  std::vector<ContactItem> items;
  try {
    items.resize(names.size());
  } catch (const std::bad_alloc&) {
    ShowNoMemory();
    return;
  }
  const WaitCursor wait;
  if (!ProbeAll(names, items)) return;
  DropSelection(0);
  DIBImage& sheet = shell.mainDocument;
  SetUntitled();
  sheet.FreeImage();
  shell.iconDocument.FreeImage();
  imageChanged = false;
  FitWindow();
  BuildOnSheet(sheet, names, items, ContactSheetSize(Options().ContaDim()));
  // The sheet is shown once the building mark is gone.
  FitWindow();
  UpdateTitle();
  if (CurrentQuantizeOptions().needQuantizeRead) RealizeImagePalette(shell.mainWindow);
  InvalidateRect(shell.mainWindow, nullptr, TRUE);
}

}  // namespace quilla
