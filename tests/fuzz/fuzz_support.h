// What every fuzz target shares: a scratch data directory made current for the whole run, and
// a speaker that stays silent (see fuzz_support.cpp).
#pragma once

#include <string>
#include <string_view>

// Makes a fresh scratch directory (in /dev/shm where it exists, so the many small files the
// targets write stay in memory) the current directory, the first time it is called; the
// directory is removed when the process ends. Aborts when it cannot be made.
void EnterFuzzDirectory();

// Writes `bytes` exactly to the native path `path`, replacing the file. Aborts on failure.
void WriteFuzzFile(const std::string& path, std::string_view bytes);

// The whole file; empty when it does not exist.
std::string ReadFuzzFile(const std::string& path);

// Stops the run with a message on stderr when `holds` is false: libFuzzer keeps the input.
void FuzzCheck(bool holds, const char* what);
