#pragma once

#include <QDialog>
#include <string>
#include <vector>

#include "core/common/host.h"
#include "core/nc/machine_profile.h"

class QLabel;
class QLayout;
class QLineEdit;
class QPushButton;

namespace vantora {

struct MachineField;  // a setting's row of the Machine dialog

// "Machine": shows a machine profile's settings as a form and lets the operator edit
// them, load a profile file into the form and save the form as one. OK takes the form
// only when it makes a profile programs can be written with; otherwise it says why and
// the dialog stays open. The form is the profile's own text, a control a setting.
class MachineDialog : public QDialog {
  Q_OBJECT

 public:
  MachineDialog(Host& host, const MachineProfile& shown, QWidget* owner);

  // The profile OK took.
  const MachineProfile& Taken() const { return taken_; }

  QLabel* LaserWarning;  // shown while the form's profile needs laser mode off
  QPushButton* LoadButton;
  QPushButton* SaveButton;
  QPushButton* OKButton;

 private:
  void BuildForm();
  QLayout* BuildFields();
  QLayout* BuildButtons();
  void Show(const MachineProfile& profile);
  // The form as a profile; a refusal says what in it cannot be used.
  Status Read(MachineProfile& profile) const;
  void FollowWarning();
  void LoadClick();
  void SaveClick();
  void OKClick();

  Host& host_;
  MachineProfile taken_;
  struct Control {
    const MachineField* field;
    QWidget* widget;
    QLineEdit* from;  // a travel's two ends
    QLineEdit* to;
  };
  // The values the control gives its setting, a line each.
  std::vector<std::string> Values(const Control& control) const;
  void ShowValue(const Control& control, const std::string& value) const;

  std::vector<Control> controls_;
};

}  // namespace vantora
