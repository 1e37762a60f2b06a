#include "app/file_queue.h"

#include <gtest/gtest.h>

#include "core/commands.h"
#include "settings/app_options.h"

namespace quilla {

class FileQueueTest : public ::testing::Test {
 protected:
  void SetUp() override { Options().SetDropTo(cmd::kDropContactSheet); }
  void TearDown() override { QueueClear(); }
};

TEST_F(FileQueueTest, HoldsTheDestinationWhileActive) {
  ASSERT_TRUE(QueueStart(2, cmd::kDropSlideshow));
  EXPECT_TRUE(QueueIsActive());
  EXPECT_EQ(Options().DropTo(), cmd::kDropSlideshow);
  EXPECT_TRUE(QueueAdd("a.bmp"));
  EXPECT_TRUE(QueueAdd("b.bmp"));
  EXPECT_EQ(QueueCount(), 2u);
  EXPECT_EQ(QueueName(1), "b.bmp");
  EXPECT_EQ(QueueName(2), "");
  QueueClear();
  EXPECT_FALSE(QueueIsActive());
  EXPECT_EQ(QueueCount(), 0u);
  EXPECT_EQ(Options().DropTo(), cmd::kDropContactSheet);
}

TEST_F(FileQueueTest, AStartOverAnActiveQueueKeepsTheUsersDestination) {
  ASSERT_TRUE(QueueStart(1, cmd::kDropSlideshow));
  ASSERT_TRUE(QueueAdd("old.bmp"));
  ASSERT_TRUE(QueueStart(1, cmd::kDropPrinter));
  EXPECT_EQ(QueueCount(), 0u);
  EXPECT_EQ(Options().DropTo(), cmd::kDropPrinter);
  QueueClear();
  EXPECT_EQ(Options().DropTo(), cmd::kDropContactSheet);
  // Clearing an inactive queue leaves a value the user chose since alone.
  Options().SetDropTo(cmd::kDropCompress);
  QueueClear();
  EXPECT_EQ(Options().DropTo(), cmd::kDropCompress);
}

TEST_F(FileQueueTest, AnAddPastTheRoomClearsTheQueue) {
  ASSERT_TRUE(QueueNames({"a.bmp", "b.bmp"}, cmd::kDropSlideshow));
  EXPECT_FALSE(QueueAdd("c.bmp"));
  EXPECT_FALSE(QueueIsActive());
  EXPECT_EQ(QueueCount(), 0u);
  EXPECT_EQ(Options().DropTo(), cmd::kDropContactSheet);
}

TEST_F(FileQueueTest, NoRoomLeavesTheQueueInactive) {
  EXPECT_FALSE(QueueStart(size_t(-1), cmd::kDropSlideshow));
  EXPECT_FALSE(QueueIsActive());
  EXPECT_EQ(Options().DropTo(), cmd::kDropContactSheet);
}

}  // namespace quilla
