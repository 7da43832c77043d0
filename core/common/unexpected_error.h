#pragma once

#include <exception>
#include <string>

namespace vantora {

// What the operator is told when an exception no command expects ends one: that memory
// ran out, or that an internal error with the exception's text stopped it.
std::string UnexpectedErrorMessage(const std::exception& e);

}  // namespace vantora
