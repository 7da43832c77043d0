#include "core/common/shown_text.h"

namespace vantora {

std::string ShownText(std::string_view text) {
  constexpr std::size_t kShownBytes = 32;
  static constexpr char kHex[] = "0123456789abcdef";
  std::string shown;
  for (const char c : text.substr(0, kShownBytes)) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '\\' || c == '"') {
      shown += {'\\', c};
    } else if (c == '\r' || c == '\n' || c == '\t') {
      shown += {'\\', c == '\r' ? 'r' : c == '\n' ? 'n' : 't'};
    } else if (byte < 0x20 || byte >= 0x7f) {
      shown += {'\\', 'x', kHex[byte >> 4], kHex[byte & 0xf]};
    } else {
      shown += c;
    }
  }
  if (text.size() > kShownBytes) shown += "...";
  return shown;
}

}  // namespace vantora
