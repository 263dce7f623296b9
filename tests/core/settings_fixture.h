// A fresh temporary data directory for each settings test, made current, with an empty Ini
// directory (unless the test removes it) and the settings back at their start values.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "files.h"
#include "rv7cfg.h"
#include "rv7ini.h"
#include "scratch_directory.h"

class SettingsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    scratch_.emplace("rv7ini", temp_base_);
    ASSERT_TRUE(scratch_->made());
    ASSERT_EQ(MakeDirectory("Ini"), 0);
    release_ini();
    CfgDefaults();
  }

  void TearDown() override {
    release_ini();
    CfgDefaults();
    scratch_.reset();
  }

  // Writes `bytes` exactly to the suite path, making its directories.
  static void WriteFile(std::string_view suite_path, std::string_view bytes) {
    ASSERT_TRUE(WriteTextFile(NativePath(suite_path), bytes)) << suite_path;
  }

  // The whole file; empty when it does not exist.
  static std::string ReadFile(std::string_view suite_path) {
    return ReadTextFile(NativePath(suite_path));
  }

  // Where the temporary directory is made; a derived fixture may change it before SetUp.
  const char* temp_base_ = "/tmp";
  std::optional<ScratchDirectory> scratch_;
};
