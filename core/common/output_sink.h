#pragma once

#include <string>
#include <string_view>

namespace vantora {

// Where a writer puts its bytes: a file being saved, or memory in tests.
class OutputSink {
 public:
  virtual ~OutputSink() = default;
  virtual void Write(std::string_view bytes) = 0;
};

class StringSink final : public OutputSink {
 public:
  void Write(std::string_view bytes) override { text.append(bytes); }
  std::string text;
};

}  // namespace vantora
