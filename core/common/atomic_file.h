#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "core/common/output_sink.h"
#include "core/common/status.h"

namespace vantora {

// Writes a file so that a failed save never destroys the old one: everything goes
// into a temporary file beside the target, which replaces the target only when the
// whole content was written. Dropping the writer without Commit() removes the
// temporary file.
class AtomicFileWriter final : public OutputSink {
 public:
  explicit AtomicFileWriter(std::string target);
  AtomicFileWriter(const AtomicFileWriter&) = delete;
  AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;
  ~AtomicFileWriter();

  Status Open();
  void Write(std::string_view bytes) override;
  // Flushes, closes and renames over the target. Reports the first failure seen.
  Status Commit();

 private:
  void Flush();
  void Fail(const char* what, int err);
  void Discard();

  std::string target_;
  std::string temp_;
  std::vector<char> buffer_;
  std::size_t used_ = 0;
  int fd_ = -1;
  Status status_;
};

// Writes `text` as the whole file at `path`, through a temporary file.
Status SaveTextFile(const std::string& path, std::string_view text);
// The whole file at `path` as it stands; empty when it is missing or unreadable.
std::string ReadTextFile(const std::string& path);

}  // namespace vantora
