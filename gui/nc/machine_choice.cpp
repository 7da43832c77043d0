#include "nc/machine_choice.h"

#include <QComboBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "common/controls.h"
#include "common/handlers.h"
#include "core/app/machine_settings.h"
#include "nc/machine_dialog.h"

namespace vantora {
namespace {

// The built-in profile `profile` is, by its place in BuiltInMachineNames(); none for
// an own one, whatever its name.
std::optional<int> BuiltInIndex(const MachineProfile& profile) {
  const std::vector<std::string>& names = BuiltInMachineNames();
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (BuiltInMachine(names[i]) == profile) return int(i);
  }
  return std::nullopt;
}

// An own profile named as a built-in one is told apart from it.
QString OwnCaption(const MachineProfile& profile) {
  QString caption = QString::fromStdString(profile.Name);
  if (BuiltInMachine(profile.Name)) caption += QStringLiteral(" (edited)");
  return caption;
}

}  // namespace

MachineChoice::MachineChoice(Host& host, MachineProfile& machine, QWidget* parent)
    : QWidget(parent), host_(host), machine_(machine) {
  setObjectName(QStringLiteral("MachinePanel"));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(2);
  MachineBox = MakeControl<QComboBox>(this, "MachineBox");
  MachineBox->setToolTip(QStringLiteral("The machine programs are written for"));
  MachineBox->setMinimumWidth(110);
  MachineButton = MakeControl<QPushButton>(this, "MachineButton");
  MachineButton->setText(QStringLiteral("Machine…"));
  MachineButton->setFocusPolicy(Qt::NoFocus);
  layout->addWidget(MachineBox);
  layout->addWidget(MachineButton);
  QObject::connect(MachineBox, &QComboBox::activated, this,
                   [this](int index) { RunHandler(host_, [this, index] { Choose(index); }); });
  BindHandler(host_, MachineButton, &QPushButton::clicked, this,
              &MachineChoice::MachineButtonClick);
}

void MachineChoice::ReadSettings() {
  MachineSettings settings = ReadMachineSettings(kMachineSettingsName);
  machine_ = std::move(settings.Profile);
  if (!BuiltInIndex(machine_)) own_ = machine_;
  ShowChoice();
  if (!settings.Problem) host_.ShowMessage(settings.Problem.message());
}

void MachineChoice::Choose(int index) {
  const std::vector<std::string>& names = BuiltInMachineNames();
  const MachineProfile chosen =
      std::size_t(index) < names.size() ? *BuiltInMachine(names[std::size_t(index)]) : *own_;
  Take(chosen);
  if (const std::string warning = LaserModeWarning(chosen); !warning.empty()) {
    host_.ShowMessage(warning);
  }
}

void MachineChoice::MachineButtonClick() {
  MachineDialog dialog(host_, machine_, window());
  if (dialog.exec() == QDialog::Accepted) Take(dialog.Taken());
}

void MachineChoice::Take(const MachineProfile& profile) {
  machine_ = profile;
  if (!BuiltInIndex(profile)) own_ = profile;
  ShowChoice();
  // The profile holds for this run either way; a file that cannot be written is said.
  if (Status s = WriteMachineSettings(kMachineSettingsName, profile); !s) {
    host_.ShowMessage(s.message());
  }
}

void MachineChoice::ShowChoice() {
  MachineBox->clear();
  for (const std::string& name : BuiltInMachineNames()) {
    MachineBox->addItem(QString::fromStdString(name));
  }
  if (own_) MachineBox->addItem(OwnCaption(*own_));
  const std::optional<int> builtIn = BuiltInIndex(machine_);
  MachineBox->setCurrentIndex(builtIn ? *builtIn : own_ ? MachineBox->count() - 1 : -1);
}

}  // namespace vantora
