#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/common/host.h"
#include "core/model/section_raster.h"
#include "core/nc/nc_format.h"
#include "core/nc/nc_program.h"

namespace vantora {

// Writes one NC program: its first line, the lines of every section's ToolPath and
// "M30\n", each motion line holding only the axis words whose values changed, in the
// store's NcFormat. One writer serves one program run, and every program starts from
// the writer's initial state, so its first motion line is a full one.
class NcWriter {
 public:
  NcWriter(const NcFormat& format, NcLineSink& program) : format_(format), program_(program) {}

  // Program start for a run from `startAngle`: the initial state, then FirstLine as one
  // line (empty if it is).
  void StartProgram(float startAngle);
  // A section's path at section angle `angle`: its points first to last when
  // `forward`, last down to first when not.
  void WriteSectionNc(const std::vector<PathPoint>& path, float angle, bool forward, Host& host);
  // Appends at most one line for the point (x, y) at rotary position c.
  void WriteNcLine(float x, float y, float c);
  // Program end: the line "M30\n".
  void EndProgram();

 private:
  void ForgetLastLine();
  void AppendWord(const std::string& axis, float value);

  const NcFormat& format_;
  NcLineSink& program_;
  float startAngle_ = 0;  // the run's first section angle
  std::string line_;  // reused for every line
  // The key of the run whose first motion line was written, its start angle truncated; none
  // at the start of a program.
  std::optional<int> sectionKey_;
  // The last values written; none before a first motion line, which names all three.
  std::optional<float> lastX_, lastY_, lastC_;
};

// The value a controller reads for `v` where WriteNcLine writes it: `v` rounded to the
// three decimals of its text.
double WrittenValue(float v);

}  // namespace vantora
