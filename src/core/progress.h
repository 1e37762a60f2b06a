// Long operations run on the user-interface thread: they report progress in the window
// title, poll for cancel (which keeps the window alive by pumping messages), disable the
// interface, swap the menu bar for a one-item busy menu, and run as batches of files.
#pragma once
#include <functional>
#include <string>

namespace quilla {

class DIBImage;

// The one-item menus that replace the menu bar while an operation runs.
enum BusyMenuNumber { kLoadingMenu = 2, kSavingMenu = 3, kPausingMenu = 4, kCompressingMenu = 5, kPrintingMenu = 6 };
inline constexpr int kCancelOperationCommand = 600;

// Interface busy depth.
void DisableInterface();
void EnableInterface();
void ResetInterface();
bool IsInterfaceIdle();
unsigned InterfaceBusyDepth();

void ShowBusyMenu(int number);
void RestoreMenu();
// Command 600: asks whether to cancel and, on Yes, requests it.
void OnCancelOperationCommand();

// Progress in the window title: "name-NN%".
void SetProgressName(const std::string& path);
const std::string& ProgressName();
void ResetProgress();
int LastPercent();
int ReportProgress(long long done, long long total);
int ReportProgressNoCleanup(long long done, long long total);
int ReportPercent(int percent);

// Pumping. Both return 0 to stop (cancel requested or exiting), else 1.
int PollCancel();
int WaitOneMessage();
void RequestCancel();
bool CancelRequested();
void MarkExiting();
bool IsExiting();

// Batches of files.
void BeginBatch();
void EndBatch();
bool IsBatchRunning();
bool IsBatchCancelled();
// Marks a running batch to stop after the current file (closing during a batch).
void CancelBatch();
// Where the running batch is: its number of files and the index of the current one.
void SetBatchSize(int count);
int BatchSize();
void SetBatchIndex(int index);
int BatchIndex();
// The slideshow's pause between two files: set when it starts, cleared by its timer or by
// the click that asks for the next file.
void SetBatchWaiting(bool waiting);
bool IsBatchWaiting();

// The main document; its transfers can be cleaned up from outside (closing the window).
void SetMainDocument(DIBImage* document);
DIBImage* MainDocument();
// The clean-up of the transfer running on the main document, set while it runs; run
// while the document's ioState says a read (1) or a write (2) is under way.
// Returns the one it replaces, for a transfer that ends to put back.
std::function<void()> SetActiveTransferCleanup(std::function<void()> cleanup);
void RunTransferCleanup();

// Puts every flag back to its start-up value (tests; a fresh process starts this way).
void ResetProgressState();

}  // namespace quilla
