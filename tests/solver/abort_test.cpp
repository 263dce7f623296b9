// Rv7SolverAbort: a long search stopped from another thread, and calls that are not stopped.
#include <gtest/gtest.h>
#include <pthread.h>
#include <time.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "rv7solv.h"
#include "slow_board.h"
#include "solve_helper.h"

namespace {

constexpr char kSmallLevel[] = R"(
#######
#@ $ .#
#######
)";

constexpr auto kSearchHeadStart = std::chrono::milliseconds(300);
// CPU time the search may spend after the request: the machine may be busy, so wall time
// says little, but the work done after the request is what a player waits for.
constexpr double kStopWithinMs = 100.0;

double CpuMs(clockid_t clock) {
  timespec now{};
  clock_gettime(clock, &now);
  return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

// The slow board solved on a thread of its own, whose CPU time can be read from outside.
class SlowSearch {
 public:
  SlowSearch()
      : thread_([this] {
          pthread_getcpuclockid(pthread_self(), &clock_);
          ready_ = true;
          answer_ = solve_drawing(&Rv7Solver2, kSlowBoard);
          cpu_at_end_ms_ = CpuMs(CLOCK_THREAD_CPUTIME_ID);
          done_ = true;
        }) {}
  ~SlowSearch() {
    while (!done_) {
      Rv7SolverAbort();
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    thread_.join();
  }

  bool done() const { return done_; }
  double cpu_ms() const { return ready_ ? CpuMs(clock_) : 0.0; }
  // Waits for the end; the answer and the thread's CPU time at its end.
  const Answer& answer() const {
    while (!done_) {
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return answer_;
  }
  double cpu_at_end_ms() const { return cpu_at_end_ms_; }

 private:
  clockid_t clock_{};
  std::atomic<bool> ready_{false};
  std::atomic<bool> done_{false};
  Answer answer_;
  double cpu_at_end_ms_ = 0.0;
  std::thread thread_;
};

TEST(Rv7SolverAbort, StopsARunningSearchAtOnceWithCodeEightAndNoAnswer) {
  Answer answer;
  double after_request_ms = 0.0;
  {
    SlowSearch search;
    std::this_thread::sleep_for(kSearchHeadStart);
    ASSERT_FALSE(search.done()) << "the slow board no longer runs long enough to be stopped";
    const double cpu_at_request = search.cpu_ms();
    Rv7SolverAbort();
    answer = search.answer();
    after_request_ms = search.cpu_at_end_ms() - cpu_at_request;
  }
  EXPECT_LT(after_request_ms, kStopWithinMs);
  EXPECT_EQ(answer.code, 8);
  EXPECT_EQ(answer.returned, 8);
  EXPECT_EQ(answer.moves, 0);
  EXPECT_EQ(answer.pushes, 0);
  EXPECT_TRUE(answer.text_guarded);
}

TEST(Rv7SolverAbort, RequestsOutsideACallAreDroppedAndAnswersStayAsBefore) {
  const Answer before = solve_drawing(&Rv7Solver2, kSmallLevel);
  ASSERT_EQ(before.code, 6);
  Rv7SolverAbort();  // no call runs: the next call starts without it
  EXPECT_EQ(solve_drawing(&Rv7Solver2, kSmallLevel), before);
  // After a stopped search the library answers as before.
  { SlowSearch stopped_by_its_end; }
  EXPECT_EQ(solve_drawing(&Rv7Solver2, kSmallLevel), before);
}

}  // namespace
