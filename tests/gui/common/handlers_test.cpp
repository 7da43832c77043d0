#include "common/handlers.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <functional>
#include <new>
#include <stdexcept>

#include "scripted_host.h"

namespace vantora {
namespace {

using testing::ScriptedHost;

// The parsing itself is the core's; a field that is no number ends the handler with
// the message the operator sees.
TEST(ReadFloat, FieldThatIsNoNumberThrowsAConversionError) {
  QLineEdit edit;
  edit.setText(" 1.25 ");
  EXPECT_EQ(ReadFloat(edit), 1.25f);
  edit.setText("1,5");
  try {
    ReadFloat(edit);
    ADD_FAILURE();
  } catch (const ConversionError& e) {
    EXPECT_EQ(std::string(e.what()), "'1,5' is not a valid floating point value");
  }
}

TEST(RunHandler, ExceptionsEndTheHandlerAndAreShown) {
  const std::pair<std::function<void()>, const char*> cases[] = {
      {[] { throw ConversionError("'x' is not a valid floating point value"); },
       "'x' is not a valid floating point value"},
      {[] { throw std::bad_alloc(); }, "Out of memory"},
      {[] { throw std::length_error("vector too long"); }, "Internal error (vector too long)"},
      {[] { throw 42; }, ""},
  };
  for (const auto& [thrower, says] : cases) {
    ScriptedHost host;
    bool after = false;
    RunHandler(host, [&] {
      thrower();
      after = true;
    });
    EXPECT_FALSE(after);
    ASSERT_EQ(host.messages.size(), 1u) << says;
    EXPECT_EQ(host.messages[0].substr(0, std::string_view(says).size()), says);
  }
  ScriptedHost quiet;
  RunHandler(quiet, [] {});
  EXPECT_TRUE(quiet.messages.empty());
}

TEST(BindHandler, SignalRunsTheHandlerThroughTheBoundary) {
  ScriptedHost host;
  QPushButton button;
  struct Receiver : QObject {
    int runs = 0;
    void Click() {
      ++runs;
      throw ConversionError("bad");
    }
  } receiver;
  BindHandler(host, &button, &QPushButton::clicked, &receiver, &Receiver::Click);
  button.click();
  button.click();
  EXPECT_EQ(receiver.runs, 2);
  EXPECT_EQ(host.messages, (std::vector<std::string>{"bad", "bad"}));
}

}  // namespace
}  // namespace vantora
