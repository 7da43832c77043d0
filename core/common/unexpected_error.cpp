#include "core/common/unexpected_error.h"

#include <new>

namespace vantora {

std::string UnexpectedErrorMessage(const std::exception& e) {
  if (dynamic_cast<const std::bad_alloc*>(&e) != nullptr) {
    return "Out of memory; the command was not completed.";
  }
  return std::string("Internal error (") + e.what() + "); the command was not completed.";
}

}  // namespace vantora
