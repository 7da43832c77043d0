#pragma once

#include <QWidget>
#include <optional>

#include "core/common/host.h"
#include "core/nc/machine_profile.h"

class QComboBox;
class QPushButton;

namespace vantora {

// The machine the programs are written for, on the tool bar beside "Define Axis": a
// combo box of the built-in profiles and the operator's own (once one is loaded or
// edited), and the button that opens the Machine dialog. The profile chosen is
// `machine` at once and is kept in Machine.ini at once, so a crash loses nothing.
class MachineChoice : public QWidget {
  Q_OBJECT

 public:
  MachineChoice(Host& host, MachineProfile& machine, QWidget* parent);

  // Takes the profile Machine.ini keeps. A file that cannot be used is said and stays
  // as it is until a machine is chosen; meanwhile the plain profile holds.
  void ReadSettings();

  QComboBox* MachineBox;
  QPushButton* MachineButton;

 private:
  void Choose(int index);
  void MachineButtonClick();
  // Makes `profile` the one in use, in the session and in the settings file.
  void Take(const MachineProfile& profile);
  // Lists the built-in profiles and the own one, and selects the one in use.
  void ShowChoice();

  Host& host_;
  MachineProfile& machine_;
  std::optional<MachineProfile> own_;
};

}  // namespace vantora
