#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "core/common/host.h"

namespace vantora::testing {

// A host driven by the test: records every message and question, answers questions
// and file dialogs from queues (the first button, or cancel, when a queue is empty).
class ScriptedHost : public Host {
 public:
  std::vector<std::string> messages, questions;
  std::deque<bool> answers;
  std::deque<FileChoice> openFiles, saveFiles;
  // Runs at every "process pending messages" call: what the operator or the window
  // system does in the middle of a long operation.
  std::function<void()> whilePending;

  void ProcessPendingMessages() override {
    if (whilePending) whilePending();
  }
  void ShowMessage(std::string_view text, std::string_view) override {
    messages.emplace_back(text);
  }
  bool AskOkCancel(std::string_view text, std::string_view) override { return Answer(text); }
  bool AskYesNo(std::string_view text, std::string_view) override { return Answer(text); }
  std::optional<FileChoice> ChooseOpenFile(std::string_view, int) override {
    return Take(openFiles);
  }
  std::optional<FileChoice> ChooseSaveFile(std::string_view, std::string_view, int) override {
    return Take(saveFiles);
  }
  void SetBusy(bool) override {}
  void ReportProgress(int, int) override {}

 private:
  bool Answer(std::string_view text) {
    questions.emplace_back(text);
    return Take(answers).value_or(true);
  }
  template <typename T>
  static std::optional<T> Take(std::deque<T>& queue) {
    if (queue.empty()) return std::nullopt;
    T first = queue.front();
    queue.pop_front();
    return first;
  }
};

}  // namespace vantora::testing
