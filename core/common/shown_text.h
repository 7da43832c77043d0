#pragma once

#include <string>
#include <string_view>

namespace vantora {

// Text read from a file as a message quotes it: at most 32 bytes of it, then "...",
// with quotes, backslashes, control and non-ASCII bytes escaped (\", \\, \r, \n, \t,
// \xNN), so that a message stays one short plain line whatever the file holds.
std::string ShownText(std::string_view text);

}  // namespace vantora
