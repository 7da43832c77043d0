#include "core/nc/nc_program.h"

#include "core/common/atomic_file.h"

namespace vantora {

void NcProgram::AppendLine(std::string_view line) {
  text_.append(line);
  ends_.push_back(text_.size());
}

std::string_view NcProgram::Line(int k) const {
  const std::size_t begin = k == 0 ? 0 : ends_[std::size_t(k - 1)];
  return std::string_view(text_).substr(begin, ends_[std::size_t(k)] - begin);
}

void NcProgram::Clear() {
  text_.clear();
  ends_.clear();
}

void AppendProgram(const NcProgram& program, NcLineSink& sink) {
  for (int k = 0; k < program.LineCount(); ++k) sink.AppendLine(program.Line(k));
}

void WriteNcText(const NcProgram& program, OutputSink& out) {
  for (int k = 0; k < program.LineCount(); ++k) {
    std::string_view line = program.Line(k);
    if (!line.empty() && line.back() == '\n') line.remove_suffix(1);
    out.Write(line);
    out.Write("\r\n");
  }
}

Status SaveNcFile(const std::string& path, const NcProgram& program) {
  AtomicFileWriter file(path);
  if (Status s = file.Open(); !s) return s;
  WriteNcText(program, file);
  return file.Commit();
}

}  // namespace vantora
