#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "core/common/output_sink.h"
#include "core/common/status.h"

namespace vantora {

// Where the NC program writer appends its lines: the program kept in memory, or the
// main window's memo that shows it as it grows.
class NcLineSink {
 public:
  virtual ~NcLineSink() = default;
  virtual void AppendLine(std::string_view line) = 0;
};

// The NC program as the main window's memo holds it: its lines in order, kept in one
// buffer. Every run appends a whole program; only the operator clears it.
class NcProgram final : public NcLineSink {
 public:
  void AppendLine(std::string_view line) override;
  int LineCount() const { return int(ends_.size()); }
  std::string_view Line(int k) const;
  void Clear();

 private:
  std::string text_;
  std::vector<std::size_t> ends_;
};

// Appends every line of `program` to `sink`, in order.
void AppendProgram(const NcProgram& program, NcLineSink& sink);

// The text of a .nc file: every line followed by CR LF. A line that ends in a line
// feed of its own (the program end "M30\n") has it replaced by that CR LF.
void WriteNcText(const NcProgram& program, OutputSink& out);

// Saves the program through a temporary file that replaces `path` only when complete;
// a failure names the file and leaves any old one as it was.
Status SaveNcFile(const std::string& path, const NcProgram& program);

}  // namespace vantora
