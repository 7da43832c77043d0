#include "core/common/mapped_file.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <utility>

namespace vantora {

MappedFile::MappedFile(MappedFile&& other) noexcept
    : data_(std::exchange(other.data_, nullptr)),
      size_(std::exchange(other.size_, 0)),
      mapped_(std::exchange(other.mapped_, false)) {}

MappedFile& MappedFile::operator=(MappedFile&& other) noexcept {
  if (this != &other) {
    Release();
    data_ = std::exchange(other.data_, nullptr);
    size_ = std::exchange(other.size_, 0);
    mapped_ = std::exchange(other.mapped_, false);
  }
  return *this;
}

MappedFile::~MappedFile() { Release(); }

void MappedFile::Release() {
  if (mapped_) munmap(const_cast<std::byte*>(data_), size_);
  data_ = nullptr;
  size_ = 0;
  mapped_ = false;
}

Status MappedFile::Open(const std::string& path) {
  Release();
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    return Status::Error(ErrorCode::CannotOpen,
                         "Cannot open \"" + path + "\": " + std::strerror(errno));
  }
  struct stat info {};
  if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    ::close(fd);
    return Status::Error(ErrorCode::CannotOpen, "\"" + path + "\" is not a readable file");
  }
  size_ = static_cast<std::size_t>(info.st_size);
  if (size_ > 0) {
    void* map = mmap(nullptr, size_, PROT_READ, MAP_PRIVATE | MAP_POPULATE, fd, 0);
    if (map == MAP_FAILED) {
      const int err = errno;
      ::close(fd);
      size_ = 0;
      return Status::Error(ErrorCode::CannotOpen,
                           "Cannot read \"" + path + "\": " + std::strerror(err));
    }
    data_ = static_cast<const std::byte*>(map);
    mapped_ = true;
  }
  ::close(fd);
  return Status::Ok();
}

}  // namespace vantora
