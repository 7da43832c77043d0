#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vantora {

// A file chosen in an open or save dialog, with the filter entry (from 1) selected
// when the dialog closed.
struct FileChoice {
  std::string path;
  int filterIndex = 1;
};

// Everything long core operations need from whoever runs them: letting the window
// system breathe, telling and asking the operator, choosing files. The desktop
// application answers through its windows, the batch tool on the console, tests from
// a script.
class Host {
 public:
  virtual ~Host() = default;

  // Called between items of long loops, often millions of times: implementations
  // keep it cheap by doing real work only every few milliseconds.
  virtual void ProcessPendingMessages() = 0;
  // A modal message; an empty caption means the application's own title.
  virtual void ShowMessage(std::string_view text, std::string_view caption = {}) = 0;
  // True for OK (Yes), false for Cancel (No).
  virtual bool AskOkCancel(std::string_view text, std::string_view caption) = 0;
  virtual bool AskYesNo(std::string_view text, std::string_view caption) = 0;
  // Filters are "caption|pattern|caption|pattern..."; nullopt when cancelled.
  virtual std::optional<FileChoice> ChooseOpenFile(std::string_view filter,
                                                   int filterIndex) = 0;
  virtual std::optional<FileChoice> ChooseSaveFile(std::string_view filter,
                                                   std::string_view defaultExtension,
                                                   int filterIndex) = 0;
  virtual void SetBusy(bool busy) = 0;
  // Progress of a long operation: `done` out of `total` steps.
  virtual void ReportProgress(int done, int total) = 0;
};

}  // namespace vantora
