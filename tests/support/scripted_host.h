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
  struct Question {
    std::string text;
    std::string caption;
  };

  std::vector<std::string> messages;
  std::vector<Question> questions;
  std::deque<bool> answers;
  std::deque<FileChoice> openFiles;
  std::deque<FileChoice> saveFiles;
  long pendingMessageCalls = 0;
  std::vector<std::pair<int, int>> progress;
  // Runs at every "process pending messages" call: what the operator or the window
  // system does in the middle of a long operation.
  std::function<void()> whilePending;

  void ProcessPendingMessages() override {
    ++pendingMessageCalls;
    if (whilePending) whilePending();
  }
  void ShowMessage(std::string_view text, std::string_view) override {
    messages.emplace_back(text);
  }
  bool AskOkCancel(std::string_view text, std::string_view caption) override {
    return Answer(text, caption);
  }
  bool AskYesNo(std::string_view text, std::string_view caption) override {
    return Answer(text, caption);
  }
  std::optional<FileChoice> ChooseOpenFile(std::string_view, int) override {
    return Take(openFiles);
  }
  std::optional<FileChoice> ChooseSaveFile(std::string_view, std::string_view, int) override {
    return Take(saveFiles);
  }
  void SetBusy(bool) override {}
  void ReportProgress(int done, int total) override { progress.emplace_back(done, total); }

 private:
  bool Answer(std::string_view text, std::string_view caption) {
    questions.push_back({std::string(text), std::string(caption)});
    if (answers.empty()) return true;
    const bool answer = answers.front();
    answers.pop_front();
    return answer;
  }
  static std::optional<FileChoice> Take(std::deque<FileChoice>& queue) {
    if (queue.empty()) return std::nullopt;
    FileChoice choice = queue.front();
    queue.pop_front();
    return choice;
  }
};

}  // namespace vantora::testing
