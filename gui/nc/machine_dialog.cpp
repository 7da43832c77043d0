#include "nc/machine_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <array>

#include "common/appearance.h"
#include "common/controls.h"
#include "common/handlers.h"
#include "core/app/machine_settings.h"
#include "core/common/atomic_file.h"

namespace vantora {

enum class FieldKind { Line, List, Check, Choice, Travel };

struct MachineField {
  const char* setting;
  const char* label;
  FieldKind kind;
  int column;
  std::array<const char*, 2> values{};    // Check, Choice: off/first, on/second
  std::array<const char*, 2> captions{};  // Choice: as the operator reads them
  bool needsLine = false;                 // List: an empty one would read as the default
};

namespace {

// The form, a setting a row, with the column it shows in. A setting whose check needs
// another comes after it (the index feed before the turn), as the form is read a row
// at a time.
constexpr MachineField kFields[] = {
    {"Name", "Name", FieldKind::Line, 0},
    {"MadeFor", "Made for", FieldKind::Line, 0},
    {"Approach", "Rapid approach, wire cold", FieldKind::Check, 0, {"none", "rapid"}},
    {"PreHeat", "Pre-heat pause (s)", FieldKind::Line, 0},
    {"DwellUnit", "G4 P counts", FieldKind::Choice, 0, {"s", "ms"},
     {"seconds", "milliseconds"}},
    {"SectionMarkers", "Mark each section", FieldKind::Check, 0, {"no", "yes"}},
    {"Comments", "Comments", FieldKind::Choice, 0, {"parentheses", "semicolon"},
     {"(comment)", "; comment"}},
    {"IndexFeed", "Index feed (deg/min)", FieldKind::Line, 0},
    {"Turn", "Table turns", FieldKind::Choice, 0, {"with-move", "indexed"},
     {"as the wire moves", "on its own, wire still"}},
    {"Feed", "Feed", FieldKind::Choice, 0, {"per-minute", "inverse-time"},
     {"per minute", "inverse time (G93)"}},
    {"Decimals", "Decimals", FieldKind::Line, 0},
    {"XTravel", "X travel (mm)", FieldKind::Travel, 0},
    {"XRate", "X rate (mm/min)", FieldKind::Line, 0},
    {"XAccel", "X acceleration (mm/s²)", FieldKind::Line, 0},
    {"YTravel", "Y travel (mm)", FieldKind::Travel, 0},
    {"YRate", "Y rate (mm/min)", FieldKind::Line, 0},
    {"YAccel", "Y acceleration (mm/s²)", FieldKind::Line, 0},
    {"CTravel", "C travel (deg)", FieldKind::Travel, 0},
    {"CRate", "C rate (deg/min)", FieldKind::Line, 0},
    {"CAccel", "C acceleration (deg/s²)", FieldKind::Line, 0},
    {"Header", "Header lines", FieldKind::List, 1},
    {"WireOn", "Wire on", FieldKind::List, 1},
    {"WireOff", "Wire off", FieldKind::List, 1},
    {"End", "End lines", FieldKind::List, 1, {}, {}, true},
};

constexpr const char* kProfileFilter = "Machine profiles|*.ini|All files|*";

QString Text(std::string_view text) {
  return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

std::string ControlName(const MachineField& field, const char* suffix) {
  return std::string(field.setting) + suffix;
}

QWidget* MakeFieldControl(QWidget* parent, const MachineField& field, QLineEdit*& from,
                          QLineEdit*& to) {
  switch (field.kind) {
    case FieldKind::Line:
      return MakeEdit(parent, ControlName(field, "Edit").c_str(), {});
    case FieldKind::List: {
      auto* edit = MakeControl<QPlainTextEdit>(parent, ControlName(field, "Edit").c_str());
      edit->setFixedHeight(edit->fontMetrics().lineSpacing() * 4 + 12);
      return edit;
    }
    case FieldKind::Check:
      return MakeControl<QCheckBox>(parent, ControlName(field, "Box").c_str());
    case FieldKind::Choice: {
      auto* box = MakeControl<QComboBox>(parent, ControlName(field, "Box").c_str());
      for (const char* caption : field.captions) box->addItem(QString::fromUtf8(caption));
      return box;
    }
    case FieldKind::Travel: {
      auto* row = new QWidget(parent);
      auto* layout = new QHBoxLayout(row);
      layout->setContentsMargins(0, 0, 0, 0);
      from = MakeEdit(row, ControlName(field, "FromEdit").c_str(), {});
      to = MakeEdit(row, ControlName(field, "ToEdit").c_str(), {});
      from->setPlaceholderText(QStringLiteral("free"));
      to->setPlaceholderText(QStringLiteral("free"));
      layout->addWidget(from);
      layout->addWidget(new QLabel(QStringLiteral("to"), row));
      layout->addWidget(to);
      return row;
    }
  }
  return nullptr;
}

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& text) {
  auto* button = MakeControl<QPushButton>(parent, name);
  button->setText(text);
  return button;
}

}  // namespace

MachineDialog::MachineDialog(Host& host, const MachineProfile& shown, QWidget* owner)
    : QDialog(owner), host_(host), taken_(shown) {
  setObjectName(QStringLiteral("MachineForm"));
  setWindowTitle(QStringLiteral("Machine"));
  setFont(FormFont(10));
  BuildForm();
  Show(shown);
}

void MachineDialog::BuildForm() {
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(BuildFields());
  LaserWarning = MakeLabel(this, "LaserWarning", {}, font());
  LaserWarning->setWordWrap(true);
  SetTextColor(*LaserWarning, kRed);
  layout->addWidget(LaserWarning);
  layout->addLayout(BuildButtons());
}

QLayout* MachineDialog::BuildFields() {
  auto* columns = new QHBoxLayout;
  std::array<QFormLayout*, 2> forms{new QFormLayout, new QFormLayout};
  for (QFormLayout* form : forms) columns->addLayout(form, 1);
  for (const MachineField& field : kFields) {
    Control control{&field, nullptr, nullptr, nullptr};
    control.widget = MakeFieldControl(this, field, control.from, control.to);
    forms[std::size_t(field.column)]->addRow(QString::fromUtf8(field.label), control.widget);
    controls_.push_back(control);
    // The warning follows what it depends on as it is typed.
    if (std::string_view(field.setting) == "WireOn") {
      connect(static_cast<QPlainTextEdit*>(control.widget), &QPlainTextEdit::textChanged, this,
              &MachineDialog::FollowWarning);
    } else if (std::string_view(field.setting) == "PreHeat") {
      connect(static_cast<QLineEdit*>(control.widget), &QLineEdit::textChanged, this,
              &MachineDialog::FollowWarning);
    }
  }
  return columns;
}

QLayout* MachineDialog::BuildButtons() {
  LoadButton = MakeButton(this, "LoadButton", QStringLiteral("Load…"));
  SaveButton = MakeButton(this, "SaveButton", QStringLiteral("Save…"));
  OKButton = MakeButton(this, "OKButton", QStringLiteral("OK"));
  OKButton->setDefault(true);
  QPushButton* cancel = MakeButton(this, "CancelButton", QStringLiteral("Cancel"));
  auto* row = new QHBoxLayout;
  for (QPushButton* b : {LoadButton, SaveButton}) row->addWidget(b);
  row->addStretch(1);
  for (QPushButton* b : {OKButton, cancel}) row->addWidget(b);
  BindHandler(host_, LoadButton, &QPushButton::clicked, this, &MachineDialog::LoadClick);
  BindHandler(host_, SaveButton, &QPushButton::clicked, this, &MachineDialog::SaveClick);
  BindHandler(host_, OKButton, &QPushButton::clicked, this, &MachineDialog::OKClick);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  return row;
}

void MachineDialog::Show(const MachineProfile& profile) {
  std::vector<QStringList> lists(controls_.size());
  const std::string text = MachineProfileText(profile);
  std::string_view rest = text;
  while (!rest.empty()) {
    const std::string_view line = rest.substr(0, rest.find('\n'));
    rest.remove_prefix(std::min(rest.size(), line.size() + 1));
    const std::string_view setting = line.substr(0, line.find('='));
    const std::string value(line.substr(std::min(line.size(), setting.size() + 1)));
    for (std::size_t i = 0; i < controls_.size(); ++i) {
      if (setting != controls_[i].field->setting) continue;
      if (controls_[i].field->kind == FieldKind::List) {
        lists[i] << Text(value);
      } else {
        ShowValue(controls_[i], value);
      }
    }
  }
  for (std::size_t i = 0; i < controls_.size(); ++i) {
    if (controls_[i].field->kind == FieldKind::List) {
      static_cast<QPlainTextEdit*>(controls_[i].widget)->setPlainText(lists[i].join('\n'));
    }
  }
  FollowWarning();
}

void MachineDialog::ShowValue(const Control& control, const std::string& value) const {
  const MachineField& field = *control.field;
  switch (field.kind) {
    case FieldKind::Line: {
      auto* edit = static_cast<QLineEdit*>(control.widget);
      edit->setText(Text(value));
      edit->setCursorPosition(0);  // a long text shows its beginning
      break;
    }
    case FieldKind::Check:
      static_cast<QCheckBox*>(control.widget)->setChecked(value == field.values[1]);
      break;
    case FieldKind::Choice:
      static_cast<QComboBox*>(control.widget)->setCurrentIndex(value == field.values[1]);
      break;
    case FieldKind::Travel: {
      const bool free = value == "free";
      const std::size_t gap = value.find(' ');
      control.from->setText(free ? QString() : Text(value.substr(0, gap)));
      control.to->setText(free ? QString() : Text(value.substr(gap + 1)));
      break;
    }
    case FieldKind::List:
      break;  // gathered by Show
  }
}

std::vector<std::string> MachineDialog::Values(const Control& control) const {
  const MachineField& field = *control.field;
  switch (field.kind) {
    case FieldKind::Line:
      return {static_cast<QLineEdit*>(control.widget)->text().toStdString()};
    case FieldKind::List: {
      std::vector<std::string> lines;
      const QString text = static_cast<QPlainTextEdit*>(control.widget)->toPlainText();
      for (const QString& line : text.split('\n')) {
        if (!line.trimmed().isEmpty()) lines.push_back(line.toStdString());
      }
      return lines;
    }
    case FieldKind::Check:
      return {field.values[static_cast<QCheckBox*>(control.widget)->isChecked()]};
    case FieldKind::Choice:
      return {field.values[std::size_t(static_cast<QComboBox*>(control.widget)->currentIndex() == 1)]};
    case FieldKind::Travel: {
      const QString from = control.from->text().trimmed(), to = control.to->text().trimmed();
      if (from.isEmpty() && to.isEmpty()) return {"free"};
      return {(from + ' ' + to).toStdString()};
    }
  }
  return {};
}

Status MachineDialog::Read(MachineProfile& profile) const {
  std::string text;
  for (const Control& control : controls_) {
    const std::vector<std::string> values = Values(control);
    const std::string label = control.field->label;
    if (values.empty() && control.field->needsLine) {
      return Status::Refused(label + ": at least one line is needed (M30 on most controllers).");
    }
    for (const std::string& value : values) {
      if (value.find_first_of("\r\n") != std::string::npos) {
        return Status::Refused(label + ": a value is a single line.");
      }
      text.append(control.field->setting).append("=").append(value).append("\n");
    }
    // Read as far as this row, so that a value that cannot be read names its row; the
    // profile as a whole is judged once every row is in.
    if (ParseMachineProfile(text, profile).code() == ErrorCode::Malformed) {
      return Status::Refused(label + ": \"" + values.front() + "\" cannot be used.");
    }
  }
  return ParseMachineProfile(text, profile);
}

void MachineDialog::FollowWarning() {
  MachineProfile profile;
  // A form half typed keeps the warning as it was.
  if (!Read(profile)) return;
  const std::string warning = LaserModeWarning(profile);
  LaserWarning->setText(Text(warning));
  LaserWarning->setVisible(!warning.empty());
}

void MachineDialog::LoadClick() {
  const auto choice = host_.ChooseOpenFile(kProfileFilter, 1);
  if (!choice) return;
  MachineProfile profile;
  if (Status s = LoadMachineProfile(choice->path, profile); !s) {
    host_.ShowMessage(s.message());
    return;
  }
  Show(profile);
}

void MachineDialog::SaveClick() {
  MachineProfile profile;
  if (Status s = Read(profile); !s) {
    host_.ShowMessage(s.message());
    return;
  }
  const auto choice = host_.ChooseSaveFile(kProfileFilter, "*.ini", 1);
  if (!choice) return;
  if (Status s = SaveTextFile(choice->path, MachineProfileText(profile)); !s) {
    host_.ShowMessage(s.message());
  }
}

void MachineDialog::OKClick() {
  MachineProfile profile;
  if (Status s = Read(profile); !s) {
    host_.ShowMessage(s.message());
    return;
  }
  taken_ = std::move(profile);
  accept();
}

}  // namespace vantora
