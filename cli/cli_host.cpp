#include "cli_host.h"

namespace vantora {

void CliHost::ShowMessage(std::string_view text, std::string_view) { err_ << text << '\n'; }

void CliHost::ReportProgress(int done, int total) {
  if (!showProgress_) return;
  err_ << '\r' << done << " / " << total << (done >= total ? "\n" : "") << std::flush;
}

}  // namespace vantora
