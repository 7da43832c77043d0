#pragma once

#include <cstddef>
#include <span>
#include <string>

#include "core/common/status.h"

namespace vantora {

// A whole file mapped read-only into memory, so readers see one contiguous buffer
// that the kernel streams in from the page cache. An empty file gives an empty span.
class MappedFile {
 public:
  MappedFile() = default;
  MappedFile(const MappedFile&) = delete;
  MappedFile& operator=(const MappedFile&) = delete;
  MappedFile(MappedFile&& other) noexcept;
  MappedFile& operator=(MappedFile&& other) noexcept;
  ~MappedFile();

  // Maps `path`; on failure the status names the file.
  Status Open(const std::string& path);

  std::span<const std::byte> bytes() const { return {data_, size_}; }
  std::string_view text() const { return {reinterpret_cast<const char*>(data_), size_}; }

 private:
  void Release();

  const std::byte* data_ = nullptr;
  std::size_t size_ = 0;
  bool mapped_ = false;
};

}  // namespace vantora
