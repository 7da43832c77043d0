#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/common/host.h"
#include "core/common/status.h"
#include "core/model/section_raster.h"
#include "core/nc/machine_profile.h"
#include "core/nc/nc_format.h"
#include "core/nc/nc_program.h"
#include "core/nc/section_marker.h"

namespace vantora {

// Writes one NC program in the store's NcFormat for one machine profile: its first
// line and the profile's header, the lines of every section's ToolPath, and the
// profile's end. Each motion line holds only the axis words whose values changed, the
// motion word when the motion changes or the line sets a feed, and the feed when it
// changes (on every feed line under inverse time). One writer serves one program run,
// and every program starts from the writer's initial state, so its first motion line
// is a full one.
//
// With the plain profile the program is as it always was: no header, no approach, no
// heat, no markers, "M30\n" at the end. Under other profiles the first section is
// approached in rapid with the wire cold and the heat is switched on there; a section
// with a marker begins with it and with a full motion line, so it reads the same
// whether the program is whole or resumed from it; and under an indexed table a move
// that only turns the table goes at the index feed.
class NcWriter {
 public:
  // The plain profile.
  NcWriter(const NcFormat& format, NcLineSink& program);
  NcWriter(const NcFormat& format, const MachineProfile& machine, NcLineSink& program);

  // Program start for a run from `startAngle`: the initial state, then FirstLine as one
  // line (empty if it is) and the profile's header.
  void StartProgram(float startAngle);
  // A section's path at section angle `angle`: its points first to last when
  // `forward`, last down to first when not; `place` names it in its marker.
  void WriteSectionNc(const std::vector<PathPoint>& path, float angle, bool forward, Host& host,
                      SectionPlace place = {});
  // Appends at most one line for the point (x, y) at rotary position c.
  void WriteNcLine(float x, float y, float c);
  // Program end: the profile's WireOff and End lines, the last one ending in "\n".
  void EndProgram();

 private:
  enum class Motion { None, Rapid, Feed };
  enum class FeedInForce { None, Cut, Index };
  struct Position {
    float X, Y, C;
  };

  void BeginSection(PathPoint first, float angle, SectionPlace place);
  void ForgetLastLine();
  void AppendWord(const std::string& axis, float value);
  void AppendFeed(FeedInForce feed, float x, float y, float c);
  // Under inverse time: 1 / the minutes of the move to (x, y, c).
  double InverseTime(float x, float y, float c) const;

  const NcFormat& format_;
  const MachineProfile& machine_;
  NcLineSink& program_;
  std::string indexFeed_;  // the index feed's text
  double cutSpeed_ = 0;    // the cut speed's value, for inverse time
  // A run keyed by its start angle (the program as it always was) forgets its last line
  // whenever the key does not match; a marked program does not.
  bool keyed_ = true;
  float startAngle_ = 0;  // the run's first section angle
  std::string line_;  // reused for every line
  // The key of the run whose first motion line was written, its start angle truncated; none
  // at the start of a program.
  std::optional<int> sectionKey_;
  // The last values written; none before a first motion line, which names all three.
  std::optional<float> lastX_, lastY_, lastC_;
  Motion motion_ = Motion::None;
  FeedInForce feed_ = FeedInForce::None;
  std::optional<Position> at_;  // where the last motion line took the axes
  bool sectionWritten_ = false;
};

// The lines that bring the wire to a section's first point and switch its heat on: a
// rapid naming every axis (`axisWords`, as " X 1.000 Y 2.000 C 0.000") when the profile
// approaches, then WireOn and the pre-heat pause.
void WriteApproach(const MachineProfile& machine, std::string_view axisWords,
                   NcLineSink& program);

// Refuses a format the profile cannot write a program in: inverse time needs the cut
// speed as a number above 0.
Status CheckWritable(const NcFormat& format, const MachineProfile& machine);

// The value a controller reads for `v` where WriteNcLine writes it: `v` rounded to the
// `decimals` decimals of its text.
double WrittenValue(float v, int decimals = 3);

}  // namespace vantora
