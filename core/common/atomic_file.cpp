#include "core/common/atomic_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>

namespace vantora {
namespace {

constexpr std::size_t kBufferSize = 1 << 20;

std::string TempNameFor(const std::string& target) {
  static std::atomic<unsigned> counter{0};
  return target + ".tmp-" + std::to_string(getpid()) + "-" + std::to_string(counter++);
}

}  // namespace

AtomicFileWriter::AtomicFileWriter(std::string target) : target_(std::move(target)) {}

AtomicFileWriter::~AtomicFileWriter() { Discard(); }

Status AtomicFileWriter::Open() {
  temp_ = TempNameFor(target_);
  fd_ = ::open(temp_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd_ < 0) {
    const int err = errno;
    temp_.clear();
    status_ = Status::Error(ErrorCode::CannotWrite,
                            "Cannot create \"" + target_ + "\": " + std::strerror(err));
    return status_;
  }
  buffer_.resize(kBufferSize);
  return Status::Ok();
}

void AtomicFileWriter::Write(std::string_view bytes) {
  if (fd_ < 0) return;
  while (!bytes.empty()) {
    if (used_ == buffer_.size()) Flush();
    if (fd_ < 0) return;
    const std::size_t n = std::min(bytes.size(), buffer_.size() - used_);
    std::memcpy(buffer_.data() + used_, bytes.data(), n);
    used_ += n;
    bytes.remove_prefix(n);
  }
}

void AtomicFileWriter::Flush() {
  std::size_t done = 0;
  while (fd_ >= 0 && done < used_) {
    const ssize_t n = ::write(fd_, buffer_.data() + done, used_ - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      Fail("Cannot write", n < 0 ? errno : ENOSPC);
      return;
    }
    done += static_cast<std::size_t>(n);
  }
  used_ = 0;
}

void AtomicFileWriter::Fail(const char* what, int err) {
  if (status_.ok()) {
    status_ = Status::Error(ErrorCode::CannotWrite,
                            std::string(what) + " \"" + target_ + "\": " + std::strerror(err));
  }
  Discard();
}

void AtomicFileWriter::Discard() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  if (!temp_.empty()) std::remove(temp_.c_str());
  temp_.clear();
}

Status AtomicFileWriter::Commit() {
  if (fd_ < 0) {
    return status_.ok() ? Status::Error(ErrorCode::CannotWrite, "\"" + target_ + "\" was not opened")
                        : status_;
  }
  Flush();
  if (fd_ < 0) return status_;
  const int fd = fd_;
  fd_ = -1;
  if (::close(fd) != 0) {
    Fail("Cannot write", errno);
    return status_;
  }
  if (std::rename(temp_.c_str(), target_.c_str()) != 0) {
    Fail("Cannot replace", errno);
    return status_;
  }
  temp_.clear();
  return Status::Ok();
}

std::string ReadTextFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return file ? std::string{std::istreambuf_iterator<char>(file), {}} : std::string();
}

Status SaveTextFile(const std::string& path, std::string_view text) {
  AtomicFileWriter writer(path);
  if (Status s = writer.Open(); !s) return s;
  writer.Write(text);
  return writer.Commit();
}

}  // namespace vantora
