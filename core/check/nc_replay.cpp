#include "core/check/nc_replay.h"

#include <charconv>
#include <cmath>
#include <optional>
#include <string>

#include "core/common/shown_text.h"

namespace vantora {
namespace {

// No machine moves an axis a kilometre (or a thousand turns) from its origin.
constexpr double kMaxAxisValue = 1e6;

std::string_view StripLineEnd(std::string_view line) {
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.remove_suffix(1);
  return line;
}

std::optional<double> ReadNumber(std::string_view text) {
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  double value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) {
    return std::nullopt;
  }
  return value;
}

// Reads the program line by line, carrying the axes' last positions.
class MotionReader {
 public:
  MotionReader(const NcFormat& format, NcMotionList& motion) : format_(format), motion_(motion) {
    motion_ = {};
  }

  Status Line(std::string_view line) {
    ++number_;
    line = StripLineEnd(line);
    if (number_ == 1 && line == StripLineEnd(format_.FirstLine)) return Status::Ok();
    if (ended_) return line.empty() ? Status::Ok() : Malformed("text after M30");
    words_ = line;
    bool moved = false;
    for (std::string_view word = NextWord(); !word.empty(); word = NextWord()) {
      if (Status s = Word(word, moved); !s) return s;
    }
    if (!moved) return Status::Ok();
    if (motion_.Motions.empty() && !(hasX_ && hasY_ && hasC_)) {
      return Malformed("the first motion line must give all three axes");
    }
    motion_.Motions.push_back({x_, y_, c_, number_, false, feed_});
    return Status::Ok();
  }

  Status End() const {
    if (motion_.Motions.empty()) {
      return Status::Error(ErrorCode::Empty, "The program holds no motion line.");
    }
    return Status::Ok();
  }

 private:
  Status Word(std::string_view word, bool& moved) {
    double* axis = word == format_.HorizonAxis    ? &x_
                   : word == format_.VerticalAxis ? &y_
                   : word == format_.RotateAxis   ? &c_
                                                  : nullptr;
    if (axis != nullptr) {
      const std::string_view text = NextWord();
      const auto value = ReadNumber(text);
      if (!value) return Malformed("axis " + ShownText(word) + " has no number");
      if (std::abs(*value) > kMaxAxisValue) {
        return Malformed("axis " + ShownText(word) + " lies beyond any machine's reach");
      }
      *axis = *value;
      (axis == &x_ ? hasX_ : axis == &y_ ? hasY_ : hasC_) = true;
      moved = true;
      return Status::Ok();
    }
    if (word == "G1") return Status::Ok();
    if (word == "M30") {
      ended_ = true;
      return Status::Ok();
    }
    if (word.front() == 'F') {
      const auto feed = ReadNumber(word.substr(1));
      if (!feed || !(*feed > 0)) {
        return Malformed("the feed \"" + ShownText(word) + "\" is not a speed");
      }
      if (motion_.Feed == 0) motion_.Feed = *feed;
      feed_ = *feed;
      return Status::Ok();
    }
    return Malformed("\"" + ShownText(word) + "\" is not a word of this NC format");
  }

  std::string_view NextWord() {
    const std::size_t begin = words_.find_first_not_of(" \t");
    if (begin == std::string_view::npos) return {};
    words_.remove_prefix(begin);
    const std::size_t end = std::min(words_.find_first_of(" \t"), words_.size());
    const std::string_view word = words_.substr(0, end);
    words_.remove_prefix(end);
    return word;
  }

  Status Malformed(const std::string& what) const {
    return Status::Error(ErrorCode::Malformed,
                         "NC line " + std::to_string(number_) + ": " + what + ".");
  }

  const NcFormat& format_;
  NcMotionList& motion_;
  std::string_view words_;
  int number_ = 0;
  bool ended_ = false;
  double x_ = 0, y_ = 0, c_ = 0;
  double feed_ = 0;  // the F in force
  bool hasX_ = false, hasY_ = false, hasC_ = false;
};

}  // namespace

Status ReadNcMotion(std::string_view text, const NcFormat& format, NcMotionList& motion) {
  MotionReader reader(format, motion);
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    const std::size_t length = end == std::string_view::npos ? text.size() : end + 1;
    if (Status s = reader.Line(text.substr(0, length)); !s) return s;
    text.remove_prefix(length);
  }
  return reader.End();
}

Status ReadNcMotion(const NcProgram& program, const NcFormat& format, NcMotionList& motion) {
  MotionReader reader(format, motion);
  for (int k = 0; k < program.LineCount(); ++k) {
    if (Status s = reader.Line(program.Line(k)); !s) return s;
  }
  return reader.End();
}

}  // namespace vantora
