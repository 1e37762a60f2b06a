#include "shell/selection_area.h"

#include <array>
#include <cstdio>

#include "color/color_reduction.h"
#include "color/copy_rect.h"
#include "core/messages.h"
#include "core/progress.h"
#include "resources/resource_ids.h"
#include "retouch/geometry.h"
#include "retouch/resize.h"
#include "settings/app_options.h"
#include "shell/dialogs.h"
#include "shell/display.h"
#include "shell/gdi.h"
#include "shell/scrolling.h"
#include "shell/selection_rules.h"
#include "shell/shell_state.h"
#include "shell/utf.h"
#include "shell/window_layout.h"
#include "shell/window_title.h"

namespace quilla {

namespace {

constexpr UINT kSelectionTimerMs = 100;
constexpr int kPhases = 4;
constexpr int kDetachedBrushes = 4;  // detached frames use the brushes from this one on

enum class State {
  None,
  Defined,
  Drawing,      // a rubber band, or a corner dragged by its handle
  MovingFrame,
  DraggingArea,
  RepaintingArea,  // the dragged area's old place is being repainted without it
};

// The mouse stays with the window from a press until the last button is up.
class HeldMouse {
 public:
  void Hold() {
    SetCapture(shell.mainWindow);
    held_ = true;
  }
  void Release() {
    if (held_) ReleaseCapture();
    held_ = false;
  }
  ~HeldMouse() { Release(); }

 private:
  bool held_ = false;
};

struct Selection {
  ImageRect rect;
  ImagePoint anchor;
  State state = State::None;
  int detachOffset = 0;  // 0 attached, kDetachedBrushes detached
  int framePhase = 0;
  bool frameErasing = false, frameHidden = false;
  int buttonsDown = 0;
  bool titleHeld = false;  // the drag's title shows instead of the image's
  // The image's undo step is the picture before the area was cut out of it, so putting the
  // area back keeps that step: one undo takes back the whole move.
  bool cutUndoKept = false;
  std::array<ClientRect, kFramePieces> pieces{};
  DIBImage area;
  HeldMouse mouse;
  std::array<GdiObject<HBRUSH>, 2 * kPhases> brushes;
  bool brushesOk = false;
};
Selection sel;

DIBImage& Main() { return shell.mainDocument; }

FrameView View() {
  return {Options().ThickAreaFrame() ? 4 : 1, display.scroll.posX, display.scroll.posY, Main().Width(),
          Main().Height()};
}

RECT ToRect(const ClientRect& r) { return {r.left, r.top, r.right, r.bottom}; }

// The rectangle's place in the client area.
RECT ClientRectOf(const ImageRect& r) {
  return {r.left - display.scroll.posX, r.top - display.scroll.posY, r.right + 1 - display.scroll.posX,
          r.bottom + 1 - display.scroll.posY};
}

void RepaintClient(const RECT& r) {
  InvalidateRect(shell.mainWindow, &r, FALSE);
  UpdateWindow(shell.mainWindow);
}

void FillPieces(HDC dc) {
  HBRUSH brush = sel.brushesOk ? sel.brushes[size_t(sel.detachOffset + sel.framePhase)].Get()
                               : static_cast<HBRUSH>(GetStockObject(sel.detachOffset ? BLACK_BRUSH : WHITE_BRUSH));
  const int count = sel.detachOffset ? kTopLeft : kFramePieces;  // handles only while attached
  for (int i = 0; i < count; ++i) {
    const RECT r = ToRect(sel.pieces[size_t(i)]);
    FillRect(dc, &r, brush);
  }
}

// The title while a drag changes the rectangle: left, top, width and height.
void ShowDragTitle() {
  if (!sel.titleHeld) {
    ++display.titleSuspendDepth;
    sel.titleHeld = true;
  }
  char title[64];
  std::snprintf(title, sizeof title, "%d, %d: %dx%d", sel.rect.left, sel.rect.top, sel.rect.Width(), sel.rect.Height());
  SetWindowTextW(shell.mainWindow, Widen(title).c_str());
}

void RestoreTitle() {
  if (sel.titleHeld) --display.titleSuspendDepth;
  sel.titleHeld = false;
  UpdateTitle();
}

// Ends the selection without touching the image: the frame goes, the area is freed.
void EndSelection() {
  EraseFrame();
  const bool detached = IsDetached();
  const RECT place = ClientRectOf(sel.rect);
  KillTimer(shell.mainWindow, kSelectionTimer);
  sel.buttonsDown = 0;
  sel.mouse.Release();
  sel.state = State::None;
  sel.detachOffset = 0;
  sel.cutUndoKept = false;
  sel.frameHidden = false;
  sel.area.FreeImage();
  if (detached) RepaintClient(place);
  RestoreTitle();
}

void StartDrawing(ImagePoint q) {
  sel.mouse.Hold();
  sel.state = State::Drawing;
  sel.rect = {q.x, q.y, q.x, q.y};
  sel.anchor = q;
  SetTimer(shell.mainWindow, kSelectionTimer, kSelectionTimerMs, nullptr);
  DrawFrame();
}

void StartFrameDrag(State state, ImagePoint anchor) {
  sel.mouse.Hold();
  sel.state = state;
  sel.anchor = anchor;
}

void StartAreaDrag(ImagePoint q) {
  sel.mouse.Hold();
  EraseFrame();
  sel.state = State::DraggingArea;
  sel.frameHidden = true;
  sel.anchor = q;
}

// The area's old place is painted without it, then its new place with it.
void RepaintMovedArea(const ImageRect& old) {
  sel.state = State::RepaintingArea;
  RepaintClient(ClientRectOf(old));
  sel.state = State::DraggingArea;
  RepaintClient(ClientRectOf(sel.rect));
}

// One step of a drag, at the cursor: the view scrolls when it stands at an edge.
void DragStep() {
  POINT p;
  GetCursorPos(&p);
  ScreenToClient(shell.mainWindow, &p);
  RECT client;
  GetClientRect(shell.mainWindow, &client);
  const ScrollNeed need =
      AutoScrollNeed(p.x, p.y, client.right, client.bottom, display.scroll.maxX > 0, display.scroll.maxY > 0);
  if (need.dx || need.dy) ScrollBy(need.dx * (display.scroll.pageX / 2), need.dy * (display.scroll.pageY / 2));
  if (Options().AnimateAreaFrame()) sel.framePhase = (sel.framePhase + 1) % kPhases;
  const ImagePoint q = DragPoint(p.x, p.y, client.right, client.bottom, View());
  const ImageRect old = sel.rect;
  switch (sel.state) {
    case State::Drawing: sel.rect = Span(sel.anchor, q); break;
    case State::MovingFrame:
      sel.rect = MovedInside(sel.rect, q.x - sel.anchor.x, q.y - sel.anchor.y, Main().Width(), Main().Height());
      sel.anchor = q;
      break;
    case State::DraggingArea:
      sel.rect = Moved(sel.rect, q.x - sel.anchor.x, q.y - sel.anchor.y);
      sel.anchor = q;
      if (old != sel.rect) RepaintMovedArea(old);
      break;
    default: return;
  }
  if (sel.state != State::DraggingArea) {
    if (old != sel.rect) EraseFrame();
    DrawFrame();
  }
  if (old != sel.rect) ShowDragTitle();
}

// The eight frame patterns: four phases of the attached frame, then four of the detached.
void MakeBrushes() {
  sel.brushesOk = true;
  for (int i = 0; i < 2 * kPhases; ++i) {
    GdiObject<HBITMAP> pattern(LoadBitmapW(shell.instance, MAKEINTRESOURCEW(IDB_FRAME_PATTERN0 + i)));
    if (pattern) sel.brushes[size_t(i)].Reset(CreatePatternBrush(pattern.Get()));
    sel.brushesOk = sel.brushesOk && sel.brushes[size_t(i)];
  }
  if (!sel.brushesOk) {
    for (auto& brush : sel.brushes) brush.Reset(nullptr);
  }
}

// A palette picture for a true-colour image becomes true colour; any picture for a palette
// image is mapped onto the image's colour table, dithered as the options say.
bool ToMainKind(DIBImage& picture) {
  const DIBImage& image = Main();
  if (image.IsTrueColor()) return picture.IsTrueColor() || ChangeColorDepth(picture, 0, false, false);
  const std::array<RgbQuad, 256> table = image.ColorTable();
  DIBImage mapped;
  if (!mapped.CreateImage(picture.Width(), picture.Height(), false, table.data(), int(image.ColorCount()),
                          image.GetFillIndex()))
    return false;
  QuantizeOptions options = CurrentQuantizeOptions();
  options.combineMode = kCombineKeepDest;
  if (!CopyRect(mapped, 0, 0, picture, 0, 0, picture.Width() - 1, picture.Height() - 1, options)) return false;
  picture.ReplaceDib(mapped.DetachDib());
  return true;
}

}  // namespace

void PlaceNewPicture(DibBlock&& picture) {
  DIBImage& image = Main();
  if (!image.IsOperable()) {
    image.ReplaceDib(std::move(picture));
    imageChanged = true;
    SetUntitled();
    shell.iconDocument.FreeImage();
    FitWindow();
    return;
  }
  const bool intoSelection = HasSelection();
  if (intoSelection && !EnsureDetached()) return;
  sel.area.ReplaceDib(std::move(picture));
  const bool ok =
      (!intoSelection || ResizeImage(sel.area, sel.rect.Width(), sel.rect.Height())) && ToMainKind(sel.area);
  if (!ok) {
    if (intoSelection) DropSelection(0);
    sel.area.FreeImage();
    ShowNoMemory();
    return;
  }
  if (!intoSelection) {
    sel.rect = {0, 0, sel.area.Width() - 1, sel.area.Height() - 1};
    sel.detachOffset = kDetachedBrushes;
    sel.state = State::Defined;
    SetTimer(shell.mainWindow, kSelectionTimer, kSelectionTimerMs, nullptr);
  }
  RepaintClient(ClientRectOf(sel.rect));
  DrawFrame();
}

void InitSelection() {
  sel.area.SetUndoEnabled(false);
  MakeBrushes();
}

bool HasSelection() { return sel.state != State::None; }
bool IsDetached() { return HasSelection() && sel.detachOffset != 0; }
bool IsDragging() { return HasSelection() && sel.state != State::Defined; }
bool IsAreaBeingRepainted() { return sel.state == State::RepaintingArea; }

ImageRect SelectionRect() { return sel.rect; }

void SetSelection(const ImageRect& rect) {
  if (!HasSelection()) {
    sel.rect = rect;
    return;
  }
  EraseFrame();
  const RECT old = ClientRectOf(sel.rect);
  sel.rect = rect;
  if (IsDetached()) {
    RepaintClient(old);
    RepaintClient(ClientRectOf(sel.rect));
  }
  DrawFrame();
}

void RecentreSelection() { SetSelection(Recentred(sel.rect, sel.area.Width(), sel.area.Height())); }

DIBImage& AreaDocument() { return sel.area; }

bool Detach(bool cut) {
  DIBImage& document = Main();
  EraseFrame();
  if (!ExtractRect(document, sel.rect.left, sel.rect.top, sel.rect.Width(), sel.rect.Height(), sel.area)) {
    ShowNoMemory();
    DrawFrame();
    return false;
  }
  sel.detachOffset = kDetachedBrushes;
  if (cut) {
    DibBlock before = document.UndoEnabled() ? document.Duplicate() : DibBlock();
    const bool trueColor = document.IsTrueColor();
    document.FillRect(sel.rect, trueColor ? document.GetFillRgb() : document.GetFillIndex(), !trueColor);
    imageChanged = true;
    sel.cutUndoKept = !before.empty();
    if (sel.cutUndoKept) document.SetUndoImage(std::move(before));
  }
  RepaintClient(ClientRectOf(sel.rect));
  DrawFrame();
  return true;
}

bool DetachCopyOf(const ImageRect& rect) {
  if (HasSelection()) EndSelection();
  sel.rect = rect;
  sel.state = State::Defined;
  SetTimer(shell.mainWindow, kSelectionTimer, kSelectionTimerMs, nullptr);
  if (Detach(false)) return true;
  EndSelection();
  return false;
}

bool EnsureDetached() { return IsDetached() || (HasSelection() && Detach(false)); }

void ReattachArea() {
  if (!IsDetached()) return;
  EraseFrame();
  sel.area.FreeImage();
  sel.detachOffset = 0;
  sel.cutUndoKept = false;
  RepaintClient(ClientRectOf(sel.rect));
  DrawFrame();
}

void ApplyArea() {
  if (!IsDetached()) return;
  DIBImage& document = Main();
  DibBlock before = document.UndoEnabled() && !sel.cutUndoKept ? document.Duplicate() : DibBlock();
  PlaceRect(document, sel.rect.left, sel.rect.top, sel.area);
  if (!before.empty()) document.SetUndoImage(std::move(before));
  imageChanged = true;
  EndSelection();
}

int DropSelection(int mode) {
  if (!HasSelection()) return 1;
  if (IsDetached() && mode == 1) {
    const MsgResult answer = AskYesNoCancel("Apply detached selection area ?");
    if (answer == MsgResult::Cancel) return 0;
    if (answer == MsgResult::Yes) {
      ApplyArea();
      return 1;
    }
  }
  EndSelection();
  return 1;
}

void SelectionMouseDown(POINT p, bool leftButton) {
  if (!Main().IsOperable() || !IsInterfaceIdle()) return;
  if (++sel.buttonsDown > 1) {
    // A second button shows the dragged area's frame again.
    if (sel.state == State::DraggingArea) {
      sel.frameHidden = false;
      DrawFrame();
    }
    return;
  }
  RECT client;
  GetClientRect(shell.mainWindow, &client);
  const FrameView view = View();
  const ImagePoint q = DragPoint(p.x, p.y, client.right, client.bottom, view);
  const ImagePoint under{p.x + view.scrollX, p.y + view.scrollY};
  if (!HasSelection()) return StartDrawing(q);
  if (IsDetached()) {
    // A click outside the area puts it back into the image.
    if (Contains(sel.rect, under) || HitPiece(sel.pieces, p.x, p.y, false) != kNoPiece) return StartAreaDrag(q);
    return ApplyArea();
  }
  if (!Contains(sel.rect, under)) {
    const int piece = HitPiece(sel.pieces, p.x, p.y, true);
    if (piece >= kTopLeft) return StartFrameDrag(State::Drawing, OppositeCorner(sel.rect, piece));
    if (piece != kNoPiece) return StartFrameDrag(State::MovingFrame, q);
    DropSelection(0);
    sel.buttonsDown = 1;
    return StartDrawing(q);
  }
  // A left drag moves the pixels and leaves the fill colour; a right drag moves a copy.
  if (!Detach(leftButton)) {
    sel.buttonsDown = 0;
    return;
  }
  StartAreaDrag(q);
}

void SelectionMouseMove() {
  if (IsDragging() && sel.buttonsDown > 0) DragStep();
}

void SelectionMouseUp() {
  if (sel.buttonsDown == 0) return;
  if (--sel.buttonsDown > 0) {
    if (sel.state == State::DraggingArea) {
      EraseFrame();
      sel.frameHidden = true;
    }
    return;
  }
  switch (sel.state) {
    case State::Drawing:
      // A click without movement leaves nothing to select.
      if (sel.rect.left == sel.rect.right || sel.rect.top == sel.rect.bottom) return EndSelection();
      sel.state = State::Defined;
      break;
    case State::MovingFrame: sel.state = State::Defined; break;
    case State::DraggingArea:
      sel.state = State::Defined;
      sel.frameHidden = false;
      DrawFrame();
      break;
    default: break;
  }
  sel.mouse.Release();
  RestoreTitle();
}

void SelectionCaptureLost() {
  if (sel.buttonsDown == 0) return;
  sel.buttonsDown = 1;
  SelectionMouseUp();
}

void SelectionTick() {
  if (IsDragging() && sel.buttonsDown > 0) return DragStep();
  if (HasSelection() && Options().AnimateAreaFrame()) {
    sel.framePhase = (sel.framePhase + 1) % kPhases;
    DrawFrame();
  }
}

void PaintSelection(HDC dc, const RECT& clip) {
  if (!HasSelection()) return;
  if (IsDetached() && sel.state != State::RepaintingArea) {
    PaintDocumentAt(dc, sel.area, {sel.rect.left - display.scroll.posX, sel.rect.top - display.scroll.posY}, clip);
  }
  if (sel.frameErasing || sel.frameHidden) return;
  sel.pieces = FramePieces(sel.rect, View());
  FillPieces(dc);
}

void DrawFrame() {
  // The frame belongs to the main window, never over the full-screen view.
  if (!HasSelection() || sel.frameErasing || sel.frameHidden || shell.fullScreenActive) return;
  sel.pieces = FramePieces(sel.rect, View());
  WindowDC dc(shell.mainWindow);
  FillPieces(dc);
}

void EraseFrame() {
  if (!HasSelection() || sel.frameErasing) return;
  sel.frameErasing = true;
  for (const ClientRect& piece : sel.pieces) RepaintClient(ToRect(piece));
  sel.frameErasing = false;
}

}  // namespace quilla
