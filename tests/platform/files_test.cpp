#include "files.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>

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

  AtomicFileWriter writer;
  FILE* file = writer.Open("Ini\\Game.Ini");
  ASSERT_NE(nullptr, file);
  EXPECT_EQ(nullptr, writer.Open("Ini\\Game.Ini"));  // one file at a time
  std::fputs("\n# new\n", file);
  EXPECT_EQ(0, writer.Commit());
  EXPECT_EQ("\n# new\n", ReadTextFile("Ini/Game.Ini"));
  EXPECT_EQ(EBADF, writer.Commit());
}

TEST(Files, AtomicWriterRefusesUnwritablePlace) {
  ScratchDirectory directory;
  AtomicFileWriter writer;
  EXPECT_EQ(nullptr, writer.Open("Missing\\Game.Ini"));
  EXPECT_EQ(EBADF, writer.Commit());
}

}  // namespace
