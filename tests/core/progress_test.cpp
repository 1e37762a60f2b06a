#include "core/progress.h"

#include <gtest/gtest.h>

#include "core/dib_image.h"
#include "core/messages.h"
#include "core/version.h"
#include "support/scripted_host.h"

namespace quilla {

class ProgressTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetProgressState(); }
  void TearDown() override {
    SetMainDocument(nullptr);
    SetActiveTransferCleanup(nullptr);
    ResetProgressState();
  }
  InstalledHost host;
};

TEST_F(ProgressTest, MessagesCarryBoundedTextButtonsAndCaption) {
  ShowWarning("Cannot create:\n\n%s", "c:\\x.bmp");
  EXPECT_EQ(host.LastMessage(), "Cannot create:\n\nc:\\x.bmp");
  EXPECT_EQ(host.messages.back().caption, kProgramTitle);
  EXPECT_EQ(host.messages.back().icon, MsgIcon::Exclamation);
  ShowNoMemory();
  EXPECT_EQ(host.LastMessage(), "Not enough memory !");
  ShowShortFile("a.gif");
  EXPECT_EQ(host.LastMessage(), "Short file: a.gif");
  ShowInfo("done");
  EXPECT_EQ(host.messages.back().icon, MsgIcon::Information);
  ShowWarning("%s", std::string(5000, 'a').c_str());
  EXPECT_LT(host.LastMessage().size(), 1000u) << "bounded";

  host.answers = {MsgResult::Cancel};
  EXPECT_FALSE(AskOkCancel("%s\n\nDo you want to continue ?", "x"));
  EXPECT_EQ(host.messages.back().buttons, MsgButtons::OkCancel);
  host.answers = {MsgResult::No};
  EXPECT_EQ(AskYesNoCancel("Save %d?", 1), MsgResult::No);
  EXPECT_EQ(host.messages.back().buttons, MsgButtons::YesNoCancel);
  EXPECT_EQ(host.messages.back().icon, MsgIcon::Question);
}

TEST_F(ProgressTest, NestedWaitCursorsNeedMatchingEnds) {
  BeginWaitCursor();
  BeginWaitCursor();
  EndWaitCursor();
  EXPECT_TRUE(WaitCursorShown());
  EXPECT_EQ(host.cursorRestores, 0);
  EndWaitCursor();
  EXPECT_FALSE(WaitCursorShown());
  EXPECT_EQ(host.cursorRestores, 1);
  EXPECT_EQ(BusyCursorDepth(), 0);
}

TEST_F(ProgressTest, InterfaceBusyDepthTogglesToolbarAtEdges) {
  DisableInterface();
  DisableInterface();
  EnableInterface();
  EXPECT_FALSE(IsInterfaceIdle());
  EnableInterface();
  EXPECT_TRUE(IsInterfaceIdle());
  EXPECT_EQ(host.busyStates, (std::vector<bool>{true, false}));
  EnableInterface();  // an extra enable doesn't wrap the depth
  EXPECT_TRUE(IsInterfaceIdle());
}

TEST_F(ProgressTest, ProgressTitleShowsLowerCaseNameAndPercent) {
  SetProgressName("C:\\Pictures\\Photo.JPG");
  ResetProgress();
  EXPECT_EQ(ReportProgress(0, 480), 1);
  EXPECT_EQ(host.titles.back(), "photo.jpg-00%");
  ReportProgress(1, 480);  // still 0%: no new title
  EXPECT_EQ(host.titles.size(), 1u);
  ReportProgress(479, 480);
  EXPECT_EQ(host.titles.back(), "photo.jpg-99%") << "the percentage is truncated";
  ReportPercent(100);
  EXPECT_EQ(host.titles.back(), "photo.jpg-100%");
  EXPECT_EQ(LastPercent(), 100);
}

TEST_F(ProgressTest, CancelYesStopsAtNextPollAndRunsCleanup) {
  int readCleanups = 0;
  DIBImage doc;
  doc.ioState = 1;
  SetMainDocument(&doc);
  SetActiveTransferCleanup([&] { ++readCleanups; });
  host.answers = {MsgResult::Yes};
  host.AtPump(1, OnCancelOperationCommand);  // the user picks Cancel operation
  EXPECT_EQ(ReportProgress(1, 10), 0);
  EXPECT_EQ(host.messages.back().text, "Are you sure you want to Cancel the operation?");
  EXPECT_EQ(readCleanups, 1);
  EXPECT_TRUE(IsBatchCancelled());
  EXPECT_FALSE(CancelRequested()) << "the poll consumes the request";
  EXPECT_EQ(PollCancel(), 1);
}

TEST_F(ProgressTest, CancelNoLeavesOperationRunning) {
  host.answers = {MsgResult::No};
  host.AtPump(1, OnCancelOperationCommand);
  EXPECT_EQ(PollCancel(), 1);
  EXPECT_FALSE(IsBatchCancelled());
}

TEST_F(ProgressTest, CleanupFollowsIoState) {
  int cleanups = 0;
  DIBImage doc;
  SetMainDocument(&doc);
  SetActiveTransferCleanup([&] { ++cleanups; });
  RunTransferCleanup();
  EXPECT_EQ(cleanups, 0) << "no transfer under way";
  doc.ioState = 2;
  RunTransferCleanup();
  EXPECT_EQ(cleanups, 1);
  doc.ioState = 1;
  RequestCancel();
  EXPECT_EQ(ReportProgressNoCleanup(1, 2), 0);
  EXPECT_EQ(cleanups, 1) << "the no-cleanup variant leaves clean-up to its caller";
}

TEST_F(ProgressTest, QuitWhileWaitingMarksExiting) {
  host.onPump = [] { return false; };  // a quit message
  EXPECT_EQ(PollCancel(), 0);
  EXPECT_TRUE(IsExiting());
  host.pumps = 0;
  EXPECT_EQ(PollCancel(), 0);
  EXPECT_EQ(WaitOneMessage(), 0);
  EXPECT_EQ(host.pumps, 0) << "once exiting no more messages are taken";
  host.answers.clear();
  OnCancelOperationCommand();
  EXPECT_TRUE(host.messages.empty()) << "no cancel question while exiting";
}

TEST_F(ProgressTest, BatchIsCancelledOnlyWhileItRunsAndItsEndTellsTheWindow) {
  CancelBatch();
  EXPECT_FALSE(IsBatchCancelled()) << "no batch runs";
  BeginBatch();
  EXPECT_TRUE(IsBatchRunning());
  EXPECT_FALSE(IsInterfaceIdle());
  CancelBatch();
  EXPECT_TRUE(IsBatchCancelled());
  EndBatch();
  EXPECT_FALSE(IsBatchRunning());
  EXPECT_FALSE(IsBatchCancelled());
  EXPECT_TRUE(IsInterfaceIdle());
  EXPECT_EQ(host.events, (std::vector<EngineEvent>{EngineEvent::BatchEnded}));
}

TEST_F(ProgressTest, EndBatchWhileExitingKeepsState) {
  BeginBatch();
  MarkExiting();
  EndBatch();
  EXPECT_TRUE(IsBatchRunning());
}

}  // namespace quilla
