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

// The number of a G or M word: one to three digits, leading zeros allowed (G01).
std::optional<int> ReadCode(std::string_view digits) {
  if (digits.empty() || digits.size() > 3) return std::nullopt;
  int code = 0;
  for (char d : digits) {
    if (d < '0' || d > '9') return std::nullopt;
    code = code * 10 + (d - '0');
  }
  return code;
}

enum class Mode { None, Rapid, Feed };

// What one line's words ask for, carried out once the whole line is read.
struct LineWords {
  bool moved = false;  // an axis word
  std::optional<Mode> motion;
  std::optional<bool> inverseTime;
  std::optional<double> feed, p;
  bool dwell = false, output = false;  // G4; M62 to M65
};

// Reads the program line by line, carrying the axes' last positions and the modes.
class MotionReader {
 public:
  MotionReader(const NcFormat& format, const MachineProfile& machine, NcMotionList& motion)
      : format_(format), machine_(machine), motion_(motion) {
    motion_ = {};
  }

  Status Line(std::string_view line) {
    ++number_;
    line = StripLineEnd(line);
    if (number_ == 1 && line == StripLineEnd(format_.FirstLine)) return Status::Ok();
    if (Status s = SkipComments(line); !s) return s;
    if (!ended_.empty()) {
      return NextWord().empty() ? Status::Ok() : Malformed("text after " + ended_);
    }
    LineWords words;
    for (std::string_view word = NextWord(); !word.empty(); word = NextWord()) {
      if (Status s = Word(word, words); !s) return s;
    }
    return CarryOut(words);
  }

  Status End() const {
    if (motion_.Motions.empty()) {
      return Status::Error(ErrorCode::Empty, "The program holds no motion line.");
    }
    return Status::Ok();
  }

 private:
  // The line's words without its comments: in parentheses, or from ";" to the end.
  Status SkipComments(std::string_view line) {
    words_ = line;
    if (line.find_first_of("(;") == std::string_view::npos) return Status::Ok();
    uncommented_.clear();
    bool inComment = false;
    for (char ch : line) {
      if (inComment) {
        if (ch == '(') return Malformed("a comment within a comment");
        inComment = ch != ')';
        continue;
      }
      if (ch == ';') break;
      inComment = ch == '(';
      uncommented_ += inComment ? ' ' : ch;
    }
    if (inComment) return Malformed("a comment is not closed");
    words_ = uncommented_;
    return Status::Ok();
  }

  Status Word(std::string_view word, LineWords& words) {
    double* axis = word == format_.HorizonAxis    ? &x_
                   : word == format_.VerticalAxis ? &y_
                   : word == format_.RotateAxis   ? &c_
                                                  : nullptr;
    if (axis != nullptr) return AxisWord(word, *axis, words);
    switch (word.front()) {
      case 'G': return GWord(word, words);
      case 'M': return MWord(word, words);
      case 'F': {
        const auto feed = ReadNumber(word.substr(1));
        if (!feed || !(*feed > 0)) {
          return Malformed("the feed \"" + ShownText(word) + "\" is not a speed");
        }
        words.feed = feed;
        return Status::Ok();
      }
      case 'S':
      case 'P': {
        const auto value = ReadNumber(word.substr(1));
        if (!value || *value < 0) return Malformed("\"" + ShownText(word) + "\" has no number");
        if (word.front() == 'P') words.p = value;
        return Status::Ok();
      }
      default: return NotAWord(word);
    }
  }

  Status AxisWord(std::string_view word, double& axis, LineWords& words) {
    const std::string_view text = NextWord();
    const auto value = ReadNumber(text);
    if (!value) return Malformed("axis " + ShownText(word) + " has no number");
    if (std::abs(*value) > kMaxAxisValue) {
      return Malformed("axis " + ShownText(word) + " lies beyond any machine's reach");
    }
    axis = *value;
    (&axis == &x_ ? hasX_ : &axis == &y_ ? hasY_ : hasC_) = true;
    words.moved = true;
    return Status::Ok();
  }

  Status GWord(std::string_view word, LineWords& words) {
    switch (ReadCode(word.substr(1)).value_or(-1)) {
      case 0: words.motion = Mode::Rapid; return Status::Ok();
      case 1: words.motion = Mode::Feed; return Status::Ok();
      case 4: words.dwell = true; return Status::Ok();
      case 17: case 21: case 90: return Status::Ok();
      case 93: words.inverseTime = true; return Status::Ok();
      case 94: words.inverseTime = false; return Status::Ok();
      case 20: return Malformed("G20 asks for inches; the program's values are mm");
      case 91: return Malformed("G91 asks for relative moves; the program's values are absolute");
      default: return NotAWord(word);
    }
  }

  Status MWord(std::string_view word, LineWords& words) {
    const int code = ReadCode(word.substr(1)).value_or(-1);
    if (code == 2 || code == 30) {
      ended_ = "M" + std::to_string(code);
    } else if (code >= 62 && code <= 65) {
      words.output = true;
    } else if (code != 3 && code != 5 && code != 8 && code != 9) {
      return NotAWord(word);
    }
    return Status::Ok();
  }

  // Carries out the line's words in the order a controller does: modes, pause, move.
  Status CarryOut(const LineWords& words) {
    if (words.p && !words.dwell && !words.output) {
      return Malformed("a P word with neither G4 nor M62 to M65");
    }
    if (words.inverseTime && *words.inverseTime != inverseTime_) {
      inverseTime_ = *words.inverseTime;
      feed_ = 0;  // a feed of the other mode means nothing in this one
    }
    if (words.feed) {
      feed_ = *words.feed;
      if (!inverseTime_ && motion_.Feed == 0) motion_.Feed = *words.feed;
    }
    if (words.motion) mode_ = *words.motion;
    if (words.dwell) return Pause(words);
    if (!words.moved) return Status::Ok();
    if (motion_.Motions.empty() && !(hasX_ && hasY_ && hasC_)) {
      return Malformed("the first motion line must give all three axes");
    }
    if (mode_ == Mode::None) return Malformed("an axis move with neither G0 nor G1 in force");
    const bool rapid = mode_ == Mode::Rapid;
    if (!rapid && inverseTime_ && !words.feed) {
      return Malformed("a feed move under inverse time (G93) without its F");
    }
    if (!rapid && feed_ == 0) return Malformed("a feed move with no feed in force");
    motion_.Motions.push_back(
        {x_, y_, c_, number_, rapid, rapid ? 0 : feed_, !rapid && inverseTime_});
    return Status::Ok();
  }

  Status Pause(const LineWords& words) {
    if (!words.p) return Malformed("G4 without P, the pause");
    if (words.moved) return Malformed("a pause and a move on one line");
    motion_.DwellSeconds += *words.p / (machine_.DwellInMilliseconds ? 1000 : 1);
    return Status::Ok();
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

  Status NotAWord(std::string_view word) const {
    return Malformed("\"" + ShownText(word) + "\" is not a word of this NC format");
  }

  Status Malformed(const std::string& what) const {
    return Status::Error(ErrorCode::Malformed,
                         "NC line " + std::to_string(number_) + ": " + what + ".");
  }

  const NcFormat& format_;
  const MachineProfile& machine_;
  NcMotionList& motion_;
  std::string_view words_;
  std::string uncommented_;  // a line with comments, without them
  int number_ = 0;
  std::string ended_;  // the word that ended the program
  double x_ = 0, y_ = 0, c_ = 0;
  double feed_ = 0;  // the F in force; 0 for none
  Mode mode_ = Mode::None;
  bool inverseTime_ = false;
  bool hasX_ = false, hasY_ = false, hasC_ = false;
};

}  // namespace

Status ReadNcMotion(std::string_view text, const NcFormat& format, const MachineProfile& machine,
                    NcMotionList& motion) {
  MotionReader reader(format, machine, motion);
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    const std::size_t length = end == std::string_view::npos ? text.size() : end + 1;
    if (Status s = reader.Line(text.substr(0, length)); !s) return s;
    text.remove_prefix(length);
  }
  return reader.End();
}

Status ReadNcMotion(const NcProgram& program, const NcFormat& format,
                    const MachineProfile& machine, NcMotionList& motion) {
  MotionReader reader(format, machine, motion);
  for (int k = 0; k < program.LineCount(); ++k) {
    if (Status s = reader.Line(program.Line(k)); !s) return s;
  }
  return reader.End();
}

}  // namespace vantora
