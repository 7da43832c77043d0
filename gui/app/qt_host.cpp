#include "app/qt_host.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QProgressBar>
#include <ctime>

namespace vantora {
namespace {

// processEvents() costs about 2 µs even when nothing is pending, so it runs at most
// this often; timers and repaints still come in time.
constexpr std::int64_t kProcessIntervalNs = 16'000'000;
// The coarse monotonic clock costs about 6 ns a read and ticks every few milliseconds,
// fine enough for the interval above. Reading it every 16th call keeps a call at
// about 1.5 ns, and a caller whose items take milliseconds each still gets the event
// loop within 16 items.
constexpr int kCallsPerClockRead = 16;

std::int64_t CoarseNowNs() {
#ifdef CLOCK_MONOTONIC_COARSE
  constexpr clockid_t kClock = CLOCK_MONOTONIC_COARSE;
#else
  constexpr clockid_t kClock = CLOCK_MONOTONIC;
#endif
  timespec now{};
  clock_gettime(kClock, &now);
  return std::int64_t(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

QString Text(std::string_view text) {
  return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

QString Caption(std::string_view caption) {
  return caption.empty() ? QApplication::applicationName() : Text(caption);
}

QMessageBox::StandardButton RunMessageBox(std::string_view text, std::string_view caption,
                                          QMessageBox::StandardButtons buttons) {
  QMessageBox box(QMessageBox::NoIcon, Caption(caption), Text(text), buttons,
                  QApplication::activeWindow());
  return QMessageBox::StandardButton(box.exec());
}

std::optional<FileChoice> RunFileDialog(QFileDialog& dialog, std::string_view filter,
                                        int filterIndex) {
  const QStringList filters = NameFilters(filter);
  dialog.setNameFilters(filters);
  if (filterIndex >= 1 && filterIndex <= filters.size()) {
    dialog.selectNameFilter(filters[filterIndex - 1]);
  }
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
    return std::nullopt;
  }
  return FileChoice{dialog.selectedFiles().constFirst().toStdString(),
                    int(filters.indexOf(dialog.selectedNameFilter())) + 1};
}

}  // namespace

QStringList NameFilters(std::string_view filter) {
  const QStringList parts = Text(filter).split(QLatin1Char('|'));
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    const QString& caption = parts[i];
    const QString pattern = parts[i + 1].trimmed();
    const bool plain = pattern.isEmpty() || caption == pattern;
    filters << (plain ? caption : caption + QStringLiteral(" (") + pattern + QLatin1Char(')'));
  }
  return filters;
}

QtHost::QtHost() : callsToNextCheck_(kCallsPerClockRead), lastProcessedNs_(CoarseNowNs()) {}

void QtHost::ProcessPendingMessages() {
  if (--callsToNextCheck_ > 0) return;
  callsToNextCheck_ = kCallsPerClockRead;
  if (CoarseNowNs() - lastProcessedNs_ < kProcessIntervalNs) return;
  QCoreApplication::processEvents();
  lastProcessedNs_ = CoarseNowNs();
}

void QtHost::ShowMessage(std::string_view text, std::string_view caption) {
  RunMessageBox(text, caption, QMessageBox::Ok);
}

bool QtHost::AskOkCancel(std::string_view text, std::string_view caption) {
  return RunMessageBox(text, caption, QMessageBox::Ok | QMessageBox::Cancel) == QMessageBox::Ok;
}

bool QtHost::AskYesNo(std::string_view text, std::string_view caption) {
  return RunMessageBox(text, caption, QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

std::optional<FileChoice> QtHost::ChooseOpenFile(std::string_view filter, int filterIndex) {
  QFileDialog dialog(QApplication::activeWindow());
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);
  return RunFileDialog(dialog, filter, filterIndex);
}

std::optional<FileChoice> QtHost::ChooseSaveFile(std::string_view filter,
                                                 std::string_view defaultExtension,
                                                 int filterIndex) {
  QFileDialog dialog(QApplication::activeWindow());
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  // The framework's default extension may come as "*.nc"; the suffix is what follows.
  QString suffix = Text(defaultExtension);
  suffix.remove(0, suffix.lastIndexOf(QLatin1Char('.')) + 1);
  dialog.setDefaultSuffix(suffix);
  return RunFileDialog(dialog, filter, filterIndex);
}

void QtHost::SetBusy(bool busy) {
  if (busy) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
  } else {
    QApplication::restoreOverrideCursor();
  }
}

void QtHost::SetProgressBar(QProgressBar* bar) { progressBar_ = bar; }

void QtHost::ReportProgress(int done, int total) {
  if (!progressBar_) return;
  progressBar_->setRange(0, total);
  progressBar_->setValue(done);
}

}  // namespace vantora
