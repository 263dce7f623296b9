#include "rv7list.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <iterator>
#include <numeric>
#include <random>
#include <string>
#include <vector>

#include "scratch_directory.h"

namespace {

struct Item : ListNode {
  explicit Item(int v) : value(v) {}
  int value;
};

std::vector<int> walk(ListHead& head) {
  std::vector<int> values;
  for (const Item& item : ListRange<Item>(head)) {
    values.push_back(item.value);
  }
  return values;
}

// ---------------------------------------------------------------------------------------
// List

TEST(List, EmptyHeadPointsToItself) {
  ListHead head;
  EXPECT_EQ(head.next, &head);
  EXPECT_EQ(head.prev, &head);
  EXPECT_TRUE(list_empty(head));
  EXPECT_EQ(list_first(head), nullptr);
  EXPECT_EQ(list_last(head), nullptr);
}

TEST(List, PushAndInsertBuildTheExpectedOrder) {
  ListHead head;
  Item a(1), b(2), c(3), d(4), e(5);
  list_push_back(head, &b);
  list_push_front(head, &a);
  list_push_back(head, &e);
  list_insert_after(head, &b, &d);
  list_insert_before(head, &d, &c);
  EXPECT_EQ(walk(head), (std::vector<int>{1, 2, 3, 4, 5}));
  EXPECT_EQ(a.prev, &head);
  EXPECT_EQ(e.next, &head);
  EXPECT_EQ(list_first(head), &a);
  EXPECT_EQ(list_last(head), &e);
  EXPECT_EQ(list_next(head, &e), nullptr);
  EXPECT_EQ(list_size(head), 5U);
}

TEST(List, UnlinkTakesOnlyThatRecordOut) {
  ListHead head;
  Item a(1), b(2), c(3);
  for (Item* item : {&a, &b, &c}) {
    list_push_back(head, item);
  }
  list_unlink(head, &b);
  EXPECT_EQ(walk(head), (std::vector<int>{1, 3}));
  EXPECT_EQ(b.value, 2);
  list_unlink(head, &b);  // a second unlink of the same record changes nothing
  list_unlink(head, &head);
  EXPECT_EQ(walk(head), (std::vector<int>{1, 3}));
  list_unlink(head, &a);
  list_unlink(head, &c);
  EXPECT_TRUE(list_empty(head));
  EXPECT_EQ(head.next, &head);
}

// ---------------------------------------------------------------------------------------
// Memory pool

// Checks what must hold for every chunk at every moment: the free count is the sum of the
// free blocks' sizes, the in-use count matches, no two free blocks are neighbours, and the
// blocks with their headers tile the chunk exactly.
void expect_consistent(const MemoryPool& pool) {
  for (const PoolChunkInfo& chunk : pool.chunks()) {
    std::size_t free_sum = 0;
    int in_use = 0;
    std::size_t expected_offset = kPoolChunkOverhead;
    for (std::size_t i = 0; i < chunk.blocks.size(); ++i) {
      const PoolBlockInfo& block = chunk.blocks[i];
      EXPECT_EQ(block.offset, expected_offset);
      EXPECT_EQ(block.size % kPoolGranularity, 0U);
      expected_offset = block.offset + block.size + kPoolBlockHeader;
      free_sum += block.in_use ? 0 : block.size;
      in_use += block.in_use ? 1 : 0;
      if (i > 0) {
        EXPECT_FALSE(!block.in_use && !chunk.blocks[i - 1].in_use) << "unmerged free blocks";
      }
    }
    EXPECT_EQ(expected_offset, chunk.size + kPoolBlockHeader);
    EXPECT_EQ(chunk.free_bytes, free_sum);
    EXPECT_EQ(chunk.blocks_in_use, in_use);
    EXPECT_GT(in_use, 0) << "a chunk without blocks in use is kept";
  }
}

TEST(Pool, RequestsAreRoundedUpToFourBytes) {
  MemoryPool pool;
  for (std::size_t bytes : {1, 2, 3, 4, 5}) {
    ASSERT_NE(pool.allocate(bytes), nullptr);
  }
  std::vector<PoolChunkInfo> chunks = pool.chunks();
  ASSERT_EQ(chunks.size(), 1U);
  std::vector<std::size_t> sizes;
  for (const PoolBlockInfo& block : chunks[0].blocks) {
    sizes.push_back(block.size);
  }
  std::size_t rest = kPoolChunkSize - kPoolChunkOverhead - 4 * 4 - 8 - 5 * kPoolBlockHeader;
  EXPECT_EQ(sizes, (std::vector<std::size_t>{4, 4, 4, 4, 8, rest}));
  EXPECT_EQ(chunks[0].free_bytes, rest);
  EXPECT_EQ(chunks[0].blocks_in_use, 5);
  expect_consistent(pool);
}

TEST(Pool, NewChunkOffers16336FreeBytesAndBlocksFollowTheirHeaders) {
  MemoryPool pool;
  auto* first = static_cast<char*>(pool.allocate(100));
  auto* second = static_cast<char*>(pool.allocate(4));
  std::vector<PoolChunkInfo> chunks = pool.chunks();
  ASSERT_EQ(chunks.size(), 1U);
  EXPECT_EQ(chunks[0].size, 16384U);
  EXPECT_EQ(chunks[0].free_bytes, 16336U - 100 - 16 - 4 - 16);
  EXPECT_EQ(chunks[0].blocks[1].offset, 48U + 100 + 16);
  EXPECT_LT(first, second);
  EXPECT_EQ(pool.allocate(0), nullptr);
  EXPECT_EQ(pool.allocate(kPoolMaxRequest + 1), nullptr);
  EXPECT_EQ(pool.blocks_in_use(), 2);
}

TEST(Pool, BlockOfExactlySizePlusHeaderLeavesAFreeBlockOfSizeZero) {
  MemoryPool pool;
  ASSERT_NE(pool.allocate(16336 - 16 - 100), nullptr);  // leaves one free block of 100
  ASSERT_NE(pool.allocate(84), nullptr);                // 84 + 16 == 100: split
  const PoolChunkInfo chunk = pool.chunks().at(0);
  ASSERT_EQ(chunk.blocks.size(), 3U);
  EXPECT_EQ(chunk.blocks[1].size, 84U);
  EXPECT_FALSE(chunk.blocks[2].in_use);
  EXPECT_EQ(chunk.blocks[2].size, 0U);
  EXPECT_EQ(chunk.free_bytes, 0U);
  expect_consistent(pool);
}

TEST(Pool, BlockTooSmallToSplitIsHandedOutWhole) {
  MemoryPool pool;
  ASSERT_NE(pool.allocate(16336 - 16 - 100), nullptr);
  ASSERT_NE(pool.allocate(88), nullptr);  // the 12 spare bytes cannot carry a header
  const PoolChunkInfo chunk = pool.chunks().at(0);
  ASSERT_EQ(chunk.blocks.size(), 2U);
  EXPECT_EQ(chunk.blocks[1].size, 100U);
  EXPECT_EQ(chunk.free_bytes, 0U);
  expect_consistent(pool);
}

TEST(Pool, FreeingInAnyOrderMergesBackAndTheLastFreeReturnsTheChunk) {
  std::array<int, 4> order = {0, 1, 2, 3};
  do {
    MemoryPool pool;
    void* keeper = pool.allocate(40);
    std::array<void*, 4> blocks{};
    for (std::size_t i = 0; i < blocks.size(); ++i) {
      blocks[i] = pool.allocate(8 * (i + 1));
    }
    for (int index : order) {
      pool.free(blocks[index]);
      expect_consistent(pool);
    }
    const PoolChunkInfo chunk = pool.chunks().at(0);
    ASSERT_EQ(chunk.blocks.size(), 2U);
    EXPECT_EQ(chunk.blocks[1].size, 16336U - 40 - 16);
    EXPECT_EQ(chunk.free_bytes, 16336U - 40 - 16);
    pool.free(keeper);
    EXPECT_EQ(pool.chunk_count(), 0U);
  } while (std::next_permutation(order.begin(), order.end()));
}

TEST(Pool, LargeRequestsGetMultiplesOf16384) {
  MemoryPool pool;
  void* fits = pool.allocate(16336);
  ASSERT_EQ(pool.chunks().at(0).size, 16384U);
  EXPECT_EQ(pool.chunks().at(0).free_bytes, 0U);
  void* larger = pool.allocate(16337);
  ASSERT_EQ(pool.chunk_count(), 2U);
  EXPECT_EQ(pool.chunks().at(0).size, 32768U);  // newest first
  EXPECT_EQ(pool.chunks().at(0).free_bytes, 32720U - 16340 - 16);
  pool.allocate(32720);
  pool.allocate(32721);
  EXPECT_EQ(pool.chunks().at(1).size, 32768U);
  EXPECT_EQ(pool.chunks().at(0).size, 49152U);
  pool.free(larger);
  pool.free(fits);
  EXPECT_EQ(pool.chunk_count(), 2U);
  expect_consistent(pool);
}

TEST(Pool, OlderChunkWithRoomServesWhenTheNewestHasNone) {
  MemoryPool pool;
  void* old_block = pool.allocate(16000);  // 320 free bytes stay in the old chunk
  void* new_block = pool.allocate(16100);  // 220 free bytes stay in the new chunk
  ASSERT_EQ(pool.chunk_count(), 2U);
  void* small = pool.allocate(100);  // the newest chunk is tried first
  EXPECT_EQ(pool.chunks().at(0).blocks_in_use, 2);
  void* medium = pool.allocate(200);  // no room left in the newest: the older one serves
  EXPECT_EQ(pool.chunk_count(), 2U);
  EXPECT_EQ(pool.chunks().at(1).blocks_in_use, 2);
  for (void* block : {old_block, new_block, small, medium}) {
    pool.free(block);
  }
  EXPECT_EQ(pool.chunk_count(), 0U);
}

TEST(Pool, ForeignInteriorAndRepeatedFreesAreIgnored) {
  MemoryPool pool;
  auto* a = static_cast<char*>(pool.allocate(64));
  void* b = pool.allocate(64);
  int outside = 0;
  pool.free(nullptr);
  pool.free(&outside);
  pool.free(a + 8);
  pool.free(a);
  const std::vector<PoolChunkInfo> before = pool.chunks();
  pool.free(a);  // already free: counting it twice would corrupt the chunk's counters
  const std::vector<PoolChunkInfo> after = pool.chunks();
  ASSERT_EQ(after.size(), 1U);
  EXPECT_EQ(after[0].free_bytes, before[0].free_bytes);
  EXPECT_EQ(after[0].blocks_in_use, 1);
  expect_consistent(pool);
  pool.free(b);
  EXPECT_EQ(pool.chunk_count(), 0U);
}

TEST(Pool, BlocksAreAlignedForRecordsOfPointers) {
  struct Record : ListNode {
    double ratio = 0.5;
    std::int64_t wide = -1;
  };
  MemoryPool pool;
  for (std::size_t bytes = 1; bytes <= 40; ++bytes) {
    void* data = pool.allocate(bytes);
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(data) % kPoolAlignment, 0U) << bytes;
  }
  Record* record = pool_new<Record>();
  ASSERT_NE(record, nullptr);
  ListHead head;
  list_push_back(head, record);
  EXPECT_EQ(record->ratio, 0.5);
  EXPECT_EQ(list_first(head), record);
  list_unlink(head, record);
  pool_delete(record);
  char* copy = pool_strdup("text");
  EXPECT_STREQ(copy, "text");
  pool_free(copy);
}

// Random allocations and frees with a fill pattern per block: any overlap of two live
// blocks or of a block with a header shows up as a changed pattern or a broken counter.
TEST(Pool, RandomTrafficKeepsBlocksApartAndCountersExact) {
  MemoryPool pool;
  std::mt19937 random(7);
  struct Live {
    unsigned char* data;
    std::size_t size;
    unsigned char fill;
  };
  std::vector<Live> live;
  for (int step = 0; step < 4000; ++step) {
    bool allocate = live.empty() || random() % 5 < 3;
    if (allocate) {
      std::size_t size = random() % 10 == 0 ? 1 + random() % 40000 : 1 + random() % 300;
      auto* data = static_cast<unsigned char*>(pool.allocate(size));
      ASSERT_NE(data, nullptr);
      auto fill = static_cast<unsigned char>(random());
      std::memset(data, fill, size);
      live.push_back({data, size, fill});
    } else {
      std::size_t index = random() % live.size();
      const Live& block = live[index];
      for (std::size_t i = 0; i < block.size; ++i) {
        ASSERT_EQ(block.data[i], block.fill) << "block overwritten at step " << step;
      }
      pool.free(block.data);
      live.erase(live.begin() + static_cast<std::ptrdiff_t>(index));
    }
    if (step % 50 == 0) {
      expect_consistent(pool);
    }
  }
  EXPECT_EQ(pool.blocks_in_use(), static_cast<int>(live.size()));
  for (const Live& block : live) {
    pool.free(block.data);
  }
  EXPECT_EQ(pool.chunk_count(), 0U);
}

TEST(Pool, FreeAllGivesEveryChunkBack) {
  MemoryPool pool;
  pool.allocate(10);
  pool.allocate(20000);
  pool.free_all();
  EXPECT_EQ(pool.chunk_count(), 0U);
  EXPECT_NE(pool.allocate(10), nullptr);  // still usable afterwards
}

// ---------------------------------------------------------------------------------------
// Line-file record

class LineFileTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(directory_.made()); }

  std::string path(const char* name) const { return (directory_.path() / name).string(); }
  void write_file(const char* name, const std::string& bytes) const {
    WriteTextFile(path(name), bytes);
  }
  std::string read_file(const char* name) const { return ReadTextFile(path(name)); }

  ScratchDirectory directory_{"rv7list"};
};

std::vector<std::string> read_all(LineFile& file) {
  std::vector<std::string> lines;
  while (const char* line = file.read_line()) {
    lines.emplace_back(line);
  }
  return lines;
}

TEST_F(LineFileTest, ReadsLinesWithLineFeedsAndLongLinesInPieces) {
  std::string long_line(1200, 'x');
  write_file("a.txt", "one\r\ntwo\n" + long_line + "\nlast");
  LineFile file;
  ASSERT_NE(file.open(path("a.txt"), "r"), nullptr);
  std::vector<std::string> lines = read_all(file);
  ASSERT_EQ(lines.size(), 6U);
  EXPECT_EQ(lines[0], "one\n");
  EXPECT_EQ(lines[1], "two\n");
  EXPECT_EQ(lines[2], std::string(511, 'x'));
  EXPECT_EQ(lines[3], std::string(511, 'x'));
  EXPECT_EQ(lines[4], std::string(178, 'x') + "\n");
  EXPECT_EQ(lines[5], "last");
  EXPECT_EQ(file.read_line(), nullptr);
  EXPECT_EQ(file.close(), 0);
  EXPECT_EQ(file.read_line(), nullptr);
  EXPECT_EQ(file.close(), 0);
}

TEST_F(LineFileTest, CarriageReturnAtThePieceBoundaryStillEndsTheLine) {
  write_file("b.txt", std::string(510, 'y') + "\r\nnext\n");
  LineFile file;
  ASSERT_NE(file.open(path("b.txt"), "r"), nullptr);
  std::vector<std::string> lines = read_all(file);
  ASSERT_EQ(lines.size(), 2U);
  EXPECT_EQ(lines[0], std::string(510, 'y') + "\n");
  EXPECT_EQ(lines[1], "next\n");
  file.close();
  ASSERT_NE(file.open(path("b.txt"), "rb"), nullptr);  // binary mode keeps the bytes
  EXPECT_EQ(read_all(file).at(0), std::string(510, 'y') + "\r");
}

TEST_F(LineFileTest, OpenOfAnOpenRecordKeepsTheFirstFile) {
  write_file("a.txt", "a\n");
  write_file("b.txt", "b\n");
  LineFile file;
  FILE* first = file.open(path("a.txt"), "r");
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(file.open(path("b.txt"), "r"), first);
  EXPECT_EQ(file.path(), path("a.txt"));
  EXPECT_STREQ(file.read_line(), "a\n");
  EXPECT_EQ(file.close(), 0);
  ASSERT_NE(file.open(path("b.txt"), "r"), nullptr);  // reopened after a close
  EXPECT_STREQ(file.read_line(), "b\n");
}

TEST_F(LineFileTest, RefusedOpensLeaveTheRecordClosedAndHarmless) {
  LineFile file;
  EXPECT_EQ(file.open(path("missing.txt"), "r"), nullptr);
  EXPECT_EQ(file.open(std::string(kMaxPath + 1, 'p'), "r"), nullptr);
  EXPECT_EQ(file.open(path("x.txt"), "rwb+"), nullptr);
  EXPECT_EQ(file.open(path("no-dir/x.txt"), "w"), nullptr);
  EXPECT_FALSE(file.is_open());
  EXPECT_EQ(file.read_line(), nullptr);
  file.set_line("ignored\n");
  file.write_line();
  EXPECT_EQ(file.close(), 0);
  EXPECT_FALSE(std::filesystem::exists(directory_.path() / "no-dir"));
}

TEST_F(LineFileTest, WrittenFileReplacesTheTargetOnlyAtClose) {
  write_file("s.ini", "old\n");
  LineFile file;
  ASSERT_NE(file.open(path("s.ini"), "w"), nullptr);
  file.set_line("first\n");
  file.write_line();
  file.write_format("%s=%d\n", std::string(700, 'k').c_str(), 5);
  EXPECT_EQ(read_file("s.ini"), "old\n");
  EXPECT_EQ(file.close(), 0);
  EXPECT_EQ(read_file("s.ini"), "first\n" + std::string(700, 'k') + "=5\n");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(directory_.path()),
                          std::filesystem::directory_iterator()),
            1);
}

TEST_F(LineFileTest, AbandonedWriteKeepsTheOldFile) {
  write_file("s.ini", "old\n");
  {
    LineFile file;
    ASSERT_NE(file.open(path("s.ini"), "w"), nullptr);
    file.write_text("half");
  }
  EXPECT_EQ(read_file("s.ini"), "old\n");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(directory_.path()),
                          std::filesystem::directory_iterator()),
            1);
}

TEST_F(LineFileTest, SetLineCutsTo511Characters) {
  LineFile file;
  file.set_line(std::string(600, 'z'));
  EXPECT_EQ(std::strlen(file.line()), kMaxLine);
}

// ---------------------------------------------------------------------------------------
// Splitter and trim

struct Split {
  const char* key;
  const char* value;
};

Split split_line(Splitter& splitter, const char* line) {
  splitter.load(line);
  splitter.split();
  return {splitter.key(), splitter.value()};
}

TEST(Splitter, ValueMayHoldEqualsSigns) {
  Splitter splitter("=\n", "\n");
  splitter.load("a = b = c\n");
  const char* returned = splitter.split();
  EXPECT_STREQ(splitter.key(), "a");
  EXPECT_STREQ(splitter.value(), "b = c");
  EXPECT_EQ(returned, splitter.value());
}

TEST(Splitter, LeadingEqualsSignsAreSkippedAndNoValueFollows) {
  Splitter splitter("=\n", "\n");
  Split result = split_line(splitter, "=x");
  EXPECT_STREQ(result.key, "x");
  EXPECT_EQ(result.value, nullptr);
  EXPECT_EQ(splitter.split(), splitter.buffer());
  result = split_line(splitter, "==key=\n");
  EXPECT_STREQ(result.key, "key");
  EXPECT_EQ(result.value, nullptr);
}

TEST(Splitter, BlanksGiveAnEmptyKeyAndNothingGivesNoKey) {
  Splitter splitter("=\n", "\n");
  Split result = split_line(splitter, "    ");
  EXPECT_STREQ(result.key, "");
  EXPECT_EQ(result.value, nullptr);
  for (const char* line : {"", "\n", "===\n"}) {
    result = split_line(splitter, line);
    EXPECT_EQ(result.key, nullptr) << line;
    EXPECT_EQ(result.value, nullptr) << line;
  }
}

TEST(Splitter, OverlongTextIsCutTo511Characters) {
  Splitter splitter("=\n", "\n");
  std::string line = "key = " + std::string(1000, 'v');
  Split result = split_line(splitter, line.c_str());
  EXPECT_STREQ(result.key, "key");
  EXPECT_EQ(std::strlen(result.value), kMaxLine - 6);
}

TEST(Trim, CutsBlanksButLeavesTabs) {
  char blanks[] = "  a b  ";
  EXPECT_STREQ(trim(blanks), "a b");
  char tabs[] = "\t a \t";
  EXPECT_STREQ(trim(tabs), "\t a \t");
  char only[] = "   ";
  EXPECT_STREQ(trim(only), "");
}

}  // namespace
