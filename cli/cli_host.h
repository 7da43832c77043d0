#pragma once

#include <ostream>

#include "core/common/silent_host.h"

namespace vantora {

// The host of a batch run: messages go to the error stream, questions take the answer
// the command line chose (by default the first button), no dialog ever opens, and
// progress shows on the error stream only when it is a terminal.
class CliHost final : public SilentHost {
 public:
  CliHost(std::ostream& err, bool showProgress) : err_(err), showProgress_(showProgress) {}

  // The answer to OK/Cancel questions ("Move to platform ?").
  bool okCancelAnswer = true;

  void ShowMessage(std::string_view text, std::string_view caption) override;
  bool AskOkCancel(std::string_view, std::string_view) override { return okCancelAnswer; }
  void ReportProgress(int done, int total) override;

 private:
  std::ostream& err_;
  bool showProgress_;
};

}  // namespace vantora
