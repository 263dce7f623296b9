// The replay speed of a freshly started program, before any digit key: 100 ms per step. A
// test program of its own, so that nothing has chosen a delay before it looks.
#include <gtest/gtest.h>

#include "engine.h"

namespace {

TEST(ReplayStart, SelectedDelayIsOneHundredMillisecondsBeforeAnyDigitKey) {
  EXPECT_EQ(selected_delay(), 100);
  EXPECT_EQ(replay_delay(), 100);
  ASSERT_EQ(replay_text("r", ReplayMode::kStored), 0);
  EXPECT_EQ(replay_delay(), 100);
  stop_replay();
}

}  // namespace
