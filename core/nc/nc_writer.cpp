#include "core/nc/nc_writer.h"

#include <charconv>

#include "core/common/truncate.h"
#include "core/common/number_text.h"

namespace vantora {

void NcWriter::StartProgram(float startAngle) {
  startAngle_ = startAngle;
  sectionKey_.reset();
  ForgetLastLine();
  program_.AppendLine(format_.FirstLine);
}

void NcWriter::ForgetLastLine() {
  lastX_.reset();
  lastY_.reset();
  lastC_.reset();
}

void NcWriter::WriteSectionNc(const std::vector<PathPoint>& path, float angle, bool forward,
                              Host& host) {
  const std::size_t count = path.size();
  for (std::size_t n = 0; n < count; ++n) {
    const PathPoint& p = path[forward ? n : count - 1 - n];
    WriteNcLine(p.X, p.Y, angle);
    host.ProcessPendingMessages();
  }
}

void NcWriter::WriteNcLine(float x, float y, float c) {
  // A run whose start angle is not a whole number never matches its key, so all its
  // lines are first motion lines.
  if (!sectionKey_ || double(*sectionKey_) != double(startAngle_)) {
    ForgetLastLine();
    sectionKey_ = TruncateToInt(startAngle_);
  }
  line_.clear();
  const bool firstMotion = !lastX_;
  if (firstMotion) line_ = "G1";
  if (x != lastX_) AppendWord(format_.HorizonAxis, x);
  if (y != lastY_) AppendWord(format_.VerticalAxis, y);
  if (c != lastC_) {
    AppendWord(format_.RotateAxis, c);
    lastC_ = c;
  }
  if (firstMotion) line_.append(" F").append(format_.CutSpeed);
  if (line_.empty()) return;
  program_.AppendLine(line_);
  lastX_ = x;
  lastY_ = y;
}

void NcWriter::AppendWord(const std::string& axis, float value) {
  line_.append(" ").append(axis).append(" ");
  AppendFloatText(line_, value);
}

void NcWriter::EndProgram() { program_.AppendLine("M30\n"); }

double WrittenValue(float v) {
  std::string text;  // short enough to stay in the string itself
  AppendFloatText(text, v);
  double value = 0;
  std::from_chars(text.data(), text.data() + text.size(), value);
  return value;
}

}  // namespace vantora
