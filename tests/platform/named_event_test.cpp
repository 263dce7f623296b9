#include "named_event.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>

#include "kernel.h"
#include "test_process.h"

namespace {

constexpr int kSettleMs = 50;  // time for a wrongly released waiter to show itself
// A guarded child still running after this long is hung; the alarm kills it, which fails
// the test instead of stalling the run.
constexpr unsigned kWatchdogSeconds = 20;

// Starts `body` in a child that the watchdog alarm ends if it hangs.
pid_t StartGuardedChild(const std::function<void()>& body) {
  return StartChild([&] {
    ::alarm(kWatchdogSeconds);
    body();
  });
}

// Runs `body` in a guarded child; fails the test when a check failed there or the watchdog
// had to end the child.
void RunGuarded(const std::function<void()>& body) {
  int exit_code = WaitChild(StartGuardedChild(body));
  EXPECT_EQ(0, exit_code) << (exit_code < 0 ? "hung until the watchdog ended it" : "failed");
}

// Kills a child for good and reaps it.
void KillChild(pid_t pid) {
  ::kill(pid, SIGKILL);
  EXPECT_EQ(-1, WaitChild(pid));  // died by the signal, did not exit
}

// Checks that a thread of this process waiting on `event` stays blocked until `release`
// runs, and is let go by it.
void ExpectWaitBlocksUntil(NamedEvent& event, const std::function<void()>& release) {
  std::atomic<bool> released{false};
  std::thread waiter([&] {
    event.Wait();
    released = true;
  });
  Sleep(kSettleMs);
  EXPECT_FALSE(released);
  release();
  waiter.join();
  EXPECT_TRUE(released);
}

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
  ExpectWaitBlocksUntil(event, [&] { event.Set(); });
}

TEST_F(NamedEventTest, StaysSetUntilReset) {
  NamedEvent event(name_);
  event.Set();
  event.Wait();
  event.Wait();  // manual reset: a set event releases every wait

  event.Reset();
  ExpectWaitBlocksUntil(event, [&] { event.Set(); });
}

TEST_F(NamedEventTest, SecondOpeningSharesStateWithoutResetting) {
  NamedEvent created(name_);
  created.Set();
  NamedEvent opened(name_);
  ASSERT_TRUE(opened.valid());
  opened.Wait();  // returns because the creator set it
  opened.Reset();
  ExpectWaitBlocksUntil(created, [&] { opened.Set(); });
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
  ExpectWaitBlocksUntil(request, [&] { request.Set(); });
}

TEST_F(NamedEventTest, SetBeforeWaitReleasesAnotherProcessAtOnce) {
  NamedEvent event(name_);
  event.Set();
  RunGuarded([&] {
    NamedEvent opened(name_);
    ASSERT_TRUE(opened.valid());
    opened.Wait();
    opened.Wait();
  });
}

TEST_F(NamedEventTest, ResetThenWaitBlocksUntilAnotherProcessSets) {
  RunGuarded([&] {
    NamedEvent event(name_);
    event.Set();
    event.Reset();
    ExpectWaitBlocksUntil(event, [&] { RunGuarded([&] { NamedEvent(name_).Set(); }); });
  });
}

// A Set that a Reset follows at once still lets go every thread and process that was
// already waiting, as a set event releases all its waiters.
TEST_F(NamedEventTest, SetFollowedAtOnceByResetReleasesEveryWaiter) {
  RunGuarded([&] {
    NamedEvent event(name_);
    NamedEvent ready(reply_name_);
    pid_t waiter = StartGuardedChild([&] {
      NamedEvent child_event(name_);
      NamedEvent(reply_name_).Set();
      child_event.Wait();
    });
    ready.Wait();  // the child is about to wait; the settle below lets it go to sleep
    ExpectWaitBlocksUntil(event, [&] {
      event.Set();
      event.Reset();
    });
    EXPECT_EQ(0, WaitChild(waiter));
  });
}

// The fault this guards against: a process killed inside Wait left waiter bookkeeping in
// the shared block, and every later Set of that name hung.
TEST_F(NamedEventTest, WaiterKilledWhileWaitingLeavesEventUsable) {
  RunGuarded([&] {
    NamedEvent event(name_);
    NamedEvent waiting(reply_name_);
    pid_t victim = StartChild([&] {
      NamedEvent child_event(name_);
      NamedEvent(reply_name_).Set();
      child_event.Wait();
    });
    waiting.Wait();
    Sleep(kSettleMs);  // lets the victim go to sleep inside Wait
    KillChild(victim);

    pid_t process_waiter = StartGuardedChild([&] { NamedEvent(name_).Wait(); });
    ExpectWaitBlocksUntil(event, [&] { event.Set(); });
    EXPECT_EQ(0, WaitChild(process_waiter));
    event.Reset();
    ExpectWaitBlocksUntil(event, [&] { RunGuarded([&] { NamedEvent(name_).Set(); }); });
  });
}

// A setter killed at some moment of a Set or Reset leaves the event in one of its two
// states, and the next cycle works whichever it was.
TEST_F(NamedEventTest, SetterKilledAtAnyMomentLeavesEventUsable) {
  constexpr int kRounds = 5;
  RunGuarded([&] {
    NamedEvent event(name_);
    for (int round = 0; round < kRounds; ++round) {
      pid_t setter = StartChild([&] {
        NamedEvent child_event(name_);
        for (;;) {
          child_event.Set();
          child_event.Reset();
        }
      });
      Sleep(round + 1);  // a different moment of the loop each round
      KillChild(setter);
      event.Reset();
      ExpectWaitBlocksUntil(event, [&] { event.Set(); });
    }
  });
}

TEST_F(NamedEventTest, UnusableNameGivesInvalidEventThatNeverBlocks) {
  NamedEvent event(std::string(300, 'x'));  // longer than any object name may be
  EXPECT_FALSE(event.valid());
  event.Set();
  event.Reset();
  event.Wait();
}

}  // namespace
