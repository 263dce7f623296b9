// Generated level collections for the report programs' benchmarks: data directories of
// random levels with duplicates planted under all eight Match kinds and similar pairs, and a
// score file for every tenth level. The same kind and count always give the same files, so
// pages written by two builds of a program can be compared byte for byte.
#pragma once

#include <filesystem>
#include <optional>
#include <string_view>

enum class CollectionKind {
  kMixed,     // sizes from 6 x 6 to 20 x 16
  kSameSize,  // every level 10 x 10, as in research collections of small levels
};

// "mixed" or "same"; nothing for any other text.
std::optional<CollectionKind> CollectionKindOf(std::string_view name);
const char* CollectionKindName(CollectionKind kind);

// Makes `dir` (removed first) a data directory of `count` levels in sets of 100 (B0000,
// B0001, ...) with Ini/Mazes.Ini and an empty htm folder.
void BuildCollection(const std::filesystem::path& dir, CollectionKind kind, int count);
