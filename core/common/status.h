#pragma once

#include <string>
#include <utility>

namespace vantora {

// What went wrong, as a code a caller or test can act on.
enum class ErrorCode {
  None,
  CannotOpen,        // a file could not be opened for reading
  CannotWrite,       // a file could not be created, written or renamed
  Empty,             // the input holds nothing usable
  Malformed,         // the input breaks its format
  NonFinite,         // a number is NaN or infinite
  CapacityExceeded,  // more than a table or grid can hold
  InvalidValue,      // a parameter the computation cannot use
};

// Outcome of an operation that can fail: ok, or a code with a message for the operator.
class Status {
 public:
  Status() = default;
  static Status Ok() { return {}; }
  static Status Error(ErrorCode code, std::string message) {
    Status s;
    s.code_ = code;
    s.message_ = std::move(message);
    return s;
  }

  // A value the computation cannot use, refused with `message`.
  static Status Refused(std::string message) {
    return Error(ErrorCode::InvalidValue, std::move(message));
  }

  bool ok() const { return code_ == ErrorCode::None; }
  explicit operator bool() const { return ok(); }
  ErrorCode code() const { return code_; }
  const std::string& message() const { return message_; }

 private:
  ErrorCode code_ = ErrorCode::None;
  std::string message_;
};

}  // namespace vantora
