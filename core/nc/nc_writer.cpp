#include "core/nc/nc_writer.h"

#include "core/common/truncate.h"
#include "core/common/number_text.h"

namespace vantora {

void NcWriter::StartProgram() {
  SectionKey = 1234;
  ForgetLastLine();
  program_.AppendLine(format_.FirstLine);
}

void NcWriter::ForgetLastLine() {
  FirstLinePending = true;
  LastX = LastY = 123333.0f;
  LastC = -123.0f;
}

void NcWriter::WriteSectionNc(float angle, Host& host) {
  const std::vector<PathPoint>& path = store_.ToolPath;
  const int count = store_.PathCount;
  const bool forward = store_.PathDirection == 1;
  for (int n = 0; n < count; ++n) {
    const PathPoint& p = path[std::size_t(forward ? n : count - 1 - n)];
    WriteNcLine(p.X, p.Y, angle);
    host.ProcessPendingMessages();
  }
}

void NcWriter::WriteNcLine(float x, float y, float c) {
  // A run whose start angle is not a whole number never matches its key, so all its
  // lines are first motion lines.
  if (double(SectionKey) != double(store_.StartAngle)) {
    ForgetLastLine();
    SectionKey = TruncateToInt(store_.StartAngle);
  }
  line_.clear();
  const bool firstMotion = FirstLinePending;
  if (firstMotion) {
    line_ = "G1";
    FirstLinePending = false;
  }
  if (x != LastX) AppendWord(format_.HorizonAxis, x);
  if (y != LastY) AppendWord(format_.VerticalAxis, y);
  if (c != LastC) {
    AppendWord(format_.RotateAxis, c);
    LastC = c;
  }
  if (firstMotion) line_.append(" F").append(format_.CutSpeed);
  if (line_.empty()) return;
  program_.AppendLine(line_);
  LastX = x;
  LastY = y;
}

void NcWriter::AppendWord(const std::string& axis, float value) {
  line_.append(" ").append(axis).append(" ");
  AppendFloatText(line_, value);
}

void NcWriter::EndProgram() { program_.AppendLine("M30\n"); }

}  // namespace vantora
