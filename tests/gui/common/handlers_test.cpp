#include "common/handlers.h"

#include <gtest/gtest.h>

#include <functional>
#include <new>

#include "scripted_host.h"

namespace vantora {
namespace {

// A field that is no number ends the handler with the conversion's own message; any
// other escape with the texts the batch tool prints too (tests/cli/cli_test.cpp).
TEST(RunHandler, ExceptionsEndTheHandlerAndAreShown) {
  const std::pair<std::function<void()>, const char*> cases[] = {
      {[] { throw ConversionError("'x' is not a valid floating point value"); },
       "'x' is not a valid floating point value"},
      {[] { throw std::bad_alloc(); }, "Out of memory"},
      {[] { throw 42; }, ""},
  };
  for (const auto& [thrower, says] : cases) {
    testing::ScriptedHost host;
    bool after = false;
    RunHandler(host, [&] {
      thrower();
      after = true;
    });
    EXPECT_FALSE(after);
    ASSERT_EQ(host.messages.size(), 1u) << says;
    EXPECT_EQ(host.messages[0].substr(0, std::string_view(says).size()), says);
  }
}

}  // namespace
}  // namespace vantora
