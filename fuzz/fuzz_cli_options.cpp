// vantora-cli's option parsing and checking: the input is split at NUL bytes into
// arguments. The run happens in an empty directory of its own and arguments naming
// other places are skipped, so no model exists and nothing outside is ever written.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "cli_app.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  const auto dir = std::filesystem::temp_directory_path() /
                   ("vantora-fuzz-cli-" + std::to_string(getpid()));
  std::filesystem::create_directories(dir);
  std::filesystem::current_path(dir);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  std::vector<std::string> args;
  std::size_t start = 0;
  while (start <= text.size() && args.size() < 32) {
    const std::size_t end = std::min(text.find('\0', start), text.size());
    args.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  for (const std::string& arg : args) {
    if (arg.find('/') != std::string::npos) return 0;
  }
  std::ostringstream out, err;
  const int status = vantora::RunCli(args, out, err);
  if (status != vantora::kExitOk && status != vantora::kExitFailure &&
      status != vantora::kExitUsage) {
    std::abort();
  }
  return 0;
}
