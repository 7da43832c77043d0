#pragma once

#include "core/common/host.h"

namespace vantora {

class TForm1;
struct ChosenSections;

// The tool-path commands of the main window's parameter panel: setting the tool path
// up (PosNcButton), defining the start position (StartButton), sweeping the sections
// into the NC program in Memo1 (PosWireButton), with the "Tool Path Form" that shows
// them (every Step, or the sections chosen within Adaptive mm, then plotted), and showing
// what the last sweep's program will cut (CarvedButton).
class ToolPathPanel {
 public:
  ToolPathPanel(TForm1& window, Host& host) : window_(window), host_(host) {}

  void SetUp();
  void DefineStart();
  void Sweep();
  void ShowCarvedResult();
  // Offers the memo's program started again at the section ResumeSectionEdit names.
  void Resume();

 private:
  // The plot of what more or fewer of the chosen sections would leave and cost.
  void ShowChoice(const ChosenSections& chosen, double minutes);

  TForm1& window_;
  Host& host_;
};

}  // namespace vantora
