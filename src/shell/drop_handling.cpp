#include "shell/drop_handling.h"

#include <string>
#include <vector>

#include "app/file_queue.h"
#include "core/commands.h"
#include "core/messages.h"
#include "core/progress.h"
#include "settings/app_options.h"
#include "shell/batch_compression.h"
#include "shell/contact_sheet.h"
#include "shell/file_commands.h"
#include "shell/full_screen.h"
#include "shell/printing.h"
#include "shell/shell_state.h"
#include "shell/slideshow.h"
#include "shell/utf.h"

namespace quilla {

namespace {
std::vector<std::string> DroppedNames(HDROP drop) {
  std::vector<std::string> names;
  const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
  for (UINT i = 0; i < count; ++i) {
    std::wstring name(DragQueryFileW(drop, i, nullptr, 0) + 1, L'\0');
    name.resize(DragQueryFileW(drop, i, name.data(), UINT(name.size())));
    if (!name.empty()) names.push_back(Narrow(name));
  }
  return names;
}

std::vector<std::string> QueuedNames() {
  std::vector<std::string> names;
  for (size_t i = 0; i < QueueCount(); ++i) names.push_back(QueueName(i));
  return names;
}

// The destinations a shell drop asks about first; the slideshow asks nothing.
const char* ConfirmationTarget(int destination) {
  switch (destination) {
    case cmd::kDropCompress: return "Compress";
    case cmd::kDropPrinter: return "Printer";
    case cmd::kDropContactSheet: return "Contact Sheet";
    default: return nullptr;
  }
}

void SendToDestination(const std::vector<std::string>& names, int destination) {
  switch (destination) {
    case cmd::kDropSlideshow: RunSlideshow(names); break;
    case cmd::kDropCompress: RunBatchCompression(names); break;
    case cmd::kDropPrinter: PrintFiles(names); break;
    case cmd::kDropContactSheet: BuildContactSheet(names); break;
    default: break;
  }
}

// One list, from the queue while it is active, else from the shell's drop.
void HandleFileList(HDROP drop) {
  AcceptDroppedFiles(false);
  const bool fromQueue = QueueIsActive();
  if (AskSaveChanges()) {
    const std::vector<std::string> names = fromQueue ? QueuedNames() : DroppedNames(drop);
    BeginBatch();
    SetBatchSize(int(names.size()));
    const int destination = Options().DropTo();
    const char* target = fromQueue ? nullptr : ConfirmationTarget(destination);
    if (!names.empty() &&
        (!target || AskYesNo("Are you sure you want to drop to %s?", target) == MsgResult::Yes)) {
      SendToDestination(names, destination);
    }
    EndBatch();
  }
  if (fromQueue) QueueClear();
  if (drop) DragFinish(drop);
  AcceptDroppedFiles(true);
}
}  // namespace

void AcceptDroppedFiles(bool accept) {
  DragAcceptFiles(shell.mainWindow, accept);
  if (HWND view = FullScreenWindow()) DragAcceptFiles(view, accept);
}

void OnDropFiles(HDROP drop) {
  if (IsBatchRunning()) {
    DragFinish(drop);
    return;
  }
  HandleFileList(drop);
}

LRESULT OnDropList(LPARAM) {
  if (QueueIsActive() && !IsBatchRunning()) HandleFileList(nullptr);
  return 0;
}

}  // namespace quilla
