#pragma once

#include "core/common/host.h"

namespace vantora {

// A host for runs nobody watches (benchmarks, generators): shows nothing, answers
// every question with its first button and opens no dialog.
class SilentHost : public Host {
 public:
  void ProcessPendingMessages() override {}
  void ShowMessage(std::string_view, std::string_view) override {}
  bool AskOkCancel(std::string_view, std::string_view) override { return true; }
  bool AskYesNo(std::string_view, std::string_view) override { return true; }
  std::optional<FileChoice> ChooseOpenFile(std::string_view, int) override {
    return std::nullopt;
  }
  std::optional<FileChoice> ChooseSaveFile(std::string_view, std::string_view, int) override {
    return std::nullopt;
  }
  void SetBusy(bool) override {}
  void ReportProgress(int, int) override {}
};

}  // namespace vantora
