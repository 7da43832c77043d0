#pragma once

#include <QPointer>
#include <QStringList>
#include <cstdint>

#include "core/common/host.h"

class QProgressBar;

namespace vantora {

// "caption|pattern|caption|pattern..." as the entries of a file dialog's filter list,
// in order, so that the chosen entry's position is the filter index.
QStringList NameFilters(std::string_view filter);

// The host of the desktop application: modal message boxes centred on the active
// window, Qt's file dialogs, the wait cursor, progress in the main window's bar, and
// an event loop that runs in the middle of long operations.
class QtHost final : public Host {
 public:
  QtHost();

  // Lets pending events run at most every 16 ms; between those a call costs a counter
  // decrement and, every 16th call, a coarse clock read.
  void ProcessPendingMessages() override;
  void ShowMessage(std::string_view text, std::string_view caption) override;
  bool AskOkCancel(std::string_view text, std::string_view caption) override;
  bool AskYesNo(std::string_view text, std::string_view caption) override;
  std::optional<FileChoice> ChooseOpenFile(std::string_view filter, int filterIndex) override;
  std::optional<FileChoice> ChooseSaveFile(std::string_view filter,
                                           std::string_view defaultExtension,
                                           int filterIndex) override;
  void SetBusy(bool busy) override;
  void ReportProgress(int done, int total) override;

  // Where ReportProgress shows: the main window's bar.
  void SetProgressBar(QProgressBar* bar);

 private:
  QPointer<QProgressBar> progressBar_;
  int callsToNextCheck_;
  std::int64_t lastProcessedNs_;
};

}  // namespace vantora
