#include "core/progress.h"

#include <cctype>

#include "core/dib_image.h"
#include "core/messages.h"

namespace quilla {

namespace {
struct ProgressState {
  unsigned interfaceBusyDepth = 0;
  bool cancelRequested = false;
  bool exiting = false;
  int lastPercent = -1;
  std::string progressName;
  bool batchRunning = false;
  bool batchCancelled = false;
  bool batchWaiting = false;
  int batchSize = 0;
  int batchIndex = 0;
};
ProgressState state;

DIBImage* mainDocument = nullptr;
std::function<void()> activeTransferCleanup;

std::string FileTitleLowerCase(const std::string& path) {
  size_t slash = path.find_last_of("/\\:");
  std::string title = slash == std::string::npos ? path : path.substr(slash + 1);
  for (char& c : title) c = char(std::tolower(static_cast<unsigned char>(c)));
  return title;
}

int ReportPercentInternal(int percent, bool cleanUp) {
  if (percent != state.lastPercent) {
    state.lastPercent = percent;
    CurrentHost().SetWindowTitle(FormatMessageText("%s-%02d%%", state.progressName.c_str(), percent));
  }
  if (PollCancel()) return 1;
  if (cleanUp) RunTransferCleanup();
  return 0;
}
}  // namespace

void ResetProgressState() { state = ProgressState{}; }

void DisableInterface() {
  if (state.interfaceBusyDepth++ == 0) CurrentHost().SetBusy(true);
}

void EnableInterface() {
  if (state.interfaceBusyDepth == 0) return;
  if (--state.interfaceBusyDepth == 0) CurrentHost().SetBusy(false);
}

void ResetInterface() {
  state.interfaceBusyDepth = 0;
  CurrentHost().SetBusy(false);
}

bool IsInterfaceIdle() { return state.interfaceBusyDepth == 0; }
unsigned InterfaceBusyDepth() { return state.interfaceBusyDepth; }

void ShowBusyMenu(int number) { CurrentHost().ShowBusyMenu(number); }
void RestoreMenu() { CurrentHost().RestoreMainMenu(); }

void OnCancelOperationCommand() {
  if (state.exiting) return;
  if (AskYesNo("Are you sure you want to Cancel the operation?") == MsgResult::Yes) {
    state.batchCancelled = true;
    state.cancelRequested = true;
  }
}

void SetProgressName(const std::string& path) { state.progressName = FileTitleLowerCase(path).substr(0, 500); }
const std::string& ProgressName() { return state.progressName; }
// A cancel confirmed while nothing ran must not stop the next transfer at its first poll.
void ResetProgress() {
  state.lastPercent = -1;
  state.cancelRequested = false;
}
int LastPercent() { return state.lastPercent; }

int ReportProgress(long long done, long long total) {
  return ReportPercentInternal(total > 0 ? int(done * 100 / total) : 0, true);
}

int ReportProgressNoCleanup(long long done, long long total) {
  return ReportPercentInternal(total > 0 ? int(done * 100 / total) : 0, false);
}

int ReportPercent(int percent) { return ReportPercentInternal(percent, true); }

int PollCancel() {
  if (!state.exiting) {
    if (!CurrentHost().PumpPendingMessages([] { return state.cancelRequested; })) state.exiting = true;
  }
  if (state.cancelRequested) {
    state.cancelRequested = false;
    return 0;
  }
  return state.exiting ? 0 : 1;
}

int WaitOneMessage() {
  if (!state.exiting && !CurrentHost().WaitAndDispatchOneMessage()) state.exiting = true;
  if (state.cancelRequested) {
    state.cancelRequested = false;
    return 0;
  }
  return state.exiting ? 0 : 1;
}

void RequestCancel() { state.cancelRequested = true; }
bool CancelRequested() { return state.cancelRequested; }

void MarkExiting() {
  CurrentHost().SetBusy(true);
  state.exiting = true;
}

bool IsExiting() { return state.exiting; }

void BeginBatch() {
  DisableInterface();
  state.batchRunning = true;
  state.batchCancelled = false;
  state.batchWaiting = false;
  state.batchSize = 0;
  state.batchIndex = 0;
}

void EndBatch() {
  if (state.exiting) return;
  state.batchRunning = false;
  state.batchCancelled = false;
  state.batchWaiting = false;
  CurrentHost().OnEngineEvent(EngineEvent::BatchEnded);
  EnableInterface();
}

bool IsBatchRunning() { return state.batchRunning; }
bool IsBatchCancelled() { return state.batchCancelled; }

void CancelBatch() {
  if (state.batchRunning) state.batchCancelled = true;
}

void SetBatchSize(int count) { state.batchSize = count; }
int BatchSize() { return state.batchSize; }
void SetBatchIndex(int index) { state.batchIndex = index; }
int BatchIndex() { return state.batchIndex; }
void SetBatchWaiting(bool waiting) { state.batchWaiting = waiting; }
bool IsBatchWaiting() { return state.batchWaiting; }

void SetMainDocument(DIBImage* document) { mainDocument = document; }
DIBImage* MainDocument() { return mainDocument; }

std::function<void()> SetActiveTransferCleanup(std::function<void()> cleanup) {
  std::swap(activeTransferCleanup, cleanup);
  return cleanup;
}

void RunTransferCleanup() {
  if (mainDocument && (mainDocument->ioState == 1 || mainDocument->ioState == 2) && activeTransferCleanup)
    activeTransferCleanup();
}

}  // namespace quilla
