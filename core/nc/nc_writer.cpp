#include "core/nc/nc_writer.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "core/common/number_text.h"
#include "core/common/truncate.h"

namespace vantora {
namespace {

const MachineProfile& PlainMachine() {
  static const MachineProfile plain;
  return plain;
}

}  // namespace

NcWriter::NcWriter(const NcFormat& format, NcLineSink& program)
    : NcWriter(format, PlainMachine(), program) {}

NcWriter::NcWriter(const NcFormat& format, const MachineProfile& machine, NcLineSink& program)
    : format_(format),
      machine_(machine),
      program_(program),
      indexFeed_(GeneralNumberText(machine.IndexFeed)),
      cutSpeed_(ParseFloatText(format.CutSpeed).value_or(0)),
      keyed_(!machine.SectionMarkers) {}

void NcWriter::StartProgram(float startAngle) {
  startAngle_ = startAngle;
  sectionKey_.reset();
  ForgetLastLine();
  at_.reset();
  sectionWritten_ = false;
  program_.AppendLine(format_.FirstLine);
  for (const std::string& line : machine_.Header) program_.AppendLine(line);
}

void NcWriter::ForgetLastLine() {
  lastX_.reset();
  lastY_.reset();
  lastC_.reset();
  motion_ = Motion::None;
  feed_ = FeedInForce::None;
}

void NcWriter::WriteSectionNc(const std::vector<PathPoint>& path, float angle, bool forward,
                              Host& host, SectionPlace place) {
  const std::size_t count = path.size();
  if (count == 0) return;
  BeginSection(path[forward ? 0 : count - 1], angle, place);
  for (std::size_t n = 0; n < count; ++n) {
    const PathPoint& p = path[forward ? n : count - 1 - n];
    WriteNcLine(p.X, p.Y, angle);
    host.ProcessPendingMessages();
  }
}

void NcWriter::BeginSection(PathPoint first, float angle, SectionPlace place) {
  if (!sectionWritten_) {
    sectionWritten_ = true;
    line_.clear();
    AppendWord(format_.HorizonAxis, first.X);
    AppendWord(format_.VerticalAxis, first.Y);
    AppendWord(format_.RotateAxis, angle);
    WriteApproach(machine_, line_, program_);
    if (machine_.Approach) {
      lastX_ = first.X, lastY_ = first.Y, lastC_ = angle;
      motion_ = Motion::Rapid;
      at_ = Position{first.X, first.Y, angle};
    }
  }
  if (!machine_.SectionMarkers) return;
  line_.clear();
  AppendWord(format_.RotateAxis, angle);
  program_.AppendLine(SectionMarkerText(machine_, place, std::string_view(line_).substr(1)));
  ForgetLastLine();
}

void NcWriter::WriteNcLine(float x, float y, float c) {
  // A run whose start angle is not a whole number never matches its key, so all its
  // lines are first motion lines.
  if (keyed_ && (!sectionKey_ || double(*sectionKey_) != double(startAngle_))) {
    ForgetLastLine();
    sectionKey_ = TruncateToInt(startAngle_);
  }
  if (lastX_ && x == *lastX_ && y == *lastY_ && c == lastC_) return;
  const bool turnAlone = machine_.Turn == TableTurn::Indexed && at_ && at_->X == x &&
                         at_->Y == y && at_->C != c;
  const FeedInForce feed = turnAlone ? FeedInForce::Index : FeedInForce::Cut;
  const bool writeFeed = machine_.Feed == FeedMode::InverseTime || feed != feed_;
  line_.clear();
  if (motion_ != Motion::Feed || writeFeed) line_ = "G1";
  if (x != lastX_) AppendWord(format_.HorizonAxis, x);
  if (y != lastY_) AppendWord(format_.VerticalAxis, y);
  if (c != lastC_) {
    AppendWord(format_.RotateAxis, c);
    lastC_ = c;
  }
  if (writeFeed) AppendFeed(feed, x, y, c);
  program_.AppendLine(line_);
  lastX_ = x;
  lastY_ = y;
  motion_ = Motion::Feed;
  feed_ = feed;
  at_ = Position{x, y, c};
}

void NcWriter::AppendWord(const std::string& axis, float value) {
  line_.append(" ").append(axis).append(" ");
  AppendFloatText(line_, value, machine_.Decimals);
}

void NcWriter::AppendFeed(FeedInForce feed, float x, float y, float c) {
  line_.append(" F");
  if (machine_.Feed == FeedMode::PerMinute) {
    line_.append(feed == FeedInForce::Index ? indexFeed_ : format_.CutSpeed);
    return;
  }
  char text[64];
  const auto written = std::to_chars(text, text + sizeof text, InverseTime(x, y, c),
                                     std::chars_format::fixed, machine_.Decimals);
  line_.append(text, written.ptr);
}

double NcWriter::InverseTime(float x, float y, float c) const {
  // A move no shorter than the smallest step the program writes, so that every move,
  // even one to where the wire stands, takes a time a controller can carry out.
  const double step = std::pow(10.0, -machine_.Decimals);
  const double turnFeed = machine_.IndexFeed > 0 ? machine_.IndexFeed : cutSpeed_;
  double minutes = step / cutSpeed_;
  if (at_) {
    const double along = std::hypot(double(x) - at_->X, double(y) - at_->Y);
    minutes = std::max({minutes, along / cutSpeed_, std::abs(double(c) - at_->C) / turnFeed});
  }
  return 1 / minutes;
}

void NcWriter::EndProgram() {
  const std::size_t total = machine_.WireOff.size() + machine_.End.size();
  std::size_t written = 0;
  for (const auto* lines : {&machine_.WireOff, &machine_.End}) {
    for (const std::string& line : *lines) {
      // The memo's last line ends in a line feed of its own, as "M30\n" always has.
      program_.AppendLine(++written == total ? line + "\n" : line);
    }
  }
}

void WriteApproach(const MachineProfile& machine, std::string_view axisWords,
                   NcLineSink& program) {
  if (machine.Approach) program.AppendLine("G0" + std::string(axisWords));
  for (const std::string& line : machine.WireOn) program.AppendLine(line);
  if (machine.PreHeatSeconds > 0) {
    const double p = machine.PreHeatSeconds * (machine.DwellInMilliseconds ? 1000 : 1);
    program.AppendLine("G4 P" + GeneralNumberText(p));
  }
}

Status CheckWritable(const NcFormat& format, const MachineProfile& machine) {
  if (Status s = CheckMachineProfile(machine); !s) return s;
  if (machine.Feed == FeedMode::PerMinute) return Status::Ok();
  const auto speed = ParseFloatText(format.CutSpeed);
  if (speed && *speed > 0) return Status::Ok();
  return Status::Refused("Inverse time needs the cut speed as a number above 0; it is \"" +
                         format.CutSpeed + "\".");
}

double WrittenValue(float v, int decimals) {
  std::string text;  // short enough to stay in the string itself
  AppendFloatText(text, v, decimals);
  double value = 0;
  std::from_chars(text.data(), text.data() + text.size(), value);
  return value;
}

}  // namespace vantora
