// Named blocks of POSIX shared memory, the storage behind the named mutex and the named
// event. A block is visible to every process that maps it under the same name.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The shared-memory object name for a suite object name: a leading "/" and every "/" or
// "\" of the name turned into "_" ("//SEM32//RV7.SEM" gives "/__SEM32__RV7.SEM").
std::string SharedBlockName(std::string_view name);

// Maps the block of `size` bytes named after `name`. An existing block is opened; with
// `create` a missing block is made, filled in by `init` and only then made visible under
// its name, so no process ever maps a block that is not yet initialised. Returns the
// mapping, or nullptr with `error` set to the system error code (ENOENT: no such block and
// `create` false; EINVAL: a block of that name is too small).
void* MapSharedBlock(std::string_view name, std::size_t size, bool create, void (*init)(void*),
                     int& error);

// Unmaps a block mapped by MapSharedBlock; nullptr is ignored.
void UnmapSharedBlock(void* block, std::size_t size);

// Removes the block's name, so that the next create makes a fresh block; processes that
// still map the old block keep it. Returns 0 or the system error code.
int RemoveSharedBlock(std::string_view name);
