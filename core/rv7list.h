// Record lists and file helpers: an intrusive doubly linked list with a sentinel head, the
// process-wide chunked memory pool that list records and their texts come from, the
// line-file record (a text file read and written one line at a time) and the key/value
// splitter used by the settings readers.
#pragma once

#include <array>
#include <cstddef>
#include <cstdio>
#include <iterator>
#include <memory>
#include <new>
#include <string_view>
#include <utility>
#include <vector>

#include "files.h"

// ---------------------------------------------------------------------------------------
// Doubly linked list with a sentinel head.
//
// A record type derives from ListNode, so every record starts with its previous and next
// links. The head is a ListNode too: its `next` is the first record and its `prev` the
// last; an empty list's head points to itself both ways. The first record's `prev` and
// the last record's `next` are the head.

struct ListNode {
  ListNode* prev = nullptr;
  ListNode* next = nullptr;
};

// The sentinel head. It holds pointers to itself, so it is neither copied nor moved.
struct ListHead : ListNode {
  ListHead() { prev = next = this; }
  ListHead(const ListHead&) = delete;
  ListHead& operator=(const ListHead&) = delete;
};

// True when the list holds no record.
bool list_empty(const ListHead& head);
// Number of records, counted by a walk.
std::size_t list_size(const ListHead& head);
// First or last record; nullptr when the list is empty.
ListNode* list_first(const ListHead& head);
ListNode* list_last(const ListHead& head);
// The record behind `node`; nullptr when `node` is the last one.
ListNode* list_next(const ListHead& head, const ListNode* node);

// Links `record` (not in any list) in as the new first / last record.
void list_push_front(ListHead& head, ListNode* record);
void list_push_back(ListHead& head, ListNode* record);
// Links `record` (not in any list) in right behind / right before `existing`, a record of
// this list (or the head itself: after the head = first, before the head = last).
void list_insert_after(ListHead& head, ListNode* existing, ListNode* record);
void list_insert_before(ListHead& head, ListNode* existing, ListNode* record);
// Takes `record` out of the list; the record itself is not freed and its links are
// cleared. The head itself is never unlinked (ignored).
void list_unlink(ListHead& head, ListNode* record);

// Walk in list order as Record (a type derived from ListNode):
//   for (GameEntry& entry : ListRange<GameEntry>(head)) ...
// The current record must not be unlinked during the walk; take the next one first with
// list_next() when records are removed while walking.
template <typename Record>
class ListRange {
 public:
  class Iterator {
   public:
    using iterator_category = std::forward_iterator_tag;
    using value_type = Record;
    using difference_type = std::ptrdiff_t;
    using pointer = Record*;
    using reference = Record&;
    explicit Iterator(ListNode* node = nullptr) : node_(node) {}
    Record& operator*() const { return *static_cast<Record*>(node_); }
    Record* operator->() const { return static_cast<Record*>(node_); }
    Iterator& operator++() {
      node_ = node_->next;
      return *this;
    }
    Iterator operator++(int) {
      Iterator old = *this;
      node_ = node_->next;
      return old;
    }
    bool operator==(const Iterator& other) const { return node_ == other.node_; }

   private:
    ListNode* node_;
  };

  explicit ListRange(ListHead& head) : head_(&head) {}
  Iterator begin() const { return Iterator(head_->next); }
  Iterator end() const { return Iterator(head_); }

 private:
  ListHead* head_;
};

// ---------------------------------------------------------------------------------------
// Chunked memory pool.
//
// Accounting (what the counters below show) follows a fixed layout, the same on every
// build: requests are rounded up to a multiple of 4 bytes, every block carries a 16-byte
// header in front of its data, and a chunk spends 48 bytes on its own header plus the
// first block header, so a new 16 384-byte chunk offers 16 336 free bytes. A request that
// a normal chunk cannot hold gets a chunk of the smallest multiple of 16 384 bytes that
// holds the request plus 48 bytes. Blocks are found first-fit, newest chunk first, split
// when the rest can carry a header, merged with free neighbours when freed, and a chunk
// whose last block is freed goes back to the system.
//
// Real storage backs each accounted byte with kPoolScale bytes, so the 16 accounted header
// bytes hold a real header with 64-bit links, and every block's data starts on a
// kPoolAlignment boundary: anything whose alignment is at most kPoolAlignment (pointers,
// 64-bit integers, doubles, records of them, texts) may be placed in a block.

inline constexpr std::size_t kPoolChunkSize = 16384;
inline constexpr std::size_t kPoolGranularity = 4;
inline constexpr std::size_t kPoolBlockHeader = 16;
inline constexpr std::size_t kPoolChunkOverhead = 48;
inline constexpr std::size_t kPoolScale = 2;
inline constexpr std::size_t kPoolAlignment = kPoolGranularity * kPoolScale;
// Largest request served; larger ones are refused (nullptr) so no size arithmetic wraps.
inline constexpr std::size_t kPoolMaxRequest = std::size_t{1} << 30;

// One block of a chunk, in address order, as the counters see it.
struct PoolBlockInfo {
  std::size_t offset;  // accounted offset of the block's data from the chunk start (48 first)
  std::size_t size;    // data size in bytes
  bool in_use;
};

// One chunk, as the counters see it.
struct PoolChunkInfo {
  std::size_t size;        // accounted chunk size (16 384 or a multiple of it)
  std::size_t free_bytes;  // sum of the data sizes of its free blocks
  int blocks_in_use;
  std::vector<PoolBlockInfo> blocks;
};

class MemoryPool {
 public:
  MemoryPool() = default;
  ~MemoryPool();  // gives every chunk back
  MemoryPool(const MemoryPool&) = delete;
  MemoryPool& operator=(const MemoryPool&) = delete;

  // Returns `bytes` bytes (rounded up to 4) aligned to kPoolAlignment, or nullptr for a
  // count of 0, a count above kPoolMaxRequest, or when the system has no memory.
  void* allocate(std::size_t bytes);
  // Frees a block that allocate() returned. nullptr, a pointer outside every chunk, a
  // pointer that is not the start of a block and a block that is already free are ignored.
  void free(void* data);
  // Gives every chunk back to the system; every block of this pool becomes invalid.
  void free_all();

  // Counters: the chunks, newest first.
  std::size_t chunk_count() const;
  std::vector<PoolChunkInfo> chunks() const;
  // Number of blocks in use over all chunks.
  int blocks_in_use() const;

 private:
  ListHead chunks_;
};

// The process's pool (one per process, as all record lists of the suite share it).
MemoryPool& process_pool();
// Nothing to do: the chunk list starts empty. Kept for the programs' start-up order.
void pool_start();
void* pool_alloc(std::size_t bytes);  // process_pool().allocate
void pool_free(void* data);           // process_pool().free
void pool_free_all();                 // process_pool().free_all, at program end

// Constructs a Record in a block of the process pool; nullptr when no memory.
template <typename Record, typename... Args>
Record* pool_new(Args&&... args) {
  static_assert(alignof(Record) <= kPoolAlignment, "record needs more alignment than the pool");
  void* data = pool_alloc(sizeof(Record));
  return data == nullptr ? nullptr : new (data) Record(std::forward<Args>(args)...);
}
// Destroys and frees a record made by pool_new; nullptr is ignored.
template <typename Record>
void pool_delete(Record* record) {
  if (record != nullptr) {
    record->~Record();
    pool_free(record);
  }
}
// A zero-terminated copy of `text` in the process pool; nullptr when no memory.
char* pool_strdup(std::string_view text);

// ---------------------------------------------------------------------------------------
// Line-file record: one text file, read or written one line at a time.
//
// Mode "r" (or any mode without "w") opens the file itself; reading in a mode without "b"
// turns a carriage return before the line feed into nothing, as text mode does. Mode "w"
// (any mode beginning with "w") writes through an AtomicFileWriter (files.h): a temporary
// file of its own beside the target, which close() renames over the target, so the target is
// always either the old or the complete new file; a read-only target is not written. A record
// destroyed while open closes a read file and discards an unfinished write.

inline constexpr std::size_t kLineSize = 512;  // line buffer, terminator included
inline constexpr std::size_t kMaxLine = kLineSize - 1;
inline constexpr std::size_t kPathSize = 260;  // path text, terminator included
inline constexpr std::size_t kMaxPath = kPathSize - 1;
inline constexpr std::size_t kMaxMode = 3;

class LineFile {
 public:
  LineFile() = default;
  ~LineFile();
  LineFile(const LineFile&) = delete;
  LineFile& operator=(const LineFile&) = delete;

  // When no file is open: copies path and mode, opens the file, returns its handle, or
  // nullptr on failure (also for a path longer than 259 or a mode longer than 3
  // characters), with the reason in open_error(). Only regular files open (OpenFile), and
  // one for reading only up to kMaxReadBytes. When a file is already open: changes nothing
  // and returns its handle.
  FILE* open(std::string_view path, std::string_view mode);
  // The system error code of the last open() that failed; 0 after one that succeeded.
  int open_error() const { return open_error_; }
  // Reads the next line, line feed included, into the line buffer (at most 511
  // characters: a longer line comes in pieces). Returns the buffer, or nullptr at the end
  // of the file, after a read error, once the file went on past kMaxReadBytes, or when no
  // file is open.
  char* read_line();
  // Writes the text in the line buffer (up to its terminator) if a file is open.
  void write_line();
  // Writes `text` as it is (any length) if a file is open; the line buffer is unchanged.
  void write_text(std::string_view text);
  // Formats with printf rules and writes the whole result (any length) if a file is open.
  void write_format(const char* format, ...) __attribute__((format(printf, 2, 3)));
  // Closes the file if one is open. A written file replaces its target here. Returns 0 on
  // success or when nothing was open, otherwise the system error code (a failed write or
  // rename leaves the old target untouched); the record is closed afterwards either way.
  int close();

  // The line buffer (512 characters); callers put the text for write_line() here.
  char* line() { return line_.data(); }
  // Copies `text` into the line buffer, cut to 511 characters.
  void set_line(std::string_view text);
  bool is_open() const { return file_ != nullptr; }
  FILE* handle() const { return file_; }
  // Handle number for traces ("f=%08x"): the descriptor, 0 when closed.
  unsigned handle_number() const;
  const char* path() const { return path_.data(); }
  const char* mode() const { return mode_.data(); }

 private:
  FILE* file_ = nullptr;
  std::unique_ptr<AtomicFileWriter> writer_;  // set while open for writing
  bool text_mode_read_ = false;
  int write_error_ = 0;
  int open_error_ = 0;
  unsigned lines_read_ = 0;
  std::array<char, kMaxMode + 1> mode_{};
  std::array<char, kLineSize> line_{};
  std::array<char, kPathSize> path_{};
};

// ---------------------------------------------------------------------------------------
// Splitter: cuts a line into a key and a value.

// Returns `text` without leading blanks, with trailing blanks cut off in place (the first
// trailing blank becomes the terminator). Blanks are the character 32 only.
char* trim(char* text);

class Splitter {
 public:
  // Key delimiters end the key, value delimiters end the value. The texts must outlive
  // the splitter (string literals in practice).
  Splitter(const char* key_delimiters, const char* value_delimiters)
      : key_delimiters_(key_delimiters), value_delimiters_(value_delimiters) {}

  // Copies `text` into the buffer (cut to 511 characters) and clears key and value.
  void load(std::string_view text);
  // Cuts the buffer: the key is the first token for the key delimiters (leading delimiters
  // skipped, the ending delimiter overwritten with a terminator), trimmed; the value is the
  // next token for the value delimiters behind the key, trimmed. No token: neither key nor
  // value. Returns the value, or the buffer when there is none.
  char* split();

  char* key() const { return key_; }      // nullptr when the line had no key
  char* value() const { return value_; }  // nullptr when the line had no value
  char* buffer() { return buffer_.data(); }

 private:
  std::array<char, kLineSize> buffer_{};
  char* key_ = nullptr;
  const char* key_delimiters_;
  char* value_ = nullptr;
  const char* value_delimiters_;
};
