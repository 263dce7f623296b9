#include "named_event.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

#include "kernel.h"
#include "test_process.h"

namespace {

constexpr int kSettleMs = 50;  // time for a wrongly released waiter to show itself

class NamedEventTest : public ::testing::Test {
 protected:
  void TearDown() override {
    RemoveNamedEvent(name_);
    RemoveNamedEvent(reply_name_);
  }

  std::string name_ = UniqueName("event");
  std::string reply_name_ = UniqueName("reply");
};

TEST_F(NamedEventTest, NewEventBlocksUntilSet) {
  NamedEvent event(name_);
  ASSERT_TRUE(event.valid());
  std::atomic<bool> released{false};
  std::thread waiter([&] {
    event.Wait();
    released = true;
  });
  Sleep(kSettleMs);
  EXPECT_FALSE(released);
  event.Set();
  waiter.join();
  EXPECT_TRUE(released);
}

TEST_F(NamedEventTest, StaysSetUntilReset) {
  NamedEvent event(name_);
  event.Set();
  event.Wait();
  event.Wait();  // manual reset: a set event releases every wait

  event.Reset();
  std::atomic<bool> released{false};
  std::thread waiter([&] {
    event.Wait();
    released = true;
  });
  Sleep(kSettleMs);
  EXPECT_FALSE(released);
  event.Set();
  waiter.join();
  EXPECT_TRUE(released);
}

TEST_F(NamedEventTest, SecondOpeningSharesStateWithoutResetting) {
  NamedEvent created(name_);
  created.Set();
  NamedEvent opened(name_);
  ASSERT_TRUE(opened.valid());
  opened.Wait();  // returns because the creator set it
  opened.Reset();

  std::atomic<bool> released{false};
  std::thread waiter([&] {
    created.Wait();
    released = true;
  });
  Sleep(kSettleMs);
  EXPECT_FALSE(released);
  opened.Set();
  waiter.join();
}

TEST_F(NamedEventTest, HandshakeAcrossProcesses) {
  NamedEvent request(name_);
  NamedEvent reply(reply_name_);
  ASSERT_TRUE(request.valid() && reply.valid());
  pid_t child = StartChild([&] {
    NamedEvent child_request(name_);
    NamedEvent child_reply(reply_name_);
    child_request.Wait();
    child_request.Reset();
    child_reply.Set();
  });
  request.Set();
  reply.Wait();
  EXPECT_EQ(0, WaitChild(child));

  // The child's reset reached this process's view of the event.
  std::atomic<bool> released{false};
  std::thread waiter([&] {
    request.Wait();
    released = true;
  });
  Sleep(kSettleMs);
  EXPECT_FALSE(released);
  request.Set();
  waiter.join();
}

TEST_F(NamedEventTest, UnusableNameGivesInvalidEventThatNeverBlocks) {
  NamedEvent event(std::string(300, 'x'));  // longer than any object name may be
  EXPECT_FALSE(event.valid());
  event.Set();
  event.Reset();
  event.Wait();
}

}  // namespace
