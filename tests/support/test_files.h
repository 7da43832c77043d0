#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

#include <unistd.h>

namespace vantora::testing {

// The public STL files beside the project (never committed); tests that need them
// skip when they are absent.
inline std::filesystem::path SharedModel(std::string_view name) {
  return std::filesystem::path(VANTORA_SHARED_MODELS) / name;
}

#define VANTORA_REQUIRE_SHARED_MODEL(path) \
  if (!std::filesystem::exists(path)) GTEST_SKIP() << "missing " << (path)

// A fresh directory for one test, removed afterwards.
class TempDir {
 public:
  TempDir() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    path_ = std::filesystem::temp_directory_path() /
            ("vantora-" + std::string(info->test_suite_name()) + "-" + info->name() + "-" +
             std::to_string(::getpid()));
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
  }
  ~TempDir() { std::filesystem::remove_all(path_); }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::string File(std::string_view name) const { return (path_ / name).string(); }
  // Writes `content` to the file `name` here; its path.
  std::string Put(std::string_view name, std::string_view content) const;

 private:
  std::filesystem::path path_;
};

inline void WriteFile(const std::string& path, std::string_view content) {
  std::ofstream(path, std::ios::binary).write(content.data(),
                                              static_cast<std::streamsize>(content.size()));
}

inline std::string TempDir::Put(std::string_view name, std::string_view content) const {
  WriteFile(File(name), content);
  return File(name);
}

inline std::size_t FilesIn(const std::filesystem::path& dir) {
  return std::size_t(std::distance(std::filesystem::directory_iterator(dir), {}));
}

inline std::string ReadFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), {}};
}

// Runs the test body in `dir` as current directory, where the application keeps its
// settings files.
class ScopedCurrentDir {
 public:
  explicit ScopedCurrentDir(const std::filesystem::path& dir)
      : previous_(std::filesystem::current_path()) {
    std::filesystem::current_path(dir);
  }
  ~ScopedCurrentDir() { std::filesystem::current_path(previous_); }
  ScopedCurrentDir(const ScopedCurrentDir&) = delete;
  ScopedCurrentDir& operator=(const ScopedCurrentDir&) = delete;

 private:
  std::filesystem::path previous_;
};

}  // namespace vantora::testing
