#include "named_mutex.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/mman.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <thread>
#include <vector>

#include "kernel.h"
#include "shared_block.h"
#include "test_process.h"

namespace {

// A named mutex under a name of its own, removed again at the end of the test.
class NamedMutexTest : public ::testing::Test {
 protected:
  void TearDown() override { RemoveNamedMutex(name_.c_str()); }

  NamedMutex MakeMutex() {
    NamedMutex mutex;
    mutex.name = name_.c_str();
    return mutex;
  }

  std::string name_ = UniqueName("mutex");
};

// Adds one to a counter in a file under the mutex, `rounds` times; the read and the write
// are apart, so without exclusion concurrent rounds lose counts.
void CountUnderMutex(const char* name, const std::string& path, int rounds) {
  NamedMutex mutex;
  mutex.name = name;
  EXPECT_EQ(0, CreateNamedMutex(mutex));
  MutexHandle handle{&mutex};
  EXPECT_EQ(0, OpenMutexHandle(handle));
  for (int i = 0; i < rounds; ++i) {
    EXPECT_EQ(0, WaitMutexHandle(handle));
    int count = std::stoi(std::string("0").append(ReadTextFile(path)));
    Sleep(0);
    WriteTextFile(path, std::to_string(count + 1));
    EXPECT_EQ(0, ReleaseMutexHandle(handle));
  }
}

TEST(SharedBlockName, MapsSlashesToValidObjectName) {
  EXPECT_EQ("/__SEM32__RV7.SEM", SharedBlockName("//SEM32//RV7.SEM"));
  EXPECT_EQ("/a_b_c", SharedBlockName("a\\b/c"));
}

TEST_F(NamedMutexTest, CreateOpenWaitReleaseCloseKeepCounts) {
  NamedMutex mutex = MakeMutex();
  ASSERT_EQ(0, CreateNamedMutex(mutex));
  EXPECT_NE(nullptr, mutex.handle);
  MutexHandle handle{&mutex};
  ASSERT_EQ(0, OpenMutexHandle(handle));
  EXPECT_EQ(2, mutex.open_count);

  EXPECT_EQ(0, WaitMutexHandle(handle));
  EXPECT_EQ(1, mutex.lock_count);
  EXPECT_EQ(0, ReleaseMutexHandle(handle));
  EXPECT_EQ(0, mutex.lock_count);

  EXPECT_EQ(0, CloseMutexHandle(handle));
  EXPECT_EQ(nullptr, handle.handle);
  EXPECT_EQ(0, CloseNamedMutex(mutex));
  EXPECT_EQ(nullptr, mutex.handle);
  EXPECT_EQ(0, mutex.open_count);
}

TEST_F(NamedMutexTest, ClosedOrMissingHandlesAreRefused) {
  NamedMutex mutex = MakeMutex();
  MutexHandle handle{&mutex};
  EXPECT_EQ(ENOENT, OpenMutexHandle(handle));
  EXPECT_EQ(1, mutex.open_count);  // raised whether or not the open worked
  EXPECT_EQ(EBADF, WaitMutexHandle(handle));
  EXPECT_EQ(1, mutex.lock_count);  // raised before the wait
  EXPECT_EQ(EBADF, ReleaseMutexHandle(handle));
  EXPECT_EQ(EBADF, CloseMutexHandle(handle));
  EXPECT_EQ(EBADF, CloseNamedMutex(mutex));

  NamedMutex unnamed;
  EXPECT_EQ(EINVAL, CreateNamedMutex(unnamed));
}

TEST_F(NamedMutexTest, OwnerMayWaitAgainButOthersCannotRelease) {
  NamedMutex mutex = MakeMutex();
  ASSERT_EQ(0, CreateNamedMutex(mutex));
  MutexHandle handle{&mutex};
  ASSERT_EQ(0, OpenMutexHandle(handle));
  EXPECT_EQ(0, WaitMutexHandle(handle));
  EXPECT_EQ(0, WaitMutexHandle(handle));

  int foreign_release = 0;
  std::thread([&] { foreign_release = ReleaseMutexHandle(handle); }).join();
  EXPECT_EQ(EPERM, foreign_release);

  EXPECT_EQ(0, ReleaseMutexHandle(handle));
  EXPECT_EQ(0, ReleaseMutexHandle(handle));
  EXPECT_EQ(EPERM, ReleaseMutexHandle(handle));
  CloseMutexHandle(handle);
  CloseNamedMutex(mutex);
}

TEST_F(NamedMutexTest, WaitAfterOwnerDiedReturnsAbandonedThenNormal) {
  NamedMutex mutex = MakeMutex();
  ASSERT_EQ(0, CreateNamedMutex(mutex));
  MutexHandle handle{&mutex};
  ASSERT_EQ(0, OpenMutexHandle(handle));

  ChildResult child = RunInChild([&] {
    NamedMutex child_mutex = MakeMutex();
    MutexHandle child_handle{&child_mutex};
    if (OpenMutexHandle(child_handle) != 0 || WaitMutexHandle(child_handle) != 0) {
      ::_exit(2);
    }
    ::_exit(0);  // ends holding the mutex
  });
  ASSERT_EQ(0, child.exit_code);

  EXPECT_EQ(kWaitAbandoned, WaitMutexHandle(handle));
  EXPECT_EQ(0, ReleaseMutexHandle(handle));
  EXPECT_EQ(0, WaitMutexHandle(handle));
  EXPECT_EQ(0, ReleaseMutexHandle(handle));
  CloseMutexHandle(handle);
  CloseNamedMutex(mutex);
}

TEST_F(NamedMutexTest, ExcludesOtherProcesses) {
  ScratchDirectory directory;
  constexpr int kRounds = 300;
  std::string path = (directory.path() / "count").string();
  pid_t first = StartChild([&] { CountUnderMutex(name_.c_str(), path, kRounds); });
  pid_t second = StartChild([&] { CountUnderMutex(name_.c_str(), path, kRounds); });
  EXPECT_EQ(0, WaitChild(first));
  EXPECT_EQ(0, WaitChild(second));
  EXPECT_EQ(std::to_string(2 * kRounds), ReadTextFile(path));
}

TEST_F(NamedMutexTest, SimultaneousCreatorsShareOneMutex) {
  ScratchDirectory directory;
  constexpr int kThreads = 6;
  constexpr int kRounds = 100;
  std::string path = (directory.path() / "count").string();
  std::atomic<int> ready{0};
  std::vector<std::thread> threads;
  for (int i = 0; i < kThreads; ++i) {
    threads.emplace_back([&] {
      ++ready;
      while (ready < kThreads) {
        Sleep(0);
      }
      CountUnderMutex(name_.c_str(), path, kRounds);
    });
  }
  for (std::thread& thread : threads) {
    thread.join();
  }
  EXPECT_EQ(std::to_string(kThreads * kRounds), ReadTextFile(path));
}

TEST_F(NamedMutexTest, ForeignObjectTooSmallIsRefused) {
  std::string object = SharedBlockName(name_);
  int fd = ::shm_open(object.c_str(), O_RDWR | O_CREAT | O_EXCL, 0600);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(0, ::ftruncate(fd, 1));
  ::close(fd);
  NamedMutex mutex = MakeMutex();
  EXPECT_EQ(EINVAL, CreateNamedMutex(mutex));
  EXPECT_EQ(nullptr, mutex.handle);
}

}  // namespace
