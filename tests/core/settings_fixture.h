// A fresh temporary data directory for each settings test, made current, with an empty Ini
// directory (unless the test removes it) and the settings back at their start values.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

#include "files.h"
#include "rv7cfg.h"
#include "rv7ini.h"

class SettingsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    previous_ = std::filesystem::current_path();
    std::string pattern = std::string(temp_base_) + "/rv7iniXXXXXX";
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    directory_ = pattern;
    std::filesystem::current_path(directory_);
    ASSERT_EQ(MakeDirectory("Ini"), 0);
    release_ini();
    CfgDefaults();
  }

  void TearDown() override {
    release_ini();
    CfgDefaults();
    std::filesystem::current_path(previous_);
    std::filesystem::remove_all(directory_);
  }

  // Writes `bytes` exactly to the suite path.
  static void WriteFile(std::string_view suite_path, std::string_view bytes) {
    std::ofstream out(NativePath(suite_path), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    ASSERT_TRUE(out.good()) << suite_path;
  }

  // The whole file; empty when it does not exist.
  static std::string ReadFile(std::string_view suite_path) {
    std::ifstream in(NativePath(suite_path), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

  // Where the temporary directory is made.
  const char* temp_base_ = "/tmp";
  std::filesystem::path previous_;
  std::filesystem::path directory_;
};
