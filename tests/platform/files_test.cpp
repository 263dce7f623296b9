#include "files.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>

#include "file_size_limit.h"
#include "test_process.h"

namespace {

TEST(Files, SuitePathsUseBackslashesOnDisk) {
  ScratchDirectory directory;
  EXPECT_EQ("Mazes/Screens/Screens.12", NativePath("Mazes\\Screens\\Screens.12"));
  ASSERT_EQ(0, MakeDirectory("Mazes"));
  ASSERT_EQ(0, MakeDirectory("Mazes\\Screens"));
  EXPECT_EQ(EEXIST, MakeDirectory("Mazes\\Screens"));
  EXPECT_EQ(ENOENT, MakeDirectory("Missing\\Below"));

  FILE* file = OpenFile("Mazes\\Screens\\Screens.1", "w");
  ASSERT_NE(nullptr, file);
  std::fputs("#####\n", file);
  std::fclose(file);
  EXPECT_TRUE(FileExists("Mazes\\Screens\\Screens.1"));
  EXPECT_TRUE(FileExists("Mazes\\Screens"));
  EXPECT_FALSE(FileExists("Mazes\\Screens\\Screens.2"));
  EXPECT_EQ("#####\n", ReadTextFile("Mazes/Screens/Screens.1"));
  EXPECT_EQ(nullptr, OpenFile("Mazes\\Nowhere\\x", "r"));
}

TEST(Files, CopyKeepsExistingTargetWhenAsked) {
  ScratchDirectory directory;
  WriteTextFile("from", "new text");
  WriteTextFile("to", "old text");
  EXPECT_EQ(EEXIST, CopyWholeFile("from", "to", true));
  EXPECT_EQ("old text", ReadTextFile("to"));
  EXPECT_EQ(0, CopyWholeFile("from", "to", false));
  EXPECT_EQ("new text", ReadTextFile("to"));
  EXPECT_EQ(ENOENT, CopyWholeFile("missing", "other", false));
  EXPECT_FALSE(FileExists("other"));
}

TEST(Files, AtomicWriterReplacesOnlyOnCommit) {
  ScratchDirectory directory;
  ASSERT_EQ(0, MakeDirectory("Ini"));
  WriteTextFile("Ini/Game.Ini", "old");
  {
    AtomicFileWriter abandoned;
    FILE* file = abandoned.Open("Ini\\Game.Ini");
    ASSERT_NE(nullptr, file);
    std::fputs("half", file);
  }
  EXPECT_EQ("old", ReadTextFile("Ini/Game.Ini"));
  EXPECT_EQ(1, std::distance(std::filesystem::directory_iterator("Ini"),
                             std::filesystem::directory_iterator()));
  {
    const FileSizeLimit full_disk(2);  // a disk that takes no more
    AtomicFileWriter failing;
    FILE* file = failing.Open("Ini\\Game.Ini");
    ASSERT_NE(nullptr, file);
    std::fputs("longer than the disk takes", file);
    EXPECT_EQ(EFBIG, failing.Commit());
  }
  EXPECT_EQ("old", ReadTextFile("Ini/Game.Ini"));
  EXPECT_EQ(1, std::distance(std::filesystem::directory_iterator("Ini"),
                             std::filesystem::directory_iterator()));

  AtomicFileWriter writer;
  FILE* file = writer.Open("Ini\\Game.Ini");
  ASSERT_NE(nullptr, file);
  EXPECT_EQ(nullptr, writer.Open("Ini\\Game.Ini"));  // one file at a time
  std::fputs("\n# new\n", file);
  EXPECT_EQ(0, writer.Commit());
  EXPECT_EQ("\n# new\n", ReadTextFile("Ini/Game.Ini"));
  EXPECT_EQ(EBADF, writer.Commit());
}

// Every file name in the current directory.
std::set<std::string> Names() {
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(".")) {
    names.insert(entry.path().filename().string());
  }
  return names;
}

unsigned ModeOf(const char* path) {
  struct stat info {};
  return ::stat(path, &info) == 0 ? info.st_mode & 07777 : 0;
}

// Runs `body` in a child process without the privileges to write other users' files: as
// root, the child becomes the user nobody in the current directory, which it then owns.
int RunUnprivileged(const std::function<void()>& body) {
  constexpr uid_t kNobody = 65534;
  return RunInChild([&body] {
           if (::geteuid() == 0 && (::chown(".", kNobody, kNobody) != 0 || ::setgid(kNobody) != 0 ||
                                    ::setuid(kNobody) != 0)) {
             ::_exit(2);
           }
           body();
         })
      .exit_code;
}

TEST(Files, OnlyRegularFilesOpenAndNoneHoldsTheReaderUp) {
  ScratchDirectory directory;
  ASSERT_EQ(::mkfifo("fifo", 0600), 0);
  ASSERT_EQ(::symlink("/dev/zero", "zero"), 0);
  ASSERT_EQ(MakeDirectory("folder"), 0);
  WriteTextFile("plain", "text\n");
  std::ofstream("huge") << "x";
  std::filesystem::resize_file("huge", kMaxReadBytes + 1);  // sparse: nothing is written

  const auto start = std::chrono::steady_clock::now();
  for (const char* mode : {"r", "rb", "a", "w"}) {
    for (const auto& [path, error] :
         {std::pair{"fifo", EINVAL}, std::pair{"zero", EINVAL}, std::pair{"folder", EISDIR}}) {
      errno = 0;
      EXPECT_EQ(OpenFile(path, mode), nullptr) << path << " " << mode;
      EXPECT_EQ(errno, error) << path << " " << mode;
    }
  }
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));  // no wait
  FILE* plain = OpenReadFile("plain", "r");
  ASSERT_NE(plain, nullptr);
  EXPECT_TRUE(WithinReadLimit(plain));
  std::fclose(plain);
  FILE* huge = OpenFile("huge", "rb");
  ASSERT_NE(huge, nullptr);  // a regular file opens, but the readers refuse its size:
  std::fclose(huge);
  errno = 0;
  EXPECT_EQ(OpenReadFile("huge", "rb"), nullptr);
  EXPECT_EQ(errno, EFBIG);
  EXPECT_TRUE(std::filesystem::is_fifo("fifo"));  // nothing was replaced
}

// Writes `text` to `path` through a writer of its own: the error code of the open when it
// failed, else that of the commit.
int WriteThrough(std::string_view path, const char* text) {
  AtomicFileWriter writer;
  FILE* file = writer.Open(path);
  if (file == nullptr) {
    return writer.open_error();
  }
  std::fputs(text, file);
  return writer.Commit();
}

ino_t InodeOf(const char* path) {
  struct stat info {};
  return ::stat(path, &info) == 0 ? info.st_ino : 0;
}

TEST(Files, AtomicWriterKeepsPermissionsAndRefusesReadOnlyTargets) {
  ScratchDirectory directory;
  WriteTextFile("kept", "old");
  ASSERT_EQ(::chmod("kept", 0640), 0);
  ASSERT_EQ(WriteThrough("kept", "new"), 0);
  EXPECT_EQ(ReadTextFile("kept"), "new");
  EXPECT_EQ(ModeOf("kept"), 0640u);
  ASSERT_EQ(MakeDirectory("folder"), 0);
  EXPECT_EQ(WriteThrough("folder", "x"), EISDIR);

  EXPECT_EQ(RunUnprivileged([] {
              // A read-only file is not replaced behind its owner's back.
              WriteTextFile("Game.Ini", "read-only");
              ASSERT_EQ(::chmod("Game.Ini", 0444), 0);
              EXPECT_EQ(WriteThrough("Game.Ini", "new"), EACCES);
              EXPECT_EQ(ReadTextFile("Game.Ini"), "read-only");
              // A writable file in a read-only directory is written in place.
              WriteTextFile("Mazes.Ini", "old text, longer than the new");
              ASSERT_EQ(::chmod(".", 0555), 0);
              const ino_t before = InodeOf("Mazes.Ini");
              EXPECT_EQ(WriteThrough("Mazes.Ini", "new"), 0);
              EXPECT_EQ(ReadTextFile("Mazes.Ini"), "new");
              EXPECT_EQ(InodeOf("Mazes.Ini"), before);
              // And a new file cannot be made there.
              EXPECT_EQ(WriteThrough("Config.Ini", "new"), EACCES);
              ::chmod(".", 0755);
            }),
            0);
}

TEST(Files, TemporaryFilesAreUniqueAndThoseOfEndedWritersGo) {
  ScratchDirectory directory;
  const pid_t ended = RunInChild([] {}).pid;  // a process id that no longer runs
  const std::string own = std::to_string(::getpid());
  const std::vector<std::string> strays = {
      "Game.Ini." + std::to_string(ended) + ".aB3dE9.tmp",  // its writer was killed
      "Game.Ini." + own + ".zzzzzz.tmp",                    // an earlier process of this id
  };
  const std::set<std::string> kept = {
      "Game.Ini.1.qwerty.tmp",        // process 1 runs: a write in progress
      "Game.Ini." + own + ".ab.tmp",  // not a name the writer makes
      "Game.Ini.bak",
      "Other.Ini." + std::to_string(ended) + ".aB3dE9.tmp",
  };
  for (const std::string& name : strays) {
    WriteTextFile(name, "stray");
  }
  for (const std::string& name : kept) {
    WriteTextFile(name, "kept");
  }
  AtomicFileWriter first;
  AtomicFileWriter second;
  FILE* one = first.Open("Game.Ini");
  FILE* two = second.Open("Game.Ini");  // another writer of the same target meanwhile
  ASSERT_NE(one, nullptr);
  ASSERT_NE(two, nullptr);
  std::fputs("first", one);
  std::fputs("second", two);
  int temporaries = 0;
  for (const std::string& name : Names()) {
    temporaries += IsTemporaryOf(name, "Game.Ini") && kept.count(name) == 0;
  }
  EXPECT_EQ(temporaries, 2);
  EXPECT_EQ(first.Commit(), 0);
  EXPECT_EQ(ReadTextFile("Game.Ini"), "first");
  EXPECT_EQ(second.Commit(), 0);
  EXPECT_EQ(ReadTextFile("Game.Ini"), "second");
  std::set<std::string> expected = kept;
  expected.insert("Game.Ini");
  EXPECT_EQ(Names(), expected);
}

TEST(Files, AtomicWriterRefusesUnwritablePlace) {
  ScratchDirectory directory;
  AtomicFileWriter writer;
  EXPECT_EQ(nullptr, writer.Open("Missing\\Game.Ini"));
  EXPECT_EQ(EBADF, writer.Commit());
}

}  // namespace
