#include "shell/slideshow.h"

#include "core/progress.h"
#include "settings/app_options.h"
#include "shell/file_commands.h"
#include "shell/full_screen.h"
#include "shell/shell_state.h"
#include "shell/slideshow_rules.h"

namespace quilla {

namespace {
bool KeepsGoing() { return !IsBatchCancelled() && !IsExiting(); }

// Opening the picture has fitted the window to it, which also restores a minimised window
// when "PopupIcon" is on; one that stays minimised shows its thumbnail instead.
void ShowSlide() {
  if (!Options().SSFullScreen() || IsIconic(shell.mainWindow)) return;
  if (IsFullScreen()) RepaintFullScreen();
  else EnterFullScreen();
}

// Waits, one message at a time, until the timer or a click clears the waiting flag or the
// batch is cancelled.
void PauseBetweenSlides() {
  SetBatchWaiting(true);
  bool timed = false;
  if (Options().SSAuto()) {
    const unsigned ms = SlidePauseMilliseconds(Options().SSNSecondsDelay());
    if (ms == 0) SetBatchWaiting(false);
    else if (SetTimer(shell.mainWindow, kSlidePauseTimer, ms, nullptr)) timed = true;
    else Options().SetSSAuto(0);  // no timer to be had: the user moves the show on
  }
  if (IsBatchWaiting()) {
    ShowBusyMenu(kPausingMenu);
    while (IsBatchWaiting() && !IsBatchCancelled() && WaitOneMessage()) {
    }
  }
  if (timed) KillTimer(shell.mainWindow, kSlidePauseTimer);
  SetBatchWaiting(false);
}
}  // namespace

void RunSlideshow(const std::vector<std::string>& names) {
  if (names.empty()) return;
  const int count = int(names.size());
  do {
    for (int i = 0; i < count && KeepsGoing(); ++i) {
      SetBatchIndex(i);
      if (!OpenMainImage(names[size_t(i)])) continue;
      ShowSlide();
      // The last picture stays without a pause unless the show starts again.
      if (i + 1 < count || Options().SSCycle()) PauseBetweenSlides();
    }
  } while (Options().SSCycle() && KeepsGoing());
}

void EndSlidePauseByTimer() {
  KillTimer(shell.mainWindow, kSlidePauseTimer);
  SetBatchWaiting(false);
}

}  // namespace quilla
