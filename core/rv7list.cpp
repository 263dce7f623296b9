#include "rv7list.h"

#include <algorithm>
#include <cerrno>
#include <cstdarg>
#include <cstdint>
#include <cstring>
#include <string>

#include "rv7log.h"

namespace {
constexpr char kLogModule[] = "rv7list";
}  // namespace

// ---------------------------------------------------------------------------------------
// List

bool list_empty(const ListHead& head) {
  return head.next == &head;
}

std::size_t list_size(const ListHead& head) {
  std::size_t count = 0;
  for (const ListNode* node = head.next; node != &head; node = node->next) {
    ++count;
  }
  return count;
}

ListNode* list_first(const ListHead& head) {
  return list_empty(head) ? nullptr : head.next;
}

ListNode* list_last(const ListHead& head) {
  return list_empty(head) ? nullptr : head.prev;
}

ListNode* list_next(const ListHead& head, const ListNode* node) {
  return node->next == &head ? nullptr : node->next;
}

namespace {

// Links `record` between the neighbours `before` and `after`.
void link_between(ListNode* before, ListNode* record, ListNode* after) {
  record->prev = before;
  record->next = after;
  before->next = record;
  after->prev = record;
}

}  // namespace

void list_push_front(ListHead& head, ListNode* record) {
  link_between(&head, record, head.next);
}

void list_push_back(ListHead& head, ListNode* record) {
  link_between(head.prev, record, &head);
}

void list_insert_after(ListHead&, ListNode* existing, ListNode* record) {
  link_between(existing, record, existing->next);
}

void list_insert_before(ListHead&, ListNode* existing, ListNode* record) {
  link_between(existing->prev, record, existing);
}

void list_unlink(ListHead& head, ListNode* record) {
  if (record == &head || record->prev == nullptr || record->next == nullptr) {
    return;
  }
  record->prev->next = record->next;
  record->next->prev = record->prev;
  record->prev = nullptr;
  record->next = nullptr;
}

// ---------------------------------------------------------------------------------------
// Memory pool
//
// Every accounted byte is backed by kPoolScale real bytes: an accounted offset x inside a
// chunk is the real offset x * kPoolScale. The chunk header fills the first 32 accounted
// bytes, each block header the 16 accounted bytes in front of its data.

namespace {

struct BlockHeader {
  BlockHeader* prev;  // neighbours in address order inside the chunk
  BlockHeader* next;
  std::size_t size;  // accounted data size
  bool in_use;
};

struct ChunkHeader : ListNode {
  std::size_t size;  // accounted size
  std::size_t free_bytes;
  int blocks_in_use;
  std::byte* start;  // real bounds of the chunk's memory
  std::byte* end;
};

constexpr std::size_t kChunkHeaderSize = kPoolChunkOverhead - kPoolBlockHeader;
constexpr std::size_t kFirstFree = kPoolChunkSize - kPoolChunkOverhead;
constexpr std::align_val_t kChunkAlignment{alignof(std::max_align_t)};

static_assert(sizeof(BlockHeader) <= kPoolBlockHeader * kPoolScale);
static_assert(sizeof(ChunkHeader) <= kChunkHeaderSize * kPoolScale);
static_assert(alignof(BlockHeader) <= kPoolAlignment && alignof(ChunkHeader) <= kPoolAlignment);
static_assert(kPoolAlignment <= alignof(std::max_align_t));

std::byte* data_of(BlockHeader* block) {
  return reinterpret_cast<std::byte*>(block) + kPoolBlockHeader * kPoolScale;
}

// Places a block header so that its data begins `offset` accounted bytes into the chunk.
BlockHeader* place_block(ChunkHeader* chunk, std::size_t offset, std::size_t size) {
  std::byte* at = chunk->start + (offset - kPoolBlockHeader) * kPoolScale;
  return new (at) BlockHeader{nullptr, nullptr, size, false};
}

BlockHeader* first_block(const ChunkHeader* chunk) {
  return std::launder(reinterpret_cast<BlockHeader*>(chunk->start + kChunkHeaderSize * kPoolScale));
}

std::size_t round_request(std::size_t bytes) {
  return ((bytes - 1) / kPoolGranularity) * kPoolGranularity + kPoolGranularity;
}

std::size_t chunk_size_for(std::size_t size) {
  if (size <= kFirstFree) {
    return kPoolChunkSize;
  }
  std::size_t needed = size + kPoolChunkOverhead;
  return (needed + kPoolChunkSize - 1) / kPoolChunkSize * kPoolChunkSize;
}

ChunkHeader* new_chunk(std::size_t size) {
  void* memory = ::operator new(size* kPoolScale, kChunkAlignment, std::nothrow);
  if (memory == nullptr) {
    return nullptr;
  }
  auto* start = static_cast<std::byte*>(memory);
  auto* chunk = new (start) ChunkHeader{};
  chunk->size = size;
  chunk->free_bytes = size - kPoolChunkOverhead;
  chunk->start = start;
  chunk->end = start + size * kPoolScale;
  place_block(chunk, kPoolChunkOverhead, chunk->free_bytes);
  return chunk;
}

void delete_chunk(ChunkHeader* chunk) {
  ::operator delete(chunk->start, kChunkAlignment);
}

// First free block in address order with at least `size` data bytes, or nullptr.
BlockHeader* first_fit(ChunkHeader* chunk, std::size_t size) {
  for (BlockHeader* block = first_block(chunk); block != nullptr; block = block->next) {
    if (!block->in_use && block->size >= size) {
      return block;
    }
  }
  return nullptr;
}

// Takes `size` bytes of the free `block`. The rest becomes a free block of its own when it
// can carry a header; otherwise the block keeps its whole size, so the free count always
// equals the sum of the free blocks' sizes and no byte is lost inside the chunk.
void* take_block(ChunkHeader* chunk, BlockHeader* block, std::size_t size) {
  if (block->size >= size + kPoolBlockHeader) {
    std::size_t offset = static_cast<std::size_t>(data_of(block) - chunk->start) / kPoolScale;
    BlockHeader* rest =
        place_block(chunk, offset + size + kPoolBlockHeader, block->size - size - kPoolBlockHeader);
    rest->prev = block;
    rest->next = block->next;
    if (block->next != nullptr) {
      block->next->prev = rest;
    }
    block->next = rest;
    block->size = size;
    chunk->free_bytes -= kPoolBlockHeader;
  }
  block->in_use = true;
  chunk->free_bytes -= block->size;
  chunk->blocks_in_use += 1;
  return data_of(block);
}

// Merges `second` (the block right behind `first`) into `first`.
void merge_into(ChunkHeader* chunk, BlockHeader* first, BlockHeader* second) {
  first->size += second->size + kPoolBlockHeader;
  first->next = second->next;
  if (second->next != nullptr) {
    second->next->prev = first;
  }
  chunk->free_bytes += kPoolBlockHeader;
}

// The block of `chunk` whose data begins at `data`, or nullptr.
BlockHeader* find_block(ChunkHeader* chunk, const std::byte* data) {
  for (BlockHeader* block = first_block(chunk); block != nullptr; block = block->next) {
    if (data_of(block) == data) {
      return block;
    }
  }
  return nullptr;
}

}  // namespace

MemoryPool::~MemoryPool() {
  free_all();
}

void* MemoryPool::allocate(std::size_t bytes) {
  if (bytes == 0 || bytes > kPoolMaxRequest) {
    return nullptr;
  }
  std::size_t size = round_request(bytes);
  for (auto& chunk : ListRange<ChunkHeader>(chunks_)) {
    if (chunk.free_bytes >= size) {
      if (BlockHeader* block = first_fit(&chunk, size)) {
        return take_block(&chunk, block, size);
      }
    }
  }
  ChunkHeader* chunk = new_chunk(chunk_size_for(size));
  if (chunk == nullptr) {
    return nullptr;
  }
  list_push_front(chunks_, chunk);
  return take_block(chunk, first_block(chunk), size);
}

void MemoryPool::free(void* data) {
  if (data == nullptr) {
    return;
  }
  // Compare addresses as integers: the pointer may belong to no chunk at all.
  auto address = reinterpret_cast<std::uintptr_t>(data);
  for (auto& chunk : ListRange<ChunkHeader>(chunks_)) {
    if (reinterpret_cast<std::uintptr_t>(chunk.start) < address &&
        address < reinterpret_cast<std::uintptr_t>(chunk.end)) {
      BlockHeader* block = find_block(&chunk, static_cast<std::byte*>(data));
      if (block == nullptr || !block->in_use) {
        return;
      }
      std::size_t freed = block->size;
      if (block->prev != nullptr && !block->prev->in_use) {
        block = block->prev;
        merge_into(&chunk, block, block->next);
      }
      if (block->next != nullptr && !block->next->in_use) {
        merge_into(&chunk, block, block->next);
      }
      block->in_use = false;
      chunk.free_bytes += freed;
      chunk.blocks_in_use -= 1;
      if (chunk.blocks_in_use == 0) {
        list_unlink(chunks_, &chunk);
        delete_chunk(&chunk);
      }
      return;
    }
  }
}

void MemoryPool::free_all() {
  while (ListNode* node = list_first(chunks_)) {
    list_unlink(chunks_, node);
    delete_chunk(static_cast<ChunkHeader*>(node));
  }
}

std::size_t MemoryPool::chunk_count() const {
  return list_size(chunks_);
}

std::vector<PoolChunkInfo> MemoryPool::chunks() const {
  std::vector<PoolChunkInfo> result;
  for (const ListNode* node = chunks_.next; node != &chunks_; node = node->next) {
    const auto* chunk = static_cast<const ChunkHeader*>(node);
    PoolChunkInfo info{chunk->size, chunk->free_bytes, chunk->blocks_in_use, {}};
    for (BlockHeader* block = first_block(chunk); block != nullptr; block = block->next) {
      auto offset = static_cast<std::size_t>(data_of(block) - chunk->start) / kPoolScale;
      info.blocks.push_back({offset, block->size, block->in_use});
    }
    result.push_back(std::move(info));
  }
  return result;
}

int MemoryPool::blocks_in_use() const {
  int count = 0;
  for (const ListNode* node = chunks_.next; node != &chunks_; node = node->next) {
    count += static_cast<const ChunkHeader*>(node)->blocks_in_use;
  }
  return count;
}

MemoryPool& process_pool() {
  static MemoryPool pool;
  return pool;
}

void pool_start() {}

void* pool_alloc(std::size_t bytes) {
  return process_pool().allocate(bytes);
}

void pool_free(void* data) {
  process_pool().free(data);
}

void pool_free_all() {
  RV7_ENTRY();
  process_pool().free_all();
  RV7_EXIT();
}

char* pool_strdup(std::string_view text) {
  auto* copy = static_cast<char*>(pool_alloc(text.size() + 1));
  if (copy != nullptr) {
    std::memcpy(copy, text.data(), text.size());
    copy[text.size()] = '\0';
  }
  return copy;
}

// ---------------------------------------------------------------------------------------
// Line-file record

LineFile::~LineFile() {
  if (writer_ == nullptr && file_ != nullptr) {
    std::fclose(file_);
  }
  // An open writer removes its unfinished temporary file in its own destructor.
}

namespace {

void copy_cut(std::string_view text, char* buffer, std::size_t room) {
  std::size_t length = std::min(text.size(), room - 1);
  std::memcpy(buffer, text.data(), length);
  buffer[length] = '\0';
}

}  // namespace

FILE* LineFile::open(std::string_view path, std::string_view mode) {
  if (file_ != nullptr) {
    return file_;
  }
  if (path.empty() || path.size() > kMaxPath || mode.empty() || mode.size() > kMaxMode ||
      path.find('\0') != std::string_view::npos || mode.find('\0') != std::string_view::npos) {
    open_error_ = path.size() > kMaxPath ? ENAMETOOLONG : EINVAL;
    return nullptr;
  }
  copy_cut(path, path_.data(), path_.size());
  copy_cut(mode, mode_.data(), mode_.size());
  write_error_ = 0;
  lines_read_ = 0;
  if (mode.front() == 'w') {
    writer_ = std::make_unique<AtomicFileWriter>();
    file_ = writer_->Open(path);
    if (file_ == nullptr) {
      writer_.reset();
    }
  } else if (mode.front() == 'a') {
    file_ = OpenFile(path, mode_.data());
  } else {
    file_ = OpenReadFile(path, mode_.data());
  }
  open_error_ = file_ == nullptr ? errno : 0;
  text_mode_read_ = mode.find('b') == std::string_view::npos;
  return file_;
}

char* LineFile::read_line() {
  // The position is asked for only now and then: a line holds at most kMaxLine bytes.
  constexpr unsigned kLinesBetweenChecks = 4096;
  if (file_ == nullptr || (++lines_read_ % kLinesBetweenChecks == 0 && !WithinReadLimit(file_)) ||
      std::fgets(line_.data(), static_cast<int>(line_.size()), file_) == nullptr) {
    return nullptr;
  }
  if (text_mode_read_) {
    std::size_t length = std::strlen(line_.data());
    char* last = line_.data() + length - 1;
    if (length >= 2 && last[-1] == '\r' && last[0] == '\n') {
      last[-1] = '\n';
      last[0] = '\0';
    } else if (length == kMaxLine && last[0] == '\r') {
      // The carriage return ended this piece; its line feed would begin the next one.
      int next = std::fgetc(file_);
      if (next == '\n') {
        last[0] = '\n';
      } else if (next != EOF) {
        std::ungetc(next, file_);
      }
    }
  }
  return line_.data();
}

void LineFile::write_line() {
  write_text(line_.data());
}

void LineFile::write_text(std::string_view text) {
  if (file_ == nullptr || text.empty()) {
    return;
  }
  if (std::fwrite(text.data(), 1, text.size(), file_) != text.size() && write_error_ == 0) {
    write_error_ = errno != 0 ? errno : EIO;
  }
}

void LineFile::write_format(const char* format, ...) {
  if (file_ == nullptr) {
    return;
  }
  std::va_list args;
  va_start(args, format);
  std::va_list copy;
  va_copy(copy, args);
  int length = std::vsnprintf(nullptr, 0, format, copy);
  va_end(copy);
  if (length > 0) {
    std::string text(static_cast<std::size_t>(length), '\0');
    std::vsnprintf(text.data(), text.size() + 1, format, args);
    write_text(text);
  }
  va_end(args);
}

int LineFile::close() {
  if (file_ == nullptr) {
    return 0;
  }
  int result = 0;
  if (writer_ != nullptr) {
    // A failed write must not replace a good file: the temporary file is dropped instead.
    result = write_error_ != 0 ? write_error_ : writer_->Commit();
    writer_.reset();
  } else if (std::fclose(file_) != 0) {
    result = errno != 0 ? errno : EIO;
  }
  file_ = nullptr;
  return result;
}

void LineFile::set_line(std::string_view text) {
  copy_cut(text, line_.data(), line_.size());
}

unsigned LineFile::handle_number() const {
  return file_ == nullptr ? 0U : static_cast<unsigned>(fileno(file_));
}

// ---------------------------------------------------------------------------------------
// Splitter

char* trim(char* text) {
  while (*text == ' ') {
    ++text;
  }
  char* end = text + std::strlen(text);
  while (end > text && end[-1] == ' ') {
    --end;
  }
  *end = '\0';
  return text;
}

void Splitter::load(std::string_view text) {
  copy_cut(text, buffer_.data(), buffer_.size());
  key_ = nullptr;
  value_ = nullptr;
}

char* Splitter::split() {
  key_ = nullptr;
  value_ = nullptr;
  char* start = buffer_.data() + std::strspn(buffer_.data(), key_delimiters_);
  if (*start == '\0') {
    return buffer_.data();
  }
  char* end = start + std::strcspn(start, key_delimiters_);
  char* rest = nullptr;
  if (*end != '\0') {
    *end = '\0';
    rest = end + 1;
  }
  key_ = trim(start);
  if (rest != nullptr) {
    char* value = rest + std::strspn(rest, value_delimiters_);
    if (*value != '\0') {
      value[std::strcspn(value, value_delimiters_)] = '\0';
      value_ = trim(value);
    }
  }
  return value_ != nullptr ? value_ : buffer_.data();
}
